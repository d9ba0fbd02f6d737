# Install rules and the Debian package. "make install" (PREFIX, DESTDIR) and "make package" use
# them: the two programs, their man pages, and for the desktop program its desktop entry, icons,
# AppStream metadata, the user guide and the logo. The desktop program finds its user guide at
# <bindir>/../share/vexor/help, so bin/ and share/ must stay side by side.
include(GNUInstallDirs)

set(VEXOR_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(VEXOR_SHARE ${CMAKE_INSTALL_DATADIR}/vexor)
set(VEXOR_DOC ${CMAKE_INSTALL_DATADIR}/doc/vexor)

# Man pages and the changelog are installed compressed, as Debian keeps them.
set(VEXOR_COMPRESSED)
foreach(source vexor.1 vexor-gui.1 changelog)
  set(output ${PROJECT_BINARY_DIR}/packaging/${source}.gz)
  add_custom_command(OUTPUT ${output}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
                     COMMAND gzip -9n -c ${VEXOR_PACKAGING}/${source} > ${output}
                     DEPENDS ${VEXOR_PACKAGING}/${source} VERBATIM)
  list(APPEND VEXOR_COMPRESSED ${output})
endforeach()
add_custom_target(vexor_compressed_docs ALL DEPENDS ${VEXOR_COMPRESSED})

install(TARGETS vexor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/packaging/vexor.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz ${VEXOR_PACKAGING}/copyright
              ${PROJECT_SOURCE_DIR}/docs/JSON.md
        DESTINATION ${VEXOR_DOC})
# How admins run the command line beside a game server.
install(FILES ${VEXOR_PACKAGING}/vexor-follow.service DESTINATION ${VEXOR_DOC}/examples)
# The report's logo, for command-line users to put into their start directory's config/.
install(FILES ${PROJECT_SOURCE_DIR}/resources/pictures/Logo.jpg DESTINATION ${VEXOR_SHARE})

if(VEXOR_GUI)
  install(TARGETS vexor-gui RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_BINARY_DIR}/packaging/vexor-gui.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${VEXOR_PACKAGING}/org.vexor.Vexor.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${VEXOR_PACKAGING}/org.vexor.Vexor.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/pictures/vexor-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME vexor.png)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/resources/pictures/vexor.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/help DESTINATION ${VEXOR_SHARE})
endif()

# The Debian package: vexor_<version>_amd64.deb, its library dependencies computed from the
# binaries (dpkg-shlibdeps). Qt loads its platform plugins at run time, so those are named.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(VEXOR_MAINTAINER "Vexor developers <vexor@example.org>"
    CACHE STRING "The Debian package's maintainer (name and address)")
set(CPACK_PACKAGE_CONTACT "${VEXOR_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "statistics of Quake 3 engine game logs")
set(CPACK_PACKAGE_DESCRIPTION
    "Vexor reads the logs of Quake III Arena and the other games of its\n"
    "engine, among them OpenArena: game server logs and game client console\n"
    "logs. It follows every player by name across games and files and builds\n"
    "per-player and per-game statistics: frags, deaths, suicides, skill, play\n"
    "time, rates per hour, frags per weapon, killer-by-victim tables and\n"
    "counters of the user's own.\n"
    "\n"
    "This package holds the desktop program vexor-gui (sortable lists, line\n"
    "graphs, printing and an HTML report read in its window) and the command\n"
    "line program vexor.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(VEXOR_GUI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
endif()
include(CPack)
