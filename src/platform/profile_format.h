#pragma once

// The layout of a profile (INI) file as the Windows profile functions read and write it, kept
// apart from the disk so that it can be tested and fuzzed on bytes alone.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::platform::profile {

// One line of the file: its content [begin, end) and where the next line starts.
struct Line {
  size_t begin = 0;
  size_t end = 0;
  size_t next = 0;
};

// Splits at LF, CR LF or a lone CR.
std::vector<Line> SplitLines(std::string_view file);

// The value of key in section (names compared ignoring ASCII case, blanks around them
// trimmed; the first section and the first key win), or nothing when either is missing.
std::optional<std::string> FindValue(std::string_view file, std::string_view section,
                                     std::string_view key);

// The file with key=value set in section: an existing key's line replaced (keeping the key's
// spelling), a new key after the last key line of its section, a new section at the end. A
// null value removes the key's line. Every other byte stays.
std::string WithValue(std::string_view file, std::string_view section, std::string_view key,
                      const char* value);

}  // namespace quorvel::platform::profile
