# Installation of both programs with the desktop entry, the icon and the worked example,
# and a Debian package of them (cpack -G DEB).
include(GNUInstallDirs)

if(ANALYSE_BUILD_UI)
  install(TARGETS analyse-image analyse-image-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/analyse-image.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/src/ui/resources/analyse-image.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/examples/plate-free.png
                ${PROJECT_SOURCE_DIR}/examples/plate-loaded.png
                ${PROJECT_SOURCE_DIR}/examples/plate-with-hole.MEF
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/analyse-image/examples)
endif()

set(CPACK_PACKAGE_NAME analyse-image)
set(CPACK_PACKAGE_VENDOR "Analyse d'image")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Stress maps of a plane structure from two photographs (French interface)")
set(CPACK_PACKAGE_CONTACT "Analyse d'image <analyse-image@localhost>")
set(CPACK_PACKAGE_INSTALL_DIRECTORY analyse-image)
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The summary above is the first line; CPack indents these lines under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Mark the same material points on a photograph of the unloaded structure and on one of\n\
the loaded structure, mesh them with triangles, type Young's modulus and Poisson's ratio,\n\
and get a colour map of a stress component computed triangle by triangle from the measured\n\
displacements. The interface is French. analyse-image-batch runs the same study from the\n\
command line and writes CSV tables and the map as PNG.")
# The libraries come from the programs themselves (the X11 and off-screen platforms are
# part of libqt6gui6); Qt's image plugins are loaded at run time: SVG for the icon, TIFF and
# friends for photographs; libpng, libtiff and libjpeg read the rows of PNG, TIFF and JPEG
# photographs that the views and the correlation need. The windows' captions are laid out for Liberation Sans, and Qt's own
# dialogs speak French through its translations.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6svg6, qt6-image-formats-plugins, libpng16-16, libtiff6, libjpeg62-turbo, fonts-liberation2, qt6-translations-l10n")
include(CPack)
