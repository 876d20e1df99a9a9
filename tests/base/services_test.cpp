#include "base/services.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "base/text_ops.h"
#include "platform/files.h"
#include "platform/tick.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

// Gives the program a directory of its own for the test.
class ServicesTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetProgramPathForTesting(dir_.File("quorvel-checkin")); }
  void TearDown() override { platform::SetProgramPathForTesting(""); }
  Text Path(const char* name) { return ConcatText(RunDirectory(), kPathSeparator, name); }
  TempDir dir_;
};

TEST_F(ServicesTest, RunDirectoryIsTheProgramsDirectoryWithoutSeparator) {
  EXPECT_EQ(RunDirectory(), Text(dir_.path().string()));
  platform::SetProgramPathForTesting("");
  EXPECT_FALSE(RunDirectory().empty());
  EXPECT_NE(RunDirectory().view().back(), '/');
}

TEST_F(ServicesTest, FilesAreWrittenWholeAndFound) {
  const Text path = Path("out.bin");
  EXPECT_FALSE(FileExists(path));
  EXPECT_TRUE(WriteBytesToFile(
      path, {ByteString(std::string("a\0", 2)), ByteString(), ByteString(std::string("b"))}));
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(ReadFileBytes(path.str()), std::string("a\0b", 3));
  EXPECT_TRUE(WriteBytesToFile(path, {ByteString(std::string("c"))}));
  EXPECT_EQ(ReadFileBytes(path.str()), "c") << "an existing file is emptied first";
  EXPECT_TRUE(FileExists(RunDirectory())) << "a directory counts";
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(WriteBytesToFile("", {ByteString(std::string("x"))}));
  EXPECT_FALSE(WriteBytesToFile(Path("no/such/dir"), {ByteString(std::string("x"))}));
}

// What the file held at the moment the new bytes were about to take its place.
std::string g_watched_path;
std::string g_seen_before_rename;
void RecordTheFile() { g_seen_before_rename = ReadFileBytes(g_watched_path); }

TEST_F(ServicesTest, AFileIsNeverSeenHalfWritten) {
  // A second start of the program must find the old library, or the whole new one.
  const Text path = Path("SkinH_EL.dll");
  ASSERT_TRUE(WriteBytesToFile(path, {ByteString(std::string("old"))}));
  g_watched_path = path.str();
  platform::SetBeforeRenameHookForTesting(&RecordTheFile);
  const bool written = WriteBytesToFile(path, {ByteString(std::string(100000, 'n'))});
  platform::SetBeforeRenameHookForTesting(nullptr);
  EXPECT_TRUE(written);
  EXPECT_EQ(g_seen_before_rename, "old") << "the new bytes were all written elsewhere first";
  EXPECT_EQ(ReadFileBytes(path.str()), std::string(100000, 'n'));
}

TEST_F(ServicesTest, AttributesAreKeptAsSambaDoes) {
  const Text path = Path("SkinH_EL.dll");
  ASSERT_TRUE(WriteBytesToFile(path, {ByteString(std::string("MZ"))}));
  if (!SetAttributes(path, 2)) GTEST_SKIP() << "this file system keeps no user attributes";
  uint32_t attributes = 0;
  ASSERT_TRUE(platform::GetFileAttributesA(path.c_str(), &attributes));
  EXPECT_EQ(attributes, 2u);
  ASSERT_TRUE(SetAttributes(path, 0xFF));
  ASSERT_TRUE(platform::GetFileAttributesA(path.c_str(), &attributes));
  EXPECT_EQ(attributes, 0x27u) << "only read-only, hidden, system and archive are kept";
  EXPECT_FALSE(SetAttributes(Path("missing"), 2));
}

TEST_F(ServicesTest, ReadIniValue) {
  const Text ini = Path("config.ini");
  WriteFileBytes(ini.str(), "[userinfo]\r\nusername=demo\r\n");
  EXPECT_EQ(ReadIniValue(ini, "userinfo", "username"), Text("demo"));
  EXPECT_EQ(ReadIniValue(ConcatText(" \t", ini), " userinfo", "\x01username"), Text("demo"))
      << "leading bytes of 0x20 or less are skipped";
  EXPECT_EQ(ReadIniValue(ini, "userinfo", "password"), Text());
  EXPECT_EQ(ReadIniValue(ini, "userinfo", "password", "x "), Text("x"));
  EXPECT_EQ(ReadIniValue(ini, "  ", "username", "x"), Text()) << "an empty section reads nothing";
  EXPECT_EQ(ReadIniValue(Path("missing.ini"), "userinfo", "username"), Text());
  WriteFileBytes(ini.str(), "[userinfo]\nusername=" + std::string(12000, 'u') + "\n");
  EXPECT_EQ(ReadIniValue(ini, "userinfo", "username").size(), 10239);
}

uint32_t AlmostWrapped() { return 0xFFFFFFF0u; }

TEST(TickCountTest, CountsMillisecondsAndCanBeReplaced) {
  const uint32_t before = TickCount();
  EXPECT_LT(static_cast<uint32_t>(TickCount() - before), 1000u);
  platform::SetTickSourceForTesting(&AlmostWrapped);
  EXPECT_EQ(TickCount(), 0xFFFFFFF0u);
  platform::SetTickSourceForTesting(nullptr);
}

}  // namespace
}  // namespace quorvel
