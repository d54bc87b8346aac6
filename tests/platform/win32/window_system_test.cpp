// Real dialogs through the framework: made from the module's templates, their
// controls told and asked through the window interface, their notifications
// reaching the dialog classes' message maps. They need a display: `./run
// windows` runs them on a virtual one.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/button.h"
#include "framework/combo_box.h"
#include "framework/date_time_picker.h"
#include "framework/dialog.h"
#include "framework/edit.h"
#include "framework/list_view.h"
#include "framework/scroll_bar.h"
#include "framework/window_constants.h"
#include "platform/win32/windows_api.h"
#include "resources/resource_ids.h"

namespace platform::win32 {
namespace {

using namespace framework;

// A dialog that no message ends would hold the test run: a timer ends it.
constexpr UINT kSafetyTimer = 0x7E57;
constexpr UINT kSafetyMilliseconds = 20000;
constexpr int kEndedByTimer = -2;

void CALLBACK EndStuckDialog(HWND dialog, UINT, UINT_PTR, DWORD) {
  EndDialog(dialog, kEndedByTimer);
}

void ArmSafetyTimer(Dialog& dialog) {
  SetTimer(static_cast<HWND>(dialog.GetSafeHwnd()), kSafetyTimer, kSafetyMilliseconds,
           &EndStuckDialog);
}

// The department code prompt's template, as the module holds it.
class DeptCodeProbe : public Dialog {
 public:
  DeptCodeProbe() : Dialog(IDD_DEPT_CODE) {}

  bool hadWindow = false;
  std::vector<std::string> classes;
  bool okStartsDisabled = false;
  bool digitsOnly = false;
  std::string title;
  std::string text;
  int limit = 0;
  std::pair<int, int> selection;
  bool enabledAfterEnable = false;
  bool visibleAfterHide = true;

 protected:
  bool OnInitDialog() override {
    Dialog::OnInitDialog();
    ArmSafetyTimer(*this);
    hadWindow = IsWindow(static_cast<HWND>(GetSafeHwnd())) != FALSE;
    for (int id : {IDC_DEPT_CODE_EXPLANATION, IDC_DEPT_CODE, kIdOk, kIdCancel}) {
      if (GetDlgItem(id) != nullptr) {
        classes.push_back(Item<Edit>(id) != nullptr     ? "edit"
                          : Item<Button>(id) != nullptr ? "button"
                                                        : "other");
      }
    }
    okStartsDisabled = !GetDlgItem(kIdOk)->IsWindowEnabled();
    digitsOnly = (GetDlgItem(IDC_DEPT_CODE)->style() & kEsNumber) != 0;

    SetWindowText("Department code");
    title = GetWindowText();
    auto* edit = Item<Edit>(IDC_DEPT_CODE);
    edit->SetWindowText("12345");
    text = GetDlgItemText(IDC_DEPT_CODE);
    edit->LimitText(7);
    limit = edit->GetLimitText();
    edit->SetSel(1, 3);
    selection = {edit->selectionStart(), edit->selectionEnd()};
    GetDlgItem(kIdOk)->EnableWindow(true);
    enabledAfterEnable = GetDlgItem(kIdOk)->IsWindowEnabled();
    GetDlgItem(IDC_DEPT_CODE_LABEL)->ShowWindow(false);
    visibleAfterHide = GetDlgItem(IDC_DEPT_CODE_LABEL)->IsWindowVisible();
    EndDialog(kIdOk);
    return true;
  }
};

TEST(Win32WindowSystem, DialogFromTheModulesTemplateAnswersThroughItsControls) {
  ASSERT_NE(FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_DEPT_CODE), MAKEINTRESOURCEA(5)), nullptr)
      << "the test program holds the module's resources";
  DeptCodeProbe dialog;
  EXPECT_EQ(dialog.DoModal(), kIdOk);
  EXPECT_TRUE(dialog.hadWindow);
  EXPECT_EQ(dialog.classes, (std::vector<std::string>{"other", "edit", "button", "button"}));
  EXPECT_TRUE(dialog.okStartsDisabled);
  EXPECT_TRUE(dialog.digitsOnly);
  EXPECT_EQ(dialog.title, "Department code");
  EXPECT_EQ(dialog.text, "12345");
  EXPECT_EQ(dialog.limit, 7);
  EXPECT_EQ(dialog.selection, std::make_pair(1, 3));
  EXPECT_TRUE(dialog.enabledAfterEnable);
  EXPECT_FALSE(dialog.visibleAfterHide);
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);  // the window is gone
}

constexpr int kName = 101;
constexpr int kPapers = 102;
constexpr int kUnit = 103;
constexpr int kInverted = 104;
constexpr int kRows = 105;
constexpr int kDate = 106;
constexpr std::uint32_t kField = kWsVisible | kWsTabStop;

