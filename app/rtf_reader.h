// Reads the RTF that the help text is written in into a RichDocument: font
// and colour tables, paragraphs (\par \pard \ql \qc \qr \qj \li \fi, bullets
// of {\*\pn ...\pnlvlblt}), characters (\plain \f \fs \b \ul \ulnone \cf),
// \line, \tab, the escapes \'hh \\ \{ \} \~ \_ \- and groups. Unknown control
// words are skipped, and so are unknown \* groups and {\pntext} whole.
//
// Pure; reads any bytes in one pass. Groups nest MaxRtfNesting deep (deeper
// braces are counted and keep their formatting); stray braces, cut escapes
// and line ends are dropped; numbers are held to the ranges below. Texts stay
// Windows-1252 bytes: \'hh is the byte hh; \u is unknown, its stand-in shows.
#pragma once

#include <string_view>

#include "platform/rich_text.h"

namespace zl {

inline constexpr int MaxRtfNesting = 64;
inline constexpr int MaxHalfPoints = 3276;    // 1638 pt
inline constexpr int MaxIndentTwips = 31680;  // 22 inches either way

RichDocument readRtf(std::string_view rtf);

}  // namespace zl
