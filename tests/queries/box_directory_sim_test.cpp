// The box directory through the shared library, against the simulated
// devices with box tables (sim/start) and sim/machines/boxes.reg. Skipped
// when no device answers, unless VX5PRCFG_REQUIRE_SIM is set.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "exports/vx5prcfg.h"
#include "tests/support/simulated_devices.h"

namespace {

using GetBoxInfoFunction = int (*)(const char*, int, Vx5BoxRecord**, void*);
using GetBoxInfo9xFunction = int (*)(const char*, const char*, const char*);

constexpr std::size_t kFileRecordSize = sizeof(Vx5BoxRecord::number) + sizeof(Vx5BoxRecord::name);

struct Box {
  std::string number;
  std::string name;
  bool operator==(const Box&) const = default;
};

std::string Field(const char* field, std::size_t size) { return {field, strnlen(field, size)}; }

class BoxDirectorySimTest : public test_support::SimulatedDeviceTest {
 protected:
  static void SetUpTestSuite() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "box_directory_sim_XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) folder_ = pattern;
    library_ = test_support::LoadLibraryWithMachine("boxes.reg");
    getBoxInfo_ = test_support::Export<GetBoxInfoFunction>(library_, "GetBoxInfo");
    getBoxInfo9x_ = test_support::Export<GetBoxInfo9xFunction>(library_, "GetBoxInfo9x");
  }

  static void TearDownTestSuite() {
    if (library_ != nullptr) dlclose(library_);
    library_ = nullptr;
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }

  void SetUp() override {
    ASSERT_FALSE(folder_.empty()) << "no temporary folder";
    ASSERT_NE(library_, nullptr) << "VX5PRCFG_BUILD_DIR unset or " << dlerror();
    ASSERT_NE(getBoxInfo_, nullptr);
    ASSERT_NE(getBoxInfo9x_, nullptr);
    SimulatedDeviceTest::SetUp();
  }

  // The chain of `queue`, freed as the driver frees it; `count` the return.
  static std::vector<Box> Chain(const char* queue, int& count) {
    Vx5BoxRecord* chain = nullptr;
    count = getBoxInfo_(queue, 0, &chain, nullptr);
    std::vector<Box> boxes;
    while (chain != nullptr) {
      boxes.push_back(
          {Field(chain->number, sizeof chain->number), Field(chain->name, sizeof chain->name)});
      Vx5BoxRecord* next = chain->next;
      std::free(chain);
      chain = next;
    }
    return boxes;
  }

  static std::vector<Box> File(const char* queue, int& count) {
    const std::string path = (folder_ / "boxes.dat").string();
    std::filesystem::remove(path);
    count = getBoxInfo9x_(queue, "0", path.c_str());
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::filesystem::remove(path);
    EXPECT_EQ(bytes.size() % kFileRecordSize, 0u);
    std::vector<Box> boxes;
    for (std::size_t at = 0; at + kFileRecordSize <= bytes.size(); at += kFileRecordSize) {
      const char* record = bytes.data() + at;
      boxes.push_back({Field(record, sizeof(Vx5BoxRecord::number)),
                       Field(record + sizeof(Vx5BoxRecord::number), sizeof(Vx5BoxRecord::name))});
    }
    return boxes;
  }

  // This test's own folder for the files it writes.
  static inline std::filesystem::path folder_;
  static inline void* library_ = nullptr;
  static inline GetBoxInfoFunction getBoxInfo_ = nullptr;
  static inline GetBoxInfo9xFunction getBoxInfo9x_ = nullptr;
};

TEST_F(BoxDirectorySimTest, ChainAndFileListTheSameBoxes) {
  const std::vector<Box> expected{
      {"1", "Sales"},
      {"2", "Comptabilit\xE9"},
      {"3", ""},  // Chinese, Japanese and Korean names: nothing of them in ISO 8859-1
      {"4", ""},
      {"5", ""},
      {"11", "Quarterly reports of the northern region, archived for the auditors"},
      {"", ""}};
  int count = 0;
  EXPECT_EQ(Chain("Boxes", count), expected);
  EXPECT_EQ(count, 6);
  EXPECT_EQ(File("Boxes", count), expected);
  EXPECT_EQ(count, 6);
}

