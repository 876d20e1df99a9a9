#include "form_codec.h"

namespace quorvel::demo {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view Trim(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
               HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::map<std::string, std::string> ParseForm(std::string_view body) {
  std::map<std::string, std::string> fields;
  while (!body.empty()) {
    size_t end = body.find('&');
    std::string_view field = body.substr(0, end);
    body = end == std::string_view::npos ? std::string_view() : body.substr(end + 1);
    if (field.empty()) continue;
    size_t equals = field.find('=');
    std::string value =
        equals == std::string_view::npos ? std::string() : PercentDecode(field.substr(equals + 1));
    fields.emplace(PercentDecode(field.substr(0, equals)), std::move(value));
  }
  return fields;
}

std::optional<std::string> CookieValue(std::string_view header, std::string_view name) {
  while (!header.empty()) {
    size_t end = header.find(';');
    std::string_view pair = Trim(header.substr(0, end));
    header = end == std::string_view::npos ? std::string_view() : header.substr(end + 1);
    size_t equals = pair.find('=');
    if (equals != std::string_view::npos && Trim(pair.substr(0, equals)) == name) {
      return std::string(Trim(pair.substr(equals + 1)));
    }
  }
  return std::nullopt;
}

std::optional<std::pair<std::string, std::string>> ParseAccount(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  size_t colon = line.find(':');
  if (colon == std::string_view::npos || colon == 0) return std::nullopt;
  return std::make_pair(std::string(line.substr(0, colon)), std::string(line.substr(colon + 1)));
}

std::string EscapeForLog(std::string_view bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    if (byte == '\\') {
      out += "\\\\";
    } else if (byte >= 0x20 && byte < 0x7f) {
      out += c;
    } else {
      out += "\\x";
      out += digits[byte >> 4];
      out += digits[byte & 15];
    }
  }
  return out;
}

std::string EscapeHtml(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace quorvel::demo
