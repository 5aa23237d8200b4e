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

set(TRAVENEL_PACKAGE_VERSION 1.1.0)
set(_travenel_libs gfx ui chart)
set(_travenel_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Travenel)

# The headers a program sees: the two widgets, the chart and the scale, and
# what their declarations name. The rest (rendering, the paint cache, raster
# rules, glyph stores, the Qt host, conversions, the application services) is
# the libraries' own business and stays out of the package; no installed
# header includes one of them.
set(_travenel_public_headers_gfx Bitmap.h Canvas.h Color.h Font.h Types.h)
set(_travenel_public_headers_ui Control.h ControlWidget.h Input.h)
set(_travenel_public_headers_chart
    RChartWidget.h ScaleWidget.h rchart.h rchart_item.h rchart_podbuffer.h rchart_map.h
    rchart_props.h Scale.h
    Scale_labels.h ulxbase.h ulxbase_draw.h)

foreach(lib ${_travenel_libs})
  # Names of their own in a shared library folder.
  set_target_properties(${lib} PROPERTIES OUTPUT_NAME travenel_${lib})
  # The headers are C++20: a program that includes them is compiled as such,
  # whatever standard it asks for itself.
  target_compile_features(${lib} INTERFACE cxx_std_20)
  list(TRANSFORM _travenel_public_headers_${lib} PREPEND ${PROJECT_SOURCE_DIR}/${lib}/
       OUTPUT_VARIABLE _hdr)
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
