#include "tabprint/tab_row_store.h"

#include <algorithm>
#include <utility>

#include "device/device_address.h"
#include "framework/window_constants.h"
#include "platform/decimal_text.h"
#include "platform/machine.h"
#include "resources/resource_ids.h"
#include "tabprint/dialog_lists.h"

namespace tabprint {
namespace {

// The controls of window row k.
struct RowIds {
  int location;
  int page;
  int tabLabel;
  int bankLabel;
  int bankMarker;
};

constexpr RowIds RowIdsOf(int k) {
  return {IDC_TAB_LOCATION1 + k, IDC_TAB_PAGE1 + k, IDC_TAB_LABEL1 + k, IDC_BANK_LABEL1 + k,
          IDC_BANK_MARKER1 + k};
}

constexpr int kInsertBeforeEntry = 0;
constexpr int kUseForEntry = 1;
constexpr int kLastWindowRow = kWindowRows - 1;
constexpr std::string_view kRejectedPage = "0";

void ShowWarning(const std::string& text) {
  platform::CurrentMachine().ui().MessageBox(nullptr, text, LoadTabText(IDS_STR_TAB_WARNING),
                                             platform::kMbOk);
}

}  // namespace

framework::ComboBox& TabRowStore::LocationList(int k) const {
  return RequireControl<framework::ComboBox>(dialog_, RowIdsOf(k).location);
}

framework::Edit& TabRowStore::PageEdit(int k) const {
  return RequireControl<framework::Edit>(dialog_, RowIdsOf(k).page);
}

framework::ScrollBar& TabRowStore::Scroller() const {
  return RequireControl<framework::ScrollBar>(dialog_, IDC_TAB_SCROLL);
}

framework::Control& TabRowStore::Label(int id) const {
  return RequireControl<framework::Control>(dialog_, id);
}

std::int32_t TabRowStore::PageIn(int k) const {
  return platform::ReadDecimal(PageEdit(k).GetWindowText());
}

std::string_view TabRowStore::Location(int row) const {
  return device::TextIn(m_rowLocation[row].data(), kLocationSize);
}

void TabRowStore::SetLocation(int row, std::string_view text) {
  device::CopyBounded(m_rowLocation[row].data(), kLocationSize, text);
}

void TabRowStore::Clear() {
  m_rowPage.fill(0);
  for (auto& location : m_rowLocation) location.fill('\0');
  m_nScrollPage = 0;
  Scroller().SetScrollRange(0, kRowPages - 1);
  Scroller().SetScrollPos(0);
}

void TabRowStore::InitRows() {
  m_bChangeHandling = false;
  const std::string insertBefore = LoadTabText(IDS_STR_TAB_INSERTBEFORE);
  const std::string useFor = LoadTabText(IDS_STR_TAB_USEFOR);
  for (int k = 0; k < kWindowRows; ++k) {
    framework::ComboBox& list = LocationList(k);
    list.ResetContent();
    list.AddString(insertBefore);
    list.AddString(useFor);
    list.SetCurSel(kInsertBeforeEntry);
    PageEdit(k).SetWindowText("");
    if (k > 0) {
      list.EnableWindow(false);
      PageEdit(k).EnableWindow(false);
    }
  }
  m_bChangeHandling = true;
}

void TabRowStore::ParseTabList(std::string_view text) {
  const std::string insertBefore = LoadTabText(IDS_STR_TAB_INSERTBEFORE);
  const std::string useFor = LoadTabText(IDS_STR_TAB_USEFOR);
  const std::vector<TabEntry> entries = ReadTabList(text);
  const int count = static_cast<int>(entries.size());
  for (int row = 0; row < count; ++row) {
    m_rowPage[row] = entries[row].page;
    SetLocation(row, entries[row].insertBefore ? insertBefore : useFor);
  }
  if (count > kLastWindowRow) {
    Scroller().EnableWindow(true);
    Scroller().EnableScrollBar(framework::kEsbEnableBoth);
  }
  m_bChangeHandling = false;
  for (int k = 0; k < std::min(count, kWindowRows); ++k) {
    framework::ComboBox& list = LocationList(k);
    if (Location(k) == useFor) list.SetCurSel(kUseForEntry);
    list.EnableWindow(true);
    if (m_rowPage[k] != 0) {
      PageEdit(k).SetWindowText(std::to_string(m_rowPage[k]));
      PageEdit(k).EnableWindow(true);
    }
  }
  m_bChangeHandling = true;
}

void TabRowStore::StoreRow(int k, int row, bool location) {
  m_rowPage[row] = PageIn(k);
  if (location) SetLocation(row, LocationList(k).GetWindowText());
}

void TabRowStore::SaveVisibleRows(Save which) {
  for (int k = 0; k < kWindowRows; ++k) {
    const int row = kWindowRows * m_nScrollPage + k;
    if (row >= kMaxTabRows) continue;
    switch (which) {
      case Save::kBeforeMove:
        m_rowPage[row] = PageIn(k);
        if (m_rowPage[row] > 0) SetLocation(row, LocationList(k).GetWindowText());
        break;
      case Save::kAll:
        StoreRow(k, row, true);
        break;
      case Save::kFilledOnly:
        if (!PageEdit(k).GetWindowText().empty()) StoreRow(k, row, true);
        break;
    }
  }
}

void TabRowStore::ScrollRows(int code, int position) {
  m_bRowsSavedFirst = false;
  int delta = 0;
  int target = 0;
  switch (code) {
    case framework::kSbLineUp:
      delta = -1;
      break;
    case framework::kSbLineDown:
      delta = 1;
      break;
    case framework::kSbPageUp:
      target = m_nScrollPage - 1;
      delta = -1;
      m_bRowsSavedFirst = true;
      break;
    case framework::kSbPageDown:
      target = m_nScrollPage + 1;
      delta = 1;
      m_bRowsSavedFirst = true;
      break;
    case framework::kSbThumbTrack:
      target = position;
      delta = target - m_nScrollPage;
      m_bRowsSavedFirst = true;
      break;
    default:
      break;
  }
  if (m_bRowsSavedFirst) {
    SaveVisibleRows(Save::kBeforeMove);
    // A jump stops before the first page whose first row is blank.
    for (int page = 0; page <= target && page < kRowPages; ++page) {
      if (m_rowPage[kWindowRows * page] <= 0) {
        delta = page - m_nScrollPage - 1;
        break;
      }
    }
  }
  delta = std::clamp(delta, -m_nScrollPage, kRowPages - 1 - m_nScrollPage);
  framework::ScrollBar& bar = Scroller();
  if (delta != 0) {
    m_nScrollPage += delta;
    bar.SetScrollPos(m_nScrollPage);
    bar.EnableScrollBar(framework::kEsbDisableDown);
    ShowRowsAfterScroll(delta);
  }
  m_bChangeHandling = true;
  // The window moves down only while its last row is filled.
  const bool lastRowBlank = m_rowPage[kWindowRows * m_nScrollPage + kLastWindowRow] == 0;
  bar.EnableScrollBar(lastRowBlank ? framework::kEsbDisableDown : framework::kEsbEnableBoth);
}

bool TabRowStore::ShowRow(int k, int row, std::string_view useFor) {
  framework::ComboBox& list = LocationList(k);
  framework::Edit& edit = PageEdit(k);
  if (m_rowPage[row] != 0) {
    list.SetCurSel(Location(row) == useFor ? kUseForEntry : kInsertBeforeEntry);
    edit.SetWindowText(std::to_string(m_rowPage[row]));
    list.EnableWindow(true);
    edit.EnableWindow(true);
    return true;
  }
  list.SetCurSel(kInsertBeforeEntry);
  edit.SetWindowText("");
  if (k > 0) {
    list.EnableWindow(false);
    edit.EnableWindow(false);
  }
  return false;
}

void TabRowStore::EnableNextEdit(int filled) {
  if (filled < kWindowRows) PageEdit(filled).EnableWindow(true);
}

void TabRowStore::ShowRowsAfterScroll(int delta) {
  const std::string useFor = LoadTabText(IDS_STR_TAB_USEFOR);
  int filled = 0;
  for (int k = 0; k < kWindowRows; ++k) {
    if (!m_bRowsSavedFirst) {
      // A line move saves each window row into the row it showed before.
      const int previous =
          kWindowRows * m_nScrollPage + k + (delta > 0 ? -kWindowRows : kWindowRows);
      if (previous >= 0 && previous < kMaxTabRows) {
        m_rowPage[previous] = PageIn(k);
        if (m_rowPage[previous] > 0) SetLocation(previous, LocationList(k).GetWindowText());
      }
    }
    m_bChangeHandling = false;
    const RowIds ids = RowIdsOf(k);
    for (int id : {ids.location, ids.page, ids.tabLabel}) Label(id).ShowWindow(true);
    if (ShowRow(k, kWindowRows * m_nScrollPage + k, useFor)) ++filled;
    UpdateRowLabels(k);
  }
  EnableNextEdit(filled);
}

void TabRowStore::RelayoutRows() {
  CompactRows();
  const int leading = CountLeadingRows();
  m_nScrollPage = 0;
  framework::ScrollBar& bar = Scroller();
  bar.SetScrollPos(0);
  bar.SetScrollRange(0, kRowPages - 1);
  bar.EnableWindow(leading > kWindowRows);
  const std::string useFor = LoadTabText(IDS_STR_TAB_USEFOR);
  m_bChangeHandling = false;
  int filled = 0;
  for (int k = 0; k < kWindowRows; ++k) {
    if (ShowRow(k, k, useFor)) ++filled;
    UpdateRowLabels(k);
  }
  EnableNextEdit(filled);
  m_bChangeHandling = true;
}

void TabRowStore::UpdateRowLabels(int k) {
  if (m_nBankSize == 0) m_nBankSize = kDefaultBankSize;
  const int row = k + kWindowRows * m_nScrollPage;
  const int bank = row / m_nBankSize;
  const int tab = row % m_nBankSize;
  const RowIds ids = RowIdsOf(k);
  Label(ids.tabLabel).SetWindowText(LoadTabText(IDS_STR_TAB_TAB) + " " + std::to_string(tab + 1));
  framework::Control& bankLabel = Label(ids.bankLabel);
  framework::Control& marker = Label(ids.bankMarker);
  bankLabel.ShowWindow(false);
  marker.ShowWindow(false);
  if (k == 0 || tab == 0) {
    bankLabel.SetWindowText(LoadTabText(IDS_STR_TAB_BANK) + " " + std::to_string(bank + 1));
    bankLabel.ShowWindow(true);
    marker.ShowWindow(true);
  }
}

void TabRowStore::CompactRows() {
  int filled = 0;
  int last = 0;
  for (int row = 0; row < kMaxTabRows; ++row) {
    if (m_rowPage[row] > 0) {
      ++filled;
      last = row + 1;
    }
  }
  if (filled == last) return;
  ShowWarning(std::to_string(last - filled) + " " + LoadTabText(IDS_STR_TAB_PAGES_LEFT_BLANK));
  // Blank rows before `last` go; every later row moves up in order.
  int kept = 0;
  for (int row = 0; row < kMaxTabRows; ++row) {
    if (row < last && m_rowPage[row] == 0) continue;
    m_rowPage[kept] = m_rowPage[row];
    m_rowLocation[kept] = m_rowLocation[row];
    ++kept;
  }
  for (int row = kept; row < kMaxTabRows; ++row) {
    m_rowPage[row] = 0;
    m_rowLocation[row].fill('\0');
  }
}

int TabRowStore::CountLeadingRows() const {
  int count = 0;
  while (count < kMaxTabRows && m_rowPage[count] != 0) ++count;
  return count;
}

void TabRowStore::SortRows(int count) {
  bool exchanged = false;
  for (int p = 0; p + 1 < count; ++p) {
    for (int q = p + 1; q < count; ++q) {
      if (m_rowPage[q] < m_rowPage[p]) {
        std::swap(m_rowPage[p], m_rowPage[q]);
        std::swap(m_rowLocation[p], m_rowLocation[q]);
        exchanged = true;
      }
    }
  }
  if (exchanged) ShowWarning(LoadTabText(IDS_STR_TAB_PAGES_SORTED));
}

std::string TabRowStore::BuildTabList(int count) const {
  const std::string insertBefore = LoadTabText(IDS_STR_TAB_INSERTBEFORE);
  std::string list;
  for (int row = 0; row < count; ++row) {
    AppendTabEntry(list, m_rowPage[row], Location(row) == insertBefore);
  }
  if (!list.empty()) list.pop_back();  // the last ","
  return list;
}

void TabRowStore::EnableNextRow(int k) {
  if (!m_bChangeHandling) return;
  const std::int32_t value = PageIn(k);
  bool below = false;
  if (k > 0) {
    below = value < PageIn(k - 1);
  } else if (m_nScrollPage > 0) {
    below = value < m_rowPage[kWindowRows * m_nScrollPage - 1];
  }
  if (k < kLastWindowRow) {
    if (below) return;
    LocationList(k).EnableWindow(true);
    PageEdit(k + 1).EnableWindow(true);
    LocationList(k + 1).EnableWindow(true);
    return;
  }
  framework::ScrollBar& bar = Scroller();
  if (below) {
    bar.EnableScrollBar(framework::kEsbDisableDown);
    return;
  }
  LocationList(k).EnableWindow(true);
  bool everyListEnabled = true;
  for (int row = 0; row < kLastWindowRow; ++row) {
    everyListEnabled = everyListEnabled && LocationList(row).IsWindowEnabled();
  }
  if (everyListEnabled) bar.EnableScrollBar(framework::kEsbEnableBoth);
}

void TabRowStore::RejectZeroPage(int k) {
  framework::Edit& edit = PageEdit(k);
  if (edit.GetWindowText() != kRejectedPage) return;
  if (edit.CanUndo()) edit.Undo();
  edit.EmptyUndoBuffer();
}

}  // namespace tabprint