TEST_F(BoxDirectorySimTest, ShortNameColumnOneRowAndEmptyTable) {
  int count = 0;
  const std::vector<Box> shortNames{{"1", "Reception"}, {"2", ""}, {"3", ""}, {"", ""}};
  EXPECT_EQ(Chain("Boxes Short Names", count), shortNames);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(File("Boxes Short Names", count), shortNames);
  EXPECT_EQ(count, 3);

  const std::vector<Box> onlyTheEnd{{"", ""}};
  EXPECT_EQ(Chain("Boxes One Row", count), onlyTheEnd);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(File("Boxes One Row", count), onlyTheEnd);
  EXPECT_EQ(count, 0);

  EXPECT_TRUE(Chain("Boxes Empty", count).empty());
  EXPECT_EQ(count, -1);
  EXPECT_TRUE(File("Boxes Empty", count).empty());
  EXPECT_EQ(count, -1);
}

// The box names of queue "Boxes" as prcfg shows them (bytes in hex) on the
// machine of boxes.reg switched to `codePage`.
std::vector<std::string> NamesUnderCodePage(const std::filesystem::path& folder,
                                            const char* codePage) {
  const std::string source = test_support::SourceDir();
  const std::string build = test_support::BuildDir();
  std::ifstream in(source + "/sim/machines/boxes.reg");
  std::string profile{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const std::string defaultCodePage = "dword:000004e4";
  profile.replace(profile.find(defaultCodePage), defaultCodePage.size(),
                  std::string("dword:") + codePage);
  const std::filesystem::path machine = folder / ("boxes_" + std::string(codePage) + ".reg");
  std::ofstream(machine) << profile;

  const std::string command = "'" + build + "/prcfg' --machine '" + machine.string() +
                              "' --json GetBoxInfo Boxes 0 2>/dev/null";
  std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), pclose);
  std::string output;
  std::array<char, 4096> chunk{};
  while (pipe != nullptr && std::fgets(chunk.data(), chunk.size(), pipe.get()) != nullptr) {
    output += chunk.data();
  }
  pipe.reset();
  std::filesystem::remove(machine);
  std::vector<std::string> names;
  const nlohmann::json report = nlohmann::json::parse(output);
  for (const auto& box : report.at("out").at("boxes")) {
    names.push_back(box.at("name_hex").get<std::string>());
  }
  return names;
}

TEST_F(BoxDirectorySimTest, NamesTakeTheBytesOfTheMachinesCodePage) {
  // Boxes 3, 4 and 5 hold Chinese, Japanese and Korean names; a character
  // the code page lacks ends the name (936, 949) or takes a substitute (932).
  const std::vector<std::string> chinese = NamesUnderCodePage(folder_, "000003a8");
  ASSERT_EQ(chinese.size(), 7u);
  EXPECT_EQ(chinese[2], "c9e8bcc6b2bf");
  EXPECT_EQ(chinese[3], "");
  const std::vector<std::string> japanese = NamesUnderCodePage(folder_, "000003a4");
  ASSERT_EQ(japanese.size(), 7u);
  EXPECT_EQ(japanese[3], "89638bc69594");
  EXPECT_EQ(japanese[4], "012c012c012c");
  const std::vector<std::string> korean = NamesUnderCodePage(folder_, "000003b5");
  ASSERT_EQ(korean.size(), 7u);
  EXPECT_EQ(korean[4], "c3d1b9abc6c0");
  EXPECT_EQ(korean[1], "436f6d70746162696c6974");  // 949 lacks U+00E9
}

}  // namespace
