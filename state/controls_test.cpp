#include "state/controls.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zl
