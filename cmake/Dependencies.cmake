# raylib 3.5.0 and raygui 2.8, both from the npm package raylib@0.8.1 that scripts/setup
# fetches, checks and unpacks into .deps/. raylib is built from source with the project;
# raygui is a single header compiled once, in app/gui.cpp.

# The browser build (scripts/web) has dependencies of its own.
if(EMSCRIPTEN)
    include("${PROJECT_SOURCE_DIR}/web/dependencies.cmake")
    return()
endif()

set(RAYLIB_PACKAGE_DIR "${PROJECT_SOURCE_DIR}/.deps/raylib-0.8.1/package"
    CACHE PATH "Unpacked npm package raylib@0.8.1 (scripts/setup puts it here)")
set(RAYLIB_SOURCE_DIR "${RAYLIB_PACKAGE_DIR}/vendor/raylib")
set(RAYGUI_INCLUDE_DIR "${RAYLIB_SOURCE_DIR}/examples/shapes")

if(NOT EXISTS "${RAYLIB_SOURCE_DIR}/CMakeLists.txt" OR NOT EXISTS "${RAYGUI_INCLUDE_DIR}/raygui.h")
    message(FATAL_ERROR "raylib sources not found under ${RAYLIB_PACKAGE_DIR}. "
                        "Run scripts/setup first (scripts/run and scripts/test do it for you).")
endif()

# raylib's own options: the library only, no examples, no audio (the viewer is silent).
set(BUILD_EXAMPLES OFF CACHE BOOL "" FORCE)
set(USE_AUDIO OFF CACHE BOOL "" FORCE)
set(PLATFORM "Desktop" CACHE STRING "" FORCE)
# raylib's own F12 capture (and Ctrl+F12 recording) writes into the current folder unannounced,
# from inside its key callback, where a capture during a resize crashes the GL driver. The
# viewer takes its own screenshots at a safe point of the frame instead.
set(SUPPORT_SCREEN_CAPTURE OFF CACHE BOOL "" FORCE)
set(SUPPORT_GIF_RECORDING OFF CACHE BOOL "" FORCE)
set(OpenGL_GL_PREFERENCE GLVND)
# raylib is third-party C: keep our warning and sanitizer flags away from it.
add_subdirectory("${RAYLIB_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/raylib" EXCLUDE_FROM_ALL)

# The viewer's command line, and the JSON it prints.
find_package(CLI11 REQUIRED)
find_package(nlohmann_json 3 REQUIRED)
# The galaxy builder's worker thread.
find_package(Threads REQUIRED)

include("${PROJECT_SOURCE_DIR}/cmake/RaylibTargets.cmake")

# raylib registers a pkg-config check of its own install as a test; it is not ours to run.
file(WRITE "${CMAKE_BINARY_DIR}/CTestCustom.cmake"
    "set(CTEST_CUSTOM_TESTS_IGNORE \${CTEST_CUSTOM_TESTS_IGNORE} pkg-config pkg-config--static)\n")
