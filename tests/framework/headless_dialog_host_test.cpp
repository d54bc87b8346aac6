// The headless host drives a dialog with the user's statements and records
// what happened; tested with a dialog of its own, apart from the framework.
#include "platform/simulated/headless_dialog_host.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "platform/simulated/terminal_user.h"
#include "scripted_session.h"

namespace platform::simulated {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A dialog that closes on Escape (or never, when stubborn) and records the actions it got.
class FakeDialog : public HostedDialog {
 public:
  explicit FakeDialog(int templateId, bool stubborn = false)
      : templateId_(templateId), stubborn_(stubborn) {}
  void Create() override { ++created; }
  int TemplateId() const override { return templateId_; }
  std::string Title() const override { return "T\xe9"; }
  std::vector<ControlSnapshot> Snapshot() const override {
    ControlSnapshot edit;
    edit.id = 4003;
    edit.kind = "edit";
    edit.text = "12";
    edit.selectionEnd = 2;
    ControlSnapshot button;
    button.id = 1;
    button.kind = "button";
    button.text = "OK";
    button.enabled = false;
    ControlSnapshot bar;
    bar.id = 4018;
    bar.kind = "scroll bar";
    bar.scrollPosition = 3;
    bar.lineDownEnabled = false;
    ControlSnapshot combo;
    combo.id = 1003;
    combo.kind = "combo box";
    combo.items = {"a", "b"};
    combo.selectionStart = combo.selectionEnd = 1;
    return {edit, button, bar, combo};
  }
  bool Apply(const UserAction& action) override {
    actions.push_back(action);
    if (action.kind == UserAction::Kind::Click && action.control == 1) {
      return false;  // disabled
    }
    if (action.kind == UserAction::Kind::Escape && !stubborn_) End(2);
    return true;
  }
  bool IsOpen() const override { return open_; }
  int Result() const override { return result_; }
  void End(int result) override {
    result_ = result;
    open_ = false;
  }

  std::vector<UserAction> actions;
  int created = 0;

 private:
  int templateId_;
  bool stubborn_;
  bool open_ = true;
  int result_ = 0;
};

class HostTest : public ::testing::Test {
 protected:
  void Run(std::string_view script, std::vector<FakeDialog*> dialogs) {
    HeadlessDialogHost host(std::make_unique<ScriptUser>(scripted::ParseUserScript(script)),
                            [this](const nlohmann::json& record) { records.push_back(record); });
    for (FakeDialog* dialog : dialogs) host.RunModal(*dialog);
  }
  std::vector<std::string> Events() const {
    std::vector<std::string> events;
    for (const auto& record : records) events.push_back(record["event"]);
    return events;
  }
  std::vector<nlohmann::json> records;
};

TEST_F(HostTest, DumpRecordsOnlyTheFieldsThatApplyToEachKind) {
  FakeDialog dialog(4003);
  Run("dump", {&dialog});
  EXPECT_EQ(dialog.created, 1);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0]["template"], 4003);
  const auto& controls = records[0]["controls"];
  EXPECT_EQ(controls[0],
            nlohmann::json::parse(R"({"id":4003,"kind":"edit","text_hex":"3132","enabled":true,
                                     "visible":true,"selection":[0,2]})"));
  EXPECT_EQ(controls[1], nlohmann::json::parse(R"({"id":1,"kind":"button","text_hex":"4f4b",
                                                  "enabled":false,"visible":true})"));
  EXPECT_EQ(controls[2], nlohmann::json::parse(R"({"id":4018,"kind":"scroll bar","enabled":true,
      "visible":true,"scroll":{"position":3,"line_up":true,"line_down":false}})"));
  EXPECT_EQ(controls[3]["items_hex"], nlohmann::json({"61", "62"}));
  EXPECT_EQ(controls[3]["selection"], nlohmann::json({1, 1}));
  EXPECT_EQ(records[1], nlohmann::json::parse(
                            R"({"event":"dialog","template":4003,"title_hex":"54e9","result":2})"));
}

TEST_F(HostTest, DialogStillOpenWhenTheScriptRunsOutClosesAsByEscape) {
  FakeDialog dialog(4003);
  Run("type 4003 1", {&dialog});
  ASSERT_EQ(dialog.actions.size(), 2u);
  EXPECT_EQ(dialog.actions[1].kind, UserAction::Kind::Escape);
  EXPECT_EQ(dialog.Result(), 2);
}

TEST_F(HostTest, DialogThatIgnoresEscapeIsClosedAnyway) {
  FakeDialog dialog(4003, /*stubborn=*/true);
  Run("", {&dialog});
  EXPECT_FALSE(dialog.IsOpen());
  EXPECT_EQ(dialog.Result(), 2);
}

