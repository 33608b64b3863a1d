# What a Windows install needs beside the two programs: Qt's plugins and every DLL the programs
# and plugins load (Qt's own, the picture libraries, zlib, the compiler's run-time), found in the
# folders of Qt, the libraries' prefix, vcpkg and the compiler. Windows finds DLLs beside the
# program and Qt finds its plugins in the program's folder, so everything goes into one folder.

set(zq_plugins)
# The designer's platform and style; zqskin draws render --boxes on the minimal platform.
foreach(plugin Qt6::QWindowsIntegrationPlugin Qt6::QMinimalIntegrationPlugin Qt6::QWindowsVistaStylePlugin)
  if(TARGET ${plugin})
    list(APPEND zq_plugins ${plugin})
  endif()
endforeach()
foreach(plugin IN LISTS zq_plugins)
  get_target_property(zq_plugin_type ${plugin} QT_PLUGIN_TYPE)
  install(FILES $<TARGET_FILE:${plugin}> DESTINATION ${CMAKE_INSTALL_BINDIR}/${zq_plugin_type})
endforeach()

set(zq_dll_dirs)
get_target_property(zq_qtcore_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT zq_qtcore_dll)
  get_target_property(zq_qtcore_dll Qt6::Core IMPORTED_LOCATION)
endif()
if(zq_qtcore_dll)
  get_filename_component(zq_qt_bin "${zq_qtcore_dll}" DIRECTORY)
  list(APPEND zq_dll_dirs "${zq_qt_bin}")
endif()
if(ZQ_WINDOWS_PREFIX)
  list(APPEND zq_dll_dirs "${ZQ_WINDOWS_PREFIX}/bin")
endif()
if(DEFINED VCPKG_INSTALLED_DIR AND DEFINED VCPKG_TARGET_TRIPLET)
  list(APPEND zq_dll_dirs "${VCPKG_INSTALLED_DIR}/${VCPKG_TARGET_TRIPLET}/bin")
endif()
get_filename_component(zq_compiler_dir "${CMAKE_CXX_COMPILER}" DIRECTORY)
list(APPEND zq_dll_dirs "${zq_compiler_dir}")

# Read off the programs' import tables; cross-built, with the toolchain's objdump.
set(zq_objdump "")
if(CMAKE_CROSSCOMPILING)
  find_program(ZQ_OBJDUMP NAMES x86_64-w64-mingw32-objdump objdump REQUIRED)
  set(zq_objdump "${ZQ_OBJDUMP}")
endif()
set(zq_plugin_files)
foreach(plugin IN LISTS zq_plugins)
  list(APPEND zq_plugin_files "$<TARGET_FILE:${plugin}>")
endforeach()
install(CODE "
  set(zq_executables \"$<TARGET_FILE:zqskin>\" \"$<TARGET_FILE:zqdesigner>\")
  set(zq_modules \"$<JOIN:${zq_plugin_files},\" \">\")
  set(zq_dll_dirs \"$<JOIN:${zq_dll_dirs},\" \">\")
  set(zq_destination \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  set(zq_objdump \"${zq_objdump}\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/InstallRuntimeDlls.cmake\")")

# The sample skin to start from, and a short read-me.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/sample-skin/ DESTINATION sample-skin
        FILES_MATCHING PATTERN "ZqCSkin.ini" PATTERN "*.bmp" PATTERN "*.jpg" PATTERN "generator" EXCLUDE)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/windows/README.txt DESTINATION .)
