# Writes the bytes of the file INPUT as the C++ array NAME (with NAME##Size)
# into OUTPUT: cmake -DINPUT=... -DOUTPUT=... -DNAME=... -P embed_catalog.cmake
include(${CMAKE_CURRENT_LIST_DIR}/bytes_literal.cmake)
k2v_bytes_literal(${INPUT} literal)
file(WRITE ${OUTPUT}
     "// Generated from ${INPUT} by cmake/embed_catalog.cmake.\n"
     "#include <cstddef>\n\n"
     "namespace k2v {\n\n"
     "extern const char ${NAME}[];\n"
     "extern const std::size_t ${NAME}Size;\n"
     "const char ${NAME}[] =\n    ${literal};\n"
     "const std::size_t ${NAME}Size = ${literal_SIZE};\n\n"
     "}  // namespace k2v\n")
