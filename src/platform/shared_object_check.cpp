#include "platform/shared_object_check.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace quorvel::platform {
namespace {

#if defined(__x86_64__)
constexpr uint16_t kThisMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr uint16_t kThisMachine = EM_AARCH64;
#else
#error "IsLoadableSharedObject knows the ELF machine of x86-64 and AArch64 only"
#endif
static_assert(sizeof(void*) == 8, "the check reads 64-bit ELF files");
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the check reads little-endian ELF");

// An open file descriptor, closed when it goes.
class FileHandle {
 public:
  explicit FileHandle(const char* path) : fd_(open(path, O_RDONLY | O_CLOEXEC)) {}
  ~FileHandle() {
    if (fd_ >= 0) close(fd_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

// True when [offset, offset + count * entry_size) lies inside a file of `size` bytes.
bool RangeInside(uint64_t offset, uint64_t count, uint64_t entry_size, uint64_t size) {
  if (offset > size) return false;
  if (entry_size != 0 && count > (size - offset) / entry_size) return false;
  return count * entry_size <= size - offset;
}

bool ReadExactly(int fd, void* buffer, size_t count, uint64_t offset) {
  auto* out = static_cast<char*>(buffer);
  while (count > 0) {
    ssize_t n = pread(fd, out, count, static_cast<off_t>(offset));
    if (n <= 0) return false;
    out += n;
    count -= static_cast<size_t>(n);
    offset += static_cast<uint64_t>(n);
  }
  return true;
}

bool HeaderFits(const Elf64_Ehdr& h, uint64_t size) {
  if (std::memcmp(h.e_ident, ELFMAG, SELFMAG) != 0) return false;
  if (h.e_ident[EI_CLASS] != ELFCLASS64 || h.e_ident[EI_DATA] != ELFDATA2LSB ||
      h.e_ident[EI_VERSION] != EV_CURRENT) {
    return false;
  }
  if (h.e_type != ET_DYN || h.e_machine != kThisMachine || h.e_version != EV_CURRENT) {
    return false;
  }
  if (h.e_phentsize != sizeof(Elf64_Phdr) || h.e_phnum == 0 ||
      !RangeInside(h.e_phoff, h.e_phnum, h.e_phentsize, size)) {
    return false;
  }
  // Section headers are optional (e_shoff 0); when present, their table must be whole. With
  // more than 0xff00 sections e_shnum is 0 and the first entry holds the count: one entry is
  // the least there is.
  if (h.e_shoff == 0) return true;
  uint64_t sections = h.e_shnum == 0 ? 1 : h.e_shnum;
  return h.e_shentsize == sizeof(Elf64_Shdr) &&
         RangeInside(h.e_shoff, sections, h.e_shentsize, size);
}

bool SegmentsFit(int fd, const Elf64_Ehdr& h, uint64_t size) {
  std::vector<Elf64_Phdr> segments(h.e_phnum);
  if (!ReadExactly(fd, segments.data(), segments.size() * sizeof(Elf64_Phdr), h.e_phoff)) {
    return false;
  }
  bool has_load = false;
  for (const Elf64_Phdr& p : segments) {
    // Every segment's file bytes (PT_LOAD, PT_DYNAMIC, notes, ...) must be in the file.
    if (!RangeInside(p.p_offset, 1, p.p_filesz, size)) return false;
    has_load = has_load || p.p_type == PT_LOAD;
  }
  return has_load;
}

}  // namespace

bool IsLoadableSharedObject(const char* path) {
  FileHandle file(path);
  struct stat info {};
  if (file.fd() < 0 || fstat(file.fd(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  const auto size = static_cast<uint64_t>(info.st_size);
  Elf64_Ehdr header{};
  if (size < sizeof header || !ReadExactly(file.fd(), &header, sizeof header, 0)) return false;
  return HeaderFits(header, size) && SegmentsFit(file.fd(), header, size);
}

}  // namespace quorvel::platform
