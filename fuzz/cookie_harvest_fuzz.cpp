// The Set-Cookie harvest on arbitrary header text: no crash, no hang, and what it stores
// matches what it returns. This target links without libcurl: it supplies platform::Http()
// itself, a fake that keeps each cookie the harvest stores.
//
// Input: a host, "|", then the raw header text.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_ops.h"
#include "fuzz_check.h"
#include "platform/http.h"
#include "web/cookie_harvest.h"

using namespace quorvel;

namespace {

struct StoredCookie {
  std::string url, name, data;
};

class CookieRecorder final : public platform::HttpInterface {
 public:
  std::vector<StoredCookie> stored;

  platform::HINTERNET InternetOpenA(const char*, uint32_t, const char*, const char*,
                                    uint32_t) override {
    return nullptr;
  }
  platform::HINTERNET InternetConnectA(platform::HINTERNET, const char*, uint16_t, const char*,
                                       const char*, uint32_t, uint32_t, uintptr_t) override {
    return nullptr;
  }
  platform::HINTERNET HttpOpenRequestA(platform::HINTERNET, const char*, const char*, const char*,
                                       const char*, const char**, uint32_t, uintptr_t) override {
    return nullptr;
  }
  bool HttpSendRequestA(platform::HINTERNET, const char*, uint32_t, const void*,
                        uint32_t) override {
    return false;
  }
  bool InternetReadFile(platform::HINTERNET, void*, uint32_t, uint32_t*) override { return false; }
  bool HttpQueryInfoA(platform::HINTERNET, uint32_t, void*, uint32_t*, uint32_t*) override {
    return false;
  }
  bool InternetCloseHandle(platform::HINTERNET) override { return false; }
  bool InternetSetCookieA(const char* url, const char* name, const char* data) override {
    stored.push_back({url, name, data});
    return true;
  }
};

CookieRecorder recorder;

// A cookie's part of the harvested text: up to its first ";" (character-wise), then ";".
std::string Piece(const Text& whole) {
  const int32_t semicolon = FindText(whole, ";", kOmitted, false);
  return (semicolon == -1 ? whole.str() : TextLeft(whole, semicolon - 1).str()) + ";";
}

}  // namespace

namespace quorvel::platform {
HttpInterface& Http() { return recorder; }
}  // namespace quorvel::platform

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t bar = input.find('|');
  if (bar == std::string_view::npos) return 0;
  const Text host(input.substr(0, bar));
  const Text headers(input.substr(bar + 1));
  recorder.stored.clear();

  const Text harvested = HarvestCookies(headers, host);

  if (FindText(headers, "set-cookie:", kOmitted, true) == -1) FUZZ_CHECK(harvested.empty());

  // The result is, cookie by cookie, the stored cookie's text up to its first ";", plus ";".
  // That text is name=data; with an empty name it may also be the data alone.
  std::string_view rest = harvested.view();
  for (const StoredCookie& cookie : recorder.stored) {
    FUZZ_CHECK(cookie.url == "http://" + host.str());
    FUZZ_CHECK(FindText(Text(cookie.name), "=", kOmitted, false) == -1);
    std::vector<std::string> wholes = {cookie.name + "=" + cookie.data};
    if (cookie.name.empty()) wholes.push_back(cookie.data);
    bool matched = false;
    for (const std::string& whole : wholes) {
      const std::string piece = Piece(Text(whole));
      if (rest.starts_with(piece)) {
        rest.remove_prefix(piece.size());
        matched = true;
        break;
      }
    }
    FUZZ_CHECK(matched);
  }
  FUZZ_CHECK(rest.empty());
  return 0;
}
