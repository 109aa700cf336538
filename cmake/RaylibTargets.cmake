# The targets both builds (desktop and web) make from raylib once it is there: raygui, a single
# header beside raylib's examples (RAYGUI_INCLUDE_DIR), and raylib's own include folder seen as
# system headers, so that raylib.h's and raymath.h's warnings stay theirs.
add_library(raygui INTERFACE)
target_include_directories(raygui SYSTEM INTERFACE "${RAYGUI_INCLUDE_DIR}")
target_link_libraries(raygui INTERFACE raylib)
get_target_property(_raylib_target raylib ALIASED_TARGET)
if(NOT _raylib_target)
    set(_raylib_target raylib)
endif()
get_target_property(_raylib_includes ${_raylib_target} INTERFACE_INCLUDE_DIRECTORIES)
set_target_properties(${_raylib_target} PROPERTIES INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${_raylib_includes}")
