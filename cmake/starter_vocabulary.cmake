# The starter vocabulary of the tree's vocabulary/ folder, built into the soil
# library byte for byte (soil/starter_vocabulary.hpp), so that the program
# always has it, wherever it is installed. The files themselves are installed
# too, for the engineer to read and copy.
set(K2V_VOCABULARY_DIR ${K2V_ROOT}/vocabulary)
set(K2V_STARTER_FILES G10A.TXT D12A.TXT)

set(K2V_STARTER_DEFINITIONS "")
foreach(file ${K2V_STARTER_FILES})
  set(path ${K2V_VOCABULARY_DIR}/${file})
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
  file(READ ${path} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  # Every byte as an escape, 32 to a line of the literal.
  string(REGEX REPLACE "(................................................................)" "\\1\n" lines "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${lines}")
  string(REGEX REPLACE "\n$" "" escaped "${escaped}")
  string(REPLACE "\n" "\"\n    \"" escaped "${escaped}")
  string(REPLACE "." "_" name "${file}")
  string(APPEND K2V_STARTER_DEFINITIONS
         "std::string_view Starter${name}() {\n  static constexpr char kBytes[] =\n    \"${escaped}\";\n"
         "  return std::string_view(kBytes, ${size});\n}\n\n")
endforeach()

file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/starter_vocabulary_data.cpp
     CONTENT "// Generated from vocabulary/ by cmake/starter_vocabulary.cmake; do not edit.\n#include \"soil/starter_vocabulary.hpp\"\n\nnamespace k2v {\n\n@K2V_STARTER_DEFINITIONS@}  // namespace k2v\n"
     @ONLY)
target_sources(k2v_soil PRIVATE ${CMAKE_BINARY_DIR}/generated/starter_vocabulary_data.cpp)
