// The primary tab dialog (template 4045): only the tab stock, the image shift
// and the paper cassette, for the modes that need no tab rows.
#pragma once

#include <span>
#include <string>

#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "tabprint/image_shift_field.h"
#include "tabprint/job_record.h"

namespace tabprint {

// Modes that start on a fixed tab stock entry.
inline constexpr unsigned kModeCallerStock = 1;
inline constexpr unsigned kModeThirdStock = 2;
inline constexpr unsigned kModeFirstStock = 3;
inline constexpr int kThirdStockEntry = 2;
inline constexpr int kFirstStockEntry = 0;

// Modes 1 to 3 run this dialog, every other the tab print dialog.
constexpr bool RunsPrimaryTabDialog(unsigned mode) {
  return mode >= kModeCallerStock && mode <= kModeFirstStock;
}

class CPrimaryTab : public framework::Dialog {
 public:
  CPrimaryTab();

  // The start values; `stock` must outlive the dialog; a null image shift
  // text leaves the default.
  void SetStartValues(unsigned mode, int manufacturerIndex, int cassetteIndex,
                      std::span<const TabStockRecord> stock, const char* imageShift);

  float m_fShift = 0.0f;
  int m_nUnit = kMillimetres;
  int m_nManufacturerIndex = 0;
  int m_nCassetteIndex = 0;
  std::string m_strCassette;
  std::string m_strManufacturer;
  std::string m_strShiftIn;
  std::span<const TabStockRecord> m_stock;
  bool m_bHasStock = false;
  bool m_bShiftHandling = true;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void DoDataExchange(framework::DataExchange& exchange) override;
  bool RouteMessage(const framework::Message& message) override;

 private:
  void ApplyManufacturer();
  void OnChangeShift();
  void OnChangeUnit();

  ImageShiftField shiftField_;

  using Map = framework::MessageMap<CPrimaryTab>;
  static const Map kMessageMap;
};

}  // namespace tabprint
