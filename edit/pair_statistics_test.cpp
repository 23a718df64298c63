#include "edit/pair_statistics.h"

#include <gtest/gtest.h>

#include "state/window_rules.h"
#include "store/cp1252.h"
#include "test_support/fake_platform.h"

namespace zl {
namespace {

TEST(PairStatistics, TheTextLinesUpWordsAndCounts) {
  EXPECT_EQ(pairStatisticsText({"house", "Haus", 3, -2}),
            "Vokabel: \t\thouse\n\xDC"
            "bersetzung: \tHaus\n\nAnzahl Richtig: \t3\nAnzahl Falsch: \t-2");
}

TEST(PairStatistics, ThePopupShowsTheSelectedPairAndChangesNothing) {
  FakeProgram f;
  f.addPairs({{"tree", "Baum", 0, 0}, {"Straße"_w, "street", 7, 1}});
  f.program.list.select(0);
  f.ui.setSelectedRow(1);
  f.ui.expectMessage("Statistik der Vokabel",
                     "Vokabel: \t\tStraße\nÜbersetzung: \tstreet\n\nAnzahl Richtig: \t7\nAnzahl Falsch: \t1"_w,
                     Answer::Ok);
  f.menu(CmdStatistics);
  EXPECT_TRUE(f.ui.allMessagesShown());
  EXPECT_EQ(f.ui.shownMessages().back().icon, MessageIcon::Information);
  EXPECT_EQ(f.ui.selectedRow(), 1);
  EXPECT_EQ(f.program.list.position(), 0);
  EXPECT_EQ(f.program.file.unsaved, 0);
  f.ui.setSelectedRow(-1);
  f.menu(CmdStatistics);  // nothing selected: nothing shown
  EXPECT_EQ(f.ui.shownMessages().size(), 1u);
}

// A message box line shows ShownLineLength - 1 characters and a mark: a
// huge word is cut to that before it is copied.
TEST(PairStatistics, AHugeWordReachesTheBoxCutToWhatShows) {
  FakeProgram f;
  f.addPairs({{"kurz", std::string(10'000'000, 'h'), 3, 4}});
  f.ui.setSelectedRow(0);
  const std::string shown(ShownLineLength + 1, 'h');
  f.ui.expectMessage("Statistik der Vokabel", pairStatisticsText({"kurz", shown, 3, 4}), Answer::Ok);
  f.menu(CmdStatistics);
  EXPECT_TRUE(f.ui.allMessagesShown());
}

}  // namespace
}  // namespace zl
