#include "app/controls.h"

#include <gtest/gtest.h>

#include <set>

#include "app/window_layout.h"

namespace zl {
namespace {

TEST(Controls, NamesFollowTheirIds) {
  EXPECT_EQ(controlName(PagePanel), "PagePanel");
  EXPECT_EQ(controlName(TestVocabularyField), "TestVocabularyField");
  EXPECT_EQ(controlName(HelpViewer), "HelpViewer");
  EXPECT_EQ(controlName(GradeValue), "GradeValue");
  EXPECT_EQ(controlName(38), "");
  EXPECT_EQ(controlName(-1), "");
  EXPECT_EQ(commandName(CmdAccept), "CmdAccept");
  EXPECT_EQ(commandName(TbUpdate), "TbUpdate");
  EXPECT_EQ(commandName(CmdStatistics), "CmdStatistics");
  EXPECT_EQ(commandName(0), "");
  EXPECT_EQ(commandName(32), "");
}

TEST(Controls, ToolbarButtonsRepeatTheirMenuCommands) {
  EXPECT_EQ(menuCommandOf(TbNew), CmdNew);
  EXPECT_EQ(menuCommandOf(TbOpen), CmdOpen);
  EXPECT_EQ(menuCommandOf(TbSave), CmdSave);
  EXPECT_EQ(menuCommandOf(TbSearch), CmdSearch);
  EXPECT_EQ(menuCommandOf(TbSort), CmdSort);
  EXPECT_EQ(menuCommandOf(TbPrint), CmdPrint);
  EXPECT_EQ(menuCommandOf(TbInfo), CmdAbout);
  // Update and homepage exist on the toolbar only.
  EXPECT_EQ(menuCommandOf(TbUpdate), TbUpdate);
  EXPECT_EQ(menuCommandOf(TbHomepage), TbHomepage);
  EXPECT_EQ(toolbarButtonOf(CmdSave), TbSave);
  EXPECT_EQ(toolbarButtonOf(CmdShuffle), 0);
}

TEST(WindowLayout, EveryControlIsCreatedExactlyOnceOnItsPage) {
  std::set<int> seen;
  for (const ControlLayout& layout : controlLayouts()) {
    EXPECT_TRUE(seen.insert(layout.id).second) << controlName(layout.id);
    EXPECT_EQ(layout.page, layout.id <= VocabListView ? EntryPage : layout.id == HelpViewer ? HelpPage : TestPage)
        << controlName(layout.id);
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(ControlCount - 1));  // all but PagePanel
  EXPECT_EQ(seen.count(PagePanel), 0u);
  // The test page creates its upper (translation) field first.
  EXPECT_EQ(controlLayouts()[11].id, TestTranslationField);
  EXPECT_EQ(controlLayouts()[12].id, TestVocabularyField);
}

TEST(WindowLayout, MenusHoldEveryCommandOnceInMenuOrder) {
  std::vector<int> order;
  for (const MenuItem& item : menuItems())
    if (item.id != 0) order.push_back(item.id);
  const std::vector<int> expected = {CmdNew,       CmdOpen,     CmdClose,    CmdSave,    CmdSaveAs,
                                     CmdSearch,    CmdSort,     CmdShuffle,  CmdPrint,   CmdRestore,
                                     CmdSplit,     CmdQuit,     CmdEntryPage, CmdTestPage, CmdHelpPage,
                                     CmdShortcut,  CmdRegister, CmdUnregister, CmdAbout};
  EXPECT_EQ(order, expected);
  std::vector<int> buttons;
  for (const ToolButton& button : toolButtons())
    if (button.id != 0) buttons.push_back(button.id);
  EXPECT_EQ(buttons, (std::vector<int>{TbNew, TbOpen, TbSave, TbSearch, TbSort, TbPrint, TbUpdate, TbHomepage, TbInfo}));
}

}  // namespace
}  // namespace zl
