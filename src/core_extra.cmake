# Carries the skin engine library and the 33 skins inside the program (skin/CMakeLists.txt
# builds the engine and names the files). app/embedded_skins.cpp pulls the files in with the
# assembler's .incbin, so it is rebuilt whenever one of them changes.
if(DEFINED QUORVEL_SKIN_ENGINE_FILE)
  set_source_files_properties(
    ${CMAKE_CURRENT_SOURCE_DIR}/app/embedded_skins.cpp PROPERTIES
    COMPILE_DEFINITIONS
      "QUORVEL_SKIN_ENGINE_FILE=\"${QUORVEL_SKIN_ENGINE_FILE}\";QUORVEL_SKIN_DIR=\"${QUORVEL_SKIN_DIR}\""
    OBJECT_DEPENDS "${QUORVEL_SKIN_ENGINE_FILE};${QUORVEL_SKIN_FILES}")
  add_dependencies(quorvel_core skin_engine_file)
endif()
