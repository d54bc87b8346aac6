// The headless buttons, combo boxes, list views, scroll bars and date-time
// pickers behave as their Win32 counterparts do where the prompts depend on it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/simulated/headless_button.h"
#include "platform/simulated/headless_combo_box.h"
#include "platform/simulated/headless_date_time_picker.h"
#include "platform/simulated/headless_list_view.h"
#include "platform/simulated/headless_scroll_bar.h"
#include "platform/window_constants.h"
#include "tests/framework/scripted_session.h"

namespace platform::simulated {
namespace {

using namespace platform::window;
using framework::testing::RecordingOwner;
using Event = RecordingOwner::Event;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kId = 100;

TEST(ButtonTest, DisabledOrHiddenButtonIgnoresAClick) {
  RecordingOwner owner;
  Button button(owner, kId, kWsVisible | kBsPushButton | kWsDisabled, "OK");
  EXPECT_FALSE(button.Click());
  button.EnableWindow(true);
  button.ShowWindow(false);
  EXPECT_FALSE(button.Click());
  EXPECT_THAT(owner.commands, IsEmpty());
  button.ShowWindow(true);
  EXPECT_TRUE(button.Click());
  EXPECT_THAT(owner.commands, ElementsAre(Event{kId, kBnClicked}));
}

TEST(ButtonTest, AutomaticCheckBoxTogglesBeforeNotifying) {
  RecordingOwner owner;
  Button box(owner, kId, kWsVisible | kBsAutoCheckBox, "Inverted");
  EXPECT_EQ(box.kind(), "check box");
  box.Click();
  EXPECT_EQ(box.GetCheck(), Button::kChecked);
  box.Click();
  EXPECT_EQ(box.GetCheck(), Button::kUnchecked);
  Button manual(owner, kId, kWsVisible | kBsCheckBox, "");
  manual.Click();
  EXPECT_EQ(manual.GetCheck(), Button::kUnchecked);  // the dialog decides
  Button frame(owner, kId, kWsVisible | kBsGroupBox, "");
  EXPECT_FALSE(frame.Click());
}

class ComboBoxTest : public ::testing::Test {
 protected:
  ComboBoxTest() : combo_(owner_, kId, kWsVisible | kCbsDropDownList, "") {
    for (const char* item : {"Letter", "A4", "Legal", "Ledger", "A3"}) combo_.AddString(item);
  }
  RecordingOwner owner_;
  ComboBox combo_;
};

TEST_F(ComboBoxTest, PrefixSearchStartsAfterTheGivenIndexAndWraps) {
  EXPECT_EQ(combo_.FindString(-1, "le"), 0);  // the whole list from the top
  EXPECT_EQ(combo_.FindString(0, "LE"), 2);   // case-insensitive, after item 0
  EXPECT_EQ(combo_.FindString(3, "le"), 0);   // past the end, round to the top
  EXPECT_EQ(combo_.FindString(0, "Le"), 2);
  EXPECT_EQ(combo_.FindString(1, "A"), 4);
  EXPECT_EQ(combo_.FindString(4, "A"), 1);
  EXPECT_EQ(combo_.FindString(2, "Legal"), 2);  // only the start item itself is left
  EXPECT_EQ(combo_.FindString(-1, "B5"), kCbErr);
  EXPECT_EQ(combo_.FindStringExact(-1, "a3"), 4);
  EXPECT_EQ(combo_.FindStringExact(-1, "A"), kCbErr);
}

TEST_F(ComboBoxTest, KeystrokeInADropDownListJumpsToTheNextMatch) {
  combo_.SetCurSel(0);
  EXPECT_TRUE(combo_.TypeCharacter("l"));
  EXPECT_EQ(combo_.GetCurSel(), 2);
  EXPECT_TRUE(combo_.TypeCharacter("l"));
  EXPECT_EQ(combo_.GetCurSel(), 3);
  EXPECT_TRUE(combo_.TypeCharacter("l"));
  EXPECT_EQ(combo_.GetCurSel(), 0);
  EXPECT_THAT(owner_.commands, ElementsAre(Event{kId, kCbnSelChange}, Event{kId, kCbnSelChange},
                                           Event{kId, kCbnSelChange}));
}

TEST_F(ComboBoxTest, ProgrammaticSelectionIsQuietTheUsersIsNot) {
  EXPECT_EQ(combo_.SetCurSel(1), 1);
  EXPECT_EQ(combo_.GetWindowText(), "A4");
  EXPECT_THAT(owner_.commands, IsEmpty());
  EXPECT_EQ(combo_.SetCurSel(9), kCbErr);
  EXPECT_EQ(combo_.GetCurSel(), -1);
  EXPECT_TRUE(combo_.Select(4));
  EXPECT_THAT(owner_.commands, ElementsAre(Event{kId, kCbnSelChange}));
  EXPECT_FALSE(combo_.Select(5));
  combo_.EnableWindow(false);
  EXPECT_FALSE(combo_.Select(0));
}

TEST_F(ComboBoxTest, SortedListInsertsInOrderAndKeepsTheSelectionOnItsItem) {
  ComboBox sorted(owner_, kId, kWsVisible | kCbsDropDownList | kCbsSort, "");
  sorted.AddString("Use For");
  sorted.SetCurSel(0);
  EXPECT_EQ(sorted.AddString("Insert Before"), 0);
  EXPECT_EQ(sorted.GetLBText(0), "Insert Before");
  EXPECT_EQ(sorted.GetCurSel(), 1);
  EXPECT_EQ(sorted.DeleteString(0), 1);
  EXPECT_EQ(sorted.GetCurSel(), 0);
}

TEST(ListViewTest, ItemInsertedSelectedNotifiesAndASingleSelectionMoves) {
  RecordingOwner owner;
  ListView list(owner, kId, kWsVisible | kLvsSingleSel, "");
  list.InsertItem(0, "Letter", 0);
  list.InsertItem(1, "A4", 1, kLvisSelected);
  ASSERT_EQ(owner.notifications.size(), 1u);
  EXPECT_EQ(owner.notifications[0].code, kLvnItemChanged);
  EXPECT_EQ(owner.notifications[0].item, 1);
  EXPECT_EQ(list.GetNextItem(-1, kLvniSelected), 1);

  owner.notifications.clear();
  EXPECT_TRUE(list.Select(0));
  EXPECT_EQ(list.GetNextItem(-1, kLvniSelected), 0);
  EXPECT_EQ(list.GetItemState(1, kLvisSelected), 0u);
  EXPECT_EQ(owner.notifications.size(), 2u);  // item 1 dropped, item 0 taken
  EXPECT_EQ(list.GetItemImage(1), 1);
  EXPECT_TRUE(list.EnsureVisible(1));
  EXPECT_EQ(list.GetTopIndex(), 1);
}

TEST(ScrollBarTest, UserScrollingReportsToTheDialogAndHonoursDisabledArrows) {
  RecordingOwner owner;
  ScrollBar bar(owner, kId, kWsVisible | kSbsVert, "");
  bar.SetScrollRange(0, 9);
  EXPECT_TRUE(bar.Scroll(kSbLineDown));
  EXPECT_EQ(bar.GetScrollPos(), 0);  // the dialog moves it, not the bar
  EXPECT_THAT(owner.scrolls, ElementsAre(Event{kId, kSbLineDown}, Event{kId, kSbEndScroll}));

  owner.scrolls.clear();
  bar.EnableScrollBar(kEsbDisableDown);
  EXPECT_FALSE(bar.Scroll(kSbLineDown));
  EXPECT_TRUE(bar.Scroll(kSbLineUp));
  EXPECT_TRUE(bar.Scroll(kSbPageDown));  // the shaft still pages
  bar.EnableScrollBar(kEsbDisableBoth);
  EXPECT_FALSE(bar.Scroll(kSbPageDown));
  EXPECT_EQ(owner.scrolls.size(), 4u);

  owner.scrolls.clear();
  owner.positions.clear();
  bar.EnableScrollBar(kEsbEnableBoth);
  EXPECT_TRUE(bar.Scroll(kSbThumbTrack, 42));
  EXPECT_THAT(owner.scrolls, ElementsAre(Event{kId, kSbThumbTrack}, Event{kId, kSbThumbPosition},
                                         Event{kId, kSbEndScroll}));
  EXPECT_EQ(owner.positions[0], 9);  // the thumb stays inside the range
  EXPECT_EQ(bar.SetScrollPos(20), 0);
  EXPECT_EQ(bar.GetScrollPos(), 9);
}

TEST(ScrollBarTest, BothArrowsEnableOrDisableTheControlItself) {
  RecordingOwner owner;
  ScrollBar bar(owner, kId, kWsVisible | kSbsVert | kWsDisabled, "");
  bar.EnableScrollBar(kEsbEnableBoth);  // the arrows were enabled already
  EXPECT_TRUE(bar.IsWindowEnabled());
  bar.EnableScrollBar(kEsbDisableDown);
  EXPECT_TRUE(bar.IsWindowEnabled());
  bar.EnableScrollBar(kEsbDisableBoth);
  EXPECT_FALSE(bar.IsWindowEnabled());
}

TEST(DateTimePickerTest, PickingKeepsThePartThePickerDoesNotEditAndRespectsTheRange) {
  framework::testing::ScriptedSession session(
      "",
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SimulatedMachine\\System]\n"
      "\"Now\"=\"2012-05-17 09:05:30\"\n");
  RecordingOwner owner;
  DateTimePicker date(owner, 4000, kWsVisible, "");
  DateTimePicker time(owner, 4001, kWsVisible | kDtsTimeFormat, "");
  EXPECT_EQ(date.time().year, 2012);
  EXPECT_EQ(date.GetWindowText(), "5/17/2012");
  EXPECT_EQ(time.GetWindowText(), "9:05:30 AM");

