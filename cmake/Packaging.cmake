# What `cmake --install` puts where, and the packages cpack makes from it: on Linux a Debian
# package (the desktop entry, icons and metadata from desktop/, the manual pages from man/), on
# Windows a zip of one folder and an installer (cmake/windows/).

install(TARGETS zqskin zqdesigner RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows/WindowsDeploy.cmake)
endif()

set(CPACK_PACKAGE_NAME zqskin-designer)
set(CPACK_PACKAGE_VENDOR "Zenqa skin designer")
set(CPACK_PACKAGE_CONTACT "Zenqa skin designer <zqskin-designer@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Designs the lock-screen skins of the Zenqa café client")
set(CPACK_PACKAGE_DESCRIPTION
    "zqdesigner shows a skin's background full screen and lets you drag, resize and replace its pictures and input boxes; zqskin reads, checks and changes skins on the command line.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://zqskin-designer.example.org/")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The libraries' packages, read off the programs by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Chinese captions need a font that has them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk")
if(WIN32)
  # A zip and an NSIS installer (our own template: 64-bit, for the current user).
  set(CPACK_SYSTEM_NAME win64)
  set(CPACK_GENERATOR ZIP NSIS)
  set(CPACK_PACKAGE_INSTALL_DIRECTORY "Zenqa skin designer")
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY zqskin-designer)
  set(CPACK_NSIS_PACKAGE_NAME "Zenqa skin designer ${PROJECT_VERSION}")
  set(CPACK_NSIS_DISPLAY_NAME "Zenqa skin designer")
  set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/desktop/icons/org.example.zqskin_designer.ico)
  set(CPACK_NSIS_MUI_UNIICON ${CPACK_NSIS_MUI_ICON})
  set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
  set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/windows/CPackNames.cmake)
  list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/windows)
  set(CPACK_STRIP_FILES OFF) # the prefix's DLLs come stripped; strip would need the cross tools
endif()
include(CPack)
