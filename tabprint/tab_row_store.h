// The tab print dialog's row store: up to 80 tab rows (a page number and a
// document location each) behind a window of eight rows that the scroll bar
// moves a page of eight at a time; the row labels naming banks and tabs; the
// rules that open the next row while the user types; and the clean-up at OK
// (blank rows removed, rows sorted, the tab list text built).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/combo_box.h"
#include "framework/dialog.h"
#include "framework/edit.h"
#include "framework/scroll_bar.h"
#include "tabprint/job_record.h"

namespace tabprint {

inline constexpr int kWindowRows = 8;
inline constexpr int kRowPages = kMaxTabRows / kWindowRows;
// A row's location is the text of its location list.
inline constexpr std::size_t kLocationSize = 64;
// Tabs per bank when none is set.
inline constexpr int kDefaultBankSize = 5;

class TabRowStore {
 public:
  // Which window rows SaveVisibleRows takes into the store.
  enum class Save {
    kBeforeMove,  // before a page move: every row's page; its location when filled
    kAll,         // at OK: every row, page and location
    kFilledOnly,  // on a tab stock choice: rows whose page edit isn't empty
  };

  explicit TabRowStore(framework::Dialog& dialog) : dialog_(dialog) {}

  // Every page number 0, the window on the first page, the scroll range 0-9.
  void Clear();
  void InitRows();
  // The caller's tab list text into rows 0, 1, ... and the window.
  void ParseTabList(std::string_view text);
  void SaveVisibleRows(Save which);
  // A vertical scroll of the scroll bar.
  void ScrollRows(int code, int position);
  // The window back on the first page after the bank size changed.
  void RelayoutRows();
  // Blank rows removed, with a warning naming how many.
  void CompactRows();
  int CountLeadingRows() const;
  // The first `count` rows by page number, with a warning when any moved.
  void SortRows(int count);
  std::string BuildTabList(int count) const;
  // The page edit of window row `k` changed / is about to show its text.
  void EnableNextRow(int k);
  void RejectZeroPage(int k);

  std::array<std::int32_t, kMaxTabRows> m_rowPage{};
  std::array<std::array<char, kLocationSize>, kMaxTabRows> m_rowLocation{};
  int m_nScrollPage = 0;
  int m_nBankSize = 8;
  // The page edits' handlers act only while set; cleared while the program
  // itself writes the rows.
  bool m_bChangeHandling = true;
  bool m_bRowsSavedFirst = false;

 private:
  void ShowRowsAfterScroll(int delta);
  void UpdateRowLabels(int k);
  // Window row `k` shows store row `row`; false when that row is blank.
  bool ShowRow(int k, int row, std::string_view useFor);
  void StoreRow(int k, int row, bool location);
  void EnableNextEdit(int filled);

  std::string_view Location(int row) const;
  void SetLocation(int row, std::string_view text);
  framework::ComboBox& LocationList(int k) const;
  framework::Edit& PageEdit(int k) const;
  framework::ScrollBar& Scroller() const;
  framework::Control& Label(int id) const;
  std::int32_t PageIn(int k) const;

  framework::Dialog& dialog_;
};

}  // namespace tabprint
