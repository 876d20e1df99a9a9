#include "platform/library.h"

#include <elf.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/files.h"
#include "platform/shared_object_check.h"
#include "support/test_support.h"

namespace quorvel::platform {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

const std::string kEngineFile = std::string(QUORVEL_BINARY_DIR) + "/skin/SkinH_EL.dll";
const std::string kProbeFile =
    std::string(QUORVEL_BINARY_DIR) + "/skin/libskin_probe_without_attach.so";

// What a file named SkinH_EL.dll may hold, and whether the loader may have it.
struct LibraryFile {
  const char* label;
  std::string bytes;
  bool loadable;
};

std::string RandomBytes(size_t n) {
  std::string bytes(n, '\0');
  uint32_t state = 12345;
  for (char& c : bytes) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 24);
  }
  return bytes;
}

std::string Patched(std::string bytes, size_t offset, uint16_t value) {
  bytes[offset] = static_cast<char>(value & 0xff);
  bytes[offset + 1] = static_cast<char>(value >> 8);
  return bytes;
}

std::vector<LibraryFile> LibraryFiles() {
  const std::string engine = ReadFileBytes(kEngineFile);
  return {
      {"engine", engine, true},
      {"library without the function", ReadFileBytes(kProbeFile), true},
      {"empty", "", false},
      {"random bytes", RandomBytes(64 * 1024), false},
      {"text", "not a library\n", false},
      {"engine cut to 1 KiB", engine.substr(0, 1024), false},
      {"engine cut to half", engine.substr(0, engine.size() / 2), false},
      {"engine without its last byte", engine.substr(0, engine.size() - 1), false},
      {"engine header only", engine.substr(0, sizeof(Elf64_Ehdr)), false},
      {"another machine", Patched(engine, offsetof(Elf64_Ehdr, e_machine), EM_AARCH64 + 1), false},
      {"an executable", Patched(engine, offsetof(Elf64_Ehdr, e_type), ET_EXEC), false},
  };
}

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(ReadFileBytes(kEngineFile).empty()) << kEngineFile;
    ASSERT_FALSE(ReadFileBytes(kProbeFile).empty()) << kProbeFile;
  }
  std::string Place(const std::string& bytes) {
    const std::string path = dir_.File("SkinH_EL.dll");
    WriteFileBytes(path, bytes);
    return path;
  }
  TempDir dir_;
};

// --- The check before the loader ---

TEST_F(LibraryTest, OnlyWholeSharedObjectsOfThisMachinePassTheCheck) {
  for (const LibraryFile& file : LibraryFiles()) {
    EXPECT_EQ(IsLoadableSharedObject(Place(file.bytes).c_str()), file.loadable) << file.label;
  }
  EXPECT_FALSE(IsLoadableSharedObject(dir_.File("missing").c_str()));
  EXPECT_FALSE(IsLoadableSharedObject(dir_.path().c_str())) << "a directory";
}

// --- Binding ---

TEST_F(LibraryTest, BindsAFunctionThatTheLibraryOffers) {
  auto attach = reinterpret_cast<SkinAttachResFunction>(
      BindLibraryFunction(Place(ReadFileBytes(kEngineFile)).c_str(), kSkinAttachResName));
  ASSERT_NE(attach, nullptr);
  EXPECT_EQ(attach(nullptr, 0, "", 0, 0, 0), 0) << "no skin: nothing to do";
  const std::string bad = "not a skin";
  EXPECT_NE(attach(reinterpret_cast<const unsigned char*>(bad.data()),
                   static_cast<int32_t>(bad.size()), "", 0, 0, 0),
            0);

  const std::string probe = dir_.File("probe.so");
  WriteFileBytes(probe, ReadFileBytes(kProbeFile));
  EXPECT_EQ(BindLibraryFunction(probe.c_str(), kSkinAttachResName), nullptr);
  auto answer = reinterpret_cast<int (*)()>(BindLibraryFunction(probe.c_str(), "SkinProbeAnswer"));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(), 42);
}

// Every file that cannot give the function ends the process with the message and status 255;
// none crashes the loader (a cut-short file made glibc's loader fault with SIGBUS).
TEST_F(LibraryTest, AnUnboundFunctionEndsTheProcessWithTheMessage) {
  for (const LibraryFile& file : LibraryFiles()) {
    if (file.label == std::string("engine")) continue;
    SCOPED_TRACE(file.label);
    const std::string path = Place(file.bytes);
    EXPECT_EXIT(BindLibraryFunctionOrExit(path.c_str(), kSkinEngineLibraryName, kSkinAttachResName),
                ::testing::ExitedWithCode(255), "SkinH_EL\\.dll.*SkinH_AttachRes");
  }
  EXPECT_EXIT(BindLibraryFunctionOrExit(dir_.File("missing.dll").c_str(), kSkinEngineLibraryName,
                                        kSkinAttachResName),
              ::testing::ExitedWithCode(255), "SkinH_EL\\.dll.*SkinH_AttachRes");
}

void ReportForTest(const char* library, const char* function) {
  std::fprintf(stderr, "reported: %s / %s\n", library, function);
}

TEST_F(LibraryTest, TheApplicationsReporterReplacesTheDefault) {
  EXPECT_EXIT(
      {
        SetLibraryFailureReporter(&ReportForTest);
        BindLibraryFunctionOrExit(dir_.File("missing.dll").c_str(), "a.dll", "F");
      },
      ::testing::ExitedWithCode(255), "reported: a\\.dll / F");
}

TEST(LibraryFailureTextTest, NamesTheLibraryAndTheFunction) {
  EXPECT_EQ(LibraryFailureText("SkinH_EL.dll", "SkinH_AttachRes"),
            testing::Gbk(reinterpret_cast<const char*>(
                u8"无法载入 SkinH_EL.dll 中的函数 SkinH_AttachRes。")));
}

// --- The skin engine's entry, bound from the program's directory at the first call ---

TEST_F(LibraryTest, TheEngineIsBoundFromTheProgramsDirectory) {
  EXPECT_EXIT(
      {
        SetProgramPathForTesting(dir_.File("quorvel-checkin"));
        Place(ReadFileBytes(kEngineFile));
        int32_t answer = SkinH_AttachRes(nullptr, 0, "", 0, 0, 0);
        std::fprintf(stderr, "answer %d\n", answer);
        std::fflush(stderr);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "answer 0");
  EXPECT_EXIT(
      {
        SetProgramPathForTesting(dir_.File("empty/quorvel-checkin"));
        SkinH_AttachRes(nullptr, 0, "", 0, 0, 0);  // nothing was placed there
      },
      ::testing::ExitedWithCode(255), "SkinH_EL\\.dll.*SkinH_AttachRes");
}

}  // namespace
}  // namespace quorvel::platform
