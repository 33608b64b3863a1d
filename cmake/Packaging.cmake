# What `cmake --install` puts where, and the Debian package cpack makes from it.
# The desktop entry, icons and metadata come from desktop/, the manual pages from man/.

install(TARGETS zqskin zqdesigner RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(WIN32)
  # Windows finds DLLs beside the program: Qt's plugins through windeployqt, every DLL the
  # programs load (Qt's own, the picture libraries, the compiler's run-time and what they need
  # in turn) from vcpkg's or the toolchain's folders.
  qt_generate_deploy_app_script(TARGET zqdesigner OUTPUT_SCRIPT zq_deploy_script NO_UNSUPPORTED_PLATFORM_ERROR)
  install(SCRIPT ${zq_deploy_script})
  set(zq_dll_dirs)
  if(DEFINED VCPKG_INSTALLED_DIR AND DEFINED VCPKG_TARGET_TRIPLET)
    list(APPEND zq_dll_dirs "${VCPKG_INSTALLED_DIR}/${VCPKG_TARGET_TRIPLET}/bin")
  endif()
  get_filename_component(zq_compiler_dir "${CMAKE_CXX_COMPILER}" DIRECTORY)
  list(APPEND zq_dll_dirs "${zq_compiler_dir}")
  set(zq_dll_dirs_text)
  foreach(dir IN LISTS zq_dll_dirs)
    string(APPEND zq_dll_dirs_text " \"${dir}\"")
  endforeach()
  install(CODE "
    file(GET_RUNTIME_DEPENDENCIES
      EXECUTABLES \"$<TARGET_FILE:zqskin>\" \"$<TARGET_FILE:zqdesigner>\"
      RESOLVED_DEPENDENCIES_VAR zq_found UNRESOLVED_DEPENDENCIES_VAR zq_missing
      DIRECTORIES ${zq_dll_dirs_text}
      PRE_EXCLUDE_REGEXES \"^api-ms-\" \"^ext-ms-\"
      POST_EXCLUDE_REGEXES \".*[Ss]ystem32/.*\")
    file(INSTALL \${zq_found} DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")")
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
include(CPack)
