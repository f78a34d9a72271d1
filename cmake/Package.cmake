# The Debian package, made by `cpack` (scripts/package) from what
# `cmake --install` lays out, under /usr. Its dependencies are computed by
# dpkg-shlibdeps from the programs' libraries, so they follow the build.
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/Gzip.cmake)

# What a Debian package carries beside the program: its changelog (compressed,
# as Debian's policy asks) and copyright file.
set(NORVEL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/norvel2)
set(NORVEL_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
norvel_gzip(norvel_changelog ${CMAKE_SOURCE_DIR}/app/package/changelog ${NORVEL_CHANGELOG_GZ})
install(FILES ${NORVEL_CHANGELOG_GZ} ${CMAKE_SOURCE_DIR}/app/package/copyright
        DESTINATION ${NORVEL_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME norvel2)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Norvel")
set(CPACK_PACKAGE_CONTACT "Norvel developers <norvel@norvel.ru>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "keep the newest newspaper and magazine issue for reading offline")
set(CPACK_PACKAGE_DESCRIPTION
    "Norvel downloads the newest (or a chosen) issue of a daily newspaper and of a
weekly computer magazine and keeps it on disk for reading offline: every
article cleaned by an editable processing script, linked to its neighbours
and to the issue's contents, with its pictures. It browses the archive, makes
an EPUB book of each issue, serves a catalogue e-readers sync from, and runs
unattended from systemd timers. Its interface is in Russian.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.norvel.ru/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)
