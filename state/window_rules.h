// The program's rules for what the window shows and holds: how long a text
// a field takes, how much of a text a row or a message line shows, and the
// memory a row of the list may cost. The logic keeps to them, and the
// window's adapters size themselves by them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zl {

// The most characters a text field holds. A longer text is shown cut, with
// a mark at its end, so what the field gives back is not that text: the
// logic never puts a longer text into a field whose text it stores.
inline constexpr std::size_t MaxFieldText = 32767;

// The most characters one row of the list or one line of a message box
// shows: far more than a row has room for, and few enough that the
// statistics box with two cut words still fits a screen 768 pixels high.
// A longer text shows its first ShownLineLength - 1 and a mark.
inline constexpr std::size_t ShownLineLength = 500;

// As much of a stored text as a message box line shows the same way as the
// whole: one character more than fits, so that the mark still shows. The
// rest of the text is never read, so a huge text is not copied.
inline std::string_view shownStart(std::string_view text) { return text.substr(0, ShownLineLength + 1); }

// The memory the window keeps for each row of VocabListView, at most.
inline constexpr std::uint64_t ListRowBytes = 16;

}  // namespace zl
