# Writes the bytes of the file INPUT as the C++ array NAME (with NAME##Size)
# into OUTPUT: cmake -DINPUT=... -DOUTPUT=... -DNAME=... -P embed_catalog.cmake
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
# Sixteen bytes a line, each as a hexadecimal escape.
set(lines "")
foreach(at RANGE 0 ${digits} 32)
  if(at LESS digits)
    string(SUBSTRING "${hex}" ${at} 32 chunk)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" chunk "${chunk}")
    string(APPEND lines "    \"${chunk}\"\n")
  endif()
endforeach()
file(WRITE ${OUTPUT}
     "// Generated from ${INPUT} by cmake/embed_catalog.cmake.\n"
     "#include <cstddef>\n\n"
     "namespace k2v {\n\n"
     "extern const char ${NAME}[];\n"
     "extern const std::size_t ${NAME}Size;\n"
     "const char ${NAME}[] =\n${lines}    \"\";\n"
     "const std::size_t ${NAME}Size = ${size};\n\n"
     "}  // namespace k2v\n")
