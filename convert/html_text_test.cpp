#include "convert/html_text.h"

#include <gtest/gtest.h>

namespace zl {
namespace {

// A flash card's field as the learner sees it and types it.
TEST(HtmlField, ShowsWhatABrowserShowsAndCountsTheMediaItDrops) {
  const struct {
    const char* html;
    const char* text;
    int media;
  } cases[] = {
      {"<b>la</b> maison", "la maison", 0},
      {"  la maison<br>", "la maison", 0},  // blanks and a break at the ends
      {"<div>\r\n le chien <img src=\"a.jpg\"></div>", "le chien", 1},
      {"der&nbsp;Hund&nbsp;", "der Hund", 0},  // as Anki's editor writes a blank
      {"der\xC2\xA0Hund", "der Hund", 0},
      {"&#32;eins&#160;", " eins\xC2\xA0", 0},  // written as numbers: kept
      {"[sound:a.mp3]Haus [sound:b.mp3]", "Haus", 2},
      {"<audio src=x></audio><VIDEO src=y><object data=z>", "", 3},
      {"[sound:no end", "[sound:no end", 0},
      {"a <br/> b", "a   b", 0},  // inside, every blank stays
      {"<imgx>x", "x", 0},        // a tag that only begins like one
  };
  for (const auto& c : cases) {
    HtmlField field;
    ByteBuffer out;
    appendTextOfHtml(c.html, TextEncoding::Utf8, out, &field);
    EXPECT_EQ(viewOf(out), c.text) << c.html;
    EXPECT_EQ(field.mediaReferences, c.media) << c.html;
  }
  // Without a field, the plain-text import's rules: blanks and no-break
  // spaces stay, a sound stays text.
  ByteBuffer out;
  appendTextOfHtml(" a&nbsp;[sound:x] ", TextEncoding::Utf8, out);
  EXPECT_EQ(viewOf(out), " a\xC2\xA0[sound:x] ");
}

}  // namespace
}  // namespace zl
