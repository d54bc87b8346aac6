/* The configuration module's exports: plain C functions with narrow-string,
 * integer, handle and buffer arguments. Texts are in the process's ANSI code
 * page. Buffer sizes a caller must provide are given with each function.
 *
 * Common parameters:
 *   queueName  the printer queue's name as the spooler knows it;
 *   variant    the client variant number as decimal text (an int where the
 *              declaration says so); 3 selects the reseller client's
 *              discovery key, any other value the maker client's;
 *   queue      the queue's spooler handle, or null: the export then opens the
 *              queue by name for the length of the call. */
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

/* Sizes of the caller's buffers, in bytes (counts for VX5PRCFG_PROFILE_SETTINGS). */
#define VX5PRCFG_ABV_ANSWER_SIZE 5
#define VX5PRCFG_ADDRESS_BOOK_SIZE 16
#define VX5PRCFG_DEVICE_ADDRESS_SIZE 260
#define VX5PRCFG_DEPT_CODE_SIZE 6
#define VX5PRCFG_PROFILE_SETTINGS 5
#define VX5PRCFG_PROFILE_STRINGS_SIZE 26112
#define VX5PRCFG_SHORT_PATH_SIZE 260
#define VX5PRCFG_TIME_TEXT_SIZE 512
#define VX5PRCFG_PJL_TIME_SIZE 16
#define VX5PRCFG_BOX_PASSWORD_SIZE 10
#define VX5PRCFG_SCHEDULE_TEXT_SIZE 512
#define VX5PRCFG_SCHEDULE_SECONDS_SIZE 13
#define VX5PRCFG_SCHEDULE_STAMP_SIZE 14
#define VX5PRCFG_DIN_SIZE 256
#define VX5PRCFG_TAB_LIST_SIZE 480
#define VX5PRCFG_IMAGE_SHIFT_SIZE 19

/* One document box in the list GetBoxInfo hands out: 144 bytes, `next` at
 * offset 136. Each record is a separate block of global memory (the C heap
 * on Linux) that the caller frees, the last, all-zero one included. */
typedef struct Vx5BoxRecord {
  char number[64]; /* box number text */
  char name[68];   /* box name in the ANSI code page */
  struct Vx5BoxRecord* next;
} Vx5BoxRecord;

/* ---- Model identification ------------------------------------------------ */

/* Whether the queue's device is one of the family's multi-function models:
 * 1 or 0 (0 also on every failure). */
VX5PRCFG_API int GetMFPModel(const char* queueName, const char* variant, void* queue);

/* Two properties of the queue's device into `answer` (5 bytes): "ftmt",
 * "ftmf", "ffmt" or "ffmf". */
VX5PRCFG_API void AbvPrinterCheck(const char* queueName, const char* variant, char* answer,
                                  void* queue);

/* ---- Address lookups ----------------------------------------------------- */

/* The printer's address for the address book into `address`: exactly 15
 * characters and no NUL, "000.000.000.000" when nothing is known; the caller
 * provides a zeroed buffer of 16 bytes. Returns 1, 0 for a null `address`. */
VX5PRCFG_API int GetIPAddressForAddrBk(const char* printerName, char* address);

/* The device address of the queue behind `queue` (a null handle finds
 * nothing) into `address` (260 bytes). Returns 1 when found, else 0. */
VX5PRCFG_API int GetControllerAddress(void* queue, int variant, char* address);

/* As GetControllerAddress, opening the queue by name when `queue` is null.
 * `address`: 260 bytes. Returns 1 when found, else 0. */
VX5PRCFG_API int GetControllerAddressforFax(int variant, char* address, const char* queueName,
                                            void* queue);

/* Runs the discovery routine of the queue's driver. Returns 1 when it
 * reported success, else 0. */
VX5PRCFG_API int PnpFaxLocalDiscovery(const char* queueName, void* queue);

/* ---- Policy flags -------------------------------------------------------- */
/* Each returns 1 when the device enforces or enables the setting, 0 when not
 * or when no answer says so, -1 when no device address was found. */

VX5PRCFG_API int IsDeptCodeEnforced(const char* queueName, const char* variant, void* queue);
VX5PRCFG_API int IsConfirmDialogEnforced(const char* queueName, const char* variant, void* queue);
/* Also -5 when the request timed out; goes on without a device address. */
VX5PRCFG_API int IsUserAccountenforced(const char* queueName, const char* variant, void* queue);
VX5PRCFG_API int IsBlackFreeModeEnabled(const char* queueName, const char* variant, void* queue);
VX5PRCFG_API int IsPrivPasswordEncryptEnabled(const char* queueName, const char* variant,
                                              void* queue);

/* ---- Box directory ------------------------------------------------------- */

/* The device's document boxes as a chain of records stored through `boxes`,
 * ending with an all-zero record. Returns the number of boxes (the last
 * record not counted), or -1. */
VX5PRCFG_API int GetBoxInfo(const char* queueName, int variant, Vx5BoxRecord** boxes, void* queue);

/* The same records (132 bytes each: number and name) written to the file at
 * `boxFilePath`, created or truncated. Returns the number of boxes written,
 * or -1. */
VX5PRCFG_API int GetBoxInfo9x(const char* queueName, const char* variant, const char* boxFilePath);

