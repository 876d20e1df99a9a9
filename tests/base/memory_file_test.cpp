#include "base/memory_file.h"

#include <gtest/gtest.h>

#include <thread>

namespace quorvel {
namespace {

// An open file, closed at the end of the test.
class MemoryFileTest : public ::testing::Test {
 protected:
  void TearDown() override { CloseFile(file_); }
  FileNumber file_ = OpenMemoryFile();
};

TextArray SevenSlots() {
  TextArray array(7);
  array[0] = ByteString(std::string("a\0b", 3));
  array[6] = ByteString(std::string("\0\0\0\0", 4));
  return array;
}

TEST_F(MemoryFileTest, ArrayRoundTripsWithZeroBytesAndEmptySlots) {
  ASSERT_TRUE(WriteArray(file_, SevenSlots()));
  ASSERT_TRUE(SeekToStart(file_));
  TextArray read(7);
  ASSERT_TRUE(ReadArray(file_, read));
  EXPECT_EQ(read, SevenSlots());
  EXPECT_TRUE(AtEnd(file_));
}

// Reads lines until the end, as the cookie harvest does.
std::vector<std::string> AllLines(FileNumber file) {
  std::vector<std::string> lines;
  while (!AtEnd(file) && lines.size() < 100) lines.push_back(ReadLine(file).str());
  return lines;
}

TEST_F(MemoryFileTest, ArrayFormIsLittleEndianLengthThenBytes) {
  // Seven slots of 3, 0, 0, 0, 0, 0 and 4 bytes take 35 bytes: the text written after them
  // is found right after a seven-slot read.
  ASSERT_TRUE(WriteArray(file_, SevenSlots()));
  ASSERT_TRUE(WriteText(file_, "Z"));
  ASSERT_TRUE(SeekToStart(file_));
  TextArray read(7);
  ASSERT_TRUE(ReadArray(file_, read));
  EXPECT_EQ(ReadLine(file_), Text("Z"));

  // Read as lines, the length 2 shows as 02 00 00 00: the low byte first.
  const FileNumber file = OpenMemoryFile();
  ASSERT_TRUE(WriteArray(file, TextArray{ByteString(std::string("ab"))}));
  ASSERT_TRUE(SeekToStart(file));
  EXPECT_EQ(AllLines(file), (std::vector<std::string>{"\x02", "", "", "ab"}));
  CloseFile(file);
}

TEST_F(MemoryFileTest, ShortDataFailsAndPutsThePositionBack) {
  ASSERT_TRUE(WriteArray(file_, SevenSlots()));
  ASSERT_TRUE(SeekToStart(file_));
  TextArray eight(8);  // asks for one element more than there is
  EXPECT_FALSE(ReadArray(file_, eight));
  TextArray seven(7);
  EXPECT_TRUE(ReadArray(file_, seven)) << "a failed read puts the position back";
  EXPECT_EQ(seven, SevenSlots());

  // The last slot claims more bytes than the file holds.
  const FileNumber file = OpenMemoryFile();
  TextArray head = SevenSlots();
  head.pop_back();
  ASSERT_TRUE(WriteArray(file, head));
  ASSERT_TRUE(WriteText(file, "\x04"));                    // a length of 4 ...
  ASSERT_TRUE(WriteArray(file, TextArray{ByteString()}));  // ... whose other bytes are 0 ...
  ASSERT_TRUE(SeekToStart(file));
  TextArray short_read(7);
  EXPECT_FALSE(ReadArray(file, short_read));  // ... but only one byte follows the length
  CloseFile(file);
}

TEST_F(MemoryFileTest, WritingOverwritesAndExtends) {
  ASSERT_TRUE(WriteText(file_, "hello world"));
  ASSERT_TRUE(SeekToStart(file_));
  ASSERT_TRUE(WriteText(file_, "J"));
  ASSERT_TRUE(SeekToStart(file_));
  EXPECT_EQ(ReadLine(file_), Text("Jello world"));
}

struct LinesCase {
  const char* data;
  std::vector<std::string> lines;
};

TEST(ReadLineTest, Table) {
  const LinesCase cases[] = {
      {"a\r\nb\n\nc", {"a", "b", "", "c"}},
      {"a\rb\n", {"a\rb"}},
      {"x\r\r\n", {"x\r"}},
      // a line feed that is the second byte of a character does not end the line
      {"\xB0\ny\nz", {"\xB0\ny", "z"}},
      // 0x1A ends a line and is skipped, so a reading loop always ends
      {"a\x1A"
       "b",
       {"a", "b"}},
      {"\xB0\x1A", {"\xB0"}},
      // a lone lead byte at the very end is one byte of the last line
      {"ab\xB0", {"ab\xB0"}},
  };
  for (const LinesCase& c : cases) {
    const FileNumber file = OpenMemoryFile();
    ASSERT_TRUE(WriteText(file, c.data));
    ASSERT_TRUE(SeekToStart(file));
    EXPECT_EQ(AllLines(file), c.lines) << c.data;
    CloseFile(file);
  }
}

TEST(ReadLineTest, ZeroBytesEndLinesAndAreSkipped) {
  const FileNumber file = OpenMemoryFile();
  ASSERT_TRUE(WriteBytes(file, ByteString(std::string("a\0b\0\0c\r\n", 8))));
  ASSERT_TRUE(SeekToStart(file));
  EXPECT_EQ(AllLines(file), (std::vector<std::string>{"a", "b", "", "c"}));
  CloseFile(file);
}

TEST(MemoryFileTableTest, ClosedNumbersStayInvalidAndAreNeverReused) {
  const FileNumber first = OpenMemoryFile();
  CloseFile(first);
  const FileNumber second = OpenMemoryFile();
  EXPECT_NE(first, second);
  EXPECT_FALSE(WriteText(first, "late"));
  EXPECT_FALSE(SeekToStart(first));
  TextArray array(1);
  EXPECT_FALSE(ReadArray(first, array));
  EXPECT_TRUE(AtEnd(first));
  EXPECT_EQ(ReadLine(first), Text());
  EXPECT_TRUE(AtEnd(second)) << "the newer file was not touched";
  CloseFile(second);
}

TEST(MemoryFileTableTest, FilesAreUsableFromSeveralThreads) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([] {
      for (int i = 0; i < 200; ++i) {
        const FileNumber file = OpenMemoryFile();
        TextArray array{ByteString(std::string("abc"))};
        EXPECT_TRUE(WriteArray(file, array));
        EXPECT_TRUE(SeekToStart(file));
        EXPECT_TRUE(ReadArray(file, array));
        CloseFile(file);
      }
    });
  }
  for (auto& thread : threads) thread.join();
}

}  // namespace
}  // namespace quorvel
