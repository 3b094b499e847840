# Folders of the build, in dependency order. Each one adds its own targets.
set(KX_CORE_DIRS app/convert support/ini)
set(KX_SDK_DIRS sdk tools/emulator tools/fake_ftd2xx tools/identify)

set(kx_dirs ${KX_CORE_DIRS})
if(NOT KX_CORE_ONLY)
  list(APPEND kx_dirs ${KX_SDK_DIRS})
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
