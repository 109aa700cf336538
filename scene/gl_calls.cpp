// Desktop OpenGL and WebGL side by side: the desktop keeps the calls it always made, the browser
// takes the nearest WebGL 1 has.
#include "scene/gl_calls.h"

#if defined(__EMSCRIPTEN__)
#include <emscripten.h>

// Through the context's WEBGL_multi_draw when the browser has it, else one draw per range.
// GLctx is emscripten's current WebGL context.
EM_JS(void, WebMultiDrawArrays, (int mode, const int *first, const int *count, int ranges), {
    var gl = GLctx;
    if (gl.multiDrawWebgl)
    {
        gl.multiDrawWebgl.multiDrawArraysWEBGL(mode, HEAP32, first >> 2, HEAP32, count >> 2, ranges);
        return;
    }
    for (var r = 0; r < ranges; r++) gl.drawArrays(mode, HEAP32[(first >> 2) + r], HEAP32[(count >> 2) + r]);
});

std::string VertexShaderSource(const char *body)
{
    return std::string("#version 100\nprecision highp float;\n#define ATTRIBUTE attribute\n#define VARYING varying\n") +
           body;
}

std::string FragmentShaderSource(const char *body)
{
    // A uniform both stages read must have one precision in both: the vertex stage's highp
    // wherever the fragment stage has it.
    return std::string("#version 100\n#ifdef GL_FRAGMENT_PRECISION_HIGH\nprecision highp float;\n#else\n"
                       "precision mediump float;\n#endif\n#define VARYING varying\n#define finalColor gl_FragColor\n") +
           body;
}

void MultiDrawArrays(GLenum mode, const GLint *first, const GLsizei *count, GLsizei ranges)
{
    WebMultiDrawArrays((int)mode, first, count, ranges);
}

void EnableMultisample(bool)
{
}

void EnableProgramPointSize(bool)
{
}
#else
std::string VertexShaderSource(const char *body)
{
    return std::string("#version 330\n#define ATTRIBUTE in\n#define VARYING out\n") + body;
}

std::string FragmentShaderSource(const char *body)
{
    return std::string("#version 330\n#define VARYING in\nout vec4 finalColor;\n") + body;
}

void MultiDrawArrays(GLenum mode, const GLint *first, const GLsizei *count, GLsizei ranges)
{
    glMultiDrawArrays(mode, first, count, ranges);
}

void EnableMultisample(bool on)
{
    if (on)
        glEnable(GL_MULTISAMPLE);
    else
        glDisable(GL_MULTISAMPLE);
}

void EnableProgramPointSize(bool on)
{
    if (on)
        glEnable(GL_PROGRAM_POINT_SIZE);
    else
        glDisable(GL_PROGRAM_POINT_SIZE);
}
#endif
