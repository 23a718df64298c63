#include "desktop/mimeapps_list.h"

#include <gtest/gtest.h>

namespace zl {
namespace {

const std::string Type = "application/x-zelvo-vocabulary";
const std::string Id = "zelvo-lingotak.desktop";

std::string added(std::string_view list) { return addAssociation(list, Type, Id); }
std::string removed(std::string_view list) { return removeAssociation(list, Type, Id); }

TEST(MimeAppsList, RemovingGivesBackTheListByteForByte) {
  const std::string lists[] = {
      "",
      "# kept by hand\n",
      "[Default Applications]\ntext/plain=gedit.desktop\n\n[Added Associations]\ntext/plain=gedit.desktop;\n",
      "[Added Associations]\r\nimage/png=gimp.desktop;\r\n[Default Applications]\r\n",
      "[Default Applications]\napplication/x-zelvo-vocabulary = other.desktop\n",
      "[Added Associations]\napplication/x-zelvo-vocabulary=a.desktop;b.desktop;\n[Removed Associations]\n",
      "# head\n[Default Applications]\ntext/html=firefox.desktop",  // no line break at the end
  };
  for (const std::string& list : lists) {
    SCOPED_TRACE(list);
    const std::string once = added(list);
    EXPECT_NE(once, list);
    EXPECT_EQ(added(once), once);  // registering again changes nothing
    EXPECT_EQ(removed(once), list);
    EXPECT_EQ(removed(list), list);  // nothing registered: nothing to take
  }
}

TEST(MimeAppsList, TheProgramComesFirstAndTheOtherLinesStay) {
  EXPECT_EQ(added("# mine\n[Default Applications]\ntext/plain=gedit.desktop\n"
                  "[Added Associations]\napplication/x-zelvo-vocabulary=libreoffice.desktop;\n"),
            "# mine\n"
            "[Default Applications]\n"
            "application/x-zelvo-vocabulary=zelvo-lingotak.desktop\n"
            "text/plain=gedit.desktop\n"
            "[Added Associations]\n"
            "application/x-zelvo-vocabulary=zelvo-lingotak.desktop;libreoffice.desktop;\n");
}

TEST(MimeAppsList, RemovingTakesOnlyTheProgramFromWhatOthersAddedSince) {
  std::string list = added("[Default Applications]\ntext/plain=gedit.desktop\n[Added Associations]\n");
  const std::string ours = "=zelvo-lingotak.desktop;";
  list.replace(list.find(ours), ours.size(), "=gedit.desktop;zelvo-lingotak.desktop;");  // the user's since
  EXPECT_EQ(removed(list),
            "[Default Applications]\ntext/plain=gedit.desktop\n"
            "[Added Associations]\napplication/x-zelvo-vocabulary=gedit.desktop;\n");
  // A group at the head goes only when nothing else is left in it.
  EXPECT_EQ(removed("[Default Applications]\napplication/x-zelvo-vocabulary=zelvo-lingotak.desktop\nx/y=z\n"),
            "[Default Applications]\nx/y=z\n");
}

}  // namespace
}  // namespace zl
