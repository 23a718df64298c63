// The user's choice of programs for MIME types, mimeapps.list, edited as
// text in, text out, in the groups [Default Applications] and [Added
// Associations]. Both edits touch only the program's own part: the other
// lines stay byte for byte, and taking the program out gives back the text
// as it was before it went in. Adding puts the program in front of those
// already named for the type, or in a new line right after the group's
// head, or in a new group at the head of the text; removing takes it out,
// a line left naming nothing, and a group of nothing else at the head of
// the text with the blank line after it. Pure; nothing fails.
#pragma once

#include <string>
#include <string_view>

namespace zl {

// `list` with `desktopId` (a desktop entry's file name) first for
// `mimeType` in both groups; unchanged when it is first there already.
std::string addAssociation(std::string_view list, const std::string& mimeType, const std::string& desktopId);

// `list` without the first `desktopId` in the lines of `mimeType` of both
// groups; unchanged when it is not there.
std::string removeAssociation(std::string_view list, const std::string& mimeType, const std::string& desktopId);

}  // namespace zl
