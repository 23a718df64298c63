// The text of the HTML that flash-card programs keep in their fields: tags
// removed, a line break as a blank, entities decoded. Pure; nothing fails.
#pragma once

#include <cstdint>
#include <string_view>

#include "convert/pair_builder.h"
#include "platform/byte_buffer.h"

namespace zl {

bool isAsciiLetter(char c);
// True when `text` equals `lower` with its ASCII letters taken in any case.
bool equalsAsciiFolded(std::string_view text, std::string_view lower);

// The text of an HTML fragment as UTF-8, appended to `out`: tags removed,
// a line break ("<br>", "<br/>", "<br />") as one blank, entities decoded.
// A "<" that opens no tag and an "&" that starts no known entity stay.
//
// With `field`, the HTML is a flash card's field:
// - References to pictures, sounds and films are dropped and counted: the
//   tags <img>, <audio>, <video> and <object> (the other tags go anyway)
//   and the "[sound:NAME]" of flash cards.
// - A no-break space as flash-card editors write it, "&nbsp;" or the
//   character itself (wherever a blank was typed twice), is an ordinary
//   blank, as the learner types it.
// - Blanks at its start and end, which HTML does not show ("el perro
//   <img ...>", "Haus&nbsp;"), are dropped; so is a line break there.
// - A character written as a number stays what it is, blanks included
//   ("&#32;", "&#160;").
struct HtmlField {
  std::int64_t mediaReferences = 0;  // counted over every field read
};
void appendTextOfHtml(std::string_view html, TextEncoding encoding, ByteBuffer& out, HtmlField* field = nullptr);

}  // namespace zl
