#include "store/path_names.h"

#include <gtest/gtest.h>

namespace zl {
namespace {

TEST(ChangeExtension, ReplacesOrAppendsTheExtension) {
  EXPECT_EQ(changeExtension("C:\\Vok\\englisch.ltk", "lts"), "C:\\Vok\\englisch.lts");
  EXPECT_EQ(changeExtension("C:\\Vok\\englisch", "ltk"), "C:\\Vok\\englisch.ltk");
  EXPECT_EQ(changeExtension("C:\\Vok\\englisch.LTK", "lts"), "C:\\Vok\\englisch.lts");
  EXPECT_EQ(changeExtension("C:\\Apps\\trainer.exe", "tmp"), "C:\\Apps\\trainer.tmp");
  EXPECT_EQ(changeExtension("/home/anna/vok/englisch.ltk", "lts"), "/home/anna/vok/englisch.lts");
  EXPECT_EQ(changeExtension("/usr/bin/zelvo-lingotak", "tmp"), "/usr/bin/zelvo-lingotak.tmp");
}

TEST(ChangeExtension, APointInAFolderNameDoesNotCount) {
  EXPECT_EQ(changeExtension("C:\\Vok.alt\\liste", "ltk"), "C:\\Vok.alt\\liste.ltk");
  EXPECT_EQ(changeExtension("/home/a.b/liste", "ltk"), "/home/a.b/liste.ltk");
}

TEST(ChangeExtension, EveryOccurrenceOfTheOldExtensionIsReplaced) {
  EXPECT_EQ(changeExtension("C:\\Vok\\kap.1.1", "lts"), "C:\\Vok\\kap.lts.lts");
  // Case-sensitive: only ".ltk" matches, not ".LTK".
  EXPECT_EQ(changeExtension("/v/a.LTK.ltk", "lts"), "/v/a.LTK.lts");
}

TEST(PathNames, DirectoryAndExtension) {
  EXPECT_EQ(directoryPart("C:\\Vok\\englisch.ltk"), "C:\\Vok\\");
  EXPECT_EQ(directoryPart("/opt/zelvo/zelvo-lingotak"), "/opt/zelvo/");
  EXPECT_EQ(directoryPart("englisch.ltk"), "");
  EXPECT_EQ(fileNamePart("C:\\Vok\\englisch.ltk"), "englisch.ltk");
  EXPECT_EQ(fileNamePart("/v.d/liste_"), "liste_");
  EXPECT_EQ(fileNamePart("englisch.ltk"), "englisch.ltk");
  EXPECT_EQ(extensionOf("/a.b/liste"), "");
  EXPECT_EQ(extensionOf("/a/liste.LTK"), "LTK");
}

}  // namespace
}  // namespace zl
