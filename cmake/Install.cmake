# What `cmake --install <build> --prefix P` puts under P: the library with its headers and a
# CMake package and a pkg-config file to find it by, the Python module (python/), and the
# viewer with its desktop entry, icon and man page. Every file the package writes finds the
# others relative to itself, so the prefix can be chosen at install time and moved after.

# The library is static, and it calls raylib (drawing, and the camera's matrix), which is built
# here from source: its archive goes beside ours (in a folder of its own, so it never shadows a
# system raylib), and what raylib in turn links comes from the system.
set(GALAXY_RAYLIB_SYSTEM_LIBS m dl rt X11)
list(TRANSFORM GALAXY_RAYLIB_SYSTEM_LIBS PREPEND "-l" OUTPUT_VARIABLE _raylib_flags)
list(JOIN _raylib_flags " " GALAXY_RAYLIB_LIBS)
install(TARGETS galaxy_core ARCHIVE DESTINATION lib)
install(FILES "$<TARGET_FILE:raylib>" DESTINATION lib/galaxy_core)

# <galaxy_core.h> at the top; the library's own headers beneath include/galaxy_core/ with
# their folders, so that "galaxy/galaxy_code.h" reads the same inside and outside the tree,
# with the two raylib headers they take their vector and colour types from.
install(FILES api/galaxy_core.h DESTINATION include)
foreach(_folder random scene octree galaxy systems orrery files)
    install(DIRECTORY "${_folder}/" DESTINATION "include/galaxy_core/${_folder}" FILES_MATCHING PATTERN "*.h")
endforeach()
install(FILES "${RAYLIB_SOURCE_DIR}/src/raylib.h" "${RAYLIB_SOURCE_DIR}/src/raymath.h" DESTINATION include/galaxy_core)

include(CMakePackageConfigHelpers)
configure_file(packaging/GalaxyCoreConfig.cmake.in "${CMAKE_CURRENT_BINARY_DIR}/GalaxyCoreConfig.cmake" @ONLY)
write_basic_package_version_file("${CMAKE_CURRENT_BINARY_DIR}/GalaxyCoreConfigVersion.cmake"
    VERSION "${GALAXY_VERSION}" COMPATIBILITY SameMajorVersion)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/GalaxyCoreConfig.cmake" "${CMAKE_CURRENT_BINARY_DIR}/GalaxyCoreConfigVersion.cmake"
    DESTINATION lib/cmake/GalaxyCore)
configure_file(packaging/galaxy_core.pc.in "${CMAKE_CURRENT_BINARY_DIR}/galaxy_core.pc" @ONLY)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/galaxy_core.pc" DESTINATION lib/pkgconfig)

install(TARGETS galaxy_viewer RUNTIME DESTINATION bin)
install(FILES packaging/galaxy_viewer.desktop DESTINATION share/applications)
install(FILES packaging/galaxy_viewer.png DESTINATION share/icons/hicolor/128x128/apps)

# The man page is --help and --version, laid out by help2man; without help2man the rest
# builds and installs as before.
find_program(HELP2MAN help2man)
if(HELP2MAN)
    add_custom_command(OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/galaxy_viewer.1"
        COMMAND "${HELP2MAN}" --no-info --no-discard-stderr
                "--name=interactive viewer of procedurally generated galaxies"
                "--output=${CMAKE_CURRENT_BINARY_DIR}/galaxy_viewer.1" "$<TARGET_FILE:galaxy_viewer>"
        DEPENDS galaxy_viewer
        COMMENT "Writing the man page galaxy_viewer.1 from --help")
    add_custom_target(galaxy_viewer_man ALL DEPENDS "${CMAKE_CURRENT_BINARY_DIR}/galaxy_viewer.1")
    install(FILES "${CMAKE_CURRENT_BINARY_DIR}/galaxy_viewer.1" DESTINATION share/man/man1)
else()
    message(STATUS "help2man not found: galaxy_viewer's man page is not made")
endif()
