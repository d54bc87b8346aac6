#include "tabprint/dialog_lists.h"

#include "device/device_address.h"
#include "framework/window_constants.h"
#include "resources/resource_ids.h"

namespace tabprint {
namespace {

constexpr int kFallbackStockEntry = 1;

}  // namespace

void FillStockNames(framework::ComboBox& list, std::span<const TabStockRecord> stock) {
  list.ResetContent();
  for (const TabStockRecord& record : stock) {
    list.AddString(device::TextIn(record.name, kStockNameSize));
  }
}

bool SelectStoredEntry(framework::ComboBox& list, int index, std::string& text) {
  text = list.GetLBText(index);
  if (text.empty()) return false;
  const int found = list.FindString(0, text);
  if (found == framework::kCbErr) return false;
  list.SetCurSel(found);
  return true;
}

bool SelectStoredManufacturer(framework::ComboBox& list, int index, std::string& text) {
  if (SelectStoredEntry(list, index, text)) return true;
  list.SetCurSel(kFallbackStockEntry);
  return false;
}

void FillCassetteList(framework::ComboBox& list, int index, std::string& text) {
  list.ResetContent();
  list.AddString(LoadTabText(IDS_STR_TAB_LOWER_DRAWER));
  list.AddString(LoadTabText(IDS_STR_TAB_BYPASS_FEEDER));
  if (!SelectStoredEntry(list, index, text)) list.SetCurSel(kLowerDrawer);
}

}  // namespace tabprint
