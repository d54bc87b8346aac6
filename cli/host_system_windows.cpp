// prcfg on Windows: the module is loaded through the machine's kernel
// (LoadLibraryA / GetProcAddress), everything else is the C runtime's.
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <stdexcept>

#include "cli/host_system.h"
#include "platform/machine.h"

namespace prcfg {
namespace {

constexpr int kNameAttempts = 100;

platform::Kernel& SystemKernel() { return platform::CurrentMachine().kernel(); }

}  // namespace

LoadedLibrary::LoadedLibrary(const std::string& path) {
  module_ = SystemKernel().LoadLibrary(path.c_str());
  if (module_ == nullptr) throw std::runtime_error("cannot load " + path);
}

LoadedLibrary::~LoadedLibrary() { SystemKernel().FreeLibrary(module_); }

void* LoadedLibrary::Find(const std::string& name) const {
  return SystemKernel().GetProcAddress(module_, name.c_str());
}

void SetVariable(const char* name, const std::string& value) { _putenv_s(name, value.c_str()); }

// An empty value removes the variable.
void UnsetVariable(const char* name) { _putenv_s(name, ""); }

// The spooler's handles serve the whole process, the module's calls too.
void* OpenCallerQueue(const std::string& queueName) {
  return platform::CurrentMachine().spooler().OpenPrinter(queueName);
}

void CloseCallerQueue(void* handle) {
  if (handle != nullptr) platform::CurrentMachine().spooler().ClosePrinter(handle);
}

std::filesystem::path ExecutableFolder() {
  // The C runtime's full path of the program, set as it starts.
  const char* self = _pgmptr;
  if (self == nullptr || *self == '\0') return std::filesystem::current_path();
  return std::filesystem::path(self).parent_path();
}

std::string CreateTemporaryFile(std::string_view prefix) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string name =
        (folder / (std::string(prefix) + std::to_string(random() % 1000000000))).string();
    int fd = -1;
    if (_sopen_s(&fd, name.c_str(), _O_CREAT | _O_EXCL | _O_RDWR, _SH_DENYNO,
                 _S_IREAD | _S_IWRITE) == 0) {
      _close(fd);
      return name;
    }
  }
  throw std::runtime_error("cannot create a temporary file in " + folder.string());
}

void DetachKeyboard() { std::freopen("NUL", "r", stdin); }

// The C runtime hands main its arguments in the ANSI code page already.
std::string ArgumentInAnsi(std::uint32_t, const std::string& argument) { return argument; }

}  // namespace prcfg
