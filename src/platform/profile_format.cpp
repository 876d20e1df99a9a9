#include "platform/profile_format.h"

#include "platform/ascii.h"

namespace quorvel::platform::profile {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

enum class Kind { kBlank, kComment, kSection, kKey };

struct Parsed {
  Kind kind = Kind::kBlank;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // key value, trimmed (quotes still on)
};

Parsed Parse(std::string_view content) {
  const std::string_view trimmed = TrimSpacesAndTabs(content);
  if (trimmed.empty()) return {};
  if (trimmed.front() == ';') return {Kind::kComment, {}, {}};
  if (trimmed.front() == '[') {
    const std::string_view inner = trimmed.substr(1);
    return {Kind::kSection, TrimSpacesAndTabs(inner.substr(0, inner.find(']'))), {}};
  }
  const size_t equals = content.find('=');
  if (equals == std::string_view::npos) return {Kind::kKey, trimmed, {}};
  return {Kind::kKey, TrimSpacesAndTabs(content.substr(0, equals)),
          TrimSpacesAndTabs(content.substr(equals + 1))};
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Where a section and a key stand in the file.
struct Location {
  std::optional<size_t> section;   // index of the section line
  std::optional<size_t> key;       // index of the key line
  std::optional<size_t> last_key;  // index of the section's last key line
};

Location Locate(std::string_view file, const std::vector<Line>& lines, std::string_view section,
                std::string_view key) {
  Location where;
  bool inside = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const Parsed line = Parse(file.substr(lines[i].begin, lines[i].end - lines[i].begin));
    if (line.kind == Kind::kSection) {
      if (where.section) break;  // the first matching section has ended
      inside = EqualsIgnoringAsciiCase(line.name, section);
      if (inside) where.section = i;
    } else if (inside && line.kind == Kind::kKey) {
      where.last_key = i;
      if (!where.key && EqualsIgnoringAsciiCase(line.name, key)) where.key = i;
    }
  }
  return where;
}

}  // namespace

std::vector<Line> SplitLines(std::string_view file) {
  std::vector<Line> lines;
  size_t at = 0;
  while (at < file.size()) {
    const size_t stop = file.find_first_of("\r\n", at);
    if (stop == std::string_view::npos) {
      lines.push_back({at, file.size(), file.size()});
      break;
    }
    const size_t next = (file[stop] == '\r' && stop + 1 < file.size() && file[stop + 1] == '\n')
                            ? stop + 2
                            : stop + 1;
    lines.push_back({at, stop, next});
    at = next;
  }
  return lines;
}

std::optional<std::string> FindValue(std::string_view file, std::string_view section,
                                     std::string_view key) {
  section = TrimSpacesAndTabs(section);
  key = TrimSpacesAndTabs(key);
  const std::vector<Line> lines = SplitLines(file);
  const Location where = Locate(file, lines, section, key);
  if (!where.key) return std::nullopt;
  const Line& line = lines[*where.key];
  return std::string(Unquote(Parse(file.substr(line.begin, line.end - line.begin)).value));
}

std::string WithValue(std::string_view file, std::string_view section, std::string_view key,
                      const char* value) {
  section = TrimSpacesAndTabs(section);
  key = TrimSpacesAndTabs(key);
  const std::vector<Line> lines = SplitLines(file);
  const Location where = Locate(file, lines, section, key);
  std::string out;
  if (where.key) {
    const Line& line = lines[*where.key];
    out.append(file.substr(0, line.begin));
    if (value != nullptr) {
      const Parsed old = Parse(file.substr(line.begin, line.end - line.begin));
      out.append(old.name).append("=").append(value);
      out.append(file.substr(line.end));
    } else {
      out.append(file.substr(line.next));
    }
    return out;
  }
  if (value == nullptr) return std::string(file);
  const std::string entry = std::string(key) + "=" + value + std::string(kLineEnd);
  if (where.section) {
    const Line& after = lines[where.last_key.value_or(*where.section)];
    out.append(file.substr(0, after.next));
    if (after.next == after.end) out.append(kLineEnd);  // the line had no end of its own
    out.append(entry);
    out.append(file.substr(after.next));
    return out;
  }
  out.append(file);
  if (!out.empty() && out.back() != '\n' && out.back() != '\r') out.append(kLineEnd);
  out.append("[").append(section).append("]").append(kLineEnd).append(entry);
  return out;
}

}  // namespace quorvel::platform::profile
