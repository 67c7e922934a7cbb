# Installing Tavimo on a Linux desktop: the launcher entry, the application icon in the
# hicolor theme (raster sizes drawn from the scalable icon at build time by Qt's SVG renderer
# in a small tool of ours, so every machine draws the same pixels), the AppStream
# metainfo and the PCO book type. The window shows the same raster icons, compiled into
# the program, and `tavimo --version` reports the project's version.
include(GNUInstallDirs)

set(TAVIMO_RES ${CMAKE_SOURCE_DIR}/src/res)
set(TAVIMO_ICON_SIZES 16 22 24 32 48 64 128 256)
set(TAVIMO_ICON_DIR ${CMAKE_BINARY_DIR}/icons)

find_package(Qt6 6.4 REQUIRED COMPONENTS Svg)
add_executable(tavimo_render_icon ${TAVIMO_RES}/RenderIcon.cpp)
target_link_libraries(tavimo_render_icon PRIVATE Qt6::Gui Qt6::Svg tavimo_warnings)
set(icon_pngs)
foreach(size ${TAVIMO_ICON_SIZES})
  set(png ${TAVIMO_ICON_DIR}/${size}x${size}/tavimo.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TAVIMO_ICON_DIR}/${size}x${size}
    COMMAND tavimo_render_icon ${TAVIMO_RES}/tavimo.svg ${size} ${png}
    DEPENDS ${TAVIMO_RES}/tavimo.svg tavimo_render_icon
    COMMENT "Drawing the ${size}x${size} application icon")
  list(APPEND icon_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(tavimo_icons ALL DEPENDS ${icon_pngs})

# AppIcon() reads them as ":/icons/<size>x<size>/tavimo.png".
qt_add_resources(tavimo_commands "tavimo_app_icon" PREFIX "/icons" BASE ${TAVIMO_ICON_DIR}
                 FILES ${icon_pngs})
target_compile_definitions(tavimo_commands PRIVATE TAVIMO_VERSION="${PROJECT_VERSION}")

install(FILES ${TAVIMO_RES}/tavimo.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${TAVIMO_RES}/tavimo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TAVIMO_RES}/com.zellory.Tavimo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${TAVIMO_RES}/tavimo-pco.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
