#include "app/about.h"

#include <gtest/gtest.h>

#include "store/cp1252.h"
#include "test_support/fake_platform.h"

namespace zl {
namespace {

TEST(FormatTime, FillsTheFieldsOfTheMaskAndCopiesTheRest) {
  EXPECT_EQ(formatTime("%dd.%mm.%yyyy - %hh:%ii:%ss", 1297451109), "11.02.2011 - 19:05:09");
  EXPECT_EQ(formatTime("%yyyy%mm%dd %% %x %i", 0), "19700101 %% %x %i");
  EXPECT_EQ(formatTime("%hh:%ii", 86399), "23:59");  // the last second of a day
}

TEST(About, InfoAndTheToolbarButtonShowTheSameBox) {
  FakeProgram f;
  f.program.constants.buildStamp = 1297451109;
  const std::string text =
      "Zelvo Lingotak\t\r\n"
      "Version: " ZL_PROJECT_VERSION
      "  -  (ZR 451)\t\r\n\r\n"
      "Erstellt am: 11.02.2011 - 19:05:09\t\r\n\r\n"
      "Copyright © 2024-2026 Zelvo\t\r\n\r\n"
      "Freie Software unter der MIT-Lizenz, kostenlos weiterzugeben.\t\r\n\r\n"
      "Im Internet:\t\r\n\r\n"
      "http://www.zelvo-lingotak.example/\t"_w;
  f.ui.expectMessage("Über Zelvo Lingotak"_w, text, Answer::Ok);
  f.menu(CmdAbout);
  f.ui.expectMessage("Über Zelvo Lingotak"_w, text, Answer::Ok);
  f.menu(TbInfo);
  EXPECT_TRUE(f.ui.allMessagesShown());
  EXPECT_EQ(f.ui.shownMessages().back().icon, MessageIcon::Information);
  EXPECT_EQ(f.ui.shownMessages().back().buttons, MessageButtons::Ok);
}

}  // namespace
}  // namespace zl
