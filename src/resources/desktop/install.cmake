# Installed layout: the program in bin, its data ("lng", "hlp", "pic") in
# share/zappora, where it looks beside ../share/zappora; the desktop's entry,
# icons, metainfo and manual page where desktops and man look. `cpack -G DEB`
# turns it into a Debian package.
include(GNUInstallDirs)
# Installing (and packaging) takes what is built; it does not build the tests.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(ZP_DESKTOP ${CMAKE_CURRENT_LIST_DIR})
set(ZP_APP_ID de.zappora.Zappora)

install(TARGETS zappora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY DESTINATION ${CMAKE_INSTALL_DATADIR}/zappora/pic)
foreach(data lng hlp)
  install(DIRECTORY ${CMAKE_BINARY_DIR}/${data} DESTINATION ${CMAKE_INSTALL_DATADIR}/zappora OPTIONAL)
endforeach()

install(FILES ${ZP_DESKTOP}/${ZP_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 32 48 64 128 256)
  install(FILES ${ZP_DESKTOP}/zappora-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${ZP_APP_ID}.png)
endforeach()
install(FILES ${ZP_DESKTOP}/zappora.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${ZP_APP_ID}.svg)

# Texts that carry the version, and the compressed ones Debian expects.
set(ZP_GEN ${CMAKE_BINARY_DIR}/generated/install)
configure_file(${ZP_DESKTOP}/${ZP_APP_ID}.metainfo.xml ${ZP_GEN}/${ZP_APP_ID}.metainfo.xml @ONLY)
configure_file(${ZP_DESKTOP}/zappora.1 ${ZP_GEN}/zappora.1 @ONLY)
configure_file(${ZP_DESKTOP}/changelog ${ZP_GEN}/changelog @ONLY)
add_custom_command(OUTPUT ${ZP_GEN}/zappora.1.gz ${ZP_GEN}/changelog.Debian.gz
  COMMAND gzip -9n -c ${ZP_GEN}/zappora.1 > ${ZP_GEN}/zappora.1.gz
  COMMAND gzip -9n -c ${ZP_GEN}/changelog > ${ZP_GEN}/changelog.Debian.gz
  DEPENDS ${ZP_GEN}/zappora.1 ${ZP_GEN}/changelog)
add_custom_target(install_texts ALL DEPENDS ${ZP_GEN}/zappora.1.gz ${ZP_GEN}/changelog.Debian.gz)
install(FILES ${ZP_GEN}/${ZP_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ZP_GEN}/zappora.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ZP_DESKTOP}/copyright ${ZP_GEN}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zappora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Zappora E2 <zappora@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "TV, radio and recordings of an Enigma2 receiver on the desktop")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Zappora E2 turns the desktop into a second screen and a remote control for
satellite and cable receivers that run the Enigma2 firmware: channel lists,
live TV and radio, recordings, programme guide and timers, teletext,
picture-in-picture and a remote control page for phones.")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zappora.example.org/)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the pipeline and the phone page load at run time, beyond the linked libraries.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad, gstreamer1.0-libav, gstreamer1.0-x, gstreamer1.0-pulseaudio | gstreamer1.0-alsa, libjs-jquery, libjs-jquery-mobile")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
