#include "app/window_layout.h"

#include <gtest/gtest.h>

#include <set>

namespace zl {
namespace {

TEST(WindowLayout, EveryControlIsCreatedExactlyOnceOnItsPage) {
  std::set<int> seen;
  for (const ControlLayout& layout : controlLayouts()) {
    EXPECT_TRUE(seen.insert(layout.id).second) << controlName(layout.id);
    EXPECT_EQ(layout.page, layout.id <= VocabListView ? EntryPage
                           : layout.id == HelpViewer  ? HelpPage
                                                      : TestPage)
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
  const std::vector<int> expected = {CmdNew,      CmdOpen,     CmdClose,      CmdSave,     CmdSaveAs,
                                     CmdSearch,   CmdSort,     CmdShuffle,    CmdPrint,    CmdRestore,
                                     CmdSplit,    CmdQuit,     CmdEntryPage,  CmdTestPage, CmdHelpPage,
                                     CmdShortcut, CmdRegister, CmdUnregister, CmdAbout};
  EXPECT_EQ(order, expected);
  std::vector<int> buttons;
  for (const ToolButton& button : toolButtons())
    if (button.id != 0) buttons.push_back(button.id);
  EXPECT_EQ(buttons,
            (std::vector<int>{TbNew, TbOpen, TbSave, TbSearch, TbSort, TbPrint, TbUpdate, TbHomepage, TbInfo}));
}

}  // namespace
}  // namespace zl
