#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include "cli/ansi_text.h"
#include "cli/host_system.h"
#include "platform/simulated/simulated_spooler.h"

namespace prcfg {
namespace {

std::filesystem::path TemporaryFolder() {
  if (const char* folder = std::getenv("TMPDIR"); folder != nullptr && *folder != '\0') {
    return folder;
  }
  return "/tmp";
}

}  // namespace

LoadedLibrary::LoadedLibrary(const std::string& path) {
  module_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module_ == nullptr) {
    const char* reason = dlerror();
    throw std::runtime_error("cannot load " + path + ": " +
                             (reason != nullptr ? reason : "unknown error"));
  }
}

LoadedLibrary::~LoadedLibrary() { dlclose(module_); }

void* LoadedLibrary::Find(const std::string& name) const { return dlsym(module_, name.c_str()); }

void SetVariable(const char* name, const std::string& value) { setenv(name, value.c_str(), 1); }

void UnsetVariable(const char* name) { unsetenv(name); }

// The module's machine lives in the library: it opens the queue itself when
// it is made, under a handle both sides know.
void* OpenCallerQueue(const std::string& queueName) {
  SetVariable(platform::simulated::kCallerQueueVariable, queueName);
  return platform::simulated::kCallerQueueHandle;
}

void CloseCallerQueue(void* /*handle*/) {}

std::filesystem::path ExecutableFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path() : self.parent_path();
}

std::string CreateTemporaryFile(std::string_view prefix) {
  std::string name = (TemporaryFolder() / (std::string(prefix) + "XXXXXX")).string();
  const int fd = mkstemp(name.data());
  if (fd < 0) throw std::runtime_error("cannot create a temporary file in " + name);
  close(fd);
  return name;
}

void DetachKeyboard() {
  const int null = open("/dev/null", O_RDONLY);
  if (null < 0) return;
  dup2(null, STDIN_FILENO);
  close(null);
}

// The terminal speaks UTF-8.
std::string ArgumentInAnsi(std::uint32_t codePage, const std::string& argument) {
  return Utf8ToAnsi(codePage, argument);
}

}  // namespace prcfg
