# What `cmake --install` puts where the FHS wants it, and the Debian
# package that CPack makes of the same (cpack -G DEB, dependencies computed
# from the program by dpkg-shlibdeps):
#   bin/zelvo-lingotak                                 the program
#   bin/zelvo-lingotak-convert                         the converter
#   share/applications/zelvo-lingotak.desktop          its desktop entry
#   share/applications/zelvo-lingotak-import.desktop   "Open with" for CSV,
#                                                      TSV and KVTML files
#                                                      and Anki packages
#   share/mime/packages/zelvo-lingotak.xml             the MIME type of *.ltk
#   share/mime/packages/zelvo-lingotak-kvtml.xml       the MIME type of *.kvtml
#   share/mime/packages/zelvo-lingotak-anki.xml        those of *.apkg, *.colpkg
#   share/icons/hicolor/*/{apps,mimetypes}/            the two icons
#   share/metainfo/<id>.metainfo.xml                   the AppStream record
#   share/man/man1/zelvo-lingotak.1.gz                 the manual pages in
#   share/man/man1/zelvo-lingotak-convert.1.gz         English, and in German
#   share/man/de/man1/zelvo-lingotak.1.gz              (man takes the one of
#   share/man/de/man1/zelvo-lingotak-convert.1.gz      the user's language)
#   share/doc/zelvo-lingotak/                          copyright, changelog,
#                                                      examples/englisch.ltk
# The desktop entry and the MIME package come from the program's own code
# (desktop/desktop_files_main.cpp), so they say what registering writes.
include(GNUInstallDirs)

set(ZL_APPSTREAM_ID "example.zelvo_lingotak.Lingotak")
set(ZL_DATA "${CMAKE_BINARY_DIR}/data")
set(ZL_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/zelvo-lingotak")
set(CPACK_PACKAGE_CONTACT "Zelvo <info@zelvo-lingotak.example>")

# The release's date is the build stamp's (SOURCE_DATE_EPOCH or the last
# commit), so the same source makes the same files.
set(saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
set(ENV{SOURCE_DATE_EPOCH} "${ZL_BUILD_STAMP}")
string(TIMESTAMP ZL_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP ZL_RELEASE_TIME "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${saved_epoch}")

# The licence for Debian's copyright file: each line indented, blank ones
# as " ."; its first line ("MIT License") is the name, given there.
file(STRINGS "${CMAKE_SOURCE_DIR}/LICENSE" licence_lines)
list(POP_FRONT licence_lines)
set(ZL_LICENSE_TEXT "")
foreach(line IN LISTS licence_lines)
  if(line STREQUAL "")
    set(line ".")
  endif()
  string(APPEND ZL_LICENSE_TEXT " ${line}\n")
endforeach()
string(STRIP "${ZL_LICENSE_TEXT}" ZL_LICENSE_TEXT)
string(PREPEND ZL_LICENSE_TEXT " ")

configure_file(packaging/metainfo.xml.in "${ZL_DATA}/${ZL_APPSTREAM_ID}.metainfo.xml" @ONLY)
configure_file(packaging/copyright.in "${ZL_DATA}/copyright" @ONLY)
# packaging/NAME.1.in is the English page, NAME.1.de.in the German one.
set(ZL_PAGES changelog)
foreach(page zelvo-lingotak.1 zelvo-lingotak-convert.1)
  configure_file("packaging/${page}.de.in" "${ZL_DATA}/de/${page}" @ONLY)
  list(APPEND ZL_PAGES "${page}" "de/${page}")
endforeach()
foreach(page ${ZL_PAGES})
  if(NOT page MATCHES "^de/")
    configure_file("packaging/${page}.in" "${ZL_DATA}/${page}" @ONLY)
  endif()
  # Debian wants them compressed, without a name or time inside (gzip -n).
  add_custom_command(OUTPUT "${ZL_DATA}/${page}.gz" COMMAND gzip -9nfk "${ZL_DATA}/${page}"
                     DEPENDS "${ZL_DATA}/${page}")
endforeach()

add_executable(zl_desktop_files desktop/desktop_files_main.cpp)
target_link_libraries(zl_desktop_files PRIVATE zl_posix)
add_custom_command(OUTPUT "${ZL_DATA}/zelvo-lingotak.desktop" "${ZL_DATA}/zelvo-lingotak.xml"
                   COMMAND zl_desktop_files $<TARGET_FILE_NAME:zelvo-lingotak> "${ZL_DATA}/zelvo-lingotak.desktop"
                           "${ZL_DATA}/zelvo-lingotak.xml"
                   DEPENDS zl_desktop_files)
add_custom_target(zl_install_data ALL
                  DEPENDS "${ZL_DATA}/zelvo-lingotak.desktop" "${ZL_DATA}/zelvo-lingotak.xml"
                          "${ZL_DATA}/zelvo-lingotak.1.gz" "${ZL_DATA}/zelvo-lingotak-convert.1.gz"
                          "${ZL_DATA}/de/zelvo-lingotak.1.gz" "${ZL_DATA}/de/zelvo-lingotak-convert.1.gz"
                          "${ZL_DATA}/changelog.gz")

install(TARGETS zelvo-lingotak zelvo-lingotak-convert RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES "${ZL_DATA}/zelvo-lingotak.desktop" packaging/zelvo-lingotak-import.desktop
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${ZL_DATA}/zelvo-lingotak.xml" packaging/zelvo-lingotak-kvtml.xml
              packaging/zelvo-lingotak-anki.xml
        DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages")
install(DIRECTORY "${ZL_ICON_THEME}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons")
install(FILES "${ZL_DATA}/${ZL_APPSTREAM_ID}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${ZL_DATA}/zelvo-lingotak.1.gz" "${ZL_DATA}/zelvo-lingotak-convert.1.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${ZL_DATA}/de/zelvo-lingotak.1.gz" "${ZL_DATA}/de/zelvo-lingotak-convert.1.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/de/man1")
install(FILES "${ZL_DATA}/copyright" "${ZL_DATA}/changelog.gz" DESTINATION "${ZL_DOC_DIR}")
install(FILES examples/englisch.ltk DESTINATION "${ZL_DOC_DIR}/examples")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelvo-lingotak)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vocabulary trainer with a German interface")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "Type pairs of a foreign word and its translation into a list, keep them"
       "in vocabulary files (.ltk) and practise them in tests: the trainer shows"
       "one side of a pair drawn at random and you type the other. A test of 20"
       "pairs asks the pairs never asked before first, then those you know least,"
       "and ends with a percentage and a school grade. zelvo-lingotak-convert"
       "brings pairs from CSV, TSV and KVTML files, Anki's text export and Anki"
       "packages into vocabulary files and back, also from a file manager's"
       "Open With menu.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZL_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its window system plugin at run time, so no library names it.
# The window is laid out for Arial's metrics, which Liberation Sans has, and
# where the system's default font is monospaced the dialogs take it too.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
