#include "platform/profile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <string>

#include "platform/files.h"
#include "support/test_support.h"

namespace quorvel::platform {
namespace {

using quorvel::testing::ReadFileBytes;
using quorvel::testing::TempDir;
using quorvel::testing::WriteFileBytes;

std::string Get(const std::string& file, const char* section, const char* key,
                const char* default_value = nullptr, uint32_t size = 256) {
  std::string buffer(size, 'X');
  const uint32_t n =
      GetPrivateProfileStringA(section, key, default_value, buffer.data(), size, file.c_str());
  EXPECT_EQ(buffer[n], '\0');
  return buffer.substr(0, n);
}

// A file in the layout the Windows functions write and people edit.
constexpr const char* kWindowsFile =
    "; saved by hand\r\n"
    "top=before any section\r\n"
    "[Other]\r\n"
    "username=other\r\n"
    "\r\n"
    "  [ UserInfo ]  trailing words\r\n"
    "  UserName  =  \t 张三 \t\r\n"
    "; password=commented\r\n"
    "password=\"a=b;c\"\r\n"
    "quoted=' x '\r\n"
    "half=\"x\r\n"
    "username=second wins not\r\n"
    "[userinfo]\r\n"
    "extra=in a duplicate section\r\n";

TEST(ProfileReadTest, WindowsLayout) {
  TempDir dir;
  const std::string file = dir.File("config.ini");
  WriteFileBytes(file, kWindowsFile);
  EXPECT_EQ(Get(file, "userinfo", "username"), "张三");
  EXPECT_EQ(Get(file, " USERINFO ", "USERNAME"), "张三");
  EXPECT_EQ(Get(file, "userinfo", "password"), "a=b;c");
  EXPECT_EQ(Get(file, "userinfo", "quoted"), " x ");
  EXPECT_EQ(Get(file, "userinfo", "half"), "\"x");
  EXPECT_EQ(Get(file, "userinfo", "extra"), "") << "the first section wins";
  EXPECT_EQ(Get(file, "other", "username"), "other");
  EXPECT_EQ(Get(file, "userinfo", "top"), "");
  EXPECT_EQ(Get(file, "userinfo", "missing", "dflt  "), "dflt");
  EXPECT_EQ(Get(file, "nosection", "username", "d"), "d");
  EXPECT_EQ(Get(dir.File("absent.ini"), "userinfo", "username"), "");
}

TEST(ProfileReadTest, LineEndsAndCutting) {
  TempDir dir;
  const std::string file = dir.File("x.ini");
  WriteFileBytes(file, "[s]\rk=cr only\r");
  EXPECT_EQ(Get(file, "s", "k"), "cr only");
  WriteFileBytes(file, "[s]\nk=lf only");
  EXPECT_EQ(Get(file, "s", "k"), "lf only");
  WriteFileBytes(file, "[s]\nk=" + std::string(20000, 'v') + "\n");
  EXPECT_EQ(Get(file, "s", "k", nullptr, 10240), std::string(10239, 'v'));
}

struct WriteCase {
  const char* name;
  const char* before;  // null: no file
  const char* section;
  const char* key;
  const char* value;
  const char* after;
};

TEST(ProfileWriteTest, Table) {
  const WriteCase cases[] = {
      {"new file", nullptr, "userinfo", "username", "demo", "[userinfo]\r\nusername=demo\r\n"},
      {"existing key keeps its spelling and the line end",
       "[userinfo]\r\n  UserName = old\r\nx=1\r\n", "userinfo", "username", "new",
       "[userinfo]\r\nUserName=new\r\nx=1\r\n"},
      {"new key after the section's last key", "[userinfo]\r\na=1\r\n\r\n[other]\r\nb=2\r\n",
       "userinfo", "password", "p=w",
       "[userinfo]\r\na=1\r\npassword=p=w\r\n\r\n[other]\r\nb=2\r\n"},
      {"new key in an empty section", "[userinfo]\n[other]\n", "userinfo", "k", "v",
       "[userinfo]\nk=v\r\n[other]\n"},
      {"new key after a last line without a line end", "[userinfo]\r\na=1", "userinfo", "k", "v",
       "[userinfo]\r\na=1\r\nk=v\r\n"},
      {"new section at the end", "; c\r\n[other]\r\nb=2", "userinfo", "k", "v",
       "; c\r\n[other]\r\nb=2\r\n[userinfo]\r\nk=v\r\n"},
      {"null value removes the key", "[s]\r\na=1\r\nb=2\r\n", "s", "a", nullptr, "[s]\r\nb=2\r\n"},
  };
  for (const WriteCase& c : cases) {
    TempDir dir;
    const std::string file = dir.File("config.ini");
    if (c.before) WriteFileBytes(file, c.before);
    EXPECT_TRUE(WritePrivateProfileStringA(c.section, c.key, c.value, file.c_str())) << c.name;
    EXPECT_EQ(ReadFileBytes(file), c.after) << c.name;
  }
}

TEST(ProfileWriteTest, WhatIsWrittenReadsBackUnchanged) {
  TempDir dir;
  const std::string file = dir.File("config.ini");
  for (const char* value : {"a&b=c+d%e", "用户 名", "x;y", "#引号"}) {
    ASSERT_TRUE(WritePrivateProfileStringA("userinfo", "password", value, file.c_str()));
    EXPECT_EQ(Get(file, "userinfo", "password"), value);
  }
}

TEST(ProfileWriteTest, NewFileIsPrivateAndExistingModeIsKept) {
  TempDir dir;
  const std::string file = dir.File("config.ini");
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "v", file.c_str()));
  struct stat info;
  ASSERT_EQ(stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  ASSERT_EQ(chmod(file.c_str(), 0640), 0);
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "w", file.c_str()));
  ASSERT_EQ(stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(ProfileWriteTest, FailedWriteLeavesTheOldFileIntact) {
  TempDir dir;
  const std::string file = dir.File("config.ini");
  WriteFileBytes(file, "[s]\r\nk=old\r\n");
  // A file size limit below the new content makes the write fail part-way, as a full disk does.
  struct rlimit old_limit;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old_limit;
  small.rlim_cur = 16;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written =
      WritePrivateProfileStringA("s", "k", "a value longer than the limit", file.c_str());
  setrlimit(RLIMIT_FSIZE, &old_limit);
  signal(SIGXFSZ, SIG_DFL);

  EXPECT_FALSE(written);
  EXPECT_EQ(ReadFileBytes(file), "[s]\r\nk=old\r\n");
  size_t entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().filename(), "config.ini") << "no temporary file is left behind";
    ++entries;
  }
  EXPECT_EQ(entries, 1u);
}

}  // namespace
}  // namespace quorvel::platform
