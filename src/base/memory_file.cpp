#include "base/memory_file.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "base/gbk_scan.h"

namespace quorvel {
namespace {

struct FileData {
  std::mutex mutex;
  std::string bytes;
  size_t position = 0;
  std::atomic<bool> closed{false};
};

// The file this thread looked up last. A loop over one file (ReadLine to the end) then skips
// the table's lock and lookup. It holds the file's data, so what Find returns stays valid for
// the operation even when another thread closes the file meanwhile; a closed file's data goes
// when this thread looks up another file, closes it itself, or ends.
struct LastFile {
  FileNumber number = 0;
  std::shared_ptr<FileData> data;
};
thread_local LastFile last_file;

// The table of open files. Numbers only grow, so a closed number never names a newer file.
class FileTable {
 public:
  FileNumber Open() {
    const FileNumber number = next_.fetch_add(1);
    std::lock_guard lock(mutex_);
    files_.emplace(number, std::make_shared<FileData>());
    return number;
  }
  void Close(FileNumber number) {
    if (last_file.number == number) last_file = {};
    std::lock_guard lock(mutex_);
    auto it = files_.find(number);
    if (it == files_.end()) return;
    it->second->closed.store(true, std::memory_order_release);
    files_.erase(it);
  }
  // The open file of that number, or null; valid until this thread's next Find or Close.
  FileData* Find(FileNumber number) {
    if (last_file.number == number && last_file.data &&
        !last_file.data->closed.load(std::memory_order_acquire)) {
      return last_file.data.get();
    }
    std::lock_guard lock(mutex_);
    auto it = files_.find(number);
    if (it == files_.end()) return nullptr;
    last_file = {number, it->second};
    return last_file.data.get();
  }

 private:
  std::atomic<FileNumber> next_{1};
  std::mutex mutex_;
  std::unordered_map<FileNumber, std::shared_ptr<FileData>> files_;
};

FileTable& Table() {
  static FileTable* table = new FileTable;  // lives to the very end: workers may outlive main
  return *table;
}

// Writes bytes at the position, overwriting and extending, and moves past them.
void WriteAt(FileData& file, std::string_view bytes) {
  const size_t end = file.position + bytes.size();
  if (end > file.bytes.size()) file.bytes.resize(end);
  std::memcpy(file.bytes.data() + file.position, bytes.data(), bytes.size());
  file.position = end;
}

void PutLength(char out[4], uint32_t length) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((length >> (8 * i)) & 0xFF);
}

uint32_t GetLength(const char* in) {
  uint32_t length = 0;
  for (int i = 3; i >= 0; --i) length = (length << 8) | static_cast<unsigned char>(in[i]);
  return length;
}

// The offset of the first line feed, zero or 0x1A byte at or after `from`; the size if none.
size_t FindLineEnd(std::string_view bytes, size_t from) {
  size_t end = bytes.size();
  for (const char stop : {'\n', '\0', '\x1A'}) {
    const void* hit = std::memchr(bytes.data() + from, stop, end - from);
    if (hit) end = static_cast<size_t>(static_cast<const char*>(hit) - bytes.data());
  }
  return end;
}

// Runs `operation` on the open file under its lock; `closed` when the number is not open.
template <typename Result, typename Operation>
Result WithOpenFile(FileNumber number, Result closed, Operation operation) {
  FileData* file = Table().Find(number);
  if (file == nullptr) return closed;
  std::lock_guard lock(file->mutex);
  return operation(*file);
}

bool WriteRaw(FileNumber number, std::string_view bytes) {
  return WithOpenFile(number, false, [bytes](FileData& data) {
    WriteAt(data, bytes);
    return true;
  });
}

}  // namespace

FileNumber OpenMemoryFile() { return Table().Open(); }

void CloseFile(FileNumber file) { Table().Close(file); }

bool SeekToStart(FileNumber file) {
  return WithOpenFile(file, false, [](FileData& data) {
    data.position = 0;
    return true;
  });
}

bool WriteArray(FileNumber file, const TextArray& array) {
  return WithOpenFile(file, false, [&array](FileData& data) {
    size_t total = 0;
    for (const ByteString& element : array) total += 4 + element.view().size();
    data.bytes.reserve(data.position + total);
    for (const ByteString& element : array) {
      char length[4];
      PutLength(length, static_cast<uint32_t>(element.view().size()));
      WriteAt(data, std::string_view(length, sizeof length));
      WriteAt(data, element.view());
    }
    return true;
  });
}

bool ReadArray(FileNumber file, TextArray& array) {
  const size_t count = array.size();
  array.assign(count, ByteString());
  return WithOpenFile(file, false, [&array, count](FileData& data) {
    const std::string& bytes = data.bytes;
    size_t at = data.position;
    TextArray read;
    read.reserve(count);
    for (size_t i = 0; i < count; ++i) {
      if (at > bytes.size() || bytes.size() - at < 4) return false;
      const uint32_t length = GetLength(bytes.data() + at);
      at += 4;
      if (bytes.size() - at < length) return false;
      read.emplace_back(bytes.data() + at, length);
      at += length;
    }
    array = std::move(read);
    data.position = at;
    return true;
  });
}

bool WriteText(FileNumber file, const Text& text) { return WriteRaw(file, text.view()); }

bool WriteBytes(FileNumber file, const ByteString& bytes) { return WriteRaw(file, bytes.view()); }

Text ReadLine(FileNumber file) {
  return WithOpenFile(file, Text(), [](FileData& data) {
    const std::string_view bytes = data.bytes;
    size_t at = data.position;
    const size_t begin = at;
    size_t end = bytes.size();  // where the line's bytes end
    // A line ends at a zero or 0x1A byte, or at a line feed that does not follow a lead byte as
    // its second byte. Raw searches find the candidates; a line feed's place is then checked
    // against the last known character boundary (a lead byte before a zero or 0x1A stands alone,
    // but those end the line anyway).
    size_t boundary = begin;
    while (at < bytes.size()) {
      const size_t stop = FindLineEnd(bytes, at);
      if (stop == bytes.size()) {
        at = stop;
        break;
      }
      if (bytes[stop] != '\n' || gbk::IsBoundary(bytes, stop, boundary)) {
        end = stop;
        at = stop + 1;
        break;
      }
      at = boundary = stop + 1;  // the line feed was the second byte of a pair
    }
    data.position = at;
    std::string_view line = bytes.substr(begin, end - begin);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return Text(line);
  });
}

bool AtEnd(FileNumber file) {
  return WithOpenFile(file, true,
                      [](FileData& data) { return data.position >= data.bytes.size(); });
}

}  // namespace quorvel
