# The project's libraries, one per folder under src/. Included by the
# top-level project and by the fuzz targets' own project (tests/fuzz).
get_filename_component(K2V_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

# Each folder under src/ is a library that sees only its own headers and those
# of the folders below it (a view of links in the build folder), so an include
# of a higher layer does not compile. Dependencies point down:
#   cli -> run; app, app_win32 -> window -> run -> convert, titles, soil -> io
#   -> platform -> text

function(k2v_layer name)
  cmake_parse_arguments(LAYER "" "" "BELOW" ${ARGN})
  set(view ${CMAKE_BINARY_DIR}/layers/${name})
  file(MAKE_DIRECTORY ${view})
  foreach(folder ${name} ${LAYER_BELOW})
    if(NOT EXISTS ${view}/${folder})
      file(CREATE_LINK ${K2V_ROOT}/src/${folder} ${view}/${folder} SYMBOLIC)
    endif()
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${K2V_ROOT}/src/${name}/*.cpp ${K2V_ROOT}/src/${name}/*.hpp)
  # A front end's main.cpp is its program, not part of its library.
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  # The system calls of one system, chosen by the file's suffix: *_win32.cpp
  # on Windows, *_posix.cpp elsewhere.
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win32\\.cpp$")
  endif()
  add_library(k2v_${name} STATIC ${sources})
  target_include_directories(k2v_${name} PUBLIC ${view})
  foreach(folder ${LAYER_BELOW})
    if(TARGET k2v_${folder})
      target_link_libraries(k2v_${name} PUBLIC k2v_${folder})
    endif()
  endforeach()
endfunction()

k2v_layer(text)
k2v_layer(platform BELOW text)
if(WIN32)
  # CommandLineToArgvW
  target_link_libraries(k2v_platform PUBLIC shell32)
  # The system calls' windows.h: without the rarely used APIs and without the
  # min and max macros.
  target_compile_definitions(k2v_platform PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
endif()
k2v_layer(io BELOW platform text)
k2v_layer(soil BELOW io platform text)
include(${CMAKE_CURRENT_LIST_DIR}/starter_vocabulary.cmake)
k2v_layer(titles BELOW io platform text)
k2v_layer(convert BELOW soil io platform text)
k2v_layer(run BELOW convert titles soil io platform text)
k2v_layer(cli BELOW run convert titles soil io platform text)
# The window's behaviour, with no toolkit; its views are app (Qt) and
# app_win32 (Windows).
k2v_layer(window BELOW run convert titles soil io platform text)
