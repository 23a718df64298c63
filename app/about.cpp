#include "app/about.h"

#include <chrono>
#include <cstdio>

#include "app/texts.h"
#include "platform/ui.h"
#include "state/program.h"

namespace zl {

namespace {

std::string digits(int value, int width) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", width, value);
  return text;
}

}  // namespace

std::string formatTime(std::string_view mask, std::int64_t seconds) {
  using namespace std::chrono;
  const sys_seconds time{std::chrono::seconds(seconds)};
  const sys_days day = floor<days>(time);
  const year_month_day date{day};
  const hh_mm_ss clock{time - day};
  const std::pair<std::string_view, std::string> fields[] = {
      {"%yyyy", digits(static_cast<int>(date.year()), 4)},
      {"%dd", digits(static_cast<int>(static_cast<unsigned>(date.day())), 2)},
      {"%mm", digits(static_cast<int>(static_cast<unsigned>(date.month())), 2)},
      {"%hh", digits(static_cast<int>(clock.hours().count()), 2)},
      {"%ii", digits(static_cast<int>(clock.minutes().count()), 2)},
      {"%ss", digits(static_cast<int>(clock.seconds().count()), 2)},
  };
  std::string out;
  for (std::size_t at = 0; at < mask.size();) {
    bool replaced = false;
    for (const auto& [field, value] : fields) {
      if (mask.substr(at, field.size()) == field) {
        out += value;
        at += field.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += mask[at++];
  }
  return out;
}

std::string aboutText(const AppConstants& constants) {
  const std::string end = "\t\r\n\r\n";
  return constants.productName + "\t\r\n" + app_text::VersionLabel + constants.versionText + app_text::VersionSuffix + end +
         app_text::BuiltOn + formatTime(app_text::BuildTimeMask, constants.buildStamp) + end + constants.copyrightLine +
         end + app_text::FreewareNote + end + app_text::HomepageLabel + end + constants.homepageUrl + "\t";
}

void showAbout(MessageDialogs& ui, const AppConstants& constants) {
  ui.messageBox(app_text::AboutTitle + constants.productName, aboutText(constants), MessageButtons::Ok,
                MessageIcon::Information);
}

}  // namespace zl
