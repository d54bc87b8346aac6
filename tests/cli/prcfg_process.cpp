#include "tests/cli/prcfg_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace prcfg_test {
namespace {

namespace fs = std::filesystem;

constexpr char kRegHeader[] = "Windows Registry Editor Version 5.00\r\n\r\n";
constexpr int kExecFailed = 127;

fs::path FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') {
    throw std::runtime_error(std::string(name) + " is not set (run the tests through ctest)");
  }
  return value;
}

fs::path MakeTemporaryFolder() {
  std::string name = (fs::temp_directory_path() / "prcfg-test-XXXXXX").string();
  if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return name;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

fs::path BuildDir() { return FromEnvironment("VX5PRCFG_BUILD_DIR"); }
fs::path SourceDir() { return FromEnvironment("VX5PRCFG_SOURCE_DIR"); }

ProcessResult RunPrcfg(const std::vector<std::string>& args, const Environment& environment) {
  return RunProgram((BuildDir() / "prcfg").string(), args, environment);
}

ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const Environment& environment) {
  const TemporaryFolder folder;
  const std::string outPath = (folder.path() / "out").string();
  const std::string errPath = (folder.path() / "err").string();

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  const pid_t child = fork();
  if (child == 0) {
    // Only async-signal-safe calls plus setenv before exec; the child is
    // single-threaded here.
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) _exit(kExecFailed);
    dup2(in, STDIN_FILENO);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
    execv(program.c_str(), argv.data());
    _exit(kExecFailed);
  }
  ProcessResult result;
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    result.exitCode = WEXITSTATUS(status);
  }
  result.out = ReadAll(outPath);
  result.err = ReadAll(errPath);
  return result;
}

TemporaryFolder::TemporaryFolder() : path_(MakeTemporaryFolder()) {}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

TemporaryProfile::TemporaryProfile(const std::string& body) {
  std::ofstream(path(), std::ios::binary) << kRegHeader << body;
}

std::string FrozenClock(const std::string& now) {
  return "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SimulatedMachine\\System]\r\n\"Now\"=\"" + now + "\"\r\n";
}

}  // namespace prcfg_test