/* ---- Box and HSP status -------------------------------------------------- */
/* Each returns 1 or 0. The Ex forms take a pointer to an int, or null, that
 * may be set to 1 when the device is not one of the family's; a non-zero
 * value on entry skips the model query. */

VX5PRCFG_API int GetBoxStatus(const char* queueName, const char* variant, void* queue);
VX5PRCFG_API int GetBoxStatusEx(const char* queueName, const char* variant, void* queue,
                                int* notOurs);
VX5PRCFG_API int GetHSPStatus(const char* queueName, const char* variant, void* queue);
VX5PRCFG_API int GetHSPStatusEx(const char* queueName, const char* variant, void* queue,
                                int* notOurs);

/* ---- Department codes ---------------------------------------------------- */

/* Checks the code in `deptCode` (in and out, 6 bytes) with the device and
 * prompts for another until the device knows it. Returns 1 when it does, 0
 * when the user cancelled, 2 when a request failed (after a message box),
 * -1 when no device address was found. */
VX5PRCFG_API int IsValidDeptCodeMck(const char* queueName, const char* variant, char* deptCode,
                                    void* queue);

/* Prompts for a department code; `deptCode` (in and out, 6 bytes) holds the
 * initial text and receives the code on OK. Returns 1 on OK, 0 otherwise
 * (buffer unchanged). */
VX5PRCFG_API int ValidateDepartmentCode(char* deptCode);

/* ---- Advanced profile strings -------------------------------------------- */

/* Reads the device's profile table into `settings` (5 ints) and `strings`
 * (26,112 bytes); both are initialised on every path. Returns 1 when the
 * table was read, 0 when no device address was found or no session opened. */
VX5PRCFG_API int GetAdvancedProfileStrings(int* settings, char* strings, const char* queueName,
                                           const char* variant, void* queue);

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

/* ---- Prompts ------------------------------------------------------------- */

/* Checks `password` (may be empty) against box `boxNumber` (decimal text) on
 * the device, prompting for another until one is permitted; `entered` (10
 * bytes) receives the last password typed. Returns 10 when permitted, 11
 * when the user cancelled, -1 when the device could not be asked. */
VX5PRCFG_API int CheckBoxPassword(const char* queueName, const char* variant, const char* boxNumber,
                                  const char* password, char* entered, void* queue);

/* Prompts for a moment in the future: `text` (512 bytes) receives it in the
 * user's formats, `seconds` (13 bytes) as "T" and the seconds since 1970.
 * `rangeMode` chooses the moments offered. Returns 1 on OK, 0 otherwise. */
VX5PRCFG_API int ScheduleDateTime(char* text, char* seconds, int rangeMode);

/* As ScheduleDateTime with range mode 2; `stamp` (14 bytes) receives
 * "YYYYMMDD HHMM". Returns 1 on OK, 0 otherwise. */
VX5PRCFG_API int ScheduleDateTime16(char* text, char* stamp);

/* Prompts for a document identification number; `din` (in and out, 256
 * bytes) holds the initial text and receives the five digits on Continue.
 * Returns 1 on Continue, 0 on Abort or close (buffer unchanged). */
VX5PRCFG_API int ValidateDIN(char* din);

/* As ValidateDIN with an empty start; on Continue stores through `din` a new
 * 256-byte block (the caller frees it) holding the DIN. Returns 1 on
 * Continue, 0 otherwise (nothing stored). */
VX5PRCFG_API int ValidateDIN1(char** din);

/* Device login: prompts for a user name and password until the device
 * accepts them or the user cancels; on acceptance both are copied into
 * `userName` and `password` (256 bytes each; each field takes at most 85
 * characters, so both always fit). `reserved` is never read. `requestKind` 2
 * asks for administrator rights. Returns 1 when accepted, 0 when cancelled;
 * 1 at once, without a prompt, when the printer has no device address. */
VX5PRCFG_API int IsVezurOruvaUser(char* userName, char* password, const char* queueName,
                                  void* reserved, int requestKind);

/* As IsVezurOruvaUser with the request kind read through `requestKind`;
 * without a device address it shows an error box and returns 0. */
VX5PRCFG_API int IsVezurOruvaUser16(char* userName, char* password, const char* queueName,
                                    void* reserved, unsigned int* requestKind);

/* Prompts for the paper size of the inserter unit, starting on
 * `initialPaper`. Returns 1 on OK with `paperCode` and `inverted` (the check
 * box) written, 0 otherwise (nothing written). */
VX5PRCFG_API int GetInserterPaperSelected(int* paperCode, int* inverted, int initialPaper);

/* ---- Tab printing -------------------------------------------------------- */

/* Modes 1 to 3 run the primary tab dialog, any other the tab print dialog.
 * `tabListOut` (480 bytes, or the length of `tabListIn` plus one when that is
 * longer) receives the tab list (tab print dialog only); `manufacturerIndex`
 * and `cassetteIndex` are in and out; `imageShift` (in and out, 19 bytes) may
 * be null; `tabListIn` (may be null) is the initial tab list. Returns 1. */
VX5PRCFG_API int TabPrinting(unsigned int mode, char* tabListOut, int* manufacturerIndex,
                             int* cassetteIndex, char* imageShift, const char* tabListIn,
                             const char* printerName);

#ifdef __cplusplus
}
#endif

#endif /* VX5PRCFG_H */
