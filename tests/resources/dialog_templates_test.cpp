// The dialog templates against the prompts' tables: ids, kinds, positions,
// styles, titles, fonts and sizes, and the combo boxes' initial lists.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "resources/resource_ids.h"
#include "resources/resources.h"
#include "tests/resources/win32_styles.h"

namespace {

using namespace resources_test;
using resources::DialogControl;
using resources::DialogTemplate;
using resources::FindComboItems;
using resources::FindDialog;
using ::testing::ElementsAre;

struct ExpectedControl {
  int id;
  std::string_view windowClass;
  int x, y, width, height;
  std::uint32_t style;
};

const DialogTemplate& Dialog(int id) {
  const DialogTemplate* found = FindDialog(id);
  if (found == nullptr) throw std::runtime_error("no dialog template " + std::to_string(id));
  return *found;
}

// The one control `id` of a template (static texts share -1, so not those).
const DialogControl& Control(const DialogTemplate& dialog, int id) {
  const DialogControl* found = nullptr;
  for (const auto& control : dialog.controls) {
    if (control.id != id) continue;
    if (found != nullptr) throw std::runtime_error("control " + std::to_string(id) + " twice");
    found = &control;
  }
  if (found == nullptr) throw std::runtime_error("no control " + std::to_string(id));
  return *found;
}

void ExpectControls(const DialogTemplate& dialog, const std::vector<ExpectedControl>& expected) {
  ASSERT_EQ(dialog.controls.size(), expected.size()) << "dialog " << dialog.id;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto& actual = dialog.controls[i];
    const auto& want = expected[i];
    SCOPED_TRACE("dialog " + std::to_string(dialog.id) + ", control #" + std::to_string(i));
    EXPECT_EQ(actual.id, want.id);
    EXPECT_EQ(actual.windowClass, want.windowClass);
    EXPECT_EQ(actual.x, want.x);
    EXPECT_EQ(actual.y, want.y);
    EXPECT_EQ(actual.width, want.width);
    EXPECT_EQ(actual.height, want.height);
    EXPECT_EQ(actual.style, want.style) << std::hex << actual.style << " != " << want.style;
  }
}

using Rectangle = std::array<int, 4>;

Rectangle Rect(const DialogControl& control) {
  return {control.x, control.y, control.width, control.height};
}

std::vector<std::u16string_view> Items(int dialogId, int controlId) {
  const auto items = FindComboItems(dialogId, controlId);
  return {items.begin(), items.end()};
}

constexpr std::uint32_t kStaticText = kChildVisible | kSsLeft | kWsGroup;
constexpr std::uint32_t kEdit = kChildVisible | kWsBorder | kWsTabStop;
constexpr std::uint32_t kPushButton = kChildVisible | kBsPushButton | kWsTabStop;
constexpr std::uint32_t kDefPushButton = kChildVisible | kBsDefPushButton | kWsTabStop;
constexpr std::uint32_t kMaskedDigits = kEsNumber | kEsPassword | kEsAutoHScroll;

TEST(DepartmentCodeTemplate, IsACentredUntitledShellDialog) {
  const auto& dialog = Dialog(IDD_DEPT_CODE);
  EXPECT_EQ(dialog.id, 4003);
  EXPECT_TRUE(dialog.title.empty());
  EXPECT_EQ(dialog.fontName, u"MS Shell Dlg");
  EXPECT_EQ(dialog.pointSize, 8);
  EXPECT_EQ(dialog.width, 203);
  EXPECT_EQ(dialog.height, 100);
  EXPECT_EQ(dialog.style, kModalPrompt | kDsCenter | kDs3dLook);
}

TEST(DepartmentCodeTemplate, HasTheControlsOfItsTable) {
  ExpectControls(Dialog(4003), {
                                   {4113, "STATIC", 8, 8, 185, 38, kStaticText},
                                   {4114, "STATIC", 8, 53, 116, 8, kStaticText},
                                   {4003, "EDIT", 8, 62, 90, 14, kEdit | kMaskedDigits},
                                   {1, "BUTTON", 43, 80, 55, 14, kDefPushButton | kWsDisabled},
                                   {2, "BUTTON", 112, 80, 55, 14, kPushButton},
                               });
}

TEST(BoxPasswordTemplate, IsACentredUntitledShellDialog) {
  const auto& dialog = Dialog(IDD_BOX_PASSWORD);
  EXPECT_EQ(dialog.id, 4047);
  EXPECT_TRUE(dialog.title.empty());
  EXPECT_EQ(dialog.fontName, u"MS Shell Dlg");
  EXPECT_EQ(dialog.pointSize, 8);
  EXPECT_EQ(dialog.width, 183);
  EXPECT_EQ(dialog.height, 73);
  EXPECT_EQ(dialog.style, kModalPrompt | kDsCenter);
}

