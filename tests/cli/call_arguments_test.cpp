// How the CLI turns command-line arguments into an export's arguments, and
// what it reads back: the rows are the real table's.
#include "cli/call_arguments.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/export_table.h"

namespace prcfg {
namespace {

constexpr std::uint32_t kWesternCodePage = 1252;

const ExportRow& Row(std::string_view name) {
  const ExportRow* row = FindExport(name);
  if (row == nullptr) throw std::runtime_error("no row " + std::string(name));
  return *row;
}

CallArguments Arguments(std::string_view name, std::vector<std::string> args = {}) {
  return CallArguments(Row(name).Params(), args);
}

TEST(ExportTable, HasOneRowPerNameOfTheExportListInItsOrder) {
  const char* source = std::getenv("VX5PRCFG_SOURCE_DIR");
  ASSERT_NE(source, nullptr);
  std::ifstream list(std::string(source) + "/exports/exports.list");
  std::vector<std::string> expected;
  for (std::string line; std::getline(list, line);) {
    if (!line.empty() && line.front() != '#') expected.push_back(line);
  }
  std::vector<std::string> names;
  for (const ExportRow& row : Exports()) names.emplace_back(row.name);
  EXPECT_EQ(names, expected);
}

// ---- Out texts -------------------------------------------------------------

TEST(OutText, UntouchedBufferIsReportedAsNotWritten) {
  auto args = Arguments("GetCurrentTimePJL");
  const auto out = args.Outputs(kWesternCodePage);
  EXPECT_TRUE(out["text"].is_null());
  EXPECT_TRUE(args.Overruns().empty());
  EXPECT_TRUE(args.Unterminated().empty());
}

TEST(OutText, TextUpToTheNulComesWithItsBytes) {
  auto args = Arguments("GetCurrentTimePJL");
  std::strcpy(args.Pass<char*>(0), "T\xE9");  // é in 1252
  const auto out = args.Outputs(kWesternCodePage);
  EXPECT_EQ(out["text"], "T\xC3\xA9");
  EXPECT_EQ(out["text_hex"], "54e9");
}

TEST(OutText, WritingTheWholeSizeIsNoOverrunButOnePastIs) {
  auto args = Arguments("GetCurrentTimePJL");
  char* text = args.Pass<char*>(0);
  std::memset(text, 'x', VX5PRCFG_PJL_TIME_SIZE - 1);
  text[VX5PRCFG_PJL_TIME_SIZE - 1] = '\0';
  EXPECT_TRUE(args.Overruns().empty());
  text[VX5PRCFG_PJL_TIME_SIZE] = '\0';
  ASSERT_EQ(args.Overruns().size(), 1u);
  EXPECT_NE(args.Overruns()[0].find("text: written past its 16 bytes"), std::string::npos);
}

TEST(OutText, BufferWithoutNulIsFlagged) {
  auto args = Arguments("GetCurrentTimePJL");
  std::memset(args.Pass<char*>(0), 'x', VX5PRCFG_PJL_TIME_SIZE);
  EXPECT_EQ(args.Unterminated(), std::vector<std::string>{"text"});
  EXPECT_EQ(args.Outputs(kWesternCodePage)["text"], std::string(VX5PRCFG_PJL_TIME_SIZE, 'x'));
}

TEST(OutText, AddressBookBufferIsHandedOverZeroed) {
  auto args = Arguments("GetIPAddressForAddrBk", {"Queue"});
  const char* address = args.Pass<char*>(1);
  EXPECT_EQ(std::string(address, VX5PRCFG_ADDRESS_BOOK_SIZE),
            std::string(VX5PRCFG_ADDRESS_BOOK_SIZE, '\0'));
  // The export writes 15 characters and relies on the zero after them.
  std::memcpy(args.Pass<char*>(1), "000.000.000.000", 15);
  EXPECT_EQ(args.Outputs(kWesternCodePage)["address"], "000.000.000.000");
  EXPECT_TRUE(args.Unterminated().empty());
}

TEST(OutText, ProfileBlockIsReportedSlotBySlot) {
  auto args = Arguments("GetAdvancedProfileStrings", {"Queue"});
  char* block = args.Pass<char*>(1);
  std::memset(block, 0, VX5PRCFG_PROFILE_STRINGS_SIZE);
  std::strcpy(block + 256 * 2, "row two");
  const auto out = args.Outputs(kWesternCodePage);
  ASSERT_EQ(out["strings"].size(), 102u);
  EXPECT_EQ(out["strings"][2], "row two");
  EXPECT_EQ(out["strings"][3], "");
}

TEST(OutText, TabListGrowsToHoldTheIncomingList) {
  const std::string longList(600, '1');
  auto args = Arguments("TabPrinting", {"4", "0", "0", "-", longList});
  // After Cancel the export copies the incoming list back.
  std::strcpy(args.Pass<char*>(1), longList.c_str());
  EXPECT_TRUE(args.Overruns().empty());
}

// ---- In and in/out arguments ------------------------------------------------

TEST(InArguments, TextsIntegersAndNulls) {
  auto args = Arguments("GetControllerAddressforFax", {"0x10", "Office"});
  EXPECT_EQ(args.Pass<int>(0), 16);
  EXPECT_STREQ(args.Pass<const char*>(2), "Office");
  EXPECT_EQ(args.Pass<void*>(3), nullptr);

  auto nulls = Arguments("GetMFPModel", {"-", "-", "-"});
  EXPECT_EQ(nulls.Pass<const char*>(0), nullptr);
  EXPECT_EQ(nulls.Pass<const char*>(1), nullptr);
}

TEST(InArguments, LeftOffAtTheEndMeansEmptyZeroOrNull) {
  auto mfp = Arguments("GetMFPModel");
  EXPECT_STREQ(mfp.Pass<const char*>(0), "");
  EXPECT_STREQ(mfp.Pass<const char*>(1), "");
  EXPECT_EQ(mfp.Pass<void*>(2), nullptr);

  auto status = Arguments("GetBoxStatusEx", {"Queue"});
  EXPECT_EQ(status.Pass<int*>(3), nullptr);  // optional: GetBoxStatus's behaviour

  auto tabs = Arguments("TabPrinting");
  EXPECT_EQ(tabs.Pass<unsigned int>(0), 0u);
  ASSERT_NE(tabs.Pass<int*>(2), nullptr);  // required by the export
  EXPECT_EQ(*tabs.Pass<int*>(2), 0);
  EXPECT_EQ(tabs.Pass<char*>(4), nullptr);
  EXPECT_EQ(tabs.Pass<const char*>(5), nullptr);
}

TEST(InArguments, IntegerRangeIsThatOf32Bits) {
  EXPECT_EQ(Arguments("TabPrinting", {"4294967295"}).Pass<unsigned int>(0), 4294967295u);
  EXPECT_EQ(Arguments("GetInserterPaperSelected", {"-2147483648"}).Pass<int>(2), INT32_MIN);
  EXPECT_THROW(Arguments("TabPrinting", {"4294967296"}), UsageError);
  EXPECT_THROW(Arguments("GetInserterPaperSelected", {"-2147483649"}), UsageError);
  EXPECT_THROW(Arguments("TabPrinting", {"18446744073709551619"}), UsageError);
  EXPECT_THROW(Arguments("GetInserterPaperSelected", {"12abc"}), UsageError);
  EXPECT_THROW(Arguments("GetInserterPaperSelected", {""}), UsageError);
}

TEST(InArguments, QueueHandleCannotBeGivenAndSurplusArgumentsAreRefused) {
  EXPECT_THROW(Arguments("GetMFPModel", {"Queue", "0", "1"}), UsageError);
  EXPECT_THROW(Arguments("GetMFPModel", {"Queue", "0", "-", "more"}), UsageError);
  EXPECT_THROW(Arguments("GetMFPModel", {"Queue", "0", "@"}), UsageError);
}

TEST(InArguments, AtQueuePassesTheHandleOpenedForTheCall) {
  auto args = Arguments("GetControllerAddress", {"@Office Copier", "0"});
  EXPECT_EQ(args.CallerQueue(), "Office Copier");
  int opened = 0;
  args.SetCallerQueueHandle(&opened);
  EXPECT_EQ(args.Pass<void*>(0), &opened);
  EXPECT_FALSE(Arguments("GetControllerAddress", {"-", "0"}).CallerQueue().has_value());
}

TEST(InOutArguments, TextStartsWithTheArgumentAndReportsWhatTheExportLeft) {
  auto args = Arguments("ValidateDepartmentCode", {"123"});
  char* code = args.Pass<char*>(0);
  EXPECT_STREQ(code, "123");
  std::strcpy(code, "54321");
  EXPECT_EQ(args.Outputs(kWesternCodePage)["deptCode"], "54321");
  EXPECT_THROW(Arguments("ValidateDepartmentCode", {"123456"}), UsageError);
  EXPECT_EQ(Arguments("ValidateDepartmentCode", {"-"}).Pass<char*>(0), nullptr);
}

TEST(InOutArguments, IntegerThroughAPointer) {
  auto args = Arguments("GetBoxStatusEx", {"Queue", "0", "-", "1"});
  int* notOurs = args.Pass<int*>(3);
  EXPECT_EQ(*notOurs, 1);
  *notOurs = 0;
  EXPECT_EQ(args.Outputs(kWesternCodePage)["notOurs"], 0);

  auto kind = Arguments("IsVezurOruvaUser16", {"Queue", "-", "2"});
  EXPECT_EQ(*kind.Pass<unsigned int*>(4), 2u);
}

// ---- Out integers and memory the export hands over --------------------------

TEST(OutIntegers, UnwrittenIsNullAndBlocksAreArrays) {
  auto paper = Arguments("GetInserterPaperSelected");
  EXPECT_TRUE(paper.Outputs(kWesternCodePage)["paperCode"].is_null());
  *paper.Pass<int*>(0) = 5;
  EXPECT_EQ(paper.Outputs(kWesternCodePage)["paperCode"], 5);

  auto profile = Arguments("GetAdvancedProfileStrings");
  int* settings = profile.Pass<int*>(0);
  for (int i = 0; i < VX5PRCFG_PROFILE_SETTINGS; ++i) settings[i] = i;
  EXPECT_EQ(profile.Outputs(kWesternCodePage)["settings"], nlohmann::ordered_json({0, 1, 2, 3, 4}));
  EXPECT_TRUE(profile.Overruns().empty());
  settings[VX5PRCFG_PROFILE_SETTINGS] = 0;
  EXPECT_EQ(profile.Overruns().size(), 1u);
}

TEST(HandedOverMemory, BoxChainIsListedAndFreed) {
  auto args = Arguments("GetBoxInfo", {"Queue", "0"});
  auto* first = static_cast<Vx5BoxRecord*>(std::calloc(1, sizeof(Vx5BoxRecord)));
  auto* last = static_cast<Vx5BoxRecord*>(std::calloc(1, sizeof(Vx5BoxRecord)));
  std::strcpy(first->number, "1");
  std::strcpy(first->name, "Scans");
  first->next = last;
  *args.Pass<Vx5BoxRecord**>(2) = first;
  const auto boxes = args.Outputs(kWesternCodePage)["boxes"];
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0]["number"], "1");
  EXPECT_EQ(boxes[0]["name"], "Scans");
  EXPECT_EQ(boxes[1]["number"], "");
  // The records are freed with the arguments (the sanitizer build checks).
}

