# What `cmake --install` puts in place: on Linux the tree of a Debian package
# (which `cpack -G DEB` builds from it, dependencies found by dpkg-shlibdeps);
# on Windows the one folder that the installer and the zip hold
# (scripts/windows_package.sh makes both from it).
set(K2V_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)

if(WIN32)
  # The programs, the licence with Windows' line ends, the README, the guide
  # and the examples' README as self-contained HTML pages (cmark-gfm, through
  # packaging/windows/markdown_page.py), and the examples. The pages are made
  # by the target k2v_documents, which the package script builds.
  set(K2V_PAGES ${CMAKE_BINARY_DIR}/pages)
  file(READ ${CMAKE_SOURCE_DIR}/LICENSE K2V_LICENSE_TEXT)
  string(REPLACE "\n" "\r\n" K2V_LICENSE_TEXT "${K2V_LICENSE_TEXT}")
  file(WRITE ${K2V_PAGES}/LICENSE.txt "${K2V_LICENSE_TEXT}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE)
  find_package(Python3 COMPONENTS Interpreter)
  set(K2V_PAGE_LINKS docs/guide.ja.md=guide.ja.html LICENSE=LICENSE.txt examples/README.md=examples/README.html)
  set(K2V_PAGE_OUTPUTS)
  foreach(page "README.md|README.html|kolbrix2vantor" "docs/guide.ja.md|guide.ja.html|kolbrix2vantor 利用の手引き"
               "examples/README.md|examples/README.html|kolbrix2vantor の見本")
    string(REPLACE "|" ";" page "${page}")
    list(GET page 0 source)
    list(GET page 1 output)
    list(GET page 2 title)
    get_filename_component(folder ${K2V_PAGES}/${output} DIRECTORY)
    file(GLOB pictures ${CMAKE_SOURCE_DIR}/docs/*.png)
    add_custom_command(OUTPUT ${K2V_PAGES}/${output}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
                       COMMAND ${Python3_EXECUTABLE} packaging/windows/markdown_page.py ${source}
                               ${K2V_PAGES}/${output} ${title} ${K2V_PAGE_LINKS}
                       DEPENDS ${CMAKE_SOURCE_DIR}/${source} ${K2V_PACKAGING}/windows/markdown_page.py ${pictures}
                       WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} VERBATIM)
    list(APPEND K2V_PAGE_OUTPUTS ${K2V_PAGES}/${output})
  endforeach()
  add_custom_target(k2v_documents DEPENDS ${K2V_PAGE_OUTPUTS})

  install(TARGETS kolbrix2vantor RUNTIME DESTINATION .)
  if(TARGET kolbrix2vantor-gui)
    install(TARGETS kolbrix2vantor-gui RUNTIME DESTINATION .)
  endif()
  install(FILES ${K2V_PAGES}/LICENSE.txt ${K2V_PAGES}/README.html ${K2V_PAGES}/guide.ja.html DESTINATION .)
  install(FILES ${K2V_PAGES}/examples/README.html DESTINATION examples)
  install(DIRECTORY examples/sample examples/RADUDI DESTINATION examples)
  # The starter vocabulary, for the engineer to read and copy (the program
  # holds the same bytes: cmake/starter_vocabulary.cmake).
  install(FILES vocabulary/G10A.TXT vocabulary/D12A.TXT DESTINATION vocabulary)
  return()
endif()

include(GNUInstallDirs)

install(TARGETS kolbrix2vantor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET kolbrix2vantor-gui)
  install(TARGETS kolbrix2vantor-gui RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${K2V_PACKAGING}/kolbrix2vantor.desktop ${K2V_PACKAGING}/kolbrix2vantor-batch.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${K2V_PACKAGING}/icons/kolbrix2vantor.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 16 32 48 64 128 256)
    install(FILES ${K2V_PACKAGING}/icons/kolbrix2vantor-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME kolbrix2vantor.png)
  endforeach()
endif()

# Man pages, English and Japanese (man -L ja), with the version filled in
# and compressed as Debian keeps them.
find_program(K2V_GZIP gzip REQUIRED)
set(K2V_MAN_PAGES kolbrix2vantor)
if(TARGET kolbrix2vantor-gui)
  list(APPEND K2V_MAN_PAGES kolbrix2vantor-gui)
endif()
set(K2V_MAN_OUTPUTS)
foreach(lang_dir "" "ja/")
  foreach(page ${K2V_MAN_PAGES})
    set(VERSION ${PROJECT_VERSION})
    set(built ${CMAKE_BINARY_DIR}/man/${lang_dir}${page}.1)
    configure_file(${K2V_PACKAGING}/man/${lang_dir}${page}.1 ${built} @ONLY)
    add_custom_command(OUTPUT ${built}.gz COMMAND ${K2V_GZIP} -9nf -k ${built} DEPENDS ${built} VERBATIM)
    list(APPEND K2V_MAN_OUTPUTS ${built}.gz)
    install(FILES ${built}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/${lang_dir}man1)
  endforeach()
endforeach()
add_custom_target(man_pages ALL DEPENDS ${K2V_MAN_OUTPUTS})

# The command line's message catalogs, where gettext looks for them.
foreach(mo ${K2V_CATALOGS})
  get_filename_component(lang_dir ${mo} DIRECTORY)
  get_filename_component(lang_dir ${lang_dir} DIRECTORY)
  get_filename_component(lang ${lang_dir} NAME)
  install(FILES ${mo} DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/${lang}/LC_MESSAGES)
endforeach()

# bash loads a completion by the command's name: one file serves both.
install(FILES ${K2V_PACKAGING}/bash-completion/kolbrix2vantor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
if(TARGET kolbrix2vantor-gui)
  install(FILES ${K2V_PACKAGING}/bash-completion/kolbrix2vantor
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME kolbrix2vantor-gui)
endif()

# The starter vocabulary, for the engineer to read and copy (the program
# holds the same bytes: cmake/starter_vocabulary.cmake).
install(FILES vocabulary/G10A.TXT vocabulary/D12A.TXT DESTINATION ${CMAKE_INSTALL_DATADIR}/kolbrix2vantor)

# The documents, the licence (also as Debian's copyright file) and the sample.
set(K2V_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/kolbrix2vantor)
install(FILES README.md LICENSE DESTINATION ${K2V_DOC_DIR})
install(FILES LICENSE DESTINATION ${K2V_DOC_DIR} RENAME copyright)
install(DIRECTORY docs/ DESTINATION ${K2V_DOC_DIR}/docs)
install(DIRECTORY examples/ DESTINATION ${K2V_DOC_DIR}/examples)

set(CPACK_PACKAGE_NAME kolbrix2vantor)
set(CPACK_PACKAGE_VENDOR "The kolbrix2vantor developers")
set(CPACK_PACKAGE_CONTACT "The kolbrix2vantor developers <kolbrix2vantor@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert Kolbrix boring exports into Vantor's data files")
set(CPACK_PACKAGE_DESCRIPTION
    "kolbrix2vantor converts the folder that the boring-log program Kolbrix exports for one boring\n"
    "(comma-separated Shift-JIS files) into the fixed-column Shift-JIS data files that the\n"
    "boring-log program Vantor reads. It has a desktop window and a command line, which also\n"
    "converts every boring below a folder at once.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's Japanese button texts and a Japanese Gothic face for the window.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
set(CPACK_GENERATOR DEB)
include(CPack)
