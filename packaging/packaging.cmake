# Installing and packaging the game.
#
# cmake --install BUILD --prefix P puts the game in P/bin/kivo and its asset
# folders in P/share/kivo, where it finds them from P/bin however P is moved,
# with a menu entry, an icon, the entry software centres list, the manual page,
# the copyright and the changelog. With KIVO_GAMES_LAYOUT the game goes where
# Debian keeps games instead: P/games/kivo and P/share/games/kivo.
#
# A Debian package is offered only by a build in the games layout:
# cpack -G DEB --config BUILD/CPackConfig.cmake then packs that tree under
# /usr, its library dependencies found by dpkg-shlibdeps, with the debug
# symbols in a package of their own. scripts/package.sh configures such a
# build with Debian's flags; any other build offers no package, since a
# game outside the games layout is no package lintian accepts.

include(GNUInstallDirs)
option(KIVO_GAMES_LAYOUT "Install into games/ and share/games/kivo, as Debian packages games" OFF)
if(KIVO_GAMES_LAYOUT)
  set(KIVO_INSTALL_BINDIR games)
  set(KIVO_INSTALL_ASSETDIR ${CMAKE_INSTALL_DATADIR}/games/kivo)
else()
  set(KIVO_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
  set(KIVO_INSTALL_ASSETDIR ${CMAKE_INSTALL_DATADIR}/kivo)
endif()
set(KIVO_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/kivo)
set(KIVO_APP_ID example.c_seed_9de24a69.kivo)  # what desktops and software centres know the game by
set(KIVO_MAINTAINER "KIVO developers <maintainers@users.noreply.c-seed-9de24a69.example>")

install(TARGETS kivo RUNTIME DESTINATION ${KIVO_INSTALL_BINDIR})
install(DIRECTORY ${KIVO_ASSET_FOLDERS} DESTINATION ${KIVO_INSTALL_ASSETDIR})
install(FILES packaging/${KIVO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/kivo.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES packaging/${KIVO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES packaging/copyright DESTINATION ${KIVO_INSTALL_DOCDIR})

# Debian keeps a package's changelog compressed, and so reproducibly: no name
# or time in the gzip header (-n).
add_custom_command(OUTPUT changelog.gz
  COMMAND gzip -9n < ${CMAKE_SOURCE_DIR}/packaging/changelog > changelog.gz
  DEPENDS packaging/changelog VERBATIM)
add_custom_target(changelog ALL DEPENDS changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${KIVO_INSTALL_DOCDIR})

# The manual page kivo(6) is made from the game's own --help and --version.
find_program(HELP2MAN help2man)
if(HELP2MAN)
  add_custom_command(OUTPUT kivo.6.gz
    COMMAND ${HELP2MAN} --section=6 --no-info
            --name=${PROJECT_DESCRIPTION} --output=kivo.6 $<TARGET_FILE:kivo>
    COMMAND gzip -9nf kivo.6
    DEPENDS kivo VERBATIM)
  add_custom_target(manpage ALL DEPENDS kivo.6.gz)
  install(FILES ${CMAKE_BINARY_DIR}/kivo.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
else()
  message(STATUS "help2man not found: no manual page (Debian package help2man)")
endif()

if(NOT KIVO_GAMES_LAYOUT)
  return()
endif()
set(CPACK_PACKAGE_NAME kivo)
set(CPACK_PACKAGE_VENDOR "KIVO developers")
set(CPACK_PACKAGE_CONTACT ${KIVO_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Strips the game and keeps its debug symbols in kivo-dbgsym, a .ddeb beside
# the .deb; needs a build with them (RelWithDebInfo).
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set(CPACK_PACKAGE_DESCRIPTION "KIVO is a small 3D time trial: steer a cat down a street at night, under
and over obstacle slabs, and collect coins against the clock; every coin
takes a second off your time. It is also a showcase of real-time rendering
on OpenGL 3.3: shadow mapping, camera motion blur, instanced particles,
view-frustum culling and a bitmap-font HUD, switched by hotkeys while the
game runs.")
include(CPack)
