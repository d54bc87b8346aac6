#include "prompts/inserter_paper_dialog.h"

#include <algorithm>
#include <string>

#include "framework/button.h"
#include "framework/window_constants.h"
#include "prompts/message_boxes.h"
#include "prompts/module_text.h"
#include "prompts/prompt_setup.h"

namespace prompts {
namespace {

// The texts set at initialisation.
constexpr RuntimeText kRuntimeTexts[] = {
    {IDC_PAPER_SIZE_LABEL, IDS_STR_PAPER_SIZE_LABEL},
    {IDC_PAPER_PROMPT, IDS_STR_PAPER_PROMPT},
    {IDC_INSERT_INVERTED, IDS_STR_PAPER_INSERT_INVERTED},
};

std::string ModuleText(int id) {
  std::string text;
  LoadModuleText(id, text);
  return text;
}

}  // namespace

const CInserterPaperSelectionDlg::Map CInserterPaperSelectionDlg::kMessageMap = {
    Map::Notify(IDC_PAPER_LIST, framework::kLvnItemChanged,
                &CInserterPaperSelectionDlg::OnItemChangedPaper),
    Map::Command(IDC_INSERT_INVERTED, framework::kBnClicked,
                 &CInserterPaperSelectionDlg::OnClickedInverted),
};

CInserterPaperSelectionDlg::CInserterPaperSelectionDlg(int iconsBitmap)
    : framework::Dialog(IDD_INSERTER_PAPER), iconsBitmap_(iconsBitmap) {}

bool CInserterPaperSelectionDlg::RouteMessage(const framework::Message& message) {
  return kMessageMap.Dispatch(*this, message) || Dialog::RouteMessage(message);
}

void CInserterPaperSelectionDlg::DoDataExchange(framework::DataExchange& exchange) {
  exchange.AttachControl(IDC_PAPER_LIST, m_listPaper);
}

bool CInserterPaperSelectionDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  UpdateData(true);
  m_imageList.Create(kPaperIconSize, kPaperIconSize, framework::ImageList::kMask,
                     kPaperIconsInitial, kPaperIconsGrowth);
  // Without the bitmap the list stays empty and nothing is said.
  if (const auto icons = framework::Bitmap::Load(iconsBitmap_)) {
    if (m_imageList.AddMasked(*icons, kPaperIconMask) == -1) {
      MessageBox(ModuleText(IDS_STR_IMAGE_LIST_FAILURE), ModuleText(IDS_STR_FAILURE),
                 kModuleBoxType);
    } else {
      FillList();
    }
  }
  SetRuntimeTexts(*this, kRuntimeTexts);
  return true;
}

void CInserterPaperSelectionDlg::FillList() {
  framework::ListView& list = *m_listPaper;
  list.SetImageList(&m_imageList, framework::kLvsilNormal);
  list.ModifyStyle(0, framework::kLvsSingleSel);
  for (int row = 0; row < static_cast<int>(kInserterPaperTable.size()); ++row) {
    const InserterPaper& paper = kInserterPaperTable[row];
    const bool initial = paper.paperCode == m_nInitialPaper;
    // Inserting the selected item notifies the change like any other.
    list.InsertItem(row, ModuleText(paper.itemTextId), row,
                    initial ? framework::kLvisSelected : 0u);
    if (initial) list.EnsureVisible(row);
  }
}

void CInserterPaperSelectionDlg::OnItemChangedPaper(
    const framework::Notification& /*notification*/) {
  const framework::ListView* list = m_listPaper.get();
  if (list == nullptr) return;
  const int rows = std::min(list->GetItemCount(), static_cast<int>(kInserterPaperTable.size()));
  for (int row = 0; row < rows; ++row) {
    if ((list->GetItemState(row, framework::kLvisSelected) & framework::kLvisSelected) == 0) {
      continue;
    }
    m_nPaperCode = kInserterPaperTable[row].paperCode;
    SetDlgItemText(IDC_PAPER_FULL_NAME, ModuleText(kInserterPaperTable[row].fullNameId));
    return;
  }
}

void CInserterPaperSelectionDlg::OnClickedInverted() {
  if (const auto* check = Item<framework::Button>(IDC_INSERT_INVERTED)) {
    m_nInverted = check->GetCheck();
  }
}

int GetInserterPaperSelected(int* paperCode, int* inverted, int initialPaper) {
  CInserterPaperSelectionDlg dialog;
  dialog.m_nInitialPaper = initialPaper;
  if (dialog.DoModal() != framework::kIdOk) return 0;
  if (paperCode != nullptr) *paperCode = dialog.m_nPaperCode;
  if (inverted != nullptr) *inverted = dialog.m_nInverted;
  return 1;
}

}  // namespace prompts
