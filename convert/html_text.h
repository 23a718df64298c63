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
// With `mediaReferences`, references to pictures, sounds and films are
// dropped and counted there: the tags <img>, <audio>, <video> and <object>
// (their other tags go anyway) and the "[sound:NAME]" of flash cards.
void appendTextOfHtml(std::string_view html, TextEncoding encoding, ByteBuffer& out,
                      std::int64_t* mediaReferences = nullptr);

}  // namespace zl
