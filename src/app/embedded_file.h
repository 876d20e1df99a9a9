#pragma once

// Files carried inside the program: the assembler copies each one into the read-only data
// (.incbin) between a begin and an end label, and the program reads it in place. The build
// names the files (src/embedded_files.cmake) and rebuilds the embedding source when one changes.

#include <cstddef>
#include <string_view>

// clang-format off
#define QUORVEL_EMBED_FILE(symbol, path)                                        \
  asm(".pushsection .rodata\n"                                                  \
      ".balign 16\n"                                                            \
      ".globl " #symbol "_begin\n"                                              \
      ".hidden " #symbol "_begin\n"                                             \
      #symbol "_begin:\n"                                                       \
      ".incbin \"" path "\"\n"                                                  \
      ".globl " #symbol "_end\n"                                                \
      ".hidden " #symbol "_end\n"                                               \
      #symbol "_end:\n"                                                         \
      ".popsection\n");                                                         \
  extern "C" __attribute__((visibility("hidden"))) const char symbol##_begin[]; \
  extern "C" __attribute__((visibility("hidden"))) const char symbol##_end[];
// clang-format on

namespace quorvel {

// One embedded file: the bytes between its two labels.
struct EmbeddedFile {
  const char* begin;
  const char* end;

  std::string_view view() const { return {begin, static_cast<size_t>(end - begin)}; }
};

}  // namespace quorvel
