# k2v_bytes_literal(FILE VAR): the bytes of FILE as the body of a C++ string
# literal, each byte a hexadecimal escape, sixteen to a line of the source
# ("\x..\x.." lines joined by a newline and four spaces), in VAR, and their
# count in VAR_SIZE. Used at configure time (cmake/starter_vocabulary.cmake)
# and at build time (cmake/embed_catalog.cmake).
function(k2v_bytes_literal file var)
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "(................................)" "\\1\n" lines "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${lines}")
  string(REGEX REPLACE "\n$" "" escaped "${escaped}")
  string(REPLACE "\n" "\"\n    \"" escaped "${escaped}")
  set(${var} "\"${escaped}\"" PARENT_SCOPE)
  set(${var}_SIZE ${size} PARENT_SCOPE)
endfunction()
