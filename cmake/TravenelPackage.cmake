# The installed package: the drawing surface (gfx), the control host (ui) and
# the chart (chart) as static libraries with their headers, and a package
# configuration, so that another project writes
#
#   find_package(Travenel CONFIG REQUIRED)
#   target_link_libraries(myprogram PRIVATE Travenel::chart)
#
# Travenel::chart brings Travenel::ui, Travenel::gfx and Qt 6 Widgets along.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(TRAVENEL_PACKAGE_VERSION 1.0.0)
set(_travenel_libs gfx ui chart)
set(_travenel_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Travenel)

foreach(lib ${_travenel_libs})
  # Names of their own in a shared library folder.
  set_target_properties(${lib} PROPERTIES OUTPUT_NAME travenel_${lib})
  # The headers are C++20: a program that includes them is compiled as such,
  # whatever standard it asks for itself.
  target_compile_features(${lib} INTERFACE cxx_std_20)
  file(GLOB _hdr CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${lib}/*.h)
  # The paint cache is the chart's own business (tests switch it off through it).
  list(FILTER _hdr EXCLUDE REGEX "/rchart_paintcache\\.h$")
  install(FILES ${_hdr} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/travenel/${lib})
endforeach()
if(TRAVENEL_SANITIZE)
  # Libraries built with the sanitizers need their run-time in the program.
  target_link_options(gfx INTERFACE -fsanitize=address,undefined)
endif()

install(TARGETS ${_travenel_libs} EXPORT TravenelTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT TravenelTargets NAMESPACE Travenel:: DESTINATION ${_travenel_cmake_dir})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/TravenelConfig.cmake.in
                              ${CMAKE_CURRENT_BINARY_DIR}/TravenelConfig.cmake
                              INSTALL_DESTINATION ${_travenel_cmake_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/TravenelConfigVersion.cmake
                                 VERSION ${TRAVENEL_PACKAGE_VERSION}
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TravenelConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/TravenelConfigVersion.cmake
        DESTINATION ${_travenel_cmake_dir})
