// The modal dialog base: data exchange and validation, message routing, the
// keyboard's Enter, Escape and close box, and what the host sees of it.
#include "framework/dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/button.h"
#include "framework/combo_box.h"
#include "framework/data_exchange.h"
#include "framework/edit.h"
#include "framework/scroll_bar.h"
#include "framework/window_constants.h"
#include "scripted_session.h"

namespace framework {
namespace {

using ::testing::ElementsAre;
using testing::FromHex;
using testing::ScriptedSession;

constexpr int kTemplateId = 9001;
constexpr int kName = 101;
constexpr int kCount = 102;
constexpr int kShift = 103;
constexpr int kUnit = 104;
constexpr int kInverted = 105;
constexpr int kRows = 106;
constexpr std::uint32_t kField = kWsVisible | kWsTabStop;

constexpr resources::DialogControl kControls[] = {
    {-1, "STATIC", u"Name:", 0, 0, 10, 10, kWsVisible, 0},
    {kName, "EDIT", u"", 0, 0, 10, 10, kField | kEsAutoHScroll, 0},
    {kCount, "EDIT", u"", 0, 0, 10, 10, kField, 0},
    {kShift, "EDIT", u"", 0, 0, 10, 10, kField, 0},
    {kUnit, "COMBOBOX", u"", 0, 0, 10, 10, kField | kCbsDropDownList, 0},
    {kInverted, "BUTTON", u"Inverted", 0, 0, 10, 10, kField | kBsAutoCheckBox, 0},
    {kRows, "SCROLLBAR", u"", 0, 0, 10, 10, kWsVisible | kSbsVert, 0},
    {kIdOk, "BUTTON", u"OK", 0, 0, 10, 10, kField | kBsDefPushButton, 0},
    {kIdCancel, "BUTTON", u"Cancel", 0, 0, 10, 10, kField | kBsPushButton, 0},
};
constexpr resources::DialogTemplate kTemplate{
    kTemplateId, u"Test \u00e9", u"MS Shell Dlg", 8, 0, 0, 100, 100, 0, 0, kControls};

class TestDialog : public Dialog {
 public:
  TestDialog() : Dialog(kTemplate) {}

  std::string name = "ab";
  int count = 5;
  double shift = 1.5;
  int unit = 1;
  int inverted = 0;
  bool disableButtons = false;
  int nameChanges = 0;
  std::vector<int> numberChanges;
  std::vector<std::pair<int, int>> scrolls;

 protected:
  bool OnInitDialog() override {
    for (const char* unitName : {"mm", "inches"}) Item<ComboBox>(kUnit)->AddString(unitName);
    Dialog::OnInitDialog();
    SetWindowPos(kHwndTopMost, 0, 0, 0, 0, kSwpNoSize | kSwpNoMove | kSwpNoOwnerZOrder);
    if (disableButtons) {
      GetDlgItem(kIdOk)->EnableWindow(false);
      GetDlgItem(kIdCancel)->EnableWindow(false);
    }
    return true;
  }
  void DoDataExchange(DataExchange& exchange) override {
    exchange.Text(kName, name);
    exchange.MaxChars(name, 5);
    exchange.Text(kCount, count);
    exchange.MinMaxInt(count, 1, 99);
    exchange.Text(kShift, shift);
    exchange.ComboIndex(kUnit, unit);
    exchange.Check(kInverted, inverted);
  }
  bool RouteMessage(const Message& message) override {
    return kMessageMap.Dispatch(*this, message) || Dialog::RouteMessage(message);
  }

 private:
  void OnChangeName() { ++nameChanges; }
  void OnChangeNumber(int control) { numberChanges.push_back(control); }
  void OnScrollRows(int code, int position) { scrolls.emplace_back(code, position); }

