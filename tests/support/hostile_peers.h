#pragma once

// Servers on 127.0.0.1 that misbehave in one way each, for tests that the web access call and
// the forum actions end with a defined result whatever the other side does.

#include <cstddef>
#include <memory>
#include <ostream>
#include <string>

#include "support/raw_tcp_server.h"

namespace quorvel::testing {

enum class Fault {
  kNeverAnswers,       // reads the request and says nothing
  kHeadersThenStall,   // sends the head of a 200 answer, then nothing
  kClosesMidBody,      // announces 1000 bytes, sends "partial", closes
  kGarbageStatusLine,  // answers with a line that is not HTTP at all
  kHugeHeaders,        // a 1 MB header block before a 2-byte body
  kHugeBody,           // a body of HugeBodySize() bytes
  kBrokenChunks,       // a good chunk "hello", then a chunk size that is not hex
  kRedirectLoop,       // every request is sent to /loop again
  kRefused,            // nothing listens on the port
  kUnresolvable,       // a host name under .invalid
  kPlainTextOnTls,     // an https:// address on a server that speaks plain text
  kTrickle,            // a whole answer at one byte per 100 ms, far beyond any test's limit
};

// The fault's name, usable as a test name.
std::string FaultName(Fault fault);
inline void PrintTo(Fault fault, std::ostream* out) { *out << FaultName(fault); }

// 100 MB. Under AddressSanitizer the transfer still takes about a second, so the size is the same
// in every build.
size_t HugeBodySize();

// One misbehaving peer. The server (when the fault has one) runs until the object goes.
class HostilePeer {
 public:
  explicit HostilePeer(Fault fault);
  // Starts the server; false when that failed.
  bool Start();
  // The address up to the port, without a trailing slash ("http://127.0.0.1:PORT"; https for
  // kPlainTextOnTls, an unused port for kRefused, a .invalid host for kUnresolvable).
  std::string BaseUrl() const;

 private:
  Fault fault_;
  int unused_port_ = 0;
  std::unique_ptr<RawTcpServer> server_;
};

// How many file descriptors the process has open (entries of /proc/self/fd).
int OpenDescriptorCount();

}  // namespace quorvel::testing
