// The request worker on the real HTTP stand-in against the demo forum: the login's record,
// then the punch carried by the cookie that the login's answer left in the store.

#include <gtest/gtest.h>

#include "base/byte_ops.h"
#include "base/memory_file.h"
#include "support/child_process.h"
#include "support/raw_tcp_server.h"
#include "support/test_support.h"
#include "web/request_worker.h"

namespace quorvel {
namespace {

TextArray RunWorker(const std::string& url, const std::string& body) {
  TextArray record = {ByteString(url),  ByteString(std::string("POST")),
                      ByteString(),     ByteString(),
                      ByteString(body), ByteString(),
                      ToBytes("真")};
  FileNumber file = OpenMemoryFile();
  WriteArray(file, record);
  RequestWorker(file);
  SeekToStart(file);
  TextArray out(7);
  EXPECT_TRUE(ReadArray(file, out));
  CloseFile(file);
  return out;
}

bool Holds(const ByteString& page, const char* phrase) {
  return page.view().find(phrase) != std::string_view::npos;
}

TEST(RequestWorkerExchange, LoginThenPunchAsTheLoggedInUser) {
  testing::TempDir dir;
  testing::DemoForum forum(dir.File("forum.log"), {"--account", "worker_user:secret"});
  ASSERT_TRUE(forum.Start());
  std::string login_body =
      "jumpurl=http%3A%2F%2F127.0.0.1%2Findex.php&step=2&pwuser=worker_user&question=0"
      "&customquest=&answer=&pwpwd=secret&head_login=&lgt=0";
  TextArray login = RunWorker(forum.Url("/login.php"), login_body);
  EXPECT_TRUE(Holds(login[0], "您已经顺利登录"));
  EXPECT_EQ(login[1].view().rfind("qv_sid=", 0), 0u);  // the harvested cookie text
  EXPECT_EQ(login[5].view().rfind("HTTP/1.1 200 OK\r\n", 0), 0u);

  std::string punch = forum.Url(
      "/jobcenter.php?action=punch&verify=7f3c08e6&nowtime=6173060361943&verify=7f3c08e6");
  EXPECT_TRUE(Holds(RunWorker(punch, "step=2")[0], "金币+5"));
  EXPECT_TRUE(Holds(RunWorker(punch, "step=2")[0], "你已经打卡"));

  // The punch went out as the worker shapes every request.
  std::string log = testing::ReadFileBytes(dir.File("forum.log"));
  EXPECT_NE(log.find("Referer: " + punch + "\n"), std::string::npos);
  EXPECT_NE(log.find("Accept-Language: zh-cn\n"), std::string::npos);
  EXPECT_NE(log.find("User-Agent: Mozilla/4.0 (compatible; MSIE 6.0;"), std::string::npos);
}

TEST(RequestWorkerExchange, ARefusedConnectionGivesAnEmptyBody) {
  TextArray out =
      RunWorker("http://127.0.0.1:" + std::to_string(testing::UnusedPort()) + "/", "a=1");
  EXPECT_EQ(out[0], ByteString());
  EXPECT_EQ(out[1], ByteString());
  EXPECT_EQ(out[5], ByteString());
  EXPECT_EQ(out[6], ToBytes("真"));
}

}  // namespace
}  // namespace quorvel
