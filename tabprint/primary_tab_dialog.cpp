#include "tabprint/primary_tab_dialog.h"

#include "framework/combo_box.h"
#include "framework/window_constants.h"
#include "resources/resource_ids.h"
#include "tabprint/dialog_lists.h"

namespace tabprint {
namespace {}  // namespace

const CPrimaryTab::Map CPrimaryTab::kMessageMap = {
    Map::Command(IDC_TAB_MANUFACTURER, framework::kCbnSelChange, &CPrimaryTab::ApplyManufacturer),
    Map::Command(IDC_PRIMARY_SHIFT_UNIT, framework::kCbnSelChange, &CPrimaryTab::OnChangeUnit),
    Map::Command(IDC_PRIMARY_SHIFT, framework::kEnChange, &CPrimaryTab::OnChangeShift),
};

CPrimaryTab::CPrimaryTab()
    : framework::Dialog(IDD_PRIMARY_TAB),
      shiftField_(*this, IDC_PRIMARY_SHIFT, IDC_PRIMARY_SHIFT_UNIT, "%f") {}

void CPrimaryTab::SetStartValues(unsigned mode, int manufacturerIndex, int cassetteIndex,
                                 std::span<const TabStockRecord> stock, const char* imageShift) {
  m_strManufacturer.clear();
  m_strCassette.clear();
  m_nManufacturerIndex = mode == kModeThirdStock   ? kThirdStockEntry
                         : mode == kModeFirstStock ? kFirstStockEntry
                                                   : manufacturerIndex;
  m_nCassetteIndex = cassetteIndex;
  m_stock = stock;
  m_bHasStock = !stock.empty();
  if (imageShift != nullptr) m_strShiftIn = ImageShiftTextIn(imageShift);
}

bool CPrimaryTab::RouteMessage(const framework::Message& message) {
  return kMessageMap.Dispatch(*this, message) || Dialog::RouteMessage(message);
}

void CPrimaryTab::DoDataExchange(framework::DataExchange& exchange) {
  double shift = m_fShift;
  exchange.Text(IDC_PRIMARY_SHIFT, shift);
  if (exchange.saving()) m_fShift = static_cast<float>(shift);
  exchange.ComboIndex(IDC_PRIMARY_SHIFT_UNIT, m_nUnit);
}

bool CPrimaryTab::OnInitDialog() {
  Dialog::OnInitDialog();
  framework::ComboBox& stocks = RequireControl<framework::ComboBox>(*this, IDC_TAB_MANUFACTURER);
  if (m_bHasStock) FillStockNames(stocks, m_stock);
  FillCassetteList(RequireControl<framework::ComboBox>(*this, IDC_TAB_CASSETTE), m_nCassetteIndex,
                   m_strCassette);
  if (SelectStoredManufacturer(stocks, m_nManufacturerIndex, m_strManufacturer)) {
    ApplyManufacturer();
  }
  // After the stock: the caller's shift wins over the stock's.
  shiftField_.Parse(m_strShiftIn, m_fShift, m_nUnit);
  return true;
}

void CPrimaryTab::ApplyManufacturer() {
  const int index = RequireControl<framework::ComboBox>(*this, IDC_TAB_MANUFACTURER).GetCurSel();
  float shift = kDefaultShiftMillimetres;
  if (m_bHasStock && index >= 0 && index < static_cast<int>(m_stock.size())) {
    shift = static_cast<float>(m_stock[static_cast<std::size_t>(index)].imageShiftMicrons) /
            kMicronsPerMillimetre;
  }
  shiftField_.ShowStockShift(shift, m_nUnit);
}

void CPrimaryTab::OnOK() {
  framework::ComboBox& stocks = RequireControl<framework::ComboBox>(*this, IDC_TAB_MANUFACTURER);
  m_strManufacturer = stocks.GetWindowText();
  m_nManufacturerIndex = stocks.GetCurSel();
  m_nCassetteIndex = RequireControl<framework::ComboBox>(*this, IDC_TAB_CASSETTE).GetCurSel();
  if (!shiftField_.CheckOnOk(m_fShift)) return;
  m_bShiftHandling = false;
  shiftField_.RewriteForExchange(m_fShift);
  Dialog::OnOK();
}

void CPrimaryTab::OnCancel() {
  shiftField_.RestoreStart(m_fShift, m_nUnit);
  Dialog::OnCancel();
}

void CPrimaryTab::OnChangeShift() {
  if (m_bShiftHandling) shiftField_.CheckTyping();
}

void CPrimaryTab::OnChangeUnit() { shiftField_.ConvertUnit(m_nUnit); }

}  // namespace tabprint
