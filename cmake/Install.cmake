# Installation (`cmake --install`) of the viewer, the launcher and the reference "Вельтра", with
# their desktop entries, icons and AppStream data; and the Debian package (`cpack -G DEB`).
# Components: programs, data (the reference), desktop (entries, icons, metainfo), doc.

include(GNUInstallDirs)

# The reference's folder: the launcher runs in it (the desktop entry's Path=), so that the
# start page kb\index-law.html is found in its kb/.
set(KESTROVA_VELTRA_DIR ${CMAKE_INSTALL_DATADIR}/veltra)
set(KESTROVA_DESKTOP_SOURCES ${PROJECT_SOURCE_DIR}/resources/desktop)

install(TARGETS kestrova veltralauncher RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  COMPONENT programs)
# The sample's README describes it for the tests, not for readers of the reference.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/samples/kb DESTINATION ${KESTROVA_VELTRA_DIR}
  COMPONENT data PATTERN README.md EXCLUDE)

# The icons of both programs: the SVG, and PNG pictures of it at the usual sizes of the hicolor
# theme, drawn at build time.
set(KESTROVA_ICON_SIZES 16 22 24 32 48 64 128 256)
set(KESTROVA_ICON_DIR ${CMAKE_BINARY_DIR}/icons/hicolor)
set(KESTROVA_ICON_PNGS)
foreach(icon kestrova veltra)
  set(svg ${PROJECT_SOURCE_DIR}/resources/icons/${icon}.svg)
  set(pngs)
  foreach(size ${KESTROVA_ICON_SIZES})
    list(APPEND pngs ${KESTROVA_ICON_DIR}/${size}x${size}/apps/${icon}.png)
  endforeach()
  add_custom_command(OUTPUT ${pngs}
    COMMAND render_icon ${svg} ${KESTROVA_ICON_DIR} ${icon} ${KESTROVA_ICON_SIZES}
    DEPENDS render_icon ${svg}
    COMMENT "Drawing the icon ${icon} at ${KESTROVA_ICON_SIZES}" VERBATIM)
  list(APPEND KESTROVA_ICON_PNGS ${pngs})
  install(FILES ${svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    COMPONENT desktop)
endforeach()
add_custom_target(desktop_icons ALL DEPENDS ${KESTROVA_ICON_PNGS})
install(DIRECTORY ${KESTROVA_ICON_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
  COMPONENT desktop)

# The desktop entries name the reference's folder by its absolute path, known only when
# installing (the prefix of `cmake --install --prefix`, or /usr in the package), so they are
# written then.
foreach(entry kestrova veltralauncher)
  install(CODE "
    set(VELTRA_DATA_DIR \"\${CMAKE_INSTALL_PREFIX}/${KESTROVA_VELTRA_DIR}\")
    set(entry \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/${entry}.desktop\")
    message(STATUS \"Installing: \${entry}\")
    configure_file(\"${KESTROVA_DESKTOP_SOURCES}/${entry}.desktop.in\" \"\${entry}\" @ONLY)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${entry}\")
  " COMPONENT desktop)
endforeach()
install(FILES ${KESTROVA_DESKTOP_SOURCES}/org.kestrova.Kestrova.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT desktop)

# The dictionaries built into the programs come with their licences.
install(FILES ${PROJECT_SOURCE_DIR}/resources/dict/LICENSE-OpenCorpora.txt
  ${PROJECT_SOURCE_DIR}/resources/dict/LICENSE-az.txt
  DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT doc)

# The Debian package: everything above in one package, installed under /usr, its library
# dependencies computed from the programs by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrova)
set(CPACK_PACKAGE_VERSION 0.1.0)
set(CPACK_PACKAGE_CONTACT "Kestrova developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "viewer of reference knowledge bases made of HTML pages, with the reference Veltra")
set(CPACK_PACKAGE_DESCRIPTION
  "Kestrova shows a reference knowledge base that comes as a folder of HTML pages: its table of
contents, keyword index and categories, read from the pages, and a full-text search that also
finds other forms of Russian words. The package includes the reference Veltra (veltralauncher).")
# The package installs under /usr. CPack installs with that prefix and DESTDIR pointing at its
# staging folder, so that the desktop entries name the folders where the package puts them.
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time rather than linked: the SVG icon engine of the viewer's icons. xdg-mime
# answers the launcher's PDF check.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)

# Tests of the installation (validated entries and metainfo, what they point at) and of the
# package (built, unpacked into a temporary root, its launcher run under Xvfb). They use what
# the build made, so they run after a full build, as scripts/test.sh does.
add_test(NAME install_test
  COMMAND sh ${PROJECT_SOURCE_DIR}/launcher/tests/install_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(install_test PROPERTIES TIMEOUT 120 LABELS launcher
  ENVIRONMENT "CMAKE=${CMAKE_COMMAND}")
add_test(NAME package_test
  COMMAND sh ${PROJECT_SOURCE_DIR}/launcher/tests/package_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(package_test PROPERTIES TIMEOUT 180 LABELS "launcher;package"
  ENVIRONMENT "CPACK=${CMAKE_CPACK_COMMAND}")