  using Map = MessageMap<TestDialog>;
  static const Map kMessageMap;
};

const TestDialog::Map TestDialog::kMessageMap = {
    Map::Command(kName, kEnChange, &TestDialog::OnChangeName),
    Map::CommandRange(kCount, kShift, kEnChange, &TestDialog::OnChangeNumber),
    Map::VScroll(kRows, &TestDialog::OnScrollRows),
};

nlohmann::json ControlOf(const nlohmann::json& dump, int id) {
  for (const nlohmann::json& control : dump["controls"]) {
    if (control["id"] == id) return control;
  }
  return {};
}

TEST(DialogTest, FrameworkInitialisationWritesTheFieldsIntoTheControls) {
  ScriptedSession session("dump");
  TestDialog dialog;
  EXPECT_EQ(dialog.DoModal(), kIdCancel);  // the script ran out: as by Escape
  const auto dumps = session.Events("dump");
  ASSERT_EQ(dumps.size(), 1u);
  EXPECT_EQ(FromHex(ControlOf(dumps[0], kName)["text_hex"]), "ab");
  EXPECT_EQ(FromHex(ControlOf(dumps[0], kCount)["text_hex"]), "5");
  EXPECT_EQ(FromHex(ControlOf(dumps[0], kShift)["text_hex"]), "1.5");
  EXPECT_EQ(ControlOf(dumps[0], kUnit)["selection"], nlohmann::json({1, 1}));
  EXPECT_EQ(ControlOf(dumps[0], kInverted)["checked"], 0);
  // The first tab stop has the focus with its text selected.
  EXPECT_EQ(ControlOf(dumps[0], kName)["selection"], nlohmann::json({0, 2}));
  EXPECT_EQ(dialog.GetFocus(), kName);
  EXPECT_EQ(dialog.nameChanges, 1);
  EXPECT_TRUE(dialog.IsTopmost());
}

TEST(DialogTest, TitleIsConvertedToTheMachinesCodePageAndRecordedWithTheResult) {
  ScriptedSession session("escape");
  TestDialog dialog;
  dialog.DoModal();
  const auto closed = session.Events("dialog");
  ASSERT_EQ(closed.size(), 1u);
  EXPECT_EQ(closed[0]["template"], kTemplateId);
  EXPECT_EQ(closed[0]["title_hex"], "5465737420e9");  // "Test é" in 1252
  EXPECT_EQ(closed[0]["result"], kIdCancel);
}

TEST(DialogTest, OkReadsTheFieldsAndCloses) {
  ScriptedSession session(
      "type 101 cdef; clear 102; type 102 42; clear 103; paste 103 2.25; "
      "select 104 0; check 105 1; enter");
  TestDialog dialog;
  EXPECT_EQ(dialog.DoModal(), kIdOk);
  EXPECT_EQ(dialog.name, "abcde");  // typing stops at the limit of 5
  EXPECT_EQ(dialog.count, 42);
  EXPECT_DOUBLE_EQ(dialog.shift, 2.25);
  EXPECT_EQ(dialog.unit, 0);
  EXPECT_EQ(dialog.inverted, 1);
  EXPECT_TRUE(session.messageBoxes().empty());
}

TEST(DialogTest, TextOverTheLimitIsRefusedWithAMessageAndTheDialogStaysOpen) {
  ScriptedSession session("click 1; dump; escape");
  TestDialog dialog;
  dialog.name = "abcdefg";  // a program may write more than the user may type
  EXPECT_EQ(dialog.DoModal(), kIdCancel);
  ASSERT_EQ(session.messageBoxes().size(), 1u);
  const auto& box = session.messageBoxes()[0];
  EXPECT_EQ(box.text, "Enter no more than 5 characters.");
  EXPECT_EQ(box.ownerTemplateId, kTemplateId);
  EXPECT_EQ(box.caption, "vx5prcfg");
  EXPECT_EQ(box.type, kMbOk | kMbIconExclamation);
  // Still open after OK, the refused field focused and selected.
  const auto dumps = session.Events("dump");
  ASSERT_EQ(dumps.size(), 1u);
  EXPECT_EQ(ControlOf(dumps[0], kName)["selection"], nlohmann::json({0, 7}));
  EXPECT_EQ(dialog.GetFocus(), kName);
}

TEST(DialogTest, IntegerOutOfRangeIsRefusedWithTheRangeInTheMessage) {
  ScriptedSession session("clear 102; type 102 100; enter; clear 102; type 102 99; enter");
  TestDialog dialog;
  EXPECT_EQ(dialog.DoModal(), kIdOk);
  ASSERT_EQ(session.messageBoxes().size(), 1u);
  EXPECT_EQ(session.messageBoxes()[0].text, "Enter an integer between 1 and 99.");
  EXPECT_EQ(dialog.count, 99);
}

TEST(DialogTest, TextThatIsNoIntegerOrNumberIsRefused) {
  ScriptedSession session(
      "clear 102; type 102 4x; enter; clear 102; type 102 \" 7 \"; "
      "clear 103; type 103 1,5; enter; escape");
  TestDialog dialog;
  EXPECT_EQ(dialog.DoModal(), kIdCancel);
  ASSERT_EQ(session.messageBoxes().size(), 2u);
  EXPECT_EQ(session.messageBoxes()[0].text, "Enter an integer.");
  EXPECT_EQ(session.messageBoxes()[1].text, "Enter a number.");
  EXPECT_EQ(dialog.count, 7);  // blanks around an integer are fine
}

TEST(DialogTest, DisabledButtonsRefuseClicksAndEnterButEscapeStillCancels) {
  ScriptedSession session("click 1; enter; close; escape");
  TestDialog dialog;
  dialog.disableButtons = true;
  EXPECT_EQ(dialog.DoModal(), kIdCancel);
  const auto refused = session.Events("action_refused");
  ASSERT_EQ(refused.size(), 3u);
  EXPECT_EQ(refused[0]["statement"], "click 1");
  EXPECT_EQ(refused[1]["statement"], "enter");
  EXPECT_EQ(refused[2]["statement"], "close");
}

TEST(DialogTest, CloseBoxCancels) {
  ScriptedSession session("close; click 1");
  TestDialog dialog;
  EXPECT_EQ(dialog.DoModal(), kIdCancel);
}

TEST(DialogTest, ScrollMessagesReachTheClassesHandlerWithCodeAndPosition) {
  ScriptedSession session("scroll 106 linedown; scroll 106 thumb 7; escape");
  TestDialog dialog;
  dialog.DoModal();
  EXPECT_THAT(dialog.scrolls,
              ElementsAre(std::pair(kSbLineDown, 0), std::pair(kSbEndScroll, 0),
                          std::pair(kSbThumbTrack, 7), std::pair(kSbThumbPosition, 7),
                          std::pair(kSbEndScroll, 0)));
}

TEST(DialogTest, ARangeEntryTellsItsHandlerWhichControlNotified) {
  ScriptedSession session("type 102 7; type 103 2; type 101 c; escape");
  TestDialog dialog;
  dialog.DoModal();
  // The initial exchange writes both fields first.
  EXPECT_THAT(dialog.numberChanges, ElementsAre(kCount, kShift, kCount, kShift));
}

TEST(DialogTest, KeyGoesToTheFocusedControl) {
  ScriptedSession session("key z; dump; click 105; key \" \"; dump; escape");
  TestDialog dialog;
  dialog.DoModal();
  const auto dumps = session.Events("dump");
  ASSERT_EQ(dumps.size(), 2u);
  // The initial focus selected "ab"; the keystroke replaced it.
  EXPECT_EQ(FromHex(ControlOf(dumps[0], kName)["text_hex"]), "z");
  // Space on the focused check box clicks it again.
  EXPECT_EQ(ControlOf(dumps[1], kInverted)["checked"], 0);
}

TEST(DialogTest, GetDlgItemIntReadsTheLeadingNumber) {
  ScriptedSession session("");
  class Probe : public TestDialog {
   public:
    std::vector<std::pair<int, bool>> read;

   protected:
    bool OnInitDialog() override {
      TestDialog::OnInitDialog();
      for (const char* text : {" 12", "-3", "7x", "", "x7", "99999999999"}) {
        SetDlgItemText(kCount, text);
        bool translated = false;
        const int value = GetDlgItemInt(kCount, &translated, true);
        read.emplace_back(value, translated);
      }
      bool translated = true;
      SetDlgItemText(kCount, "-3");
      read.emplace_back(GetDlgItemInt(kCount, &translated, false), translated);
      return true;
    }
  } dialog;
  dialog.DoModal();
  EXPECT_THAT(dialog.read, ElementsAre(std::pair(12, true), std::pair(-3, true), std::pair(7, true),
                                       std::pair(0, false), std::pair(0, false),
                                       std::pair(0, false), std::pair(0, false)));
}

TEST(DialogTest, MissingTemplateAnswersMinusOneWithoutAHost) {
  ScriptedSession session("dump");
  Dialog dialog(54321);
  EXPECT_EQ(dialog.DoModal(), Dialog::kNoTemplate);
  EXPECT_TRUE(session.Events("dialog").empty());
}

}  // namespace
}  // namespace framework
