// ReadArray and ReadLine on arbitrary file contents: no crash, and a ReadLine loop always ends.

#include <cstdint>
#include <cstdlib>

#include "base/memory_file.h"

using namespace quorvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const ByteString bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const FileNumber file = OpenMemoryFile();
  WriteBytes(file, bytes);

  SeekToStart(file);
  TextArray array(data[0] % 9);
  if (ReadArray(file, array)) {
    size_t total = 0;
    for (const ByteString& element : array) total += 4 + element.view().size();
    if (total > bytes.view().size()) std::abort();
  } else if (!array.empty() && AtEnd(file) && bytes.size() > 0) {
    std::abort();  // a failed read must put the position back at the start
  }

  SeekToStart(file);
  size_t lines = 0;
  while (!AtEnd(file)) {
    const Text line = ReadLine(file);
    if (line.view().find('\0') != std::string_view::npos) std::abort();
    if (++lines > bytes.view().size() + 1) std::abort();  // a loop that never ends
  }
  CloseFile(file);
  return 0;
}
