#include "app/embedded_pictures.h"

#include "app/embedded_file.h"

#ifndef QUORVEL_ASSETS_DIR
#error "QUORVEL_ASSETS_DIR must name the folder of the pictures (see src/embedded_files.cmake)"
#endif

QUORVEL_EMBED_FILE(quorvel_logo_icon, QUORVEL_ASSETS_DIR "/logo.ico")
QUORVEL_EMBED_FILE(quorvel_logo_picture, QUORVEL_ASSETS_DIR "/logo_picture.jpg")

namespace quorvel {

std::string LogoIcon() {
  return std::string(EmbeddedFile{quorvel_logo_icon_begin, quorvel_logo_icon_end}.view());
}

std::string LogoPicture() {
  return std::string(EmbeddedFile{quorvel_logo_picture_begin, quorvel_logo_picture_end}.view());
}

}  // namespace quorvel