  const platform::SystemTime now = date.time();
  platform::SystemTime range[2] = {now, now};
  range[1].month = 6;
  date.SetRange(kGdtrMin | kGdtrMax, range);
  platform::SystemTime picked{2012, 5, 0, 17, 23, 59, 0, 0};
  EXPECT_TRUE(date.Pick(picked));  // today counts whole, whatever the time
  EXPECT_EQ(date.time().hour, 9);
  picked.day = 16;
  EXPECT_FALSE(date.Pick(picked));
  picked.month = 7;
  EXPECT_FALSE(date.Pick(picked));
  ASSERT_EQ(owner.notifications.size(), 1u);
  EXPECT_EQ(owner.notifications[0].code, kDtnDateTimeChange);
  // DTM_SETSYSTEMTIME refuses a moment outside the range as the user's pick is.
  EXPECT_FALSE(date.SetSystemTime(kGdtValid, picked));
  EXPECT_EQ(date.time().month, 5);

  EXPECT_TRUE(time.Pick(platform::SystemTime{2030, 1, 0, 1, 14, 45, 0, 0}));
  EXPECT_EQ(time.time().year, 2012);
  EXPECT_EQ(time.time().hour, 14);
  time.SetFormat("HH:mm");
  EXPECT_EQ(time.GetWindowText(), "14:45");
}

}  // namespace
}  // namespace platform::simulated
