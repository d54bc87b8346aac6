// The tab print dialog (template 4038): the tab stock, up to 80 tab rows in a
// window of eight, the tabs per bank, the image shift and the paper cassette.
// The same object carries the tab printing job while the primary tab dialog
// runs instead.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "tabprint/image_shift_field.h"
#include "tabprint/job_record.h"
#include "tabprint/tab_row_store.h"

namespace tabprint {

// What ApplyManufacturer leaves in the bank size for a custom stock: the
// tabs per bank are the user's to set.
inline constexpr int kCustomBankMarker = 14;
// Built-in stocks: tabs per bank named in the stock's text.
inline constexpr int kEightTabBanks = 8;
// The tabs per bank the OK button accepts.
inline constexpr int kMaxTabsPerBank = 80;
inline constexpr int kMaxPageDigits = 4;

class CTabPrint : public framework::Dialog {
 public:
  CTabPrint();

  // The job's start values; a null text leaves its member empty.
  void SetJobValues(const char* tabList, int manufacturerIndex, int cassetteIndex,
                    const char* imageShift);

  int m_nTabsPerBank = 0;
  float m_fShift = 0.0f;
  int m_nUnit = kMillimetres;
  std::array<std::string, kWindowRows> m_strPage;
  std::string m_strTabListIn;
  std::string m_strTabListOut;
  std::string m_strManufacturer;
  std::string m_strCassette;
  std::string m_strShiftIn;
  int m_nManufacturerIndex = 0;
  int m_nCassetteIndex = 0;
  bool m_bShiftHandling = true;
  // The device's tab stocks (none: empty) and whether every column was read.
  std::vector<TabStockRecord> m_stock;
  bool m_bDeviceListValid = false;
  // The row store; it also keeps the bank size and the change-handling flag.
  TabRowStore m_rows;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void DoDataExchange(framework::DataExchange& exchange) override;
  bool RouteMessage(const framework::Message& message) override;

 private:
  bool UsesDeviceStock() const { return !m_stock.empty() && m_bDeviceListValid; }
  void ApplyManufacturer();
  void SetBankSize(int marker, int bankSize);
  void TabsPerBankChanged();
  bool ValidateOnOk();
  void GatherResults();
  void OnScrollRows(int code, int position);
  void OnChangePage(int control);
  void OnUpdatePage(int control);
  void OnChangeShift();
  void OnChangeUnit();

  ImageShiftField shiftField_;

  using Map = framework::MessageMap<CTabPrint>;
  static const Map kMessageMap;
};

}  // namespace tabprint
