#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/simulated/simulated_machine.h"

namespace platform::simulated {
namespace {

TEST(TraceRecords, MachineLoadIsRecorded) {
  auto machine = SimulatedMachine::FromRegistryLines(
      "[HKLM\\SOFTWARE\\SimulatedMachine\\System]\n\"AnsiCodePage\"=dword:000004e3\n");
  ASSERT_EQ(machine->trace().records().size(), 1u);
  EXPECT_EQ(
      machine->trace().records()[0],
      (nlohmann::json{{"event", "machine"}, {"profile", "<memory>"}, {"ansi_code_page", 1251}}));
}

TEST(TraceRecords, MessageBoxIsAnsweredAndRecorded) {
  auto machine = SimulatedMachine::FromRegistryLines("");
  const int answer = machine->ui().MessageBox(nullptr, "Caf\xE9 ok", "Title", kMbOk);
  EXPECT_EQ(answer, kIdOk);
  machine->ui().SetWaitCursor(true);

  const auto& records = machine->trace().records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1], (nlohmann::json{{"event", "message_box"},
                                        {"owner", nullptr},
                                        {"caption_hex", "5469746c65"},
                                        {"text_hex", "436166e9206f6b"},
                                        {"type", 0},
                                        {"result", 1}}));
  ASSERT_EQ(machine->simulatedUi().messageBoxes().size(), 1u);
  EXPECT_EQ(machine->simulatedUi().messageBoxes()[0].text, "Caf\xE9 ok");
}

TEST(TraceRecords, OwnerIsTheDialogTemplate) {
  auto machine = SimulatedMachine::FromRegistryLines("");
  int window = 0;
  machine->simulatedUi().SetOwnerResolver([&](WindowHandle owner) -> std::optional<int> {
    if (owner == &window) return 130;
    return std::nullopt;
  });
  machine->ui().MessageBox(&window, "t", "c", kMbOk);
  int stranger = 0;
  machine->ui().MessageBox(&stranger, "t", "c", kMbOk);
  const auto& records = machine->trace().records();
  EXPECT_EQ(records[1]["owner"], 130);
  EXPECT_EQ(records[2]["owner"], nullptr);
}

TEST(TraceFile, AppendsOneJsonObjectPerLine) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("vx5prcfg-trace-" + std::to_string(getpid()) + ".jsonl");
  std::filesystem::remove(path);
  {
    scripted::Trace first(path.string());
    first.Write({{"event", "a"}});
  }
  {
    scripted::Trace second(path.string());
    second.Write({{"event", "b"}, {"text", std::string("\xFF\xFE not UTF-8")}});
    EXPECT_TRUE(second.records().empty()) << "memory capture is off unless asked";
  }
  std::ifstream file(path);
  std::vector<nlohmann::json> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(nlohmann::json::parse(line));
  std::filesystem::remove(path);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]["event"], "a");
  EXPECT_EQ(lines[1]["event"], "b") << "invalid UTF-8 is replaced, not thrown";
}

TEST(TraceFile, HexBytesKeepsEveryByte) {
  EXPECT_EQ(scripted::HexBytes(std::string("\x00\x7f\x80\xff", 4)), "007f80ff");
  EXPECT_EQ(scripted::HexBytes(""), "");
}

}  // namespace
}  // namespace platform::simulated
