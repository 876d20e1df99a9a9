#include "support/hostile_peers.h"

#include <filesystem>

namespace quorvel::testing {
namespace {

constexpr int kTrickleBytes = 400;  // 40 s at one byte per 100 ms
const char kOkHead[] = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n";

void HeadersThenStall(RawConnection& peer) {
  if (peer.ReadRequest() && peer.Send(std::string(kOkHead) + "Content-Length: 10\r\n\r\n")) {
    peer.Hold();
  }
}

void HugeHeaders(RawConnection& peer) {
  if (!peer.ReadRequest()) return;
  std::string answer = kOkHead;
  const std::string filler(1000, 'f');
  for (int i = 0; answer.size() < (1u << 20); ++i) {
    answer += "X-Filler-" + std::to_string(i) + ": " + filler + "\r\n";
  }
  peer.Send(answer + "Content-Length: 2\r\n\r\nok");
}

void HugeBody(RawConnection& peer) {
  if (!peer.ReadRequest()) return;
  const size_t size = HugeBodySize();
  if (!peer.Send(std::string(kOkHead) + "Content-Length: " + std::to_string(size) + "\r\n\r\n")) {
    return;
  }
  const std::string block(1 << 16, 'a');
  for (size_t sent = 0; sent < size; sent += block.size()) {
    if (!peer.Send(std::string_view(block).substr(0, std::min(block.size(), size - sent)))) return;
  }
}

void Trickle(RawConnection& peer) {
  if (!peer.ReadRequest()) return;
  const std::string answer =
      std::string(kOkHead) + "Content-Length: 1000\r\n\r\n" + std::string(1000, 't');
  for (int i = 0; i < kTrickleBytes; ++i) {
    if (!peer.Send(answer.substr(static_cast<size_t>(i), 1)) || !peer.Pause(100)) return;
  }
}

// The script of each fault that has a server.
RawTcpServer::Script ScriptOf(Fault fault) {
  switch (fault) {
    case Fault::kNeverAnswers:
      return [](RawConnection& peer) { peer.Hold(); };
    case Fault::kHeadersThenStall:
      return HeadersThenStall;
    case Fault::kClosesMidBody:
      return [](RawConnection& peer) {
        if (peer.ReadRequest())
          peer.Send(std::string(kOkHead) + "Content-Length: 1000\r\n\r\npartial");
      };
    case Fault::kGarbageStatusLine:
      return [](RawConnection& peer) {
        if (peer.ReadRequest()) peer.Send("XYZZY 999 nonsense\r\nFoo: bar\r\n\r\nbody");
      };
    case Fault::kHugeHeaders:
      return HugeHeaders;
    case Fault::kHugeBody:
      return HugeBody;
    case Fault::kBrokenChunks:
      return [](RawConnection& peer) {
        if (!peer.ReadRequest()) return;
        peer.Send(std::string(kOkHead) +
                  "Transfer-Encoding: chunked\r\n\r\n5\r\nhello\r\nZZ\r\nnot a chunk\r\n");
        peer.Hold();
      };
    case Fault::kRedirectLoop:
      return [](RawConnection& peer) {
        if (peer.ReadRequest()) {
          peer.Send("HTTP/1.1 302 Found\r\nLocation: /loop\r\nContent-Length: 4\r\n\r\nloop");
        }
      };
    case Fault::kPlainTextOnTls:
      // Answers the client's first bytes (its TLS hello) with plain text, then closes.
      return [](RawConnection& peer) {
        if (peer.Pause(50)) peer.Send("HTTP/1.1 400 Bad Request\r\n\r\nthis is not TLS\r\n");
      };
    case Fault::kTrickle:
      return Trickle;
    case Fault::kRefused:
    case Fault::kUnresolvable:
      break;
  }
  return nullptr;
}

}  // namespace

std::string FaultName(Fault fault) {
  switch (fault) {
    case Fault::kNeverAnswers:
      return "NeverAnswers";
    case Fault::kHeadersThenStall:
      return "HeadersThenStall";
    case Fault::kClosesMidBody:
      return "ClosesMidBody";
    case Fault::kGarbageStatusLine:
      return "GarbageStatusLine";
    case Fault::kHugeHeaders:
      return "HugeHeaders";
    case Fault::kHugeBody:
      return "HugeBody";
    case Fault::kBrokenChunks:
      return "BrokenChunks";
    case Fault::kRedirectLoop:
      return "RedirectLoop";
    case Fault::kRefused:
      return "Refused";
    case Fault::kUnresolvable:
      return "Unresolvable";
    case Fault::kPlainTextOnTls:
      return "PlainTextOnTls";
    case Fault::kTrickle:
      return "Trickle";
  }
  return "Unknown";
}

size_t HugeBodySize() { return 100u << 20; }

HostilePeer::HostilePeer(Fault fault) : fault_(fault) {}

bool HostilePeer::Start() {
  if (fault_ == Fault::kRefused) {
    unused_port_ = UnusedPort();
    return unused_port_ != 0;
  }
  RawTcpServer::Script script = ScriptOf(fault_);
  if (!script) return true;
  server_ = RawTcpServer::WithScript(std::move(script));
  return server_->Start();
}

std::string HostilePeer::BaseUrl() const {
  switch (fault_) {
    case Fault::kRefused:
      return "http://127.0.0.1:" + std::to_string(unused_port_);
    case Fault::kUnresolvable:
      return "http://quorvel-hostile-test.invalid";
    case Fault::kPlainTextOnTls:
      return "https://127.0.0.1:" + std::to_string(server_->port());
    default:
      return "http://127.0.0.1:" + std::to_string(server_->port());
  }
}

int OpenDescriptorCount() {
  std::error_code error;
  int count = 0;
  for (auto it = std::filesystem::directory_iterator("/proc/self/fd", error);
       !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    ++count;
  }
  return count - 1;  // the directory iterator's own descriptor
}

}  // namespace quorvel::testing
