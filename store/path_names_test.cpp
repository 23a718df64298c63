#include "store/path_names.h"

#include <gtest/gtest.h>

#include "platform/paths.h"

namespace zl {
namespace {

TEST(ChangeExtension, ReplacesOrAppendsTheExtension) {
  EXPECT_EQ(changeExtension("/home/anna/Vok/englisch", "ltk"), "/home/anna/Vok/englisch.ltk");
  EXPECT_EQ(changeExtension("/home/anna/Vok/englisch.LTK", "lts"), "/home/anna/Vok/englisch.lts");
  EXPECT_EQ(changeExtension("/opt/Apps/trainer.exe", "tmp"), "/opt/Apps/trainer.tmp");
  EXPECT_EQ(changeExtension("/home/anna/vok/englisch.ltk", "lts"), "/home/anna/vok/englisch.lts");
  EXPECT_EQ(changeExtension("/usr/bin/zelvo-lingotak", "tmp"), "/usr/bin/zelvo-lingotak.tmp");
}

TEST(ChangeExtension, APointInAFolderNameDoesNotCount) {
  EXPECT_EQ(changeExtension("/home/a.b/liste", "ltk"), "/home/a.b/liste.ltk");
}

TEST(ChangeExtension, EveryOccurrenceOfTheOldExtensionIsReplaced) {
  EXPECT_EQ(changeExtension("/home/anna/Vok/kap.1.1", "lts"), "/home/anna/Vok/kap.lts.lts");
  // Case-sensitive: only ".ltk" matches, not ".LTK".
  EXPECT_EQ(changeExtension("/v/a.LTK.ltk", "lts"), "/v/a.LTK.lts");
}

// Only "/" splits a path: a "\\" is a letter of a name on Linux, also in
// a name that came from Windows.
TEST(PathNames, FolderNameAndExtension) {
  const struct {
    const char* path;
    const char* folder;
    const char* name;
    const char* extension;
  } cases[] = {
      {"/opt/zelvo/zelvo-lingotak", "/opt/zelvo/", "zelvo-lingotak", ""},
      {"englisch.ltk", "", "englisch.ltk", "ltk"},
      {"/v.d/liste_", "/v.d/", "liste_", ""},
      {"/a/liste.LTK", "/a/", "liste.LTK", "LTK"},
      {"/home/anna/C:\\Vok.alt\\englisch", "/home/anna/", "C:\\Vok.alt\\englisch", "alt\\englisch"},
      {"/", "/", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(folderOf(c.path), c.folder) << c.path;
    EXPECT_EQ(fileNameOf(c.path), c.name) << c.path;
    EXPECT_EQ(extensionOf(c.path), c.extension) << c.path;
  }
  EXPECT_EQ(changeExtension("/home/anna/a\\b.c\\liste", "ltk"), "/home/anna/a\\b.ltk");
}

}  // namespace
}  // namespace zl
