// Runs build/prcfg as the tests' subprocess, and writes the temporary machine
// profiles they give it.
#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

namespace prcfg_test {

struct ProcessResult {
  int exitCode = -1;
  std::string out;
  std::string err;

  nlohmann::json Json() const { return nlohmann::json::parse(out); }
};

using Environment = std::vector<std::pair<std::string, std::string>>;

std::filesystem::path BuildDir();
std::filesystem::path SourceDir();

// `program` with `args`, stdin from /dev/null, `environment` added to ours.
ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const Environment& environment = {});
// build/prcfg.
ProcessResult RunPrcfg(const std::vector<std::string>& args, const Environment& environment = {});

// A fresh temporary folder, removed with this object.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A .reg file in a fresh temporary folder, removed with the folder.
class TemporaryProfile {
 public:
  // `body` follows the header line.
  explicit TemporaryProfile(const std::string& body);

  std::string path() const { return (folder_.path() / "machine.reg").string(); }

 private:
  TemporaryFolder folder_;
};

// The body of a profile whose clock is frozen at `now` ("YYYY-MM-DD HH:MM:SS").
std::string FrozenClock(const std::string& now);

}  // namespace prcfg_test
