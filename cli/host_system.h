// What prcfg asks of the system it runs on besides the module's own calls:
// loading the module, its environment, a temporary file, the keyboard.
// host_system_posix.cpp and host_system_windows.cpp each answer it; the rest
// of the CLI is the same on both.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace prcfg {

// The module's file beside prcfg.
#ifdef _WIN32
inline constexpr char kLibraryFileName[] = "vx5prcfg.dll";
#else
inline constexpr char kLibraryFileName[] = "libvx5prcfg.so";
#endif

// The module, loaded as the driver loads it, until this goes.
class LoadedLibrary {
 public:
  // Throws std::runtime_error naming `path` (and the system's reason).
  explicit LoadedLibrary(const std::string& path);
  ~LoadedLibrary();
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  // The export `name`, or null.
  void* Find(const std::string& name) const;

 private:
  void* module_ = nullptr;
};

// The process's environment, which the module reads when it loads.
void SetVariable(const char* name, const std::string& value);
void UnsetVariable(const char* name);

std::filesystem::path ExecutableFolder();

// The queue "@QUEUE" names, opened for the call as a driver holds one, as
// the module sees it; CloseCallerQueue releases it after the call. Call it
// before the module's first export runs.
void* OpenCallerQueue(const std::string& queueName);
void CloseCallerQueue(void* handle);

// A new, empty file named after `prefix` in the temporary folder; its path.
// Throws std::runtime_error when none can be made.
std::string CreateTemporaryFile(std::string_view prefix);

// Standard input reads nothing from here on (a dialog finds no keyboard).
void DetachKeyboard();

// A command-line argument as the module takes it: in the ANSI code page.
std::string ArgumentInAnsi(std::uint32_t codePage, const std::string& argument);

}  // namespace prcfg
