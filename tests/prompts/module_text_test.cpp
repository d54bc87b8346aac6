// Texts of the string table in both forms, through the machine's code page.
#include "prompts/module_text.h"

#include <gtest/gtest.h>

#include <array>

#include "prompts/message_boxes.h"
#include "resources/resource_ids.h"
#include "tests/framework/scripted_session.h"

namespace prompts {
namespace {

using framework::testing::ScriptedSession;

constexpr std::string_view kChineseMachine =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SimulatedMachine\\System]\n"
    "\"AnsiCodePage\"=dword:000003a8\n";
constexpr std::string_view kTitleGbk = "\xce\xde\xd0\xa7\xb5\xc4\xb2\xbf\xc3\xc5\xb4\xfa\xc2\xeb";
constexpr int kAbsentId = 4999;

TEST(ModuleTextTest, FixedBufferTakesTheCodePagesBytes) {
  ScriptedSession session("", kChineseMachine);
  std::array<char, kCaptionTextCapacity> text{};
  EXPECT_EQ(LoadModuleText(IDS_STR_DEPT_CODE_TITLE, text.data(), kCaptionTextCapacity), 14);
  EXPECT_EQ(std::string(text.data()), kTitleGbk);
}

TEST(ModuleTextTest, FixedBufferIsCutWithoutSplittingACharacterAndAlwaysTerminated) {
  ScriptedSession session("", kChineseMachine);
  std::array<char, 6> text;
  text.fill('#');
  // Room for 5 bytes: two double-byte characters, not half of a third.
  EXPECT_EQ(LoadModuleText(IDS_STR_DEPT_CODE_TITLE, text.data(), 6), 4);
  EXPECT_EQ(std::string(text.data()), kTitleGbk.substr(0, 4));
  std::array<char, 4> ascii;
  EXPECT_EQ(LoadModuleText(IDS_STR_ERROR, ascii.data(), 4), 3);
  EXPECT_EQ(std::string(ascii.data()), "Err");
}

TEST(ModuleTextTest, CharactersTheCodePageLacksBecomeQuestionMarks) {
  ScriptedSession session("");
  std::array<char, kCaptionTextCapacity> text{};
  LoadModuleText(IDS_STR_DEPT_CODE_CONTINUE, text.data(), kCaptionTextCapacity);
  EXPECT_EQ(std::string(text.data()),
            "?"
            "?(&C)");
  std::string growable;
  EXPECT_TRUE(LoadModuleText(IDS_STR_PAPER_LETTER_FULL, growable));
  EXPECT_EQ(growable, "Letter (8\xbd x 11 in)");  // ½ exists in 1252
}

TEST(ModuleTextTest, AbsentIdGivesAnEmptyTextOrLeavesTheStringAlone) {
  ScriptedSession session("");
  std::array<char, 8> text;
  text.fill('#');
  EXPECT_EQ(LoadModuleText(kAbsentId, text.data(), 8), 0);
  EXPECT_EQ(text[0], '\0');
  std::string growable = "kept";
  EXPECT_FALSE(LoadModuleText(kAbsentId, growable));
  EXPECT_EQ(growable, "kept");
}

TEST(ModuleTextTest, GrowableFormReadsTheStringBlock) {
  ScriptedSession session("", kChineseMachine);
  std::string text;
  EXPECT_TRUE(LoadModuleText(IDS_STR_DEPT_CODE_TITLE, text));
  EXPECT_EQ(text, kTitleGbk);
  EXPECT_TRUE(LoadModuleText(IDS_STR_NO_DEVICE_CONNECTION, text));
  EXPECT_EQ(text, "\xce\xde\xb7\xa8\xc1\xac\xbd\xd3 MFP \xc9\xe8\xb1\xb8");
}

TEST(ModuleTextTest, ExportErrorBoxHasNoOwnerAndTheErrorCaption) {
  ScriptedSession session("");
  ShowExportError(IDS_STR_TAB_NO_CONNECTION);
  ASSERT_EQ(session.messageBoxes().size(), 1u);
  const auto& box = session.messageBoxes()[0];
  EXPECT_EQ(box.ownerTemplateId, std::nullopt);
  EXPECT_EQ(box.caption, "Error");
  EXPECT_EQ(box.text, "Could not connect to the RV4410 device.");
  EXPECT_EQ(box.type, 0u);
}

}  // namespace
}  // namespace prompts
