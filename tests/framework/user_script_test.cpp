#include "platform/scripted/user_script.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace platform::scripted {
namespace {

using Kind = UserAction::Kind;
using ::testing::HasSubstr;

std::string ErrorOf(std::string_view script) {
  try {
    ParseUserScript(script);
  } catch (const UserScriptError& error) {
    return error.what();
  }
  return "accepted";
}

TEST(UserScriptTest, StatementsAreSeparatedBySemicolonsAndLineBreaks) {
  const auto statements =
      ParseUserScript("dialog 4003; paste 4003 12a45\n dump ;;\r\n type 4003 6");
  ASSERT_EQ(statements.size(), 4u);
  EXPECT_EQ(statements[0].kind, ScriptStatement::Kind::Dialog);
  EXPECT_EQ(statements[0].dialogId, 4003);
  EXPECT_EQ(statements[1].action.kind, Kind::Paste);
  EXPECT_EQ(statements[1].action.control, 4003);
  EXPECT_EQ(statements[1].action.text, "12a45");
  EXPECT_EQ(statements[1].source, "paste 4003 12a45");
  EXPECT_EQ(statements[2].action.kind, Kind::Dump);
  EXPECT_EQ(statements[3].action.text, "6");
}

TEST(UserScriptTest, QuotesKeepBlanksSemicolonsAndEscapedCharacters) {
  const auto statements =
      ParseUserScript(R"(type 7001 "a b;c"; paste 1 "say \"hi\" \\"; key ";"; type 2 "")");
  ASSERT_EQ(statements.size(), 4u);
  EXPECT_EQ(statements[0].action.text, "a b;c");
  EXPECT_EQ(statements[1].action.text, R"(say "hi" \)");
  EXPECT_EQ(statements[2].action.kind, Kind::Key);
  EXPECT_EQ(statements[2].action.text, ";");
  EXPECT_EQ(statements[3].action.text, "");
}

TEST(UserScriptTest, EveryStatementFormIsRead) {
  const auto statements = ParseUserScript(
      "clear 1; click 2; select 3 4; check 5 1; scroll 6 lineup; scroll 6 pagedown; "
      "scroll 6 thumb 9; pick 4000 2012-05-17 09:05; key \xe4\xb8\xad; enter; escape; close\n"
      "# a comment line\n");
  ASSERT_EQ(statements.size(), 12u);
  EXPECT_EQ(statements[0].action.kind, Kind::Clear);
  EXPECT_EQ(statements[1].action.kind, Kind::Click);
  EXPECT_EQ(statements[2].action.index, 4);
  EXPECT_EQ(statements[3].action.index, 1);
  EXPECT_EQ(statements[4].action.scrollCode, 0);
  EXPECT_EQ(statements[5].action.scrollCode, 3);
  EXPECT_EQ(statements[6].action.scrollCode, 5);
  EXPECT_EQ(statements[6].action.index, 9);
  const SystemTime& moment = statements[7].action.time;
  EXPECT_EQ(moment.year, 2012);
  EXPECT_EQ(moment.month, 5);
  EXPECT_EQ(moment.day, 17);
  EXPECT_EQ(moment.dayOfWeek, 4);  // a Thursday
  EXPECT_EQ(moment.hour, 9);
  EXPECT_EQ(moment.minute, 5);
  EXPECT_EQ(statements[8].action.text, "\xe4\xb8\xad");  // one character, three bytes
  EXPECT_EQ(statements[11].action.kind, Kind::Close);
}

TEST(UserScriptTest, MalformedStatementsAreNamedInTheError) {
  EXPECT_THAT(ErrorOf("dump; tpye 4003 1"),
              HasSubstr("statement 2 \"tpye 4003 1\": unknown statement \"tpye\""));
  EXPECT_THAT(ErrorOf("type 4003 two words"), HasSubstr("quote a TEXT"));
  EXPECT_THAT(ErrorOf("click OK"), HasSubstr("control id must be a number, not \"OK\""));
  EXPECT_THAT(ErrorOf("check 1 2"), HasSubstr("0 or 1"));
  EXPECT_THAT(ErrorOf("scroll 6 sideways"), HasSubstr("unknown scroll \"sideways\""));
  EXPECT_THAT(ErrorOf("scroll 6 thumb"), HasSubstr("scroll CTL thumb POS"));
  EXPECT_THAT(ErrorOf("pick 4000 2012-02-30 10:00"), HasSubstr("not a valid moment"));
  EXPECT_THAT(ErrorOf("pick 4000 2012-02-03 24:00"), HasSubstr("not a valid moment"));
  EXPECT_THAT(ErrorOf("key ab"), HasSubstr("exactly one character"));
  EXPECT_THAT(ErrorOf("enter now"), HasSubstr("expected enter"));
  EXPECT_THAT(ErrorOf("dump; type 1 \"open"),
              HasSubstr("statement 2 \"type 1 \"open\": the quote"));
  EXPECT_EQ(ErrorOf(""), "accepted");
}

TEST(UserScriptTest, TextsAreConvertedFromUtf8ToTheCodePage) {
  UserAction action;
  action.text = "\xe4\xb8\xad\xc3\xa9";  // 中é
  EXPECT_EQ(ToAnsiAction(action, 936).text, "\xd6\xd0\xa8\xa6");
  EXPECT_EQ(ToAnsiAction(action, 1252).text, "?\xe9");
}

}  // namespace
}  // namespace platform::scripted
