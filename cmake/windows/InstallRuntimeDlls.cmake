# Runs at install time: copies the DLLs that the programs and plugins load, and the DLLs those
# load in turn, from the folders named, into the install folder. Set before including it:
#   zq_executables, zq_modules, zq_dll_dirs, zq_destination, and, cross-built, zq_objdump.
# CMake reads a Windows program's imports in lower case; the folders may be on a file system
# that tells case apart (Qt6Core.dll), so what it cannot find is looked up here by name alone.
if(zq_objdump)
  set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
  set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
  set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND "${zq_objdump}")
endif()
set(zq_by_name)
foreach(dir IN LISTS zq_dll_dirs)
  file(GLOB dlls "${dir}/*.dll")
  foreach(dll IN LISTS dlls)
    get_filename_component(name "${dll}" NAME)
    string(TOLOWER "${name}" name)
    if(NOT DEFINED zq_dll_${name})
      set(zq_dll_${name} "${dll}")
    endif()
  endforeach()
endforeach()

set(zq_installed)
set(zq_pending ${zq_executables} ${zq_modules})
while(zq_pending)
  file(GET_RUNTIME_DEPENDENCIES
    LIBRARIES ${zq_pending}
    RESOLVED_DEPENDENCIES_VAR found UNRESOLVED_DEPENDENCIES_VAR unresolved
    DIRECTORIES ${zq_dll_dirs}
    PRE_EXCLUDE_REGEXES "^api-ms-" "^ext-ms-"
    POST_EXCLUDE_REGEXES ".*[Ss]ystem32/.*")
  set(zq_pending)
  foreach(name IN LISTS unresolved)
    string(TOLOWER "${name}" name)
    if(DEFINED zq_dll_${name})
      list(APPEND found "${zq_dll_${name}}")
    endif()
    # Everything else is the system's own (kernel32.dll and the like).
  endforeach()
  foreach(dll IN LISTS found)
    list(FIND zq_installed "${dll}" at)
    if(at EQUAL -1)
      list(APPEND zq_installed "${dll}")
      list(APPEND zq_pending "${dll}")
    endif()
  endforeach()
endwhile()
file(INSTALL ${zq_installed} DESTINATION "${zq_destination}")
