// ValidateDIN and ValidateDIN1 driven by user scripts: when Continue is
// enabled, how the field is cut, the message for a short DIN, the keyboard
// filter of the dialog window, and what each export hands back.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "exports/vx5prcfg.h"
#include "framework/window_constants.h"
#include "prompts/din_dialog.h"
#include "tests/framework/scripted_session.h"

namespace prompts {
namespace {

using framework::testing::CallbackHost;
using framework::testing::ControlOf;
using framework::testing::FromHex;
using framework::testing::ScriptedSession;

constexpr int kEdit = 4001;
constexpr int kContinue = 1;

// The caller's 256-byte buffer with a marked tail, so a write past the DIN shows.
struct DinBuffer {
  explicit DinBuffer(const char* text) {
    bytes.fill('#');
    std::snprintf(bytes.data(), bytes.size(), "%s", text);
  }
  std::string text() const { return bytes.data(); }
  std::array<char, VX5PRCFG_DIN_SIZE> bytes{};
};

// Each dump as (field text, Continue enabled).
std::vector<std::pair<std::string, bool>> Dumps(ScriptedSession& session) {
  std::vector<std::pair<std::string, bool>> states;
  for (const auto& dump : session.Events("dump")) {
    states.emplace_back(FromHex(ControlOf(dump, kEdit)["text_hex"]),
                        ControlOf(dump, kContinue)["enabled"].get<bool>());
  }
  return states;
}

using States = std::vector<std::pair<std::string, bool>>;

TEST(DinPromptTest, ContinueStartsDisabledAfterTheFieldIsFilledAndOpensAtFiveDigits) {
  ScriptedSession session("dump; clear 4001; type 4001 5432; dump; type 4001 1; dump; click 1");
  DinBuffer din("12345");
  EXPECT_EQ(ValidateDIN(din.bytes.data()), 1);
  EXPECT_EQ(din.text(), "54321");
  EXPECT_EQ(din.bytes[6], '#');
  EXPECT_EQ(Dumps(session), (States{{"12345", false}, {"5432", false}, {"54321", true}}));
  EXPECT_TRUE(session.messageBoxes().empty());
}

TEST(DinPromptTest, FieldIsCutAtTheFirstNonDigit) {
  ScriptedSession session(
      "type 4001 12x; dump; clear 4001; paste 4001 12a45; dump; clear 4001; paste 4001 "
      "123456; dump; escape");
  DinBuffer din("");
  EXPECT_EQ(ValidateDIN(din.bytes.data()), 0);
  // Typing stops at the limit of five characters; so does a paste.
  EXPECT_EQ(Dumps(session), (States{{"12", false}, {"12", false}, {"12345", true}}));
}

TEST(DinPromptTest, ContinueWithFewerThanFiveDigitsShowsTheMessageAndStaysOpen) {
  // Neither a click nor Enter presses the disabled Continue: the dialog's
  // default id is IDOK, and Enter leaves a disabled default button alone.
  ScriptedSession session("type 4001 123; click 1; enter; dump; escape");
  DinBuffer din("");
  const auto before = din.bytes;
  EXPECT_EQ(ValidateDIN(din.bytes.data()), 0);
  EXPECT_EQ(din.bytes, before);
  EXPECT_TRUE(session.messageBoxes().empty());
  EXPECT_EQ(session.Events("action_refused").size(), 2u);
  EXPECT_EQ(Dumps(session), (States{{"123", false}}));

  // An OK command that arrives all the same gets the message.
  bool openAfterOk = false;
  auto previous = platform::InstallDialogHost(
      std::make_unique<CallbackHost>([&openAfterOk](platform::HostedDialog& hosted) {
        platform::UserAction type;
        type.kind = platform::UserAction::Kind::Type;
        type.control = kEdit;
        type.text = "123";
        hosted.Apply(type);
        dynamic_cast<platform::simulated::HeadlessDialog&>(hosted).events().WindowCommand(kContinue,
                                                                                          0);
        openAfterOk = hosted.IsOpen();
      }));
  EXPECT_EQ(ValidateDIN(din.bytes.data()), 0);
  platform::InstallDialogHost(std::move(previous));
  EXPECT_TRUE(openAfterOk);
  const auto& boxes = session.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Invalid DIN.Please ensure that the DIN comprises of 5 digits (0-9)");
  EXPECT_EQ(boxes[0].caption, "NORVANE k-ORBITA730-940");
}

TEST(DinPromptTest, KeysSentToTheDialogWindowPassOnlyWhenTheyAreDigits) {
  ScriptedSession session("");
  std::vector<bool> processed;
  auto previous = platform::InstallDialogHost(
      std::make_unique<CallbackHost>([&processed](platform::HostedDialog& hosted) {
        auto& dialog = framework::testing::DialogOf<CValidateDIN>(hosted);
        for (const char* key : {"0", "9", "x", "/", ":", " ", "12"}) {
          processed.push_back(dialog.SendKeyToWindow(key));
        }
      }));
  DinBuffer din("");
  EXPECT_EQ(ValidateDIN(din.bytes.data()), 0);
  platform::InstallDialogHost(std::move(previous));
  EXPECT_EQ(processed, (std::vector<bool>{true, true, false, false, false, false, false}));
}

TEST(DinPromptTest, AbortLeavesTheBufferAndThePointerUntouched) {
  for (const char* script : {"escape", "click 2", "close"}) {
    ScriptedSession session(script);
    DinBuffer din("123");
    EXPECT_EQ(ValidateDIN(din.bytes.data()), 0) << script;
    EXPECT_EQ(din.text(), "123");
    char sentinel = 0;
    char* block = &sentinel;
    EXPECT_EQ(ValidateDIN1(&block), 0) << script;
    EXPECT_EQ(block, &sentinel);
  }
  EXPECT_EQ(ValidateDIN(nullptr), 0);
  EXPECT_EQ(ValidateDIN1(nullptr), 0);
}

TEST(DinPromptTest, ValidateDin1StartsEmptyAndHandsOutABlockOf256Bytes) {
  ScriptedSession session("dump; type 4001 54321; click 1");
  char* block = nullptr;
  ASSERT_EQ(ValidateDIN1(&block), 1);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(Dumps(session), (States{{"", false}}));
  EXPECT_STREQ(block, "54321");
  for (std::size_t i = 5; i < kDinBlockSize; ++i) ASSERT_EQ(block[i], '\0') << i;
  std::free(block);
}

}  // namespace
}  // namespace prompts