TEST(BoxPasswordTemplate, HasTheControlsOfItsTable) {
  ExpectControls(Dialog(4047), {
                                   {4117, "STATIC", 17, 8, 155, 11, kStaticText},
                                   {4115, "STATIC", 17, 25, 42, 16, kStaticText},
                                   {4116, "EDIT", 70, 26, 51, 14, kEdit | kMaskedDigits},
                                   {1, "BUTTON", 70, 49, 50, 14, kDefPushButton},
                                   {2, "BUTTON", 124, 49, 50, 14, kPushButton},
                               });
}

TEST(ScheduledTimeTemplate, HasTwoPickersAndTheirLabels) {
  const auto& dialog = Dialog(IDD_SCHEDULE_TIME);
  EXPECT_EQ(dialog.title, u"Scheduled Time");
  EXPECT_EQ(dialog.fontName, u"MS Sans Serif");
  EXPECT_EQ(dialog.pointSize, 8);
  EXPECT_EQ(dialog.width, 202);
  EXPECT_EQ(dialog.height, 78);
  EXPECT_EQ(dialog.style & kDsCenter, 0u);
  ASSERT_EQ(dialog.controls.size(), 6u);
  EXPECT_EQ(dialog.controls[0].text, u"&Date");
  EXPECT_EQ(dialog.controls[2].text, u"&Time");
  const auto& date = Control(dialog, IDC_SCHEDULE_DATE);
  EXPECT_EQ(date.windowClass, "SysDateTimePick32");
  EXPECT_EQ(date.style & (kDtsRightAlign | kDtsTimeFormat), kDtsRightAlign);
  const auto& time = Control(dialog, IDC_SCHEDULE_TIME);
  EXPECT_EQ(time.windowClass, "SysDateTimePick32");
  EXPECT_EQ(time.style & kDtsTimeFormat, kDtsTimeFormat);
  EXPECT_EQ(Rect(time), (Rectangle{131, 14, 63, 13}));
  EXPECT_EQ(Rect(date), (Rectangle{24, 14, 70, 13}));
  EXPECT_EQ(Control(dialog, IDOK).style & kBsTypeMask, kBsDefPushButton);
}

TEST(InvalidDinTemplate, ContinueNotifiesAndIsNotTheDefault) {
  const auto& dialog = Dialog(IDD_VALIDATE_DIN);
  EXPECT_EQ(dialog.title, u"Invalid DIN");
  EXPECT_EQ(dialog.width, 182);
  EXPECT_EQ(dialog.height, 79);
  EXPECT_EQ(dialog.controls[0].text,
            u"You have not entered a valid 5 digit Document Identification Number (DIN). Please "
            u"do so now. \nPress 'Continue' to print or 'Abort' to cancel your private job.");
  const auto& edit = Control(dialog, IDC_DIN);
  EXPECT_EQ(edit.style, kEdit | kEsAutoHScroll);
  const auto& ok = Control(dialog, IDOK);
  EXPECT_EQ(ok.text, u"&Continue");
  EXPECT_EQ(ok.style, kPushButton | kBsNotify);
  EXPECT_EQ(Control(dialog, IDCANCEL).text, u"&Abort");
}

TEST(LoginTemplate, HidesTheDefaultButtonAndTheSpareEdit) {
  const auto& dialog = Dialog(IDD_LOGIN);
  EXPECT_EQ(dialog.title, u"HubSquareComposer Login");
  EXPECT_EQ(dialog.style, kModalPrompt | kDs3dLook);
  EXPECT_EQ(dialog.width, 187);
  EXPECT_EQ(dialog.height, 78);
  ExpectControls(dialog, {
                             {4001, "EDIT", 63, 7, 117, 12, kEdit | kEsAutoHScroll},
                             {4004, "EDIT", 63, 26, 117, 12, kEdit | kEsAutoHScroll | kEsPassword},
                             {4008, "BUTTON", 68, 56, 50, 15, kPushButton},
                             {2, "BUTTON", 130, 56, 50, 15, kPushButton},
                             {1, "BUTTON", 6, 57, 50, 14, kDefPushButton & ~kWsVisible},
                             {-1, "STATIC", 6, 7, 41, 11, kStaticText},
                             {-1, "STATIC", 6, 28, 35, 11, kStaticText},
                             {4005, "EDIT", 6, 49, 101, 12, (kEdit | kEsAutoHScroll) & ~kWsVisible},
                         });
  EXPECT_EQ(Control(dialog, IDOK).text, u"DummyOK");
  EXPECT_EQ(Control(dialog, IDC_LOGIN_BUTTON).text, u"OK");
}

