#include "tabprint/tab_print_dialog.h"

#include <string_view>

#include "framework/combo_box.h"
#include "framework/window_constants.h"
#include "platform/decimal_text.h"
#include "prompts/message_boxes.h"
#include "resources/resource_ids.h"
#include "tabprint/dialog_lists.h"

namespace tabprint {
namespace {

constexpr int kMinTabsPerBankExchanged = 1;
constexpr int kMaxTabsPerBankExchanged = 99;
constexpr int kTwentyFiveTabBanks = 25;
constexpr int kFiveTabBanks = 5;
constexpr int kBankSizeFromTable[] = {3, 4};  // kinds whose bank size the table gives
// A built-in stock's text names its bank size.
constexpr std::string_view kTwentyFiveMark = "25";
constexpr std::string_view kFiveMark = "5";
constexpr std::string_view kCustomMark = "Custom";

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

}  // namespace

const CTabPrint::Map CTabPrint::kMessageMap = {
    Map::Command(IDC_TAB_MANUFACTURER, framework::kCbnSelChange, &CTabPrint::ApplyManufacturer),
    Map::CommandRange(IDC_TAB_PAGE1, IDC_TAB_PAGE8, framework::kEnChange, &CTabPrint::OnChangePage),
    Map::CommandRange(IDC_TAB_PAGE1, IDC_TAB_PAGE8, framework::kEnUpdate, &CTabPrint::OnUpdatePage),
    Map::Command(IDC_TABS_PER_BANK, framework::kEnChange, &CTabPrint::TabsPerBankChanged),
    Map::Command(IDC_TAB_SHIFT, framework::kEnChange, &CTabPrint::OnChangeShift),
    Map::Command(IDC_TAB_SHIFT_UNIT, framework::kCbnSelChange, &CTabPrint::OnChangeUnit),
    Map::VScroll(IDC_TAB_SCROLL, &CTabPrint::OnScrollRows),
};

CTabPrint::CTabPrint()
    : framework::Dialog(IDD_TAB_PRINT),
      m_rows(*this),
      shiftField_(*this, IDC_TAB_SHIFT, IDC_TAB_SHIFT_UNIT, "%0.3f") {}

void CTabPrint::SetJobValues(const char* tabList, int manufacturerIndex, int cassetteIndex,
                             const char* imageShift) {
  m_strTabListIn.clear();
  m_strManufacturer.clear();
  m_strCassette.clear();
  if (tabList != nullptr) m_strTabListIn = tabList;
  m_nManufacturerIndex = manufacturerIndex;
  m_nCassetteIndex = cassetteIndex;
  if (imageShift != nullptr) m_strShiftIn = ImageShiftTextIn(imageShift);
}

bool CTabPrint::RouteMessage(const framework::Message& message) {
  return kMessageMap.Dispatch(*this, message) || Dialog::RouteMessage(message);
}

void CTabPrint::DoDataExchange(framework::DataExchange& exchange) {
  for (int k = 0; k < kWindowRows; ++k) {
    exchange.Text(IDC_TAB_PAGE1 + k, m_strPage[k]);
    exchange.MaxChars(m_strPage[k], kMaxPageDigits);
  }
  exchange.Text(IDC_TABS_PER_BANK, m_nTabsPerBank);
  exchange.MinMaxInt(m_nTabsPerBank, kMinTabsPerBankExchanged, kMaxTabsPerBankExchanged);
  double shift = m_fShift;
  exchange.Text(IDC_TAB_SHIFT, shift);
  if (exchange.saving()) m_fShift = static_cast<float>(shift);
  exchange.ComboIndex(IDC_TAB_SHIFT_UNIT, m_nUnit);
}

bool CTabPrint::OnInitDialog() {
  // The program fills the fields: their change handlers wait until it is done.
  m_rows.m_bChangeHandling = false;
  Dialog::OnInitDialog();
  m_rows.Clear();
  if (framework::Control* tabsPerBank = GetDlgItem(IDC_TABS_PER_BANK)) {
    tabsPerBank->EnableWindow(false);
    tabsPerBank->SetWindowText(std::to_string(kDefaultBankSize));
  }
  if (framework::Control* scroll = GetDlgItem(IDC_TAB_SCROLL)) scroll->EnableWindow(false);
  m_rows.m_bChangeHandling = true;

  framework::ComboBox& stocks = RequireControl<framework::ComboBox>(*this, IDC_TAB_MANUFACTURER);
  if (UsesDeviceStock()) FillStockNames(stocks, m_stock);
  m_rows.InitRows();
  if (!m_strTabListIn.empty()) m_rows.ParseTabList(m_strTabListIn);
  FillCassetteList(RequireControl<framework::ComboBox>(*this, IDC_TAB_CASSETTE), m_nCassetteIndex,
                   m_strCassette);
  if (SelectStoredManufacturer(stocks, m_nManufacturerIndex, m_strManufacturer)) {
    ApplyManufacturer();
  }
  shiftField_.Parse(m_strShiftIn, m_fShift, m_nUnit);
  return true;
}

void CTabPrint::ApplyManufacturer() {
  framework::ComboBox& stocks = RequireControl<framework::ComboBox>(*this, IDC_TAB_MANUFACTURER);
  const int index = stocks.GetCurSel();
  int bankSize = kEightTabBanks;
  float shift = kDefaultShiftMillimetres;
  if (UsesDeviceStock() && index >= 0 && index < static_cast<int>(m_stock.size())) {
    const TabStockRecord& stock = m_stock[static_cast<std::size_t>(index)];
    for (int kind : kBankSizeFromTable) {
      if (stock.kind == kind) {
        m_rows.m_nBankSize = stock.kind;
        bankSize = stock.tabsPerBank;
      }
    }
    shift = static_cast<float>(stock.imageShiftMicrons) / kMicronsPerMillimetre;
  } else {
    const std::string text = stocks.GetLBText(index);
    if (Contains(text, kTwentyFiveMark)) {
      bankSize = kTwentyFiveTabBanks;
    } else if (Contains(text, kFiveMark)) {
      bankSize = kFiveTabBanks;
    } else if (Contains(text, kCustomMark)) {
      m_rows.m_nBankSize = kCustomBankMarker;
    }
  }
  shiftField_.ShowStockShift(shift, m_nUnit);
  SetBankSize(m_rows.m_nBankSize, bankSize);
}

void CTabPrint::SetBankSize(int marker, int bankSize) {
  m_rows.SaveVisibleRows(TabRowStore::Save::kFilledOnly);
  framework::Control* tabsPerBank = GetDlgItem(IDC_TABS_PER_BANK);
  if (tabsPerBank != nullptr) tabsPerBank->EnableWindow(false);
  m_rows.m_bChangeHandling = false;
  if (marker == kCustomBankMarker || bankSize == 0) {
    if (tabsPerBank != nullptr) tabsPerBank->EnableWindow(true);
    bankSize = kDefaultBankSize;
  }
  SetDlgItemText(IDC_TABS_PER_BANK, std::to_string(bankSize));
  m_rows.m_nBankSize = bankSize;
  m_rows.RelayoutRows();
  m_rows.m_bChangeHandling = true;
}

void CTabPrint::TabsPerBankChanged() {
  if (!m_rows.m_bChangeHandling) return;
  UpdateData(true);
  m_rows.m_nBankSize = m_nTabsPerBank;
  if (m_nTabsPerBank == 0) return;
  // The rows typed on the window go into the store before it is laid out again.
  m_rows.SaveVisibleRows(TabRowStore::Save::kFilledOnly);
  m_rows.RelayoutRows();
}

bool CTabPrint::ValidateOnOk() {
  if (!shiftField_.CheckOnOk(m_fShift)) return false;
  const std::string tabsPerBank = GetDlgItemText(IDC_TABS_PER_BANK);
  const int value = platform::ReadDecimal(tabsPerBank);
  if (tabsPerBank.empty() || value < 0 || value > kMaxTabsPerBank) {
    prompts::ShowExportError(IDS_STR_TAB_INVALID_VALUE);
    GotoDlgCtrl(IDC_TABS_PER_BANK);
    return false;
  }
  return true;
}

void CTabPrint::GatherResults() {
  m_rows.SaveVisibleRows(TabRowStore::Save::kAll);
  m_rows.CompactRows();
  const int count = m_rows.CountLeadingRows();
  m_rows.SortRows(count);
  m_strTabListOut = m_rows.BuildTabList(count);
  framework::ComboBox& stocks = RequireControl<framework::ComboBox>(*this, IDC_TAB_MANUFACTURER);
  m_strManufacturer = stocks.GetWindowText();
  m_nManufacturerIndex = stocks.GetCurSel();
  m_nCassetteIndex = RequireControl<framework::ComboBox>(*this, IDC_TAB_CASSETTE).GetCurSel();
  m_bShiftHandling = false;
  shiftField_.RewriteForExchange(m_fShift);
}

void CTabPrint::OnOK() {
  if (!ValidateOnOk()) return;
  GatherResults();
  Dialog::OnOK();
}

void CTabPrint::OnCancel() {
  shiftField_.RestoreStart(m_fShift, m_nUnit);
  Dialog::OnCancel();
}

void CTabPrint::OnScrollRows(int code, int position) { m_rows.ScrollRows(code, position); }

void CTabPrint::OnChangePage(int control) { m_rows.EnableNextRow(control - IDC_TAB_PAGE1); }

void CTabPrint::OnUpdatePage(int control) { m_rows.RejectZeroPage(control - IDC_TAB_PAGE1); }

void CTabPrint::OnChangeShift() {
  if (m_bShiftHandling) shiftField_.CheckTyping();
}

void CTabPrint::OnChangeUnit() { shiftField_.ConvertUnit(m_nUnit); }

}  // namespace tabprint
