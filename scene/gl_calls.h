// The few OpenGL calls of the library's own drawing that differ between the desktop (OpenGL 3.3
// through the loader raylib compiles in) and a browser (WebGL 1 through emscripten's GLES2).
// Everything else the drawing files call is the same on both.
#pragma once

#include <string>

#if defined(__EMSCRIPTEN__)
#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GLES2/gl2.h>
#include <GLES2/gl2ext.h>
// WebGL 1 has vertex arrays through OES_vertex_array_object, which emscripten enables with the
// context; its entry points are the desktop's under another name.
#define glGenVertexArrays glGenVertexArraysOES
#define glBindVertexArray glBindVertexArrayOES
#define glDeleteVertexArrays glDeleteVertexArraysOES
#else
#include "external/glad.h"
#endif

// Shader sources are written once, with ATTRIBUTE and VARYING for the storage words and
// finalColor for the fragment's colour; these put the dialect's own words and version in front.
std::string VertexShaderSource(const char *body);
std::string FragmentShaderSource(const char *body);

// Several ranges of one vertex buffer in one call where the platform has it.
void MultiDrawArrays(GLenum mode, const GLint *first, const GLsizei *count, GLsizei ranges);

// Multisampling and shader-set point sizes can be switched on the desktop; in WebGL neither can
// (points always take their size from the shader), so these do nothing there.
void EnableMultisample(bool on);
void EnableProgramPointSize(bool on);
