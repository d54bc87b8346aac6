// GetInserterPaperSelected driven by user scripts: the list the prompt
// builds, its preselection, the full names and codes of the rows, the check
// box, and a bitmap the image list refuses.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "exports/vx5prcfg.h"
#include "framework/window_constants.h"
#include "prompts/inserter_paper_dialog.h"
#include "tests/framework/scripted_session.h"

namespace prompts {
namespace {

using framework::testing::CallbackHost;
using framework::testing::ControlOf;
using framework::testing::FromHex;
using framework::testing::ScriptedSession;

constexpr int kTemplate = 4040;
constexpr int kList = 4098;
constexpr int kFullName = 4099;
constexpr int kUntouched = -7;

struct Choice {
  int answer = -1;
  int paperCode = kUntouched;
  int inverted = kUntouched;
};

Choice Choose(int initialPaper) {
  Choice choice;
  choice.answer = ::GetInserterPaperSelected(&choice.paperCode, &choice.inverted, initialPaper);
  return choice;
}

TEST(InserterPaperPromptTest, PreselectedRowIsShownAndIsTheAnswerWithoutTouchingTheList) {
  ScriptedSession session("dump; click 1");
  const Choice choice = Choose(6);
  EXPECT_EQ(choice.answer, 1);
  EXPECT_EQ(choice.paperCode, 6);
  EXPECT_EQ(choice.inverted, 0);

  const auto dumps = session.Events("dump");
  ASSERT_EQ(dumps.size(), 1u);
  const auto list = ControlOf(dumps[0], kList);
  EXPECT_EQ(list["selection"], nlohmann::json({5, 5}));
  std::vector<std::string> items;
  for (const auto& item : list["items_hex"]) items.push_back(FromHex(item));
  EXPECT_EQ(items, (std::vector<std::string>{"Letter", "A4", "Legal", "Ledger", "Folio", "A3", "B4",
                                             "B5", "Computer"}));
  EXPECT_EQ(FromHex(ControlOf(dumps[0], kFullName)["text_hex"]), "A3 (297 x 420 mm)");
  EXPECT_EQ(FromHex(ControlOf(dumps[0], 1008)["text_hex"]),
            "Face inserted paper against the printed page");
  EXPECT_EQ(FromHex(ControlOf(dumps[0], 4102)["text_hex"]), "&Size:");
}

TEST(InserterPaperPromptTest, EachRowGivesItsCodeAndFullName) {
  const std::vector<std::pair<int, std::string>> rows = {
      {0, "Letter (8\xbd x 11 in)"}, {1, "A4 (210 x 297 mm)"},    {2, "Legal (8\xbd x 14 in)"},
      {4, "Ledger (11 x 17 in)"},    {5, "Folio (210 x 330 mm)"}, {6, "A3 (297 x 420 mm)"},
      {8, "B4 (257 x 364 mm)"},      {9, "B5 (182 x 257 mm)"},    {10, "Computer (10 1/8 x 14 in)"},
  };
  for (std::size_t row = 0; row < rows.size(); ++row) {
    ScriptedSession session("select 4098 " + std::to_string(row) + "; dump; click 1");
    const Choice choice = Choose(row == 0 ? 10 : 0);  // always a change of selection
    EXPECT_EQ(choice.answer, 1);
    EXPECT_EQ(choice.paperCode, rows[row].first) << row;
    const auto dumps = session.Events("dump");
    ASSERT_EQ(dumps.size(), 1u);
    EXPECT_EQ(FromHex(ControlOf(dumps[0], kFullName)["text_hex"]), rows[row].second) << row;
  }
}

TEST(InserterPaperPromptTest, CheckBoxStartsUncheckedAndGivesItsState) {
  {
    ScriptedSession session("check 1008 1; click 1");
    EXPECT_EQ(Choose(2).inverted, 1);
  }
  {
    ScriptedSession session("check 1008 1; check 1008 0; click 1");
    EXPECT_EQ(Choose(2).inverted, 0);
  }
}

TEST(InserterPaperPromptTest, CancelWritesNothingAndAnUnknownCodeSelectsNothing) {
  {
    ScriptedSession session("select 4098 8; check 1008 1; escape");
    const Choice choice = Choose(6);
    EXPECT_EQ(choice.answer, 0);
    EXPECT_EQ(choice.paperCode, kUntouched);
    EXPECT_EQ(choice.inverted, kUntouched);
  }
  {
    ScriptedSession session("dump; click 1");
    const Choice choice = Choose(3);  // codes 3 and 7 do not occur
    EXPECT_EQ(choice.paperCode, 0);
    const auto dump = session.Events("dump").at(0);
    EXPECT_EQ(ControlOf(dump, kList)["selection"], nlohmann::json({-1, -1}));
    EXPECT_EQ(FromHex(ControlOf(dump, kFullName)["text_hex"]), "");
  }
}

TEST(InserterPaperPromptTest, ListShowsTheMaskedIconsOneSelectionAndThePreselectedRowInView) {
  ScriptedSession session("");
  auto previous = platform::InstallDialogHost(
      std::make_unique<CallbackHost>([](platform::HostedDialog& hosted) {
        auto& dialog = framework::testing::DialogOf<CInserterPaperSelectionDlg>(hosted);
        const framework::ListView& list = *dialog.m_listPaper;
        EXPECT_EQ(list.GetImageList(framework::kLvsilNormal), &dialog.m_imageList);
        EXPECT_EQ(dialog.m_imageList.GetImageCount(), 9);
        EXPECT_EQ(dialog.m_imageList.imageWidth(), 32);
        EXPECT_EQ(dialog.m_imageList.maskColour(), framework::Rgb(0, 128, 0));
        EXPECT_NE(list.style() & framework::kLvsSingleSel, 0u);
        EXPECT_EQ(list.GetTopIndex(), 7);
        for (int row = 0; row < list.GetItemCount(); ++row) EXPECT_EQ(list.GetItemImage(row), row);
      }));
  CInserterPaperSelectionDlg dialog;
  dialog.m_nInitialPaper = 9;
  dialog.DoModal();
  platform::InstallDialogHost(std::move(previous));
}

TEST(InserterPaperPromptTest, BitmapTheImageListRefusesLeavesAnEmptyListAfterAMessage) {
  {
    // The bank marker is smaller than one icon.
    ScriptedSession session("dump; click 1");
    CInserterPaperSelectionDlg dialog(IDB_BANK_MARKER);
    dialog.m_nInitialPaper = 6;
    EXPECT_EQ(dialog.DoModal(), framework::kIdOk);
    EXPECT_EQ(dialog.m_nPaperCode, 0);
    EXPECT_TRUE(ControlOf(session.Events("dump").at(0), kList)["items_hex"].empty());
    const auto& boxes = session.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Bitmap addition  into Image List Failure.");
    EXPECT_EQ(boxes[0].caption, "Failure");
    EXPECT_EQ(boxes[0].ownerTemplateId, kTemplate);
  }
  {
    // No bitmap at all: an empty list and not a word.
    ScriptedSession session("dump; click 1");
    CInserterPaperSelectionDlg dialog(4999);
    EXPECT_EQ(dialog.DoModal(), framework::kIdOk);
    EXPECT_TRUE(ControlOf(session.Events("dump").at(0), kList)["items_hex"].empty());
    EXPECT_TRUE(session.messageBoxes().empty());
  }
}

}  // namespace
}  // namespace prompts
