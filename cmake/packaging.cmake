# The program's icon and version resource, its install rules, and the Linux
# package (cpack -G DEB). The Windows installer and zip are made by
# scripts/windows-package.sh from the cross-built .exe.
set(METEO_ICON_ICO ${CMAKE_SOURCE_DIR}/packaging/meteo-aprs.ico)

set_target_properties(meteo-aprs PROPERTIES AUTORCC ON)
target_sources(meteo-aprs PRIVATE ${CMAKE_SOURCE_DIR}/packaging/meteo-aprs.qrc)
if(WIN32)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/meteo-aprs.rc.in ${CMAKE_BINARY_DIR}/meteo-aprs.rc @ONLY)
  target_sources(meteo-aprs PRIVATE ${CMAKE_BINARY_DIR}/meteo-aprs.rc)
endif()

if(UNIX AND NOT APPLE AND NOT CMAKE_CROSSCOMPILING)
  install(TARGETS meteo-aprs RUNTIME DESTINATION bin)
  install(PROGRAMS ${CMAKE_SOURCE_DIR}/packaging/linux/meteo-aprs-desktop DESTINATION lib/meteo-aprs)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/linux/meteo-aprs.desktop DESTINATION share/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/meteo-aprs.png DESTINATION share/icons/hicolor/256x256/apps)
  install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION share/doc/meteo-aprs)
  # Debian's place for a package's licence notice.
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/AVVISO-LICENZA.txt DESTINATION share/doc/meteo-aprs RENAME copyright)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME meteo-aprs)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Stazione meteo WS3600 (Heavy Weather) verso APRS (UI-View)")
  set(CPACK_PACKAGE_CONTACT "meteo-aprs")
  set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
  # The Qt libraries the program links are found by dpkg-shlibdeps.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/packages)
  include(CPack)
endif()
