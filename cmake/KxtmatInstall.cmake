# install(): the module, its public headers, a CMake package
# (find_package(kxtmat) -> kxtmat::kxTerraMatU) and a pkg-config file.
include(CMakePackageConfigHelpers)

install(TARGETS kxTerraMatU EXPORT kxtmatTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/kxtmat DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

set(KXTMAT_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/kxtmat)
install(EXPORT kxtmatTargets NAMESPACE kxtmat:: DESTINATION ${KXTMAT_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/kxtmatConfig.cmake.in
  ${CMAKE_BINARY_DIR}/kxtmatConfig.cmake INSTALL_DESTINATION ${KXTMAT_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/kxtmatConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/kxtmatConfig.cmake ${CMAKE_BINARY_DIR}/kxtmatConfigVersion.cmake
  DESTINATION ${KXTMAT_CMAKE_DIR})

# The .pc file finds the prefix from its own folder, so that an install to
# another prefix (cmake --install --prefix) stays correct.
file(RELATIVE_PATH KXTMAT_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
configure_file(${PROJECT_SOURCE_DIR}/cmake/kxtmat.pc.in ${CMAKE_BINARY_DIR}/kxtmat.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/kxtmat.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