TEST(HandedOverMemory, AllocatedDinIsReadAndFreed) {
  auto args = Arguments("ValidateDIN1");
  EXPECT_TRUE(args.Outputs(kWesternCodePage)["din"].is_null());
  char* block = static_cast<char*>(std::calloc(VX5PRCFG_DIN_SIZE, 1));
  std::strcpy(block, "12345");
  *args.Pass<char**>(0) = block;
  EXPECT_EQ(args.Outputs(kWesternCodePage)["din"], "12345");
}

TEST(BoxFile, ReportedOnlyWhenTheCallWroteIt) {
  std::string folder = (std::filesystem::temp_directory_path() / "call_arguments_XXXXXX").string();
  ASSERT_NE(::mkdtemp(folder.data()), nullptr);
  const std::string path = folder + "/boxes.dat";
  const std::string record(sizeof(Vx5BoxRecord::number) + sizeof(Vx5BoxRecord::name), '\0');

  // A file of the caller's that the call left alone is no output, nor is a missing one.
  std::ofstream(path, std::ios::binary) << "1" << record.substr(1);
  auto untouched = Arguments("GetBoxInfo9x", {"Q", "0", path});
  EXPECT_EQ(untouched.Outputs(kWesternCodePage)["boxFilePath"], nullptr);
  auto missing = Arguments("GetBoxInfo9x", {"Q", "0", folder + "/none.dat"});
  EXPECT_EQ(missing.Outputs(kWesternCodePage)["boxFilePath"], nullptr);

  // Written after the arguments were taken: its records are reported.
  auto written = Arguments("GetBoxInfo9x", {"Q", "0", path});
  std::filesystem::remove(path);
  std::ofstream(path, std::ios::binary) << "7" << record.substr(1) << record;
  const auto records = written.Outputs(kWesternCodePage)["boxFilePath"];
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0]["number"], "7");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace prcfg