// A real window learns whether keystrokes were taken only once its loop has
// handled them: the player asks before the next statement, and at the end.
class LateDialog : public FakeDialog {
 public:
  using FakeDialog::FakeDialog;
  bool Settle() override {
    return actions.empty() || actions.back().kind != UserAction::Kind::Type;
  }
};

TEST_F(HostTest, KeystrokesRefusedLateAreRecordedBeforeTheNextStatementAndAtTheEnd) {
  LateDialog dialog(4003);
  ScriptUser user(scripted::ParseUserScript("type 4003 1; dump; type 4003 2"));
  scripted::ScriptPlayer player(
      user, [this](const nlohmann::json& record) { records.push_back(record); }, 1252);
  while (player.PlayNext(dialog)) {
  }
  EXPECT_THAT(Events(), ElementsAre("action_refused", "dump", "action_refused"));
  EXPECT_EQ(records[2]["statement"], "type 4003 2");
}

TEST_F(HostTest, DialogStatementsSeparateTheDialogsOfOneScript) {
  FakeDialog first(4003);
  FakeDialog second(4003);
  Run("dialog 4003; type 4003 1; dialog 4003; type 4003 2; click 1", {&first, &second});
  EXPECT_EQ(first.actions.size(), 2u);  // typed, then Escape when the next section began
  ASSERT_EQ(second.actions.size(), 3u);
  EXPECT_EQ(second.actions[0].text, "2");
  EXPECT_THAT(Events(), ElementsAre("dialog", "action_refused", "dialog"));
  EXPECT_EQ(records[1]["statement"], "click 1");
}

TEST_F(HostTest, UnexpectedDialogIsReportedAndClosedAsByEscape) {
  FakeDialog dialog(4047);
  Run("dialog 4003; type 4003 1", {&dialog});
  ASSERT_EQ(dialog.actions.size(), 1u);
  EXPECT_EQ(dialog.actions[0].kind, UserAction::Kind::Escape);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0], nlohmann::json::parse(
                            R"({"event":"dialog_mismatch","expected":4003,"template":4047})"));
}

TEST_F(HostTest, TextsReachTheDialogInTheMachinesCodePage) {
  framework::testing::ScriptedSession session(
      "",
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SimulatedMachine\\System]\n"
      "\"AnsiCodePage\"=dword:000003a8\n");
  FakeDialog dialog(4003);
  Run("paste 4003 \xe4\xb8\xad", {&dialog});
  EXPECT_EQ(dialog.actions[0].text, "\xd6\xd0");
}

TEST_F(HostTest, MessageBoxesOwnedByAnOpenDialogNameItsTemplate) {
  framework::testing::ScriptedSession session("");
  class BoxingDialog : public FakeDialog {
   public:
    using FakeDialog::FakeDialog;
    bool Apply(const UserAction& action) override {
      CurrentMachine().ui().MessageBox(WindowOf(*this), "late", "caption", 0);
      return FakeDialog::Apply(action);
    }
  } boxing(4000);
  Run("enter", {&boxing});
  ASSERT_GE(session.messageBoxes().size(), 1u);
  EXPECT_EQ(session.messageBoxes()[0].ownerTemplateId, 4000);
  // Once closed, the window names nothing.
  EXPECT_EQ(scripted::OpenDialogTemplate(WindowOf(boxing)), std::nullopt);
}

TEST(TerminalUserTest, ShowsTheDialogAndReadsStatementsLineByLine) {
  framework::testing::ScriptedSession session("");
  std::istringstream keyboard("help\ntpye 1\ntype 4003 7; dump\n");
  std::ostringstream screen;
  TerminalUser user(keyboard, screen);
  FakeDialog dialog(4003);

  auto first = user.Next(dialog);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->action.text, "7");
  auto second = user.Next(dialog);
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(second->action.kind, UserAction::Kind::Dump);
  EXPECT_FALSE(user.Next(dialog).has_value());  // end of input

  const std::string shown = screen.str();
  EXPECT_THAT(shown, HasSubstr("[dialog 4003] T\xc3\xa9"));
  EXPECT_THAT(shown, HasSubstr("4003 edit \"12\" selected 0-2"));
  EXPECT_THAT(shown, HasSubstr("1 button \"OK\" disabled"));
  EXPECT_THAT(shown, HasSubstr("4018 scroll bar position 3 down-arrow-disabled"));
  EXPECT_THAT(shown, HasSubstr("1003 combo box \"\" selection 1 items 0=\"a\" 1=\"b\""));
  EXPECT_THAT(shown, HasSubstr("statements (separate"));
  EXPECT_THAT(shown, HasSubstr("unknown statement \"tpye\""));
}

}  // namespace
}  // namespace platform::simulated
