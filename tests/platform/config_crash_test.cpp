// config.ini survives a writer killed between its temporary file and the rename, and a write
// on a full disk: the old file stays intact and readable, and the next write works.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/profile.h"
#include "support/test_support.h"

namespace quorvel::platform {
namespace {

namespace fs = std::filesystem;
using quorvel::testing::ReadFileBytes;
using quorvel::testing::TempDir;
using quorvel::testing::WriteFileBytes;

std::string Get(const std::string& file, const char* key) {
  char buffer[256];
  const uint32_t n =
      GetPrivateProfileStringA("userinfo", key, "", buffer, sizeof buffer, file.c_str());
  return std::string(buffer, n);
}

// The names in the directory other than config.ini, sorted.
std::vector<std::string> OtherEntries(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().filename() != "config.ini") names.push_back(entry.path().filename());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void KillSelf() { raise(SIGKILL); }

TEST(ConfigCrashTest, WriterKilledBeforeTheRenameLeavesTheOldFileIntact) {
  TempDir dir;
  const std::string file = dir.File("config.ini");
  ASSERT_TRUE(WritePrivateProfileStringA("userinfo", "username", "demo", file.c_str()));
  for (int round = 1; round <= 3; ++round) {
    SCOPED_TRACE(round);
    const std::string before = ReadFileBytes(file);
    EXPECT_EXIT(
        {
          SetBeforeRenameHookForTesting(&KillSelf);
          WritePrivateProfileStringA("userinfo", "username", "never-renamed", file.c_str());
        },
        ::testing::KilledBySignal(SIGKILL), "");
    EXPECT_EQ(ReadFileBytes(file), before);
    EXPECT_EQ(Get(file, "username"), round == 1 ? "demo" : "user" + std::to_string(round - 1));
    // The killed writer's temporary file stays while it is fresh (it could belong to a writer
    // that is still running); the next write works beside it.
    EXPECT_EQ(OtherEntries(dir.path()).size(), static_cast<size_t>(round));
    const std::string name = "user" + std::to_string(round);
    ASSERT_TRUE(WritePrivateProfileStringA("userinfo", "username", name.c_str(), file.c_str()));
    EXPECT_EQ(Get(file, "username"), name);
  }
  // Once they are stale, the next write removes them.
  for (const std::string& name : OtherEntries(dir.path())) {
    const timespec old_times[2] = {{time(nullptr) - 120, 0}, {time(nullptr) - 120, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, dir.File(name).c_str(), old_times, 0), 0);
  }
  ASSERT_TRUE(WritePrivateProfileStringA("userinfo", "password", "secret", file.c_str()));
  EXPECT_TRUE(OtherEntries(dir.path()).empty());
  EXPECT_EQ(Get(file, "username"), "user3");
}

TEST(ConfigCrashTest, OnlyStaleTemporaryFilesOfTheSameTargetAreRemoved) {
  TempDir dir;
  const std::string file = dir.File("config.ini");
  WriteFileBytes(file, "[userinfo]\r\nusername=demo\r\n");
  const std::vector<std::string> kept = {
      "config.ini.backup",      // a user's copy
      "config.ini.tmp-abc",     // not the temporary pattern
      "config.ini.tmp-abc-ef",  // nor this
      "other.ini.tmp-abcdef",   // another target's
      "config.ini.tmp-Fresh1",  // fresh: a writer may still hold it
      "config.ini.tmp-Link01",  // a symbolic link, not a file of ours
      "config.ini.tmp-Dir001",  // a directory
  };
  for (const std::string& name : kept) {
    if (name.ends_with("Link01")) {
      ASSERT_EQ(symlink("config.ini", dir.File(name).c_str()), 0);
    } else if (name.ends_with("Dir001")) {
      ASSERT_TRUE(fs::create_directory(dir.File(name)));
    } else {
      WriteFileBytes(dir.File(name), "x");
    }
  }
  WriteFileBytes(dir.File("config.ini.tmp-Stale1"), "left by a killed writer");
  const timespec old_times[2] = {{time(nullptr) - 120, 0}, {time(nullptr) - 120, 0}};
  for (const char* name : {"config.ini.tmp-Stale1", "config.ini.tmp-abc", "config.ini.tmp-Link01",
                           "config.ini.tmp-Dir001", "other.ini.tmp-abcdef"}) {
    ASSERT_EQ(utimensat(AT_FDCWD, dir.File(name).c_str(), old_times, AT_SYMLINK_NOFOLLOW), 0)
        << name;
  }

  ASSERT_TRUE(WritePrivateProfileStringA("userinfo", "password", "secret", file.c_str()));
  std::vector<std::string> expected = kept;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(OtherEntries(dir.path()), expected);
  EXPECT_EQ(Get(file, "password"), "secret");
}

// A 64 KiB tmpfs mounted for the test and unmounted when it goes.
class SmallDisk {
 public:
  explicit SmallDisk(const std::string& path) : path_(path) {
    fs::create_directory(path_);
    if (mount("quorvel-test", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") != 0) {
      error_ = std::strerror(errno);
    }
  }
  ~SmallDisk() {
    if (error_.empty()) umount2(path_.c_str(), MNT_DETACH);
  }
  const std::string& error() const { return error_; }

 private:
  std::string path_;
  std::string error_;
};

// Fills the file system at `path` with one file until no byte more fits.
void FillUp(const std::string& path) {
  FILE* filler = fopen(path.c_str(), "wb");
  ASSERT_NE(filler, nullptr);
  setvbuf(filler, nullptr, _IONBF, 0);
  const std::string block(4096, 'f');
  while (fwrite(block.data(), 1, block.size(), filler) == block.size()) {
  }
  while (fwrite("f", 1, 1, filler) == 1) {
  }
  fclose(filler);
}

TEST(ConfigCrashTest, WriteOnAFullDiskFailsAndKeepsTheOldFile) {
  TempDir dir;
  SmallDisk disk(dir.File("disk"));
  if (!disk.error().empty()) GTEST_SKIP() << "cannot mount a tmpfs here: " << disk.error();
  const std::string file = dir.File("disk/config.ini");
  ASSERT_TRUE(WritePrivateProfileStringA("userinfo", "username", "demo", file.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("userinfo", "password", "demo123", file.c_str()));
  const std::string before = ReadFileBytes(file);
  FillUp(dir.File("disk/filler"));

  for (const size_t size : {1u, 100u, 5000u, 100000u}) {
    SCOPED_TRACE(size);
    const std::string value(size, 'v');
    EXPECT_FALSE(WritePrivateProfileStringA("userinfo", "password", value.c_str(), file.c_str()));
    EXPECT_EQ(ReadFileBytes(file), before);
    EXPECT_EQ(Get(file, "password"), "demo123");
    EXPECT_EQ(OtherEntries(dir.path() / "disk"), std::vector<std::string>{"filler"});
  }
  ASSERT_EQ(unlink(dir.File("disk/filler").c_str()), 0);
  EXPECT_TRUE(WritePrivateProfileStringA("userinfo", "password", "after", file.c_str()));
  EXPECT_EQ(Get(file, "password"), "after");
}

}  // namespace
}  // namespace quorvel::platform
