// The inserter paper size prompt (template 4040): an icon list of the nine
// paper sizes the inserter unit takes, the full name of the chosen one, and
// whether the inserted sheets face the printed page.
#pragma once

#include <array>
#include <cstdint>

#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/image_list.h"
#include "framework/list_view.h"
#include "resources/resource_ids.h"

namespace prompts {

// One row: the list item's index is also the icon's index in bitmap 4041.
struct InserterPaper {
  int paperCode;
  int itemTextId;
  int fullNameId;
};

// Paper codes 3 and 7 do not occur.
inline constexpr std::array<InserterPaper, 9> kInserterPaperTable = {{
    {0, IDS_STR_PAPER_LETTER, IDS_STR_PAPER_LETTER_FULL},
    {1, IDS_STR_PAPER_A4, IDS_STR_PAPER_A4_FULL},
    {2, IDS_STR_PAPER_LEGAL, IDS_STR_PAPER_LEGAL_FULL},
    {4, IDS_STR_PAPER_LEDGER, IDS_STR_PAPER_LEDGER_FULL},
    {5, IDS_STR_PAPER_FOLIO, IDS_STR_PAPER_FOLIO_FULL},
    {6, IDS_STR_PAPER_A3, IDS_STR_PAPER_A3_FULL},
    {8, IDS_STR_PAPER_B4, IDS_STR_PAPER_B4_FULL},
    {9, IDS_STR_PAPER_B5, IDS_STR_PAPER_B5_FULL},
    {10, IDS_STR_PAPER_COMPUTER, IDS_STR_PAPER_COMPUTER_FULL},
}};

inline constexpr int kPaperIconSize = 32;
inline constexpr int kPaperIconsInitial = 4;
inline constexpr int kPaperIconsGrowth = 4;
// The icons' background colour, drawn transparent.
inline constexpr std::uint32_t kPaperIconMask = framework::Rgb(0, 128, 0);

class CInserterPaperSelectionDlg : public framework::Dialog {
 public:
  // `iconsBitmap`: the bitmap the icons are cut from (tests give another).
  explicit CInserterPaperSelectionDlg(int iconsBitmap = IDB_PAPER_SIZES);

  framework::ControlRef<framework::ListView> m_listPaper;
  framework::ImageList m_imageList;
  int m_nPaperCode = 0;
  int m_nInverted = 0;
  int m_nInitialPaper = 0;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(framework::DataExchange& exchange) override;
  bool RouteMessage(const framework::Message& message) override;

 private:
  void FillList();
  void OnItemChangedPaper(const framework::Notification& notification);
  void OnClickedInverted();

  int iconsBitmap_;

  using Map = framework::MessageMap<CInserterPaperSelectionDlg>;
  static const Map kMessageMap;
};

// GetInserterPaperSelected: runs the prompt starting on `initialPaper`; on OK
// writes the chosen paper code and the check box's state (through the
// pointers that are not null) and answers 1. Cancel answers 0 and writes
// nothing. The prompt takes no module state guard.
int GetInserterPaperSelected(int* paperCode, int* inverted, int initialPaper);

}  // namespace prompts
