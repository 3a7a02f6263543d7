# Installation and packages: a .deb on POSIX builds, a .zip holding Vantrim.exe on Windows.
include(GNUInstallDirs)

if(WIN32)
  # Unzipped, the program stands beside its README and LICENSE, which get Windows line ends.
  install(TARGETS Vantrim RUNTIME DESTINATION .)
  foreach(text README.md LICENSE)
    file(READ ${PROJECT_SOURCE_DIR}/${text} content)
    string(REPLACE "\r\n" "\n" content "${content}")
    string(REPLACE "\n" "\r\n" content "${content}")
    get_filename_component(stem ${text} NAME_WE)
    file(WRITE ${PROJECT_BINARY_DIR}/package/${stem}.txt "${content}")
    install(FILES ${PROJECT_BINARY_DIR}/package/${stem}.txt DESTINATION .)
  endforeach()
else()
  install(TARGETS Vantrim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Commands are typed in lower case here.
  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
  file(CREATE_LINK Vantrim ${PROJECT_BINARY_DIR}/package/vantrim SYMBOLIC)
  install(FILES ${PROJECT_BINARY_DIR}/package/vantrim DESTINATION ${CMAKE_INSTALL_BINDIR})
  configure_file(${PROJECT_SOURCE_DIR}/man/Vantrim.1.in ${PROJECT_BINARY_DIR}/package/Vantrim.1
                 @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/package/Vantrim.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_PACKAGE_NAME vantrim)
set(CPACK_PACKAGE_VENDOR "The Vantrim developers")
set(CPACK_PACKAGE_CONTACT "The Vantrim developers <vantrim@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "removes every directory of a given name below a folder, such as obj or node_modules")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME vantrim-${PROJECT_VERSION}-win32)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  # The dependencies are what the program links, as dpkg-shlibdeps reads them off the binary.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
