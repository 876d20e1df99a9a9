#include "base/byte_ops.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>

namespace quorvel {

int32_t BytesLength(const ByteString& bytes) { return bytes.size(); }

ByteString ConcatBytes(std::initializer_list<ByteString> parts) {
  size_t total = 0;
  for (const ByteString& part : parts) total += part.view().size();
  std::string out;
  out.reserve(total);
  for (const ByteString& part : parts) out += part.view();
  return ByteString(std::move(out));
}

ByteString ConcatBytes(const ByteString& a, const ByteString& b) { return ConcatBytes({a, b}); }

ByteString ConcatBytes(ByteString&& a, const ByteString& b) {
  a.mutable_str().append(b.view());
  return std::move(a);
}

ByteString BytesLeft(const ByteString& bytes, int32_t n) {
  return ByteString(bytes.view().substr(0, static_cast<size_t>(std::max(n, 0))));
}

ByteString BlankBytes(int32_t n) { return ByteString(std::string(std::max(n, 0), '\0')); }

Text BlankText(int32_t n) { return Text(std::string(std::max(n, 0), ' ')); }

int32_t BitOr(int32_t a, int32_t b) { return a | b; }

ByteString ToBytes(const Text& text) { return ByteString(text.view()); }

Text ToText(const ByteString& bytes) { return Text(bytes.view()); }

Text ToText(int32_t number) {
  char digits[16];
  const int n = std::snprintf(digits, sizeof digits, "%d", number);
  return Text(std::string_view(digits, static_cast<size_t>(n)));
}

Text ToText(bool truth) { return truth ? Text("真") : Text("假"); }

namespace {

// Full-width forms of the visible ASCII characters (0xA3 0xA1 to 0xA3 0xFE) become ASCII, the
// full-width space becomes a space; every other character stays.
std::string NarrowFullWidth(std::string_view in) {
  std::string out;
  out.reserve(in.size());
  for (size_t at = 0; at < in.size();) {
    const auto lead = static_cast<unsigned char>(in[at]);
    if (lead >= 0x80 && at + 1 < in.size()) {
      const auto trail = static_cast<unsigned char>(in[at + 1]);
      if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
        out += static_cast<char>(trail - 0x80);
      } else if (lead == 0xA1 && trail == 0xA1) {
        out += ' ';
      } else {
        out.append(in.substr(at, 2));
      }
      at += 2;
    } else {
      out += in[at++];
    }
  }
  return out;
}

size_t SkipDigits(std::string_view s, size_t at) {
  while (at < s.size() && s[at] >= '0' && s[at] <= '9') ++at;
  return at;
}

}  // namespace

double ToNumber(const Text& text) {
  const std::string s = NarrowFullWidth(text.view());
  size_t at = s.find_first_not_of(" \t\n\v\f\r");
  if (at == std::string::npos) return 0;
  bool negative = false;
  if (s[at] == '+' || s[at] == '-') negative = s[at++] == '-';
  // The longest prefix that is a decimal number: digits, a fraction, an exponent.
  const size_t begin = at;
  size_t end = SkipDigits(s, at);
  bool digits = end > begin;
  if (end < s.size() && s[end] == '.') {
    const size_t fraction_end = SkipDigits(s, end + 1);
    digits = digits || fraction_end > end + 1;
    end = fraction_end;
  }
  if (!digits) return 0;
  if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
    size_t exp = end + 1;
    if (exp < s.size() && (s[exp] == '+' || s[exp] == '-')) ++exp;
    const size_t exp_end = SkipDigits(s, exp);
    if (exp_end > exp) end = exp_end;
  }
  double value = 0;
  std::from_chars(s.data() + begin, s.data() + end, value, std::chars_format::general);
  return negative ? -value : value;
}

}  // namespace quorvel
