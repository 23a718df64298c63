#include "desktop/mimeapps_list.h"

#include <vector>

namespace zl {

namespace {

constexpr std::string_view DefaultGroup = "[Default Applications]";
constexpr std::string_view AddedGroup = "[Added Associations]";

// One line: its text and the line break after it ("\n", "\r\n", or "" at
// the end of a text without one), so that joining gives the text back.
struct Line {
  std::string text;
  std::string end;
};

std::vector<Line> linesOf(std::string_view list) {
  std::vector<Line> lines;
  while (!list.empty()) {
    const std::size_t newline = list.find('\n');
    std::string_view text = list.substr(0, newline);
    std::string end = newline == std::string_view::npos ? "" : "\n";
    if (!end.empty() && text.ends_with('\r')) {
      text.remove_suffix(1);
      end = "\r\n";
    }
    lines.push_back({std::string(text), end});
    list.remove_prefix(newline == std::string_view::npos ? list.size() : newline + 1);
  }
  return lines;
}

std::string joined(const std::vector<Line>& lines) {
  std::string list;
  for (const Line& line : lines) list += line.text + line.end;
  return list;
}

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool isGroupHead(const Line& line) { return trimmed(line.text).starts_with('['); }
bool isKeyLine(const Line& line) { return !trimmed(line.text).empty() && !trimmed(line.text).starts_with('#'); }

std::size_t findGroup(const std::vector<Line>& lines, std::string_view group) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (trimmed(lines[i].text) == group) return i;
  }
  return std::string::npos;
}

// Where the value of a key line starts: after its "=" and the blanks after it.
std::size_t valueStart(const std::string& text) {
  const std::size_t after = text.find('=') + 1;
  const std::size_t value = text.find_first_not_of(" \t", after);
  return value == std::string::npos ? text.size() : value;
}

std::size_t findKey(const std::vector<Line>& lines, std::size_t head, const std::string& key) {
  for (std::size_t i = head + 1; i < lines.size() && !isGroupHead(lines[i]); ++i) {
    const std::size_t equals = lines[i].text.find('=');
    if (isKeyLine(lines[i]) && equals != std::string::npos &&
        trimmed(std::string_view(lines[i].text).substr(0, equals)) == key) {
      return i;
    }
  }
  return std::string::npos;
}

void addTo(std::vector<Line>& lines, std::string_view group, const std::string& key, const std::string& entry,
           const std::string& desktopId) {
  const std::size_t head = findGroup(lines, group);
  if (head == std::string::npos) {
    std::vector<Line> added = {{std::string(group), "\n"}, {key + "=" + entry, "\n"}};
    if (!lines.empty()) added.push_back({"", "\n"});
    lines.insert(lines.begin(), added.begin(), added.end());
    return;
  }
  const std::size_t line = findKey(lines, head, key);
  if (line == std::string::npos) {
    if (lines[head].end.empty()) lines[head].end = "\n";
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(head) + 1, Line{key + "=" + entry, "\n"});
    return;
  }
  std::string& text = lines[line].text;
  const std::size_t start = valueStart(text);
  const std::string_view value = std::string_view(text).substr(start);
  if (trimmed(value.substr(0, value.find(';'))) == desktopId) return;
  text.insert(start, desktopId + ";");
}

// `value`, a list of entries separated by ";", without the first one that
// is `desktopId`, and without the ";" that belonged to it.
std::string withoutEntry(std::string_view value, const std::string& desktopId) {
  for (std::size_t start = 0; start <= value.size();) {
    const std::size_t semicolon = value.find(';', start);
    const std::size_t end = semicolon == std::string_view::npos ? value.size() : semicolon;
    if (trimmed(value.substr(start, end - start)) == desktopId) {
      if (semicolon != std::string_view::npos) {
        return std::string(value.substr(0, start)) + std::string(value.substr(semicolon + 1));
      }
      return std::string(value.substr(0, start == 0 ? 0 : start - 1));
    }
    if (semicolon == std::string_view::npos) break;
    start = semicolon + 1;
  }
  return std::string(value);
}

void removeFrom(std::vector<Line>& lines, std::string_view group, const std::string& key,
                const std::string& desktopId) {
  const std::size_t head = findGroup(lines, group);
  const std::size_t line = head == std::string::npos ? head : findKey(lines, head, key);
  if (line == std::string::npos) return;
  std::string& text = lines[line].text;
  const std::size_t start = valueStart(text);
  const std::string rest = withoutEntry(std::string_view(text).substr(start), desktopId);
  if (trimmed(rest).empty()) {
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(line));
  } else {
    text = text.substr(0, start) + rest;
  }
  // A group of ours is at the head of the text with a blank line after it.
  if (head != 0) return;
  std::size_t next = 1;
  while (next < lines.size() && !isGroupHead(lines[next])) {
    if (isKeyLine(lines[next])) return;
    ++next;
  }
  if (lines.size() > 1 && !trimmed(lines[1].text).empty()) return;
  lines.erase(lines.begin(), lines.begin() + (lines.size() > 1 ? 2 : 1));
}

}  // namespace

std::string addAssociation(std::string_view list, const std::string& mimeType, const std::string& desktopId) {
  std::vector<Line> lines = linesOf(list);
  // Each new group goes to the head, so the default comes out first.
  addTo(lines, AddedGroup, mimeType, desktopId + ";", desktopId);
  addTo(lines, DefaultGroup, mimeType, desktopId, desktopId);
  return joined(lines);
}

std::string removeAssociation(std::string_view list, const std::string& mimeType, const std::string& desktopId) {
  std::vector<Line> lines = linesOf(list);
  removeFrom(lines, DefaultGroup, mimeType, desktopId);
  removeFrom(lines, AddedGroup, mimeType, desktopId);
  return joined(lines);
}

}  // namespace zl
