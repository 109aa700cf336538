# The browser build's dependencies, in place of the desktop's: raylib for the web platform
# (its GLFW is emscripten's, its OpenGL is WebGL 1 through GLES2), the header-only CLI11 and
# nlohmann-json from Debian, and no threads. Included by cmake/Dependencies.cmake under emscripten.

set(RAYLIB_PACKAGE_DIR "${PROJECT_SOURCE_DIR}/.deps/raylib-0.8.1/package"
    CACHE PATH "Unpacked npm package raylib@0.8.1 (scripts/setup puts it here)")
set(RAYLIB_SOURCE_DIR "${RAYLIB_PACKAGE_DIR}/vendor/raylib")
set(RAYGUI_INCLUDE_DIR "${RAYLIB_SOURCE_DIR}/examples/shapes")
if(NOT EXISTS "${RAYLIB_SOURCE_DIR}/CMakeLists.txt" OR NOT EXISTS "${RAYGUI_INCLUDE_DIR}/raygui.h")
    message(FATAL_ERROR "raylib sources not found under ${RAYLIB_PACKAGE_DIR}. Run scripts/setup first.")
endif()

set(BUILD_EXAMPLES OFF CACHE BOOL "" FORCE)
set(USE_AUDIO OFF CACHE BOOL "" FORCE)
set(PLATFORM "Web" CACHE STRING "" FORCE)
set(SUPPORT_SCREEN_CAPTURE OFF CACHE BOOL "" FORCE)
set(SUPPORT_GIF_RECORDING OFF CACHE BOOL "" FORCE)
add_subdirectory("${RAYLIB_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/raylib" EXCLUDE_FROM_ALL)

# Debian's header-only libraries, seen through a folder of their own: adding /usr/include
# itself would put the host's C library in front of emscripten's.
set(_web_headers "${CMAKE_BINARY_DIR}/host-headers")
file(MAKE_DIRECTORY "${_web_headers}")
foreach(_name CLI nlohmann)
    if(NOT EXISTS "/usr/include/${_name}")
        message(FATAL_ERROR "/usr/include/${_name} is missing (Debian packages libcli11-dev, nlohmann-json3-dev)")
    endif()
    file(CREATE_LINK "/usr/include/${_name}" "${_web_headers}/${_name}" SYMBOLIC)
endforeach()
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE "${_web_headers}")
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE "${_web_headers}")
# No threads in the page: the code that would start one takes its in-frame path instead.
add_library(Threads::Threads INTERFACE IMPORTED)

include("${PROJECT_SOURCE_DIR}/cmake/RaylibTargets.cmake")