constexpr resources::DialogControl kControls[] = {
    {kName, "EDIT", u"", 5, 5, 60, 12, kField | kEsAutoHScroll, 0},
    {kPapers, "SysListView32", u"", 5, 20, 100, 40, kField | kLvsSingleSel, 0},
    {kUnit, "COMBOBOX", u"", 5, 65, 60, 50, kField | kCbsDropDownList, 0},
    {kInverted, "BUTTON", u"Inverted", 70, 65, 60, 12, kField | kBsAutoCheckBox, 0},
    {kRows, "SCROLLBAR", u"", 110, 20, 10, 40, kWsVisible | kSbsVert, 0},
    {kDate, "SysDateTimePick32", u"", 5, 80, 80, 12, kField, 0},
    {kIdOk, "BUTTON", u"OK", 90, 100, 40, 14, kField | kBsDefPushButton, 0},
    {kIdCancel, "BUTTON", u"Cancel", 135, 100, 40, 14, kField | kBsPushButton, 0},
};
constexpr resources::DialogTemplate kTemplate{9001, u"Controls", u"MS Shell Dlg", 8, 0, 0, 180, 120,
                                              0,    0,           kControls};

class ControlsProbe : public Dialog {
 public:
  ControlsProbe() : Dialog(kTemplate) {}

  int nameChanges = 0;
  std::vector<int> itemsChanged;
  std::vector<std::pair<int, int>> scrolls;
  bool okReached = false;

  std::string unitText;
  int unitSelection = -1;
  int check = 0;
  std::string itemText;
  int itemCount = 0;
  int selectedItem = -1;
  int scrollPosition = 0;
  platform::SystemTime date{};

 protected:
  bool OnInitDialog() override {
    Dialog::OnInitDialog();
    ArmSafetyTimer(*this);
    auto* unit = Item<ComboBox>(kUnit);
    unit->AddString("mm");
    unit->AddString("inches");
    unit->SetCurSel(1);
    unitSelection = unit->GetCurSel();
    unitText = unit->GetLBText(1);

    auto* inverted = Item<Button>(kInverted);
    inverted->SetCheck(Button::kChecked);
    check = inverted->GetCheck();

    auto* papers = Item<ListView>(kPapers);
    papers->InsertColumn(0, "Paper", 80);
    papers->InsertItem(0, "Letter");
    papers->InsertItem(1, "A4");
    papers->SetItemState(1, kLvisSelected, kLvisSelected);  // LVN_ITEMCHANGED
    itemCount = papers->GetItemCount();
    itemText = papers->GetItemText(1, 0);
    selectedItem = papers->GetNextItem(-1, kLvniSelected);

    auto* rows = Item<ScrollBar>(kRows);
    rows->SetScrollRange(0, 9);
    rows->SetScrollPos(4);
    scrollPosition = rows->GetScrollPos();

    auto* picker = Item<DateTimePicker>(kDate);
    picker->SetSystemTime(kGdtValid, platform::SystemTime{2024, 5, 5, 31, 18, 0, 0, 0});
    picker->GetSystemTime(date);

    SetDlgItemText(kName, "abc");  // EN_CHANGE, at once
    // These go through the dialog's own message loop.
    HWND window = static_cast<HWND>(GetSafeHwnd());
    PostMessageA(window, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0),
                 reinterpret_cast<LPARAM>(::GetDlgItem(window, kRows)));
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(kIdOk, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(window, kIdOk)));
    return true;
  }
  void OnOK() override {
    okReached = true;
    Dialog::OnOK();
  }
  bool RouteMessage(const Message& message) override {
    return kMessageMap.Dispatch(*this, message) || Dialog::RouteMessage(message);
  }

 private:
  void OnChangeName() { ++nameChanges; }
  void OnPaperChanged(const Notification& notification) {
    // Selections only: the list may also move its focus mark about.
    const unsigned changed = notification.newState ^ notification.oldState;
    if ((changed & notification.newState & kLvisSelected) != 0) {
      itemsChanged.push_back(notification.item);
    }
  }
  void OnScrollRows(int code, int position) { scrolls.emplace_back(code, position); }

  using Map = MessageMap<ControlsProbe>;
  static const Map kMessageMap;
};

const ControlsProbe::Map ControlsProbe::kMessageMap = {
    Map::Command(kName, kEnChange, &ControlsProbe::OnChangeName),
    Map::Notify(kPapers, kLvnItemChanged, &ControlsProbe::OnPaperChanged),
    Map::VScroll(kRows, &ControlsProbe::OnScrollRows),
};

TEST(Win32WindowSystem, ControlsRoundTripAndNotificationsReachTheMessageMap) {
  ControlsProbe dialog;
  EXPECT_EQ(dialog.DoModal(), kIdOk);
  EXPECT_TRUE(dialog.okReached);
  EXPECT_EQ(dialog.unitSelection, 1);
  EXPECT_EQ(dialog.unitText, "inches");
  EXPECT_EQ(dialog.check, Button::kChecked);
  EXPECT_EQ(dialog.itemCount, 2);
  EXPECT_EQ(dialog.itemText, "A4");
  EXPECT_EQ(dialog.selectedItem, 1);
  EXPECT_EQ(dialog.itemsChanged, std::vector<int>{1});
  EXPECT_EQ(dialog.scrollPosition, 4);
  EXPECT_EQ(dialog.date.year, 2024);
  EXPECT_EQ(dialog.date.month, 5);
  EXPECT_EQ(dialog.date.day, 31);
  EXPECT_GE(dialog.nameChanges, 1);
  EXPECT_EQ(dialog.scrolls, (std::vector<std::pair<int, int>>{{kSbLineDown, 0}}));
}

}  // namespace
}  // namespace platform::win32
