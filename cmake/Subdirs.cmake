# Folders of the build, in dependency order. Each one adds its own targets.
# Core: no Qt and no SDK. SDK: the reader SDK and what builds on it without a window, and the
# update check (libcurl, OpenSSL) with its release tool.
# GUI: the program's windows over Qt 6, the operator's manual with pictures of them, and the
# Debian packages of everything.
set(KX_CORE_DIRS app/convert support/ini app/log)
set(KX_SDK_DIRS sdk tools/emulator tools/fake_ftd2xx tools/fake_hidapi tools/identify app/flows tools/cli
  support/update tools/release)
set(KX_GUI_DIRS app/framework resources app/dialogs app/main docs packaging)

set(kx_dirs ${KX_CORE_DIRS})
if(NOT KX_CORE_ONLY)
  list(APPEND kx_dirs ${KX_SDK_DIRS})
  if(KX_BUILD_GUI)
    list(APPEND kx_dirs ${KX_GUI_DIRS})
  endif()
endif()

foreach(dir IN LISTS kx_dirs)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endforeach()

if(KX_BUILD_TESTS)
  foreach(dir IN LISTS kx_dirs)
    if(EXISTS ${CMAKE_SOURCE_DIR}/tests/${dir}/CMakeLists.txt)
      add_subdirectory(tests/${dir})
    endif()
  endforeach()
endif()

if(KX_BUILD_FUZZERS AND EXISTS ${CMAKE_SOURCE_DIR}/tests/fuzz/CMakeLists.txt)
  add_subdirectory(tests/fuzz)
endif()
if(KX_BUILD_BENCHMARKS AND NOT KX_CORE_ONLY AND EXISTS ${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
  add_subdirectory(bench)
endif()
