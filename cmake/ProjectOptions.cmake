# Warning and sanitizer flags for the project's own targets (never for raylib).

option(GALAXY_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer (halt on error)" OFF)

add_library(project_options INTERFACE)
target_compile_features(project_options INTERFACE cxx_std_17)
target_compile_options(project_options INTERFACE -Wall -Wextra)

if(GALAXY_SANITIZE)
    set(_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    # -O1 after the Debug build's -O0: the checks catch the same faults, and the tests that
    # build a million-star tree run several times faster, which the CI's time limit needs.
    target_compile_options(project_options INTERFACE ${_sanitize_flags} -O1)
    target_link_options(project_options INTERFACE ${_sanitize_flags})
endif()