TEST(InserterPaperTemplate, HasAnIconListAndTheInvertedCheckBox) {
  const auto& dialog = Dialog(IDD_INSERTER_PAPER);
  EXPECT_EQ(dialog.title, u"Inserter Unit Paper Size");
  EXPECT_EQ(dialog.width, 319);
  EXPECT_EQ(dialog.height, 141);
  const auto& list = Control(dialog, IDC_PAPER_LIST);
  EXPECT_EQ(list.windowClass, "SysListView32");
  EXPECT_EQ(list.style & kLvsTypeMask, kLvsIcon);
  EXPECT_EQ(list.style & (kLvsAlignLeft | kLvsShowSelAlways | kWsBorder | kWsTabStop),
            kLvsAlignLeft | kLvsShowSelAlways | kWsBorder | kWsTabStop);
  EXPECT_EQ(list.style & kLvsSingleSel, 0u) << "single selection is added at run time";
  const auto& check = Control(dialog, IDC_INSERT_INVERTED);
  EXPECT_EQ(Rect(list), (Rectangle{16, 39, 274, 46}));
  EXPECT_EQ(Rect(check), (Rectangle{16, 91, 273, 10}));
  EXPECT_EQ(check.style & kBsTypeMask, kBsAutoCheckBox);
  EXPECT_EQ(check.text, u"&Insert Inverted");
  EXPECT_EQ(Control(dialog, IDC_PAPER_FULL_NAME).text, u"");
  EXPECT_EQ(Control(dialog, IDC_PAPER_SIZE_LABEL).text, u"&Size:");
  EXPECT_EQ(dialog.controls.size(), 9u);
  EXPECT_EQ(dialog.controls[7].style & kBsTypeMask, kBsGroupBox);
}

constexpr std::u16string_view kBuiltInStocks[] = {
    u"Blanks-USA Copy Tabs, (5-tab banks) LT+1/2\"Tab",
    u"Blanks-USA Copy Tabs, (8-tab banks) LT+1/2\"Tab",
    u"KOKUYO A4-S (5-tab banks)",
    u"KING JIM A4-S (5-tab banks)",
    u"Custom Tab",
};

TEST(PrimaryTabTemplate, ListsStocksUnitsAndCassettes) {
  const auto& dialog = Dialog(IDD_PRIMARY_TAB);
  EXPECT_EQ(dialog.title, u"Primary Tab Dialogue");
  EXPECT_EQ(dialog.width, 340);
  EXPECT_EQ(dialog.height, 157);
  EXPECT_THAT(Items(4045, IDC_TAB_MANUFACTURER), ::testing::ElementsAreArray(kBuiltInStocks));
  EXPECT_THAT(Items(4045, IDC_PRIMARY_SHIFT_UNIT), ElementsAre(u"mm", u"inches"));
  EXPECT_THAT(Items(4045, IDC_TAB_CASSETTE), ElementsAre(u"Lower Drawer", u"Bypass Feeder"));
  for (int id : {IDC_TAB_MANUFACTURER, IDC_PRIMARY_SHIFT_UNIT, IDC_TAB_CASSETTE}) {
    EXPECT_EQ(Control(dialog, id).style & kCbsTypeMask, kCbsDropDownList) << id;
  }
  EXPECT_EQ(Control(dialog, IDC_PRIMARY_SHIFT).windowClass, "EDIT");
  EXPECT_EQ(Control(dialog, IDC_SHIFT_RANGE).text, u"( 0.0 to 30 mm )");
  EXPECT_EQ(Control(dialog, IDOK).style & kBsTypeMask, kBsDefPushButton);
  EXPECT_EQ(Control(dialog, IDCANCEL).text, u"Cancel");
}

