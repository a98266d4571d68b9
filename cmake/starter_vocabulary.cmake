# The starter vocabulary of the tree's vocabulary/ folder, built into the soil
# library byte for byte (soil/starter_vocabulary.hpp), so that the program
# always has it, wherever it is installed. The files themselves are installed
# too, for the engineer to read and copy.
include(${CMAKE_CURRENT_LIST_DIR}/bytes_literal.cmake)
set(K2V_VOCABULARY_DIR ${K2V_ROOT}/vocabulary)
set(K2V_STARTER_FILES G10A.TXT D12A.TXT)

set(K2V_STARTER_DEFINITIONS "")
foreach(file ${K2V_STARTER_FILES})
  set(path ${K2V_VOCABULARY_DIR}/${file})
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
  k2v_bytes_literal(${path} literal)
  string(REPLACE "." "_" name "${file}")
  string(APPEND K2V_STARTER_DEFINITIONS
         "std::string_view Starter${name}() {\n  static constexpr char kBytes[] =\n    ${literal};\n"
         "  return std::string_view(kBytes, ${literal_SIZE});\n}\n\n")
endforeach()

file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/starter_vocabulary_data.cpp
     CONTENT "// Generated from vocabulary/ by cmake/starter_vocabulary.cmake; do not edit.\n#include \"soil/starter_vocabulary.hpp\"\n\nnamespace k2v {\n\n@K2V_STARTER_DEFINITIONS@}  // namespace k2v\n"
     @ONLY)
target_sources(k2v_soil PRIVATE ${CMAKE_BINARY_DIR}/generated/starter_vocabulary_data.cpp)
