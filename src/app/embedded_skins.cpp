#include "app/embedded_skins.h"

// The assembler copies each file into the program's read-only data (.incbin) between a begin
// and an end label. The build passes the files' places (src/core_extra.cmake) and rebuilds this
// file whenever one of them changes.

#ifndef QUORVEL_SKIN_ENGINE_FILE
#error "QUORVEL_SKIN_ENGINE_FILE must name the built skin engine (see src/core_extra.cmake)"
#endif
#ifndef QUORVEL_SKIN_DIR
#error "QUORVEL_SKIN_DIR must name the folder of the skin files (see src/core_extra.cmake)"
#endif

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

#define QUORVEL_EMBED_SKIN(nn) \
  QUORVEL_EMBED_FILE(quorvel_skin##nn, QUORVEL_SKIN_DIR "/skin" #nn ".she")

QUORVEL_EMBED_FILE(quorvel_skin_engine, QUORVEL_SKIN_ENGINE_FILE)
QUORVEL_EMBED_SKIN(01)
QUORVEL_EMBED_SKIN(02)
QUORVEL_EMBED_SKIN(03)
QUORVEL_EMBED_SKIN(04)
QUORVEL_EMBED_SKIN(05)
QUORVEL_EMBED_SKIN(06)
QUORVEL_EMBED_SKIN(07)
QUORVEL_EMBED_SKIN(08)
QUORVEL_EMBED_SKIN(09)
QUORVEL_EMBED_SKIN(10)
QUORVEL_EMBED_SKIN(11)
QUORVEL_EMBED_SKIN(12)
QUORVEL_EMBED_SKIN(13)
QUORVEL_EMBED_SKIN(14)
QUORVEL_EMBED_SKIN(15)
QUORVEL_EMBED_SKIN(16)
QUORVEL_EMBED_SKIN(17)
QUORVEL_EMBED_SKIN(18)
QUORVEL_EMBED_SKIN(19)
QUORVEL_EMBED_SKIN(20)
QUORVEL_EMBED_SKIN(21)
QUORVEL_EMBED_SKIN(22)
QUORVEL_EMBED_SKIN(23)
QUORVEL_EMBED_SKIN(24)
QUORVEL_EMBED_SKIN(25)
QUORVEL_EMBED_SKIN(26)
QUORVEL_EMBED_SKIN(27)
QUORVEL_EMBED_SKIN(28)
QUORVEL_EMBED_SKIN(29)
QUORVEL_EMBED_SKIN(30)
QUORVEL_EMBED_SKIN(31)
QUORVEL_EMBED_SKIN(32)
QUORVEL_EMBED_SKIN(33)

namespace quorvel {
namespace {

struct EmbeddedFile {
  const char* begin;
  const char* end;
};

#define QUORVEL_SKIN_ENTRY(nn) \
  { quorvel_skin##nn##_begin, quorvel_skin##nn##_end }

constexpr EmbeddedFile kSkins[kBuiltInSkinCount] = {
    QUORVEL_SKIN_ENTRY(01), QUORVEL_SKIN_ENTRY(02), QUORVEL_SKIN_ENTRY(03), QUORVEL_SKIN_ENTRY(04),
    QUORVEL_SKIN_ENTRY(05), QUORVEL_SKIN_ENTRY(06), QUORVEL_SKIN_ENTRY(07), QUORVEL_SKIN_ENTRY(08),
    QUORVEL_SKIN_ENTRY(09), QUORVEL_SKIN_ENTRY(10), QUORVEL_SKIN_ENTRY(11), QUORVEL_SKIN_ENTRY(12),
    QUORVEL_SKIN_ENTRY(13), QUORVEL_SKIN_ENTRY(14), QUORVEL_SKIN_ENTRY(15), QUORVEL_SKIN_ENTRY(16),
    QUORVEL_SKIN_ENTRY(17), QUORVEL_SKIN_ENTRY(18), QUORVEL_SKIN_ENTRY(19), QUORVEL_SKIN_ENTRY(20),
    QUORVEL_SKIN_ENTRY(21), QUORVEL_SKIN_ENTRY(22), QUORVEL_SKIN_ENTRY(23), QUORVEL_SKIN_ENTRY(24),
    QUORVEL_SKIN_ENTRY(25), QUORVEL_SKIN_ENTRY(26), QUORVEL_SKIN_ENTRY(27), QUORVEL_SKIN_ENTRY(28),
    QUORVEL_SKIN_ENTRY(29), QUORVEL_SKIN_ENTRY(30), QUORVEL_SKIN_ENTRY(31), QUORVEL_SKIN_ENTRY(32),
    QUORVEL_SKIN_ENTRY(33),
};

ByteString Copy(const EmbeddedFile& file) {
  return ByteString(file.begin, static_cast<size_t>(file.end - file.begin));
}

}  // namespace

ByteString BuiltInSkin(int32_t number) {
  if (number < 1 || number > kBuiltInSkinCount) return {};
  return Copy(kSkins[number - 1]);
}

ByteString SkinEngineLibrary() {
  return Copy({quorvel_skin_engine_begin, quorvel_skin_engine_end});
}

}  // namespace quorvel