TEST(TabPrintTemplate, ListsStocksUnitsCassettesAndLocations) {
  const auto& dialog = Dialog(IDD_TAB_PRINT);
  EXPECT_EQ(dialog.title, u"Tab Printing");
  EXPECT_EQ(dialog.width, 340);
  EXPECT_EQ(dialog.height, 298);
  EXPECT_THAT(Items(4038, IDC_TAB_MANUFACTURER), ::testing::ElementsAreArray(kBuiltInStocks));
  EXPECT_THAT(Items(4038, IDC_TAB_SHIFT_UNIT), ElementsAre(u"mm", u"inches"));
  EXPECT_THAT(Items(4038, IDC_TAB_CASSETTE), ElementsAre(u"Lower Drawer", u"Bypass Feeder"));
  for (int k = 0; k < 8; ++k) {
    EXPECT_THAT(Items(4038, IDC_TAB_LOCATION1 + k), ElementsAre(u"Insert Before", u"Use For"));
  }
  EXPECT_EQ(Control(dialog, IDC_TAB_SCROLL).style & kSbsVert, kSbsVert);
  EXPECT_EQ(Control(dialog, IDC_TAB_SCROLL).windowClass, "SCROLLBAR");
  EXPECT_EQ(Control(dialog, IDC_TABS_PER_BANK).style & kEsNumber, kEsNumber);
  EXPECT_EQ(Control(dialog, IDC_TAB_SHIFT).windowClass, "EDIT");
  EXPECT_EQ(Control(dialog, IDC_SHIFT_RANGE).text, u"( 0.0 to 30 mm )");
}

TEST(TabPrintTemplate, OnlyTheFirstRowStartsEnabledAndMarked) {
  const auto& dialog = Dialog(IDD_TAB_PRINT);
  for (int k = 0; k < 8; ++k) {
    SCOPED_TRACE("window row " + std::to_string(k + 1));
    const auto& location = Control(dialog, IDC_TAB_LOCATION1 + k);
    const auto& page = Control(dialog, IDC_TAB_PAGE1 + k);
    const auto& tabLabel = Control(dialog, IDC_TAB_LABEL1 + k);
    const auto& bankLabel = Control(dialog, IDC_BANK_LABEL1 + k);
    const auto& marker = Control(dialog, IDC_BANK_MARKER1 + k);
    EXPECT_EQ(location.style & (kCbsTypeMask | kCbsSort), kCbsDropDownList | kCbsSort);
    EXPECT_EQ(page.style & kEsNumber, kEsNumber);
    EXPECT_EQ((location.style & kWsDisabled) != 0, k > 0);
    EXPECT_EQ((page.style & kWsDisabled) != 0, k > 0);
    EXPECT_EQ(tabLabel.text, u"Tab " + std::u16string(1, u'1' + k));
    EXPECT_EQ(bankLabel.text, u"Bank 1");
    EXPECT_EQ((bankLabel.style & kWsVisible) != 0, k == 0);
    EXPECT_EQ((marker.style & kWsVisible) != 0, k == 0);
    EXPECT_EQ(marker.style & kSsTypeMask, kSsBitmap);
    EXPECT_EQ(resources::TextOrdinal(marker.text), IDB_BANK_MARKER);
  }
}

TEST(TabPrintTemplate, HasTheFixedTexts) {
  const auto& dialog = Dialog(IDD_TAB_PRINT);
  std::vector<std::u16string_view> texts;
  for (const auto& control : dialog.controls) {
    if (control.id == IDC_STATIC) texts.push_back(control.text);
  }
  EXPECT_THAT(texts, ::testing::IsSupersetOf<std::u16string_view>({
                         u"Enter the page number and the document location. If \"Insert Before\" "
                         u"is selected, a blank tab sheet will be inserted. Page numbers must be "
                         u"entered  incrementally.",
                         u"Tab Banks",
                         u"Tab No",
                         u"Document Location",
                         u"Page",
                         u"Tab Manufacturer",
                         u"Number of tabs per Bank:",
                         u"Tab Image Shift",
                         u"Paper Cassette:",
                         u"Tab paper sheets can be used from Lower Drawer or Bypass Feeder only",
                     }));
}

TEST(AllTemplates, KeepEveryControlInsideTheDialog) {
  for (int id : {4000, 4001, 4003, 4004, 4038, 4040, 4045, 4047}) {
    const auto& dialog = Dialog(id);
    EXPECT_EQ(dialog.style & (kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame),
              kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame)
        << id;
    for (const auto& control : dialog.controls) {
      // A drop-down list's height includes its list, which may overhang.
      const int height = control.windowClass == "COMBOBOX" ? 12 : control.height;
      EXPECT_GE(control.x, 0) << id << "/" << control.id;
      EXPECT_GE(control.y, 0) << id << "/" << control.id;
      EXPECT_LE(control.x + control.width, dialog.width) << id << "/" << control.id;
      EXPECT_LE(control.y + height, dialog.height) << id << "/" << control.id;
    }
  }
}

TEST(AllTemplates, UnknownIdsAreAbsent) {
  EXPECT_EQ(FindDialog(4002), nullptr);
  EXPECT_EQ(FindDialog(0), nullptr);
  EXPECT_TRUE(FindComboItems(4003, 4003).empty());
  EXPECT_TRUE(FindComboItems(4045, IDC_TAB_LOCATION1).empty());
}

}  // namespace
