# Installation for host projects: headers, DLLs, import libraries, the C++ runtime DLLs and a CMake
# package, so that a host writes `find_package(kqmfc)` and links `kqmfc::kqmfc`.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS kqmfc kqafx kqbase EXPORT kqmfcTargets
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/ ${PROJECT_SOURCE_DIR}/platform/mfc/include/
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
install(FILES ${PROJECT_SOURCE_DIR}/platform/kqbase/kqcstring.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
get_property(runtime_dlls GLOBAL PROPERTY KQ_RUNTIME_DLLS)
install(FILES ${runtime_dlls} DESTINATION ${CMAKE_INSTALL_BINDIR})

install(EXPORT kqmfcTargets NAMESPACE kqmfc:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/kqmfc)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/kqmfcConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/kqmfcConfig.cmake
                              INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/kqmfc)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/kqmfcConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/kqmfcConfig.cmake ${CMAKE_BINARY_DIR}/kqmfcConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/kqmfc)

# The test command builds a host project against the installed package and runs it.
if(BUILD_TESTING)
  add_test(NAME package_consumer
           COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
                   -DWINE_RUN=${PROJECT_SOURCE_DIR}/tools/wine-run.sh -DWINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix
                   -P ${PROJECT_SOURCE_DIR}/cmake/ConsumerTest.cmake)
  set_tests_properties(package_consumer PROPERTIES TIMEOUT 600)
endif()
