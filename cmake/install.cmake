# What `cmake --install` puts in place on Linux, and the Debian package that
# `cpack -G DEB` builds from it (dependencies found by dpkg-shlibdeps).
include(GNUInstallDirs)

set(K2V_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)

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

# Man pages, with the version filled in and compressed as Debian keeps them.
find_program(K2V_GZIP gzip REQUIRED)
set(K2V_MAN_PAGES kolbrix2vantor)
if(TARGET kolbrix2vantor-gui)
  list(APPEND K2V_MAN_PAGES kolbrix2vantor-gui)
endif()
set(K2V_MAN_OUTPUTS)
foreach(page ${K2V_MAN_PAGES})
  set(VERSION ${PROJECT_VERSION})
  configure_file(${K2V_PACKAGING}/man/${page}.1 ${CMAKE_BINARY_DIR}/man/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.1.gz
                     COMMAND ${K2V_GZIP} -9nf -k ${CMAKE_BINARY_DIR}/man/${page}.1
                     DEPENDS ${CMAKE_BINARY_DIR}/man/${page}.1 VERBATIM)
  list(APPEND K2V_MAN_OUTPUTS ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  install(FILES ${CMAKE_BINARY_DIR}/man/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${K2V_MAN_OUTPUTS})

# bash loads a completion by the command's name: one file serves both.
install(FILES ${K2V_PACKAGING}/bash-completion/kolbrix2vantor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
if(TARGET kolbrix2vantor-gui)
  install(FILES ${K2V_PACKAGING}/bash-completion/kolbrix2vantor
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME kolbrix2vantor-gui)
endif()

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
