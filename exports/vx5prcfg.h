/* The configuration module's exports: plain C functions with narrow-string,
 * integer, handle and buffer arguments. Texts are in the process's ANSI code
 * page. Buffer sizes a caller must provide are given with each function. */
#ifndef VX5PRCFG_H
#define VX5PRCFG_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define VX5PRCFG_API __declspec(dllexport)
#else
#define VX5PRCFG_API __attribute__((visibility("default")))
#endif

/* ---- Module utilities ---------------------------------------------------- */

/* Short form of `longPath` into `shortPath` (260 bytes). Returns the length
 * of the short path, or 0 on failure (also for a null argument). */
VX5PRCFG_API unsigned int GetShortPathNameFromDll(const char* longPath, char* shortPath);

/* The current local date and time without seconds in the user's formats,
 * "<date> <time>", into `text` (512 bytes). Returns 1 (0 for a null buffer). */
VX5PRCFG_API int GetCurrentTimeS(char* text);

/* "T" and the seconds since 1970 of the current local time into `text`
 * (16 bytes). Returns 1 (0 for a null buffer). */
VX5PRCFG_API int GetCurrentTimePJL(char* text);

#ifdef __cplusplus
}
#endif

#endif /* VX5PRCFG_H */
