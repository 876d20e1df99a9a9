#include "web/cookie_harvest.h"

#include "base/memory_file.h"
#include "base/text_ops.h"
#include "platform/http.h"
#include "web/url_helpers.h"

namespace quorvel {
namespace {

const char kMarker[] = "Set-Cookie:";
constexpr int32_t kMarkerLength = 11;

Text WithoutLeadingBlanks(const Text& text) {
  std::string_view bytes = text.view();
  size_t first = bytes.find_first_not_of(" \t");
  return first == std::string_view::npos ? Text() : Text(bytes.substr(first));
}

// Stores one cookie and gives its part of the harvested text.
Text TakeCookie(const Text& line, const Text& url) {
  Text remainder = WithoutLeadingBlanks(TextRight(line, TextLength(line) - kMarkerLength));
  int32_t equals = FindText(remainder, "=", 1, false);
  Text name = TextLeft(remainder, equals - 1);
  Text data = TextRight(remainder, TextLength(remainder) - equals);
  platform::Http().InternetSetCookieA(url.c_str(), name.c_str(), data.c_str());
  bool has_semicolon = FindText(remainder, ";", 1, false) != -1;
  return ConcatText(has_semicolon ? TextBefore(remainder, ";", 0, false) : remainder, ";");
}

}  // namespace

Text HarvestCookies(const Text& raw_headers, const Text& host) {
  Text harvested;
  if (FindText(raw_headers, kMarker, 1, true) == -1) return harvested;
  Text url = ConcatText("http://", host);
  FileNumber lines = OpenMemoryFile();
  WriteText(lines, raw_headers);
  SeekToStart(lines);
  while (!AtEnd(lines)) {
    Text line = ReadLine(lines);
    if (CompareText(TextLeft(line, kMarkerLength), kMarker, false) != 0) continue;
    harvested = ConcatText(harvested, TakeCookie(line, url));
  }
  CloseFile(lines);
  return harvested;
}

}  // namespace quorvel
