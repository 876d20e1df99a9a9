# Files carried inside the program (app/embedded_file.h): the assembler's .incbin pulls them
# into the sources below, which are rebuilt whenever one of them changes.

# The main window's pictures.
set(quorvel_assets ${CMAKE_SOURCE_DIR}/assets)
set_source_files_properties(
  ${CMAKE_CURRENT_SOURCE_DIR}/app/embedded_pictures.cpp PROPERTIES
  COMPILE_DEFINITIONS "QUORVEL_ASSETS_DIR=\"${quorvel_assets}\""
  OBJECT_DEPENDS "${quorvel_assets}/logo.ico;${quorvel_assets}/logo_picture.jpg")

# The skin engine library and the 33 skins (skin/CMakeLists.txt builds the engine and names
# the files).
if(DEFINED QUORVEL_SKIN_ENGINE_FILE)
  set_source_files_properties(
    ${CMAKE_CURRENT_SOURCE_DIR}/app/embedded_skins.cpp PROPERTIES
    COMPILE_DEFINITIONS
      "QUORVEL_SKIN_ENGINE_FILE=\"${QUORVEL_SKIN_ENGINE_FILE}\";QUORVEL_SKIN_DIR=\"${QUORVEL_SKIN_DIR}\""
    OBJECT_DEPENDS "${QUORVEL_SKIN_ENGINE_FILE};${QUORVEL_SKIN_FILES}")
  add_dependencies(quorvel_core skin_engine_file)
endif()
