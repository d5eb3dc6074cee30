# Installed layout and the Debian packages (cpack -G DEB):
#   vpsdesk            /usr/bin/vpsdesk and /usr/bin/vpsctl, the updater in /usr/lib/vpsdesk,
#                      the menu entry, icons, AppStream data and the manual pages;
#   vpsdesk-platformd  /usr/bin/platformd with its manual page and a systemd unit that is
#                      not enabled.
# Only what is built is installed, so a packaging build need not build the tests.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(GNUInstallDirs)

set(PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(APP_ID org.vpsdesk.Client)

# Manual pages and the changelog go in compressed, as Debian wants them.
function(vpsdesk_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND gzip -9n -c ${source} > ${output}
    DEPENDS ${source} VERBATIM)
endfunction()
set(GZ_DIR ${CMAKE_CURRENT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${GZ_DIR})
vpsdesk_gzip(${PACKAGING_DIR}/man/vpsdesk.1 ${GZ_DIR}/vpsdesk.1.gz)
vpsdesk_gzip(${PACKAGING_DIR}/man/platformd.1 ${GZ_DIR}/platformd.1.gz)
vpsdesk_gzip(${PACKAGING_DIR}/man/vpsctl.1 ${GZ_DIR}/vpsctl.1.gz)
vpsdesk_gzip(${PACKAGING_DIR}/changelog ${GZ_DIR}/changelog.gz)
# vpsctl's bash completion, written by the program from its own command table.
add_custom_command(OUTPUT ${GZ_DIR}/vpsctl.bash
  COMMAND vpsctl completion > ${GZ_DIR}/vpsctl.bash
  DEPENDS vpsctl VERBATIM)
add_custom_target(packaging_files ALL
  DEPENDS ${GZ_DIR}/vpsdesk.1.gz ${GZ_DIR}/platformd.1.gz ${GZ_DIR}/vpsctl.1.gz
          ${GZ_DIR}/changelog.gz ${GZ_DIR}/vpsctl.bash)

if(TARGET vpsdesk)
  install(TARGETS vpsdesk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT client)
  install(TARGETS update RUNTIME DESTINATION ${CMAKE_INSTALL_LIBDIR}/vpsdesk COMPONENT client)
  install(FILES ${PACKAGING_DIR}/${APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT client)
  install(FILES ${PACKAGING_DIR}/${APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT client)
  install(FILES ${PACKAGING_DIR}/icons/${APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT client)
  foreach(size 48 256)
    install(FILES ${PACKAGING_DIR}/icons/${APP_ID}-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${APP_ID}.png COMPONENT client)
  endforeach()
  install(FILES ${GZ_DIR}/vpsdesk.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT client)
  # The terminal client comes with the window client: same platform, same remembered sign-in.
  install(TARGETS vpsctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT client)
  install(FILES ${GZ_DIR}/vpsctl.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT client)
  install(FILES ${GZ_DIR}/vpsctl.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
          RENAME vpsctl COMPONENT client)
  install(FILES ${PACKAGING_DIR}/copyright ${GZ_DIR}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vpsdesk COMPONENT client)
endif()
if(TARGET platformd)
  install(TARGETS platformd RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT platformd)
  install(FILES ${GZ_DIR}/platformd.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
          COMPONENT platformd)
  install(FILES ${PACKAGING_DIR}/vpsdesk-platformd.service
          DESTINATION lib/systemd/system COMPONENT platformd)
  install(FILES ${PACKAGING_DIR}/copyright ${GZ_DIR}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vpsdesk-platformd COMPONENT platformd)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vpsdesk)
set(CPACK_PACKAGE_VENDOR "The vpsdesk developers")
set(CPACK_PACKAGE_CONTACT "The vpsdesk developers <dev@vpsdesk.example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL client platformd)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://vpsdesk.example.org/")
set(CPACK_DEBIAN_CLIENT_PACKAGE_NAME vpsdesk)
set(CPACK_DEBIAN_CLIENT_PACKAGE_DEPENDS "freerdp2-x11, fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_COMPONENT_CLIENT_DESCRIPTION
  "desktop client for a cloud-server rental platform
Sign in, see the cloud servers you rent and connect to one by remote desktop
with a double-click. Restart, reinstall, renew or refund a server, buy new
servers, top up the balance and read the finance records.")
set(CPACK_DEBIAN_PLATFORMD_PACKAGE_NAME vpsdesk-platformd)
set(CPACK_DEBIAN_PLATFORMD_PACKAGE_SECTION net)
set(CPACK_COMPONENT_PLATFORMD_DESCRIPTION
  "reference cloud-server platform for vpsdesk
Serves the platform side of the vpsdesk client over HTTPS, with demonstration
accounts and servers, for demonstrations, tests and development. The systemd
unit vpsdesk-platformd.service serves it on loopback and is not enabled.")
include(CPack)
