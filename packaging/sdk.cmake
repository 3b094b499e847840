# The reader library's packages: libkxlf.so.1 (component "library", package libkxlf1) and what a
# program needs to build against it (component "development", package libkxlf-dev): kxlf.h, the
# unversioned link, kxlf.pc for pkg-config and a CMake package giving the imported target
# kxlf::kxlf to find_package(kxlf).
include(CMakePackageConfigHelpers)

set(kx_cmake_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/kxlf)
# The library lies where the system looks; it needs no search path of its own.
set_target_properties(kxlf PROPERTIES INSTALL_RPATH "")
install(TARGETS kxlf EXPORT kxlfTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT library NAMELINK_COMPONENT development
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_SOURCE_DIR}/sdk/include/kxlf.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
install(EXPORT kxlfTargets NAMESPACE kxlf:: DESTINATION ${kx_cmake_package_dir}
  COMPONENT development)
configure_package_config_file(kxlfConfig.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/kxlfConfig.cmake
  INSTALL_DESTINATION ${kx_cmake_package_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/kxlfConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/kxlfConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/kxlfConfigVersion.cmake
  DESTINATION ${kx_cmake_package_dir} COMPONENT development)

# pkg-config files name the prefix outright; it is known only when installing (a package is
# made for /usr whatever the build's prefix), so the file is finished then.
set(KX_PC_PREFIX "@CMAKE_INSTALL_PREFIX@")
configure_file(kxlf.pc.in ${CMAKE_CURRENT_BINARY_DIR}/kxlf.pc.in @ONLY)
install(CODE "configure_file(\"${CMAKE_CURRENT_BINARY_DIR}/kxlf.pc.in\"
  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig/kxlf.pc\" @ONLY)"
  COMPONENT development)
