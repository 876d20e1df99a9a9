#include "base/text_ops.h"

#include <algorithm>
#include <string>

#include "base/gbk_scan.h"

namespace quorvel {
namespace {

constexpr size_t kNpos = std::string_view::npos;

size_t StartOffset(std::optional<int32_t> start) {
  return start ? static_cast<size_t>(std::max<int64_t>(int64_t{*start} - 1, 0)) : 0;
}

bool IsFullWidthSpace(std::string_view text, size_t at) {
  return at + 1 < text.size() && static_cast<unsigned char>(text[at]) == 0xA1 &&
         static_cast<unsigned char>(text[at + 1]) == 0xA1;
}

}  // namespace

int32_t TextLength(const Text& text) { return text.size(); }

Text ConcatText(std::initializer_list<Text> parts) {
  size_t total = 0;
  for (const Text& part : parts) total += part.view().size();
  std::string out;
  out.reserve(total);
  for (const Text& part : parts) out += part.view();
  return Text(out);
}

Text TextLeft(const Text& text, int32_t n) {
  if (n <= 0) return {};
  return Text(text.view().substr(0, static_cast<size_t>(n)));
}

Text TextRight(const Text& text, int32_t n) {
  if (n <= 0) return {};
  const size_t take = std::min(static_cast<size_t>(n), text.view().size());
  return Text(text.view().substr(text.view().size() - take));
}

Text TextMid(const Text& text, int32_t start, int32_t n) {
  const int64_t p = int64_t{start} - 1;
  if (p < 0 || p >= text.size() || n <= 0) return {};
  return Text(text.view().substr(static_cast<size_t>(p), static_cast<size_t>(n)));
}

int32_t FindText(const Text& text, const Text& sub, std::optional<int32_t> start,
                 bool ignore_case) {
  const std::string_view hay = text.view();
  const size_t from = StartOffset(start);
  if (from >= hay.size()) return -1;
  if (sub.empty()) return 1;
  gbk::MatchScan scan(hay, sub.view(), from, ignore_case);
  const size_t hit = scan.Next();
  return hit == kNpos ? -1 : static_cast<int32_t>(hit + 1);
}

int32_t FindTextReverse(const Text& text, const Text& sub, std::optional<int32_t> start,
                        bool ignore_case) {
  const std::string_view hay = text.view();
  size_t window = hay.size();
  if (start) window = *start <= 1 ? 0 : std::min(hay.size(), static_cast<size_t>(*start - 1));
  if (sub.empty()) return window > 0 ? 1 : -1;
  gbk::MatchScan scan(hay.substr(0, window), sub.view(), 0, ignore_case);
  int32_t last = -1;
  for (size_t hit = scan.Next(); hit != kNpos; hit = scan.Next()) {
    last = static_cast<int32_t>(hit + 1);
  }
  return last;
}

Text ReplaceRange(const Text& text, int32_t start, int32_t length, const Text& replacement) {
  std::string out = text.str();
  const size_t p =
      std::min(static_cast<size_t>(std::max<int64_t>(int64_t{start} - 1, 0)), out.size());
  const size_t remove = std::min(static_cast<size_t>(std::max(length, 0)), out.size() - p);
  out.replace(p, remove, replacement.view());
  return Text(out);
}

Text ReplaceSubtext(const Text& text, const Text& sub, const Text& replacement,
                    std::optional<int32_t> start, std::optional<int32_t> count,
                    bool case_sensitive) {
  const std::string_view in = text.view();
  const size_t s = StartOffset(start);
  if (in.empty() || sub.empty() || s >= in.size() || (count && *count == 0)) return text;
  const size_t m = sub.view().size();
  std::string out(in.substr(0, s));
  gbk::MatchScan scan(in, sub.view(), s, !case_sensitive);
  size_t copied = s;  // bytes of `in` already dealt with
  int64_t left = count ? *count : -1;
  bool stopped = false;
  for (size_t hit = scan.Next(); hit != kNpos; hit = scan.Next()) {
    if (hit < copied) continue;  // overlaps a replaced occurrence
    out.append(in.substr(copied, hit - copied));
    out.append(replacement.view());
    copied = hit + m;
    scan = gbk::MatchScan(in, sub.view(), copied, !case_sensitive);
    if (left > 0 && --left == 0) {
      stopped = true;
      break;
    }
  }
  // Scanning on to the end drops a lone lead byte at the very end when a one-byte sub is
  // compared against it; a stopped scan leaves the rest as it is.
  size_t end = in.size();
  if (!stopped && m == 1 && gbk::IsLead(in.back())) {
    size_t at = copied;
    while (at < in.size() - 1) at = gbk::Next(in, at);
    if (at == in.size() - 1) end = in.size() - 1;
  }
  if (copied < end) out.append(in.substr(copied, end - copied));
  return Text(out);
}

Text TrimBlanks(const Text& text) {
  const std::string_view in = text.view();
  size_t begin = 0;
  while (begin < in.size()) {
    if (in[begin] == ' ') {
      ++begin;
    } else if (IsFullWidthSpace(in, begin)) {
      begin += 2;
    } else {
      break;
    }
  }
  size_t run = kNpos;  // where the trailing run of blanks begins
  for (size_t at = begin; at < in.size();) {
    if (gbk::IsLead(in[at]) && at + 1 >= in.size()) {
      return Text(in.substr(begin, at - begin));  // a lone lead byte at the end goes instead
    }
    const bool blank = in[at] == ' ' || IsFullWidthSpace(in, at);
    if (!blank)
      run = kNpos;
    else if (run == kNpos)
      run = at;
    at = gbk::Next(in, at);
  }
  const size_t end = run == kNpos ? in.size() : run;
  return Text(in.substr(begin, end - begin));
}

Text ToLower(const Text& text) {
  std::string out = text.str();
  for (size_t at = 0; at < out.size(); at = gbk::Next(out, at)) {
    out[at] = gbk::Fold(out[at]);
  }
  return Text(out);
}

int CompareText(const Text& a, const Text& b, bool case_sensitive) {
  const std::string_view x = a.view(), y = b.view();
  bool second_byte = false;  // whether the bytes at i are the second of a character
  for (size_t i = 0; i < x.size() && i < y.size(); ++i) {
    unsigned char cx = x[i], cy = y[i];
    if (!case_sensitive && !second_byte) {
      cx = static_cast<unsigned char>(gbk::Fold(x[i]));
      cy = static_cast<unsigned char>(gbk::Fold(y[i]));
    }
    if (cx != cy) return cx < cy ? -1 : 1;
    second_byte = !second_byte && gbk::IsLead(x[i]);
  }
  if (x.size() == y.size()) return 0;
  return x.size() < y.size() ? -1 : 1;
}

}  // namespace quorvel
