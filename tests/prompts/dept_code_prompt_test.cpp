// ValidateDepartmentCode driven by user scripts, as the driver calls it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "exports/vx5prcfg.h"
#include "framework/window_constants.h"
#include "platform/simulated/headless_edit.h"
#include "prompts/dept_code_dialog.h"
#include "tests/framework/scripted_session.h"

namespace prompts {
namespace {

using framework::testing::FromHex;
using framework::testing::ScriptedSession;

constexpr int kTemplate = 4003;
constexpr int kEdit = 4003;
constexpr int kOk = 1;
constexpr std::string_view kChineseMachine =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SimulatedMachine\\System]\n"
    "\"AnsiCodePage\"=dword:000003a8\n";

// The caller's 6-byte buffer and two more; the bytes after the text are
// marked so that a write past the code shows.
struct CodeBuffer {
  explicit CodeBuffer(std::string_view text) {
    bytes.fill('#');
    std::memcpy(bytes.data(), text.data(), text.size());
    bytes[text.size()] = '\0';
  }
  std::string text() const { return bytes.data(); }
  std::array<char, VX5PRCFG_DEPT_CODE_SIZE + 2> bytes{};
};

nlohmann::json ControlOf(const nlohmann::json& dump, int id) {
  for (const nlohmann::json& control : dump["controls"]) {
    if (control["id"] == id) return control;
  }
  return {};
}

TEST(DeptCodePromptTest, PastedNonDigitsAreDeletedAndOkWaitsForTheFifthDigit) {
  ScriptedSession session("paste 4003 12a45; dump; type 4003 6; click 1");
  CodeBuffer code("");
  EXPECT_EQ(ValidateDepartmentCode(code.bytes.data()), 1);
  EXPECT_EQ(code.text(), "12456");

  const auto dumps = session.Events("dump");
  ASSERT_EQ(dumps.size(), 1u);
  EXPECT_EQ(dumps[0]["template"], kTemplate);
  EXPECT_EQ(FromHex(ControlOf(dumps[0], kEdit)["text_hex"]), "1245");
  EXPECT_EQ(ControlOf(dumps[0], kOk)["enabled"], false);
}

TEST(DeptCodePromptTest, AllZerosAreRefusedSilentlyWithTheWholeTextSelected) {
  ScriptedSession session("type 4003 00000; click 1; dump; escape");
  CodeBuffer code("");
  const auto before = code.bytes;
  EXPECT_EQ(ValidateDepartmentCode(code.bytes.data()), 0);
  EXPECT_EQ(code.bytes, before);

  const auto dumps = session.Events("dump");
  ASSERT_EQ(dumps.size(), 1u);  // still open after OK
  const auto edit = ControlOf(dumps[0], kEdit);
  EXPECT_EQ(FromHex(edit["text_hex"]), "00000");
  EXPECT_EQ(edit["selection"], nlohmann::json({0, 5}));
  EXPECT_TRUE(session.messageBoxes().empty());
  const auto closed = session.Events("dialog");
  ASSERT_EQ(closed.size(), 1u);
  EXPECT_EQ(closed[0]["result"], framework::kIdCancel);
}

TEST(DeptCodePromptTest, TitleAndTextsComeThroughTheAnsiCodePage) {
  {
    ScriptedSession session("dump; escape", kChineseMachine);
    CodeBuffer code("");
    ValidateDepartmentCode(code.bytes.data());
    const auto closed = session.Events("dialog");
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(closed[0]["title_hex"], "ceded0a7b5c4b2bfc3c5b4fac2eb");  // 无效的部门代码 in GBK
    const auto dump = session.Events("dump").at(0);
    EXPECT_EQ(ControlOf(dump, 4114)["text_hex"], "b2bfc3c5b4fac2eb282644293a");
    EXPECT_EQ(ControlOf(dump, kOk)["text_hex"], "bcccd0f828264329");
    EXPECT_EQ(ControlOf(dump, 2)["text_hex"], "d6d0d6b928264129");
    EXPECT_FALSE(ControlOf(dump, 4113)["text_hex"].get<std::string>().empty());
  }
  {
    ScriptedSession session("escape");
    CodeBuffer code("");
    ValidateDepartmentCode(code.bytes.data());
    EXPECT_EQ(FromHex(session.Events("dialog").at(0)["title_hex"]), "???????");
  }
}

TEST(DeptCodePromptTest, CancelEscapeAndTheCloseBoxLeaveTheBufferAlone) {
  for (const char* script : {"type 4003 12345; click 2", "type 4003 12345; escape",
                             "type 4003 12345; close", "type 4003 12345"}) {
    ScriptedSession session(script);
    CodeBuffer code("777");
    const auto before = code.bytes;
    EXPECT_EQ(ValidateDepartmentCode(code.bytes.data()), 0) << script;
    EXPECT_EQ(code.bytes, before) << script;
  }
}

TEST(DeptCodePromptTest, ALeadingZeroIsKept) {
  ScriptedSession session("type 4003 01234; click 1");
  CodeBuffer code("");
  EXPECT_EQ(ValidateDepartmentCode(code.bytes.data()), 1);
  EXPECT_EQ(code.text(), "01234");
  EXPECT_EQ(code.bytes[VX5PRCFG_DEPT_CODE_SIZE], '#');  // five characters and the NUL
}

TEST(DeptCodePromptTest, EmptyStartShowsAnEmptyFieldAndADisabledOk) {
  ScriptedSession session("dump; enter; type 4003 1234; enter; dump");
  CodeBuffer code("");
  EXPECT_EQ(ValidateDepartmentCode(code.bytes.data()), 0);
  const auto dumps = session.Events("dump");
  ASSERT_EQ(dumps.size(), 2u);
  EXPECT_EQ(ControlOf(dumps[0], kEdit)["text_hex"], "");
  EXPECT_EQ(ControlOf(dumps[0], kOk)["enabled"], false);
  EXPECT_EQ(ControlOf(dumps[1], kOk)["enabled"], false);  // Enter did nothing at 4 digits
  EXPECT_EQ(session.Events("action_refused").size(), 2u);
}

TEST(DeptCodePromptTest, CallersFiveDigitsStartTheFieldWithOkEnabled) {
  ScriptedSession session("enter");
  CodeBuffer code("54321");
  EXPECT_EQ(ValidateDepartmentCode(code.bytes.data()), 1);
  EXPECT_EQ(code.text(), "54321");
}

TEST(DeptCodePromptTest, TypingIsLimitedToFiveDigits) {
  ScriptedSession session("type 4003 1234567x; enter");
  CodeBuffer code("");
  EXPECT_EQ(ValidateDepartmentCode(code.bytes.data()), 1);
  EXPECT_EQ(code.text(), "12345");
}

TEST(DeptCodePromptTest, TooLongCallerTextMeetsTheFrameworksLengthCheck) {
  ScriptedSession session("click 1; escape");
  std::array<char, 8> code{"123456"};
  EXPECT_EQ(ValidateDepartmentCode(code.data()), 0);
  EXPECT_STREQ(code.data(), "123456");
  ASSERT_FALSE(session.messageBoxes().empty());
  for (const auto& box : session.messageBoxes()) {
    EXPECT_EQ(box.text, "Enter no more than 5 characters.");
    EXPECT_EQ(box.ownerTemplateId, kTemplate);
  }
}

TEST(DeptCodePromptTest, NullBufferAnswersZeroWithoutADialog) {
  ScriptedSession session("type 4003 12345; click 1");
  EXPECT_EQ(ValidateDepartmentCode(nullptr), 0);
  EXPECT_TRUE(session.Events("dialog").empty());
}

TEST(DeptCodePromptTest, DialogIsTopmostAndTheEditHasTheFocusAfterARefusal) {
  ScriptedSession session("");
  bool caretScrolledIntoView = false;
  auto previous = platform::InstallDialogHost(
      std::make_unique<framework::testing::CallbackHost>([&](platform::HostedDialog& hosted) {
        for (const char* statement : {"type 4003 00000", "click 1"}) {
          hosted.Apply(platform::scripted::ParseUserScript(statement).front().action);
        }
        auto& window = dynamic_cast<platform::simulated::HeadlessDialog&>(hosted);
        const auto* edit = dynamic_cast<const platform::simulated::Edit*>(window.Control(kEdit));
        caretScrolledIntoView = edit != nullptr && edit->caretScrolledIntoView();
      }));
  CDeptCode dialog("");
  EXPECT_EQ(dialog.DoModal(), framework::kIdCancel);
  platform::InstallDialogHost(std::move(previous));
  EXPECT_TRUE(dialog.IsTopmost());
  EXPECT_EQ(dialog.GetFocus(), kEdit);  // after the click on OK moved it away
  EXPECT_TRUE(caretScrolledIntoView);
}

}  // namespace
}  // namespace prompts
