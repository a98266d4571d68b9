# The command line's message catalogs: po/LANG.po compiled by msgfmt (Debian
# package gettext) into locale/LANG/LC_MESSAGES/kolbrix2vantor.mo in the
# build folder, where the program finds them beside itself. Linux installs
# them into share/locale; Windows builds them into the program.
find_program(K2V_MSGFMT msgfmt REQUIRED)
include(GNUInstallDirs)

file(GLOB K2V_PO_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/po/*.po)
set(K2V_CATALOGS)
foreach(po ${K2V_PO_FILES})
  get_filename_component(lang ${po} NAME_WE)
  set(mo ${CMAKE_BINARY_DIR}/locale/${lang}/LC_MESSAGES/kolbrix2vantor.mo)
  # --check: every placeholder of the English text is in its translation.
  add_custom_command(OUTPUT ${mo}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/locale/${lang}/LC_MESSAGES
                     COMMAND ${K2V_MSGFMT} --check -o ${mo} ${po}
                     DEPENDS ${po} VERBATIM)
  list(APPEND K2V_CATALOGS ${mo})
endforeach()
add_custom_target(k2v_catalogs ALL DEPENDS ${K2V_CATALOGS})
add_dependencies(kolbrix2vantor k2v_catalogs)

# The Japanese catalog as bytes, for the programs that read it without
# gettext (text/message_catalog.hpp): the window, which shows its texts in
# Japanese always, and the command line on Windows.
set(K2V_CATALOG_SOURCE ${CMAKE_BINARY_DIR}/generated/japanese_catalog_data.cpp)
add_custom_command(OUTPUT ${K2V_CATALOG_SOURCE}
                   COMMAND ${CMAKE_COMMAND} -DINPUT=${CMAKE_BINARY_DIR}/locale/ja/LC_MESSAGES/kolbrix2vantor.mo
                           -DOUTPUT=${K2V_CATALOG_SOURCE} -DNAME=kJapaneseCatalog
                           -P ${CMAKE_SOURCE_DIR}/cmake/embed_catalog.cmake
                   DEPENDS ${CMAKE_BINARY_DIR}/locale/ja/LC_MESSAGES/kolbrix2vantor.mo
                           ${CMAKE_SOURCE_DIR}/cmake/embed_catalog.cmake ${CMAKE_SOURCE_DIR}/cmake/bytes_literal.cmake VERBATIM)
add_library(k2v_japanese_catalog STATIC ${K2V_CATALOG_SOURCE})
target_link_libraries(k2v_window PUBLIC k2v_japanese_catalog)

if(WIN32)
  target_link_libraries(k2v_cli PUBLIC k2v_japanese_catalog)
else()
  # Where the installed program finds the catalogs, from its own folder.
  file(RELATIVE_PATH K2V_LOCALE_FROM_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LOCALEDIR})
  target_compile_definitions(k2v_cli PRIVATE K2V_LOCALE_FROM_PROGRAM="${K2V_LOCALE_FROM_PROGRAM}")
endif()
