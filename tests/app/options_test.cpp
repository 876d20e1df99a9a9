#include "app/options.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(ForumAddressTest, OnlyHttpAddressesWithoutTrailingSlash) {
  for (const char* good : {"http://127.0.0.1:8080", "http://bbs.quorvel.com", "http://h/forum"}) {
    EXPECT_TRUE(IsForumAddress(good)) << good;
  }
  for (const char* bad : {"", "http://", "http:///x", "http://h/", "https://h", "HTTP://h",
                          "ftp://h", "h:80", "http://h x", "http://h\n"}) {
    EXPECT_FALSE(IsForumAddress(bad)) << bad;
  }
}

TEST(ParseOptionsTest, Table) {
  Options options = ParseOptions({"--headless", "--forum", "http://127.0.0.1:9"});
  EXPECT_TRUE(options.error.empty());
  EXPECT_TRUE(options.headless);
  EXPECT_EQ(options.forum, "http://127.0.0.1:9");
  EXPECT_EQ(ParseOptions({"--forum=http://h"}).forum, "http://h");
  EXPECT_TRUE(ParseOptions({"--help"}).help);
  EXPECT_TRUE(ParseOptions({"--version"}).version);
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"--forum"}, {"--forum", "http://h/"}, {"--fast"}, {"http://h"}}) {
    EXPECT_FALSE(ParseOptions(bad).error.empty()) << bad[0];
  }
}

}  // namespace
}  // namespace quorvel
