#include "app/skin_setup.h"

#include <gtest/gtest.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/embedded_skins.h"
#include "platform/files.h"
#include "platform/library.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

// One call into the engine, as the engine saw it during the call.
struct AttachCall {
  bool null_address = false;
  std::string bytes;
  int32_t count = -1;
  bool text_is_empty_string = false;  // a pointer to a zero byte, not null
  int32_t a = -1, b = -1, c = -1;
};

std::vector<AttachCall> g_calls;

int32_t RecordAttach(const unsigned char* bytes, int32_t count, const char* text, int32_t a,
                     int32_t b, int32_t c) {
  AttachCall call;
  call.null_address = bytes == nullptr;
  if (bytes != nullptr && count > 0) {
    call.bytes.assign(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count));
  }
  call.count = count;
  call.text_is_empty_string = text != nullptr && text[0] == '\0';
  call.a = a, call.b = b, call.c = c;
  g_calls.push_back(call);
  return 7;  // an answer the caller must ignore
}

const platform::SkinEngineTable kRecordingEngine{&RecordAttach};

std::string SkinFileOnDisk(int number) {
  char name[32];
  std::snprintf(name, sizeof name, "/skin/skins/skin%02d.she", number);
  return ReadFileBytes(std::string(QUORVEL_SOURCE_DIR) + name);
}

// The program lives in a fresh directory of its own; the engine records its calls.
class SkinSetupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramPathForTesting(dir_.File("quorvel-checkin"));
    platform::SetSkinEngineForTesting(&kRecordingEngine);
    g_calls.clear();
  }
  void TearDown() override {
    platform::SetSkinEngineForTesting(nullptr);
    platform::SetProgramPathForTesting("");
  }
  std::string EnginePath() const { return dir_.File("SkinH_EL.dll"); }

  TempDir dir_;
};

// --- Placing the engine ---

TEST_F(SkinSetupTest, FirstStartWritesTheHiddenEngineByteForByte) {
  DeploySkinEngine();
  const std::string written = ReadFileBytes(EnginePath());
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(written, SkinEngineLibrary().str());
  EXPECT_EQ(written.substr(0, 4),
            "\x7f"
            "ELF");

  uint32_t attributes = 0;
  if (!platform::GetFileAttributesA(EnginePath().c_str(), &attributes)) {
    char probe;
    if (getxattr(EnginePath().c_str(), "user.DOSATTRIB", &probe, 1) < 0 && errno == ENOTSUP) {
      GTEST_SKIP() << "this file system keeps no user attributes";
    }
    FAIL() << "the engine file was not marked hidden";
  }
  EXPECT_EQ(attributes, 2u) << "hidden, and no other attribute";
}

TEST_F(SkinSetupTest, AFileOfThatNameIsNeverReplaced) {
  WriteFileBytes(EnginePath(), "changed by the user");
  ApplySkin(6);
  EXPECT_EQ(ReadFileBytes(EnginePath()), "changed by the user");
  EXPECT_EQ(g_calls.size(), 1u) << "the skin is attached all the same";
}

TEST_F(SkinSetupTest, ADeletedEngineIsWrittenAgain) {
  DeploySkinEngine();
  std::filesystem::remove(EnginePath());
  DeploySkinEngine();
  EXPECT_EQ(ReadFileBytes(EnginePath()), SkinEngineLibrary().str());
}

TEST_F(SkinSetupTest, AnUnwritableDirectoryIsNotAnError) {
  platform::SetProgramPathForTesting(dir_.File("no-such-dir/quorvel-checkin"));
  ApplySkin(6);
  EXPECT_EQ(g_calls.size(), 1u) << "the engine is still called (and fails there)";
}

// --- Attaching a skin ---

TEST_F(SkinSetupTest, PassesTheBuiltInSkinOrNoSkin) {
  struct Case {
    int32_t number;
    bool has_skin;
  };
  for (const Case& c : {Case{6, true}, Case{1, true}, Case{33, true}, Case{0, false},
                        Case{34, false}, Case{-6, false}}) {
    SCOPED_TRACE(c.number);
    g_calls.clear();
    ApplySkin(c.number);
    ASSERT_EQ(g_calls.size(), 1u);
    const AttachCall& call = g_calls[0];
    if (c.has_skin) {
      const std::string expected = SkinFileOnDisk(c.number);
      ASSERT_FALSE(expected.empty());
      EXPECT_FALSE(call.null_address);
      EXPECT_EQ(call.count, static_cast<int32_t>(expected.size()));
      EXPECT_EQ(call.bytes, expected);
    } else {
      EXPECT_TRUE(call.null_address);
      EXPECT_EQ(call.count, 0);
    }
    EXPECT_TRUE(call.text_is_empty_string);
    EXPECT_EQ(call.a, 0);
    EXPECT_EQ(call.b, 0);
    EXPECT_EQ(call.c, 0);
  }
  EXPECT_EQ(ReadFileBytes(EnginePath()), SkinEngineLibrary().str()) << "placed before attaching";
}

// --- The bytes carried inside the program ---

TEST(EmbeddedSkinsTest, CarriesTheBuiltEngineAndEverySkinFile) {
  EXPECT_EQ(SkinEngineLibrary().str(),
            ReadFileBytes(std::string(QUORVEL_BINARY_DIR) + "/skin/SkinH_EL.dll"));
  for (int32_t number = 1; number <= kBuiltInSkinCount; ++number) {
    EXPECT_EQ(BuiltInSkin(number).str(), SkinFileOnDisk(number)) << number;
    EXPECT_EQ(BuiltInSkin(number).view().substr(0, 4), ".SHE") << number;
  }
  EXPECT_TRUE(BuiltInSkin(0).empty());
  EXPECT_TRUE(BuiltInSkin(kBuiltInSkinCount + 1).empty());
}

}  // namespace
}  // namespace quorvel
