#include "platform/simulated/headless_edit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/window_constants.h"
#include "tests/framework/scripted_session.h"

namespace platform::simulated {
namespace {

using namespace platform::window;
using framework::testing::RecordingOwner;
using Event = RecordingOwner::Event;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kId = 4003;
constexpr std::uint32_t kVisible = kWsVisible | kWsTabStop;

class EditTest : public ::testing::Test {
 protected:
  Edit& MakeEdit(std::uint32_t style = 0) {
    edit_ = std::make_unique<Edit>(owner_, kId, kVisible | style, "");
    return *edit_;
  }
  RecordingOwner owner_;
  std::unique_ptr<Edit> edit_;
};

TEST_F(EditTest, EveryChangeNotifiesUpdateThenChangeProgrammaticOnesIncluded) {
  Edit& edit = MakeEdit();
  edit.SetWindowText("12");
  EXPECT_THAT(owner_.commands, ElementsAre(Event{kId, kEnUpdate}, Event{kId, kEnChange}));
  owner_.commands.clear();
  edit.SetWindowText("12");  // the same text is still a change of the window text
  EXPECT_EQ(owner_.commands.size(), 2u);
  owner_.commands.clear();
  edit.PlaceCaretAtEnd();
  edit.TypeCharacter("3");
  EXPECT_THAT(owner_.commands, ElementsAre(Event{kId, kEnUpdate}, Event{kId, kEnChange}));
}

TEST_F(EditTest, DigitsOnlyRefusesTypedNonDigitsButTakesPastedText) {
  Edit& edit = MakeEdit(kEsNumber);
  EXPECT_TRUE(edit.TypeCharacter("1"));
  EXPECT_FALSE(edit.TypeCharacter("a"));
  EXPECT_FALSE(edit.TypeCharacter("-"));
  EXPECT_EQ(edit.GetWindowText(), "1");
  EXPECT_TRUE(edit.Paste("2a4"));
  EXPECT_EQ(edit.GetWindowText(), "12a4");
}

TEST_F(EditTest, LimitHoldsAgainstTypingAndPastingButNotAgainstSetWindowText) {
  Edit& edit = MakeEdit();
  edit.LimitText(5);
  for (char c : std::string("123456")) edit.TypeCharacter(std::string(1, c));
  EXPECT_EQ(edit.GetWindowText(), "12345");

  edit.SetWindowText("");
  EXPECT_TRUE(edit.Paste("abcdefgh"));
  EXPECT_EQ(edit.GetWindowText(), "abcde");  // cut to what fits
  owner_.commands.clear();
  EXPECT_FALSE(edit.Paste("x"));  // nothing fits: no change, no notification
  EXPECT_THAT(owner_.commands, IsEmpty());

  edit.SetWindowText("1234567");
  EXPECT_EQ(edit.GetWindowText(), "1234567");
}

TEST_F(EditTest, TypingReplacesTheSelectionWithinTheLimit) {
  Edit& edit = MakeEdit();
  edit.LimitText(5);
  edit.SetWindowText("12345");
  edit.SetSel(0, -1);
  EXPECT_TRUE(edit.TypeCharacter("9"));
  EXPECT_EQ(edit.GetWindowText(), "9");
}

TEST_F(EditTest, PasteTakesTheFirstLineOnly) {
  Edit& edit = MakeEdit();
  edit.Paste("first\r\nsecond");
  EXPECT_EQ(edit.GetWindowText(), "first");
}

TEST_F(EditTest, DisabledOrHiddenEditTakesNoInput) {
  Edit& edit = MakeEdit();
  edit.EnableWindow(false);
  EXPECT_FALSE(edit.TypeCharacter("1"));
  EXPECT_FALSE(edit.Paste("1"));
  EXPECT_FALSE(edit.Clear());
  edit.EnableWindow(true);
  edit.ShowWindow(false);
  EXPECT_FALSE(edit.TypeCharacter("1"));
  EXPECT_EQ(edit.GetWindowText(), "");
  edit.SetWindowText("set");  // programs may still write it
  EXPECT_EQ(edit.GetWindowText(), "set");
}

TEST_F(EditTest, UndoRestoresTheLastChangeAndCanBeUndoneItself) {
  Edit& edit = MakeEdit();
  edit.SetWindowText("12");
  EXPECT_FALSE(edit.CanUndo());  // WM_SETTEXT empties the undo buffer
  edit.PlaceCaretAtEnd();
  edit.TypeCharacter("3");
  owner_.commands.clear();
  EXPECT_TRUE(edit.Undo());
  EXPECT_EQ(edit.GetWindowText(), "12");
  EXPECT_THAT(owner_.commands, ElementsAre(Event{kId, kEnUpdate}, Event{kId, kEnChange}));
  EXPECT_TRUE(edit.Undo());
  EXPECT_EQ(edit.GetWindowText(), "123");
}

TEST_F(EditTest, SelectionFollowsEmSetSel) {
  Edit& edit = MakeEdit();
  edit.SetWindowText("00000");
  EXPECT_EQ(edit.selectionStart(), 0);
  EXPECT_EQ(edit.selectionEnd(), 0);  // WM_SETTEXT leaves the caret at the start
  edit.SetSel(0, -1);
  EXPECT_EQ(edit.selectionEnd(), 5);
  edit.SetSel(-1, 0);
  EXPECT_EQ(edit.selectionStart(), edit.selectionEnd());
  edit.SetSel(4, 2);
  EXPECT_EQ(edit.selectionStart(), 2);
  EXPECT_EQ(edit.selectionEnd(), 4);
  EXPECT_FALSE(edit.caretScrolledIntoView());
  edit.ScrollCaret();
  EXPECT_TRUE(edit.caretScrolledIntoView());
}

TEST_F(EditTest, BackspaceAndClearDeleteText) {
  Edit& edit = MakeEdit(kEsNumber);
  edit.SetWindowText("123");
  edit.PlaceCaretAtEnd();
  EXPECT_TRUE(edit.TypeCharacter("\b"));
  EXPECT_EQ(edit.GetWindowText(), "12");
  EXPECT_TRUE(edit.Clear());
  EXPECT_EQ(edit.GetWindowText(), "");
  EXPECT_FALSE(edit.Clear());  // nothing left to delete
}

TEST_F(EditTest, PasswordStyleMasksWithAStarUntilChanged) {
  EXPECT_EQ(MakeEdit(kEsPassword).GetPasswordChar(), '*');
  EXPECT_EQ(MakeEdit().GetPasswordChar(), '\0');
}

}  // namespace
}  // namespace platform::simulated
