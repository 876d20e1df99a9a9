// The program run with --headless, as from a timer or cron, against the demo forum.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/child_process.h"
#include "support/http_test_server.h"
#include "support/run_program.h"
#include "support/test_support.h"

namespace quorvel::testing {
namespace {

class HeadlessProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The program keeps config.ini beside itself: give it a directory of its own.
    std::filesystem::copy_file(QUORVEL_BINARY_DIR "/src/quorvel-checkin", program_);
    ASSERT_TRUE(forum_.Start());
  }
  ProgramResult Run(std::vector<std::string> extra = {}) {
    std::vector<std::string> argv{program_, "--headless", "--forum", forum_.Url("")};
    argv.insert(argv.end(), extra.begin(), extra.end());
    return RunProgram(argv);
  }
  void SaveCredentials(const std::string& user, const std::string& password) {
    WriteFileBytes(dir_.File("config.ini"),
                   "[userinfo]\r\nusername=" + user + "\r\npassword=" + password + "\r\n");
  }

  TempDir dir_;
  std::string program_ = dir_.File("quorvel-checkin");
  DemoForum forum_{dir_.File("forum.log")};
};

TEST_F(HeadlessProgramTest, ChecksInThenFindsItDoneTheSameDay) {
  SaveCredentials("demo", "demo123");
  ProgramResult first = Run();
  EXPECT_EQ(first.exit_status, 0) << first.out << first.err;
  EXPECT_NE(first.out.find(U8(u8"提示信息: 打卡成功")), std::string::npos) << first.out;

  ProgramResult again = Run();
  EXPECT_EQ(again.exit_status, 0) << again.out << again.err;
  EXPECT_NE(again.out.find(U8(u8"提示信息: 您已经打卡，明天再来吧。")), std::string::npos)
      << again.out;
}

TEST_F(HeadlessProgramTest, ExitStatusTellsWhatWentWrong) {
  SaveCredentials("demo", "wrong");
  EXPECT_EQ(Run().exit_status, 1) << "login failed";

  std::filesystem::remove(dir_.File("config.ini"));
  EXPECT_EQ(Run().exit_status, 4) << "no saved credentials";

  const ProgramResult usage = RunProgram({program_, "--forum", "http://h/"});
  EXPECT_EQ(usage.exit_status, 2);
  EXPECT_NE(usage.err.find("trailing slash"), std::string::npos) << usage.err;

  // A login that succeeds and a punch answered without either phrase.
  SaveCredentials("demo", "demo123");
  HttpTestServer broken;
  broken.server().Post("/login.php", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("您已经顺利登录", "text/html");
  });
  ASSERT_TRUE(broken.Start());
  const ProgramResult failed = RunProgram({program_, "--headless", "--forum", broken.Url("")});
  EXPECT_EQ(failed.exit_status, 3) << failed.out << failed.err;
  EXPECT_NE(failed.out.find(U8(u8"提示信息: 打卡失败")), std::string::npos) << failed.out;
}

}  // namespace
}  // namespace quorvel::testing
