#include "platform/window/qt/first_paint_probe.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quorvel::platform {
namespace {

// The resident set size from /proc/self/status, in kB; 0 when it cannot be read.
long ResidentKb() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return 0;
  char line[256];
  long kb = 0;
  while (std::fgets(line, sizeof line, status)) {
    if (std::strncmp(line, "VmRSS:", 6) == 0) kb = std::strtol(line + 6, nullptr, 10);
  }
  std::fclose(status);
  return kb;
}

}  // namespace

void ReportFirstPaintIfAsked() {
  // The switch is read once: this runs on every paint.
  static const bool asked = std::getenv("QUORVEL_FIRST_PAINT_EXIT") != nullptr;
  if (!asked) return;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::fprintf(stderr, "first-paint-ns=%lld rss-kb=%ld\n",
               static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, ResidentKb());
  std::fflush(stderr);
  std::_Exit(0);
}

}  // namespace quorvel::platform
