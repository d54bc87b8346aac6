// The lists both tab dialogs fill when they start: the device's tab stocks in
// place of the built-in ones, and the paper cassettes.
#pragma once

#include <span>
#include <stdexcept>
#include <string>

#include "framework/combo_box.h"
#include "framework/dialog.h"
#include "tabprint/job_record.h"

namespace tabprint {

// Cassette indexes.
inline constexpr int kLowerDrawer = 0;
inline constexpr int kBypassFeeder = 1;

// A control the dialog's template always has; its absence is a broken build.
template <class T>
T& RequireControl(const framework::Dialog& dialog, int id) {
  T* control = dialog.Item<T>(id);
  if (control == nullptr)
    throw std::logic_error("tab dialog without control " + std::to_string(id));
  return *control;
}

// FillStockNames: the list emptied and given every record's name, in order.
void FillStockNames(framework::ComboBox& list, std::span<const TabStockRecord> stock);

// The text of entry `index` into `text` (empty when there is no such entry);
// selects the entry the list's own prefix search finds for it (starting after
// entry 0 and wrapping). False when the text is empty or nothing was found:
// the selection is then left to the caller.
bool SelectStoredEntry(framework::ComboBox& list, int index, std::string& text);

// SelectStoredManufacturer: the entry at `index` as above, else the second
// entry. True when the stored one was found (its stock is then applied).
bool SelectStoredManufacturer(framework::ComboBox& list, int index, std::string& text);

// FillCassetteList: "Lower Drawer" and "Bypass Feeder", the entry at `index`
// selected as above, else the first one.
void FillCassetteList(framework::ComboBox& list, int index, std::string& text);

}  // namespace tabprint
