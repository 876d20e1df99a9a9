#pragma once

// A measuring hook for bench/startup.sh, off unless asked for: with the environment variable
// QUORVEL_FIRST_PAINT_EXIT set, the first paint of a window prints
//   first-paint-ns=<CLOCK_REALTIME in ns> rss-kb=<VmRSS>
// on standard error and ends the process at once (exit status 0). Plain C and POSIX only, so
// the empty Qt window that serves as the benchmark's floor compiles the same file.

namespace quorvel::platform {

void ReportFirstPaintIfAsked();

}  // namespace quorvel::platform
