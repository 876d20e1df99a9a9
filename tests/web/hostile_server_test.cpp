// The web access call against servers that misbehave: each ends with a defined result within
// its time limit plus a small margin, and leaves no worker thread and no descriptor behind.

#include <gtest/gtest.h>

#include <chrono>

#include "platform/threads.h"
#include "platform/window/headless/headless_backend.h"
#include "support/hostile_peers.h"
#include "web/web_access.h"

namespace quorvel::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kMargin = 1500ms;  // thread start, cancel and clean-up, under the sanitizers too

enum class Outcome { kTimeOut, kEmpty, kPage, kHugePage };

struct HostileCase {
  Fault fault;
  Outcome outcome;
  const char* page;  // for kPage
  int limit_seconds;
};

const HostileCase kCases[] = {
    {Fault::kNeverAnswers, Outcome::kTimeOut, nullptr, 2},
    {Fault::kHeadersThenStall, Outcome::kTimeOut, nullptr, 2},
    // An answer that breaks off after its head counts, with the bytes received.
    {Fault::kClosesMidBody, Outcome::kPage, "partial", 2},
    {Fault::kGarbageStatusLine, Outcome::kEmpty, nullptr, 2},
    {Fault::kHugeHeaders, Outcome::kEmpty, nullptr, 2},
    // A correct transfer, however large: a limit it can meet.
    {Fault::kHugeBody, Outcome::kHugePage, nullptr, 10},
    {Fault::kBrokenChunks, Outcome::kPage, "hello", 2},
    {Fault::kRedirectLoop, Outcome::kEmpty, nullptr, 2},
    {Fault::kRefused, Outcome::kEmpty, nullptr, 2},
    {Fault::kUnresolvable, Outcome::kEmpty, nullptr, 2},
    {Fault::kPlainTextOnTls, Outcome::kEmpty, nullptr, 2},
    {Fault::kTrickle, Outcome::kTimeOut, nullptr, 2},
};

void PrintTo(const HostileCase& c, std::ostream* out) { *out << FaultName(c.fault); }

class HostileServerTest : public ::testing::TestWithParam<HostileCase> {
 protected:
  void SetUp() override { platform::UseHeadlessBackend(); }
  void TearDown() override { platform::InstallBackend(nullptr); }
};

void ExpectPage(const HostileCase& c, const std::string& page) {
  switch (c.outcome) {
    case Outcome::kTimeOut:
      EXPECT_EQ(page, kTimeOutMessage);
      break;
    case Outcome::kEmpty:
      EXPECT_EQ(page, "");
      break;
    case Outcome::kPage:
      EXPECT_EQ(page, c.page);
      break;
    case Outcome::kHugePage:
      EXPECT_EQ(page.size(), HugeBodySize());
      EXPECT_EQ(page.find_first_not_of('a'), std::string::npos);
      break;
  }
}

TEST_P(HostileServerTest, EndsWithADefinedResultInTimeAndLeavesNothingBehind) {
  const HostileCase& c = GetParam();
  const int descriptors = OpenDescriptorCount();
  {
    HostilePeer peer(c.fault);
    ASSERT_TRUE(peer.Start());
    Text url(peer.BaseUrl() + "/page");
    const auto start = Clock::now();
    const ByteString page = WebAccess(url, 0, {}, {}, {}, {}, c.limit_seconds);
    const auto took = Clock::now() - start;
    ExpectPage(c, page.str());
    EXPECT_LT(took, std::chrono::seconds(c.limit_seconds) + kMargin);
    if (c.outcome == Outcome::kTimeOut) {
      EXPECT_GE(took, std::chrono::seconds(c.limit_seconds));
    }
    EXPECT_TRUE(platform::WaitForAbandonedWorkers(3000)) << "a worker is still running";
  }
  EXPECT_EQ(OpenDescriptorCount(), descriptors);
}

INSTANTIATE_TEST_SUITE_P(Faults, HostileServerTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<HostileCase>& info) {
                           return FaultName(info.param.fault);
                         });

}  // namespace
}  // namespace quorvel::testing
