# Warning and sanitizer flags for the project's own targets (never for raylib).

option(GALAXY_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer (halt on error)" OFF)

add_library(project_options INTERFACE)
target_compile_features(project_options INTERFACE cxx_std_17)
target_compile_options(project_options INTERFACE -Wall -Wextra)

if(GALAXY_SANITIZE)
    set(_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(project_options INTERFACE ${_sanitize_flags})
    target_link_options(project_options INTERFACE ${_sanitize_flags})
endif()
