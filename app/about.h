// "Info": the About box with the program's name, version, build time,
// copyright, licence note and homepage, one message box with an OK button.
// The build time comes from the build (AppConstants::buildStamp) and is
// shown as UTC. Nothing here fails.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zl {

class MessageDialogs;
struct AppConstants;

// `seconds` since 1970 (UTC) written after `mask`: %dd day, %mm month, %hh
// hour (0 to 23), %ii minutes, %ss seconds, each with two digits, %yyyy the
// year with four; every other character is copied. 1297451109 with
// "%dd.%mm.%yyyy - %hh:%ii:%ss" gives "11.02.2011 - 19:05:09".
std::string formatTime(std::string_view mask, std::int64_t seconds);

// The text of the About box (Windows-1252).
std::string aboutText(const AppConstants& constants);

// Shows the About box and returns when it is closed.
void showAbout(MessageDialogs& ui, const AppConstants& constants);

}  // namespace zl
