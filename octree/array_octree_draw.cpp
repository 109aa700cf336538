// The array octree on screen: all visible stars in one multi-draw of points from a vertex
// buffer uploaded once per tree, and the visible cells' wire boxes in one multi-draw of lines.
// Raylib 3.5's rlgl has no call for a static vertex buffer, so this file talks to OpenGL
// itself: through the loader raylib compiles in on the desktop, WebGL 1 in a browser, with the
// calls that differ in scene/gl_calls.h.
#include "octree/array_octree.h"
#include "octree/array_octree_cells.h"
#include "octree/array_octree_lod.h"

#include <cmath>
#include <cstddef>

#include "rlgl.h"
#include "scene/gl_calls.h"

// Defined by raylib's rlgl but not declared in the headers of this version.
extern "C" Matrix GetMatrixProjection(void);

namespace
{
// Stars are drawn as screen squares with the mean screen area of a cube of this edge (world
// units): a convex body's mean projected area is a quarter of its surface, 1.5 edge^2 for a
// cube, hence a square of side edge * sqrt(1.5).
constexpr float STAR_CUBE_EDGE = 0.5f;
const float STAR_POINT_SIDE = STAR_CUBE_EDGE * std::sqrt(1.5f);

// An edge that k cells share is drawn once with the opacity of k faint lines laid over each
// other, 1 - (1 - alpha)^k, so the picture is what drawing it k times gave.
const char *const VERTEX_SHADER = R"(
ATTRIBUTE vec3 vertexPosition;
ATTRIBUTE float vertexMultiplicity;
uniform mat4 mvp;
uniform float pointScale;
uniform vec4 colDiffuse;
VARYING float fragAlpha;
void main()
{
    gl_Position = mvp*vec4(vertexPosition, 1.0);
    gl_PointSize = pointScale/gl_Position.w;
    fragAlpha = 1.0 - pow(1.0 - colDiffuse.a, vertexMultiplicity);
}
)";

const char *const FRAGMENT_SHADER = R"(
uniform vec4 colDiffuse;
VARYING float fragAlpha;
void main()
{
    finalColor = vec4(colDiffuse.rgb, fragAlpha);
}
)";

// The soft look: a round point whose light falls off from its centre, added onto the frame.
// A sample standing for w stars carries their light spread over its share of its node's
// projected area (vertexExtent, world units), so the samples of a node cover about the node
// and no more: their pixels, not the stars', are what a frame costs. Points keep a least size
// (pixels) so far stars stay round, and a most so near ones stay stars.
const char *const SOFT_VERTEX_SHADER = R"(
ATTRIBUTE vec3 vertexPosition;
ATTRIBUTE vec4 vertexColor;
ATTRIBUTE float vertexWeight;
ATTRIBUTE float vertexExtent;
uniform mat4 mvp;
uniform float pointScale;
uniform float pixelsPerUnit;
uniform float exposure;
uniform float fade;
VARYING vec3 fragLight;
const float LEAST_SIZE = 3.0;
const float MOST_SIZE = 9.0;
const float MOST_SPREAD = 16.0;
const float BRIGHTNESS = 1.3;
void main()
{
    gl_Position = mvp*vec4(vertexPosition, 1.0);
    float star = clamp(pointScale/gl_Position.w, LEAST_SIZE, MOST_SIZE);
    float size = clamp(pixelsPerUnit*vertexExtent/gl_Position.w, star, MOST_SPREAD);
    gl_PointSize = size;
    fragLight = vertexColor.rgb*(BRIGHTNESS*exposure*fade*vertexWeight*(star*star)/(size*size));
}
)";

const char *const SOFT_FRAGMENT_SHADER = R"(
VARYING vec3 fragLight;
void main()
{
    vec2 d = gl_PointCoord*2.0 - 1.0;
    float r2 = dot(d, d);
    if (r2 >= 1.0) discard;
    finalColor = vec4(fragLight*(exp(-3.0*r2)*(1.0 - r2)), 0.0);
}
)";

// DEBUG's stars through the level of detail: a sample is an opaque star's square widened to its
// share of its node (as the soft look spreads it), as opaque as the stars it stands for would
// cover that square on average, so crowded parts stay as solid as their stars drew them.
const char *const SAMPLED_VERTEX_SHADER = R"(
ATTRIBUTE vec3 vertexPosition;
ATTRIBUTE float vertexWeight;
ATTRIBUTE float vertexExtent;
uniform mat4 mvp;
uniform float pointScale;
uniform float pixelsPerUnit;
uniform float fade;
VARYING float fragAlpha;
const float MOST_SPREAD = 8.0;
void main()
{
    gl_Position = mvp*vec4(vertexPosition, 1.0);
    float star = pointScale/gl_Position.w;
    float size = clamp(pixelsPerUnit*vertexExtent/gl_Position.w, star, MOST_SPREAD);
    gl_PointSize = size;
    fragAlpha = fade*min(1.0, vertexWeight*(star*star)/(size*size));
}
)";

const char *const SAMPLED_FRAGMENT_SHADER = R"(
uniform vec4 colDiffuse;
VARYING float fragAlpha;
void main()
{
    finalColor = vec4(colDiffuse.rgb, fragAlpha);
}
)";

bool LoadProgram(ARRAY_OCTREE_GPU_T *gpu)
{
    gpu->shader = LoadShaderCode(VertexShaderSource(VERTEX_SHADER).c_str(), FragmentShaderSource(FRAGMENT_SHADER).c_str());
    gpu->mvp_location = GetShaderLocation(gpu->shader, "mvp");
    gpu->color_location = GetShaderLocation(gpu->shader, "colDiffuse");
    gpu->point_scale_location = GetShaderLocation(gpu->shader, "pointScale");
    gpu->multiplicity_location = glGetAttribLocation(gpu->shader.id, "vertexMultiplicity");
    glGenVertexArrays(1, &gpu->star_vao);
    glGenBuffers(1, &gpu->star_vbo);
    glGenVertexArrays(1, &gpu->cell_vao);
    glGenBuffers(1, &gpu->cell_vbo);
    // A failed compile leaves raylib's default shader, which has none of these uniforms.
    return gpu->point_scale_location >= 0 && gpu->mvp_location >= 0;
}

void FillBuffer(unsigned int vao, unsigned int vbo, const Vector3 *vertices, size_t count)
{
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(count * sizeof(Vector3)), vertices, GL_STATIC_DRAW);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr); // "vertexPosition" is bound to 0
    glEnableVertexAttribArray(0);
}

void Upload(const ARRAY_OCTREE_T &tree, ARRAY_OCTREE_GPU_T *gpu)
{
    FillBuffer(gpu->star_vao, gpu->star_vbo, tree.draw_positions.data(), tree.draw_positions.size());
    gpu->uploaded = true;
    gpu->uploaded_version = tree.version;
}

void UploadCells(const ARRAY_OCTREE_CELLS_T &cells, ARRAY_OCTREE_GPU_T *gpu)
{
    const std::vector<CELL_VERTEX_T> &lines = cells.vertices;
    glBindVertexArray(gpu->cell_vao);
    glBindBuffer(GL_ARRAY_BUFFER, gpu->cell_vbo);
    glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(lines.size() * sizeof(CELL_VERTEX_T)), lines.data(), GL_STATIC_DRAW);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(CELL_VERTEX_T), nullptr);
    glEnableVertexAttribArray(0);
    if (gpu->multiplicity_location >= 0)
    {
        glVertexAttribPointer((GLuint)gpu->multiplicity_location, 1, GL_FLOAT, GL_FALSE, sizeof(CELL_VERTEX_T),
                              (const void *)offsetof(CELL_VERTEX_T, multiplicity));
        glEnableVertexAttribArray((GLuint)gpu->multiplicity_location);
    }
    gpu->cells_uploaded = true;
    gpu->cells_version = cells.tree_version;
}

bool LoadSoftProgram(ARRAY_OCTREE_GPU_T *gpu)
{
    gpu->soft_shader =
        LoadShaderCode(VertexShaderSource(SOFT_VERTEX_SHADER).c_str(), FragmentShaderSource(SOFT_FRAGMENT_SHADER).c_str());
    gpu->soft_mvp_location = GetShaderLocation(gpu->soft_shader, "mvp");
    gpu->soft_point_scale_location = GetShaderLocation(gpu->soft_shader, "pointScale");
    gpu->soft_exposure_location = GetShaderLocation(gpu->soft_shader, "exposure");
    gpu->soft_fade_location = GetShaderLocation(gpu->soft_shader, "fade");
    gpu->soft_weight_location = glGetAttribLocation(gpu->soft_shader.id, "vertexWeight");
    gpu->soft_extent_location = glGetAttribLocation(gpu->soft_shader.id, "vertexExtent");
    gpu->soft_pixels_location = GetShaderLocation(gpu->soft_shader, "pixelsPerUnit");
    glGenVertexArrays(1, &gpu->soft_star_vao);
    glGenBuffers(1, &gpu->star_color_vbo);
    glGenVertexArrays(1, &gpu->sample_vao);
    if (gpu->sample_vbo == 0) glGenBuffers(1, &gpu->sample_vbo);
    glGenBuffers(1, &gpu->sample_color_vbo);
    return gpu->soft_fade_location >= 0 && gpu->soft_weight_location >= 0 && gpu->soft_extent_location >= 0;
}

struct SAMPLE_VERTEX_T
{
    Vector3 position;
    float weight;
    float extent;
};

// "vertexColor" is bound to 3 by raylib's shader loader.
void ColorAttribute(unsigned int vbo, const Color *colors, size_t count)
{
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(count * sizeof(Color)), colors, GL_STATIC_DRAW);
    glVertexAttribPointer(3, 4, GL_UNSIGNED_BYTE, GL_TRUE, 0, nullptr);
    glEnableVertexAttribArray(3);
}

// Position, weight and extent of each sample from vbo, for a program with these locations.
void SampleAttributes(unsigned int vbo, int weight_location, int extent_location)
{
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(SAMPLE_VERTEX_T), nullptr);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer((GLuint)weight_location, 1, GL_FLOAT, GL_FALSE, sizeof(SAMPLE_VERTEX_T),
                          (const void *)offsetof(SAMPLE_VERTEX_T, weight));
    glEnableVertexAttribArray((GLuint)weight_location);
    glVertexAttribPointer((GLuint)extent_location, 1, GL_FLOAT, GL_FALSE, sizeof(SAMPLE_VERTEX_T),
                          (const void *)offsetof(SAMPLE_VERTEX_T, extent));
    glEnableVertexAttribArray((GLuint)extent_location);
}

// The samples' positions, weights and extents: the tree's alone, so they are made again only
// for a new tree, whichever look asks first.
void UploadSampleVertices(const ARRAY_OCTREE_T &tree, const ARRAY_OCTREE_LOD_T &lod, ARRAY_OCTREE_GPU_T *gpu)
{
    if (gpu->sample_vbo == 0) glGenBuffers(1, &gpu->sample_vbo);
    if (gpu->samples_uploaded && gpu->samples_tree_version == tree.version) return;
    const size_t stars = tree.draw_positions.size();
    std::vector<SAMPLE_VERTEX_T> vertices(lod.samples.size());
    for (size_t k = 0; k < lod.samples.size(); k++)
    {
        const uint32_t place = lod.samples[k] < stars ? lod.samples[k] : 0;
        vertices[k] = SAMPLE_VERTEX_T{tree.draw_positions[place], lod.sample_weight[k], lod.sample_extent[k]};
    }
    glBindBuffer(GL_ARRAY_BUFFER, gpu->sample_vbo);
    glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(vertices.size() * sizeof(SAMPLE_VERTEX_T)), vertices.data(),
                 GL_STATIC_DRAW);
    gpu->samples_uploaded = true;
    gpu->samples_tree_version = tree.version;
}

// The stars' colours beside their positions, and the samples with theirs. The samples' vertex
// data depends on the tree alone, their colours on the stars' too; both are small beside the
// stars, so they are rebuilt together.
void UploadSoft(const ARRAY_OCTREE_T &tree, const ARRAY_OCTREE_LOD_T &lod, const Color *draw_colors,
                uint32_t colors_stamp, ARRAY_OCTREE_GPU_T *gpu)
{
    const size_t stars = tree.draw_positions.size();
    glBindVertexArray(gpu->soft_star_vao);
    glBindBuffer(GL_ARRAY_BUFFER, gpu->star_vbo);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(0);
    ColorAttribute(gpu->star_color_vbo, draw_colors, stars);

    UploadSampleVertices(tree, lod, gpu);
    std::vector<Color> colors(lod.samples.size());
    for (size_t k = 0; k < lod.samples.size(); k++)
        colors[k] = draw_colors[lod.samples[k] < stars ? lod.samples[k] : 0];
    glBindVertexArray(gpu->sample_vao);
    SampleAttributes(gpu->sample_vbo, gpu->soft_weight_location, gpu->soft_extent_location);
    ColorAttribute(gpu->sample_color_vbo, colors.data(), colors.size());
    gpu->sample_colors.swap(colors);

    gpu->soft_uploaded = true;
    gpu->soft_tree_version = tree.version;
    gpu->soft_colors_stamp = colors_stamp;
}

// Only the ranges of draw_colors that changed since the stamp before colors_stamp, into the
// buffers as they stand; the samples' colours, a small share of the stars', all again.
void UploadSoftColors(const ARRAY_OCTREE_T &tree, const ARRAY_OCTREE_LOD_T &lod, const Color *draw_colors,
                      uint32_t colors_stamp, const LOD_RANGES_T &changed, ARRAY_OCTREE_GPU_T *gpu)
{
    const size_t stars = tree.draw_positions.size();
    glBindBuffer(GL_ARRAY_BUFFER, gpu->star_color_vbo);
    for (size_t r = 0; r < changed.first.size(); r++)
    {
        const size_t first = (size_t)changed.first[r];
        if (first >= stars) continue;
        const size_t count = first + (size_t)changed.count[r] < stars ? (size_t)changed.count[r] : stars - first;
        glBufferSubData(GL_ARRAY_BUFFER, (GLintptr)(first * sizeof(Color)), (GLsizeiptr)(count * sizeof(Color)),
                        draw_colors + first);
    }
    gpu->sample_colors.resize(lod.samples.size());
    for (size_t k = 0; k < lod.samples.size(); k++)
        gpu->sample_colors[k] = draw_colors[lod.samples[k] < stars ? lod.samples[k] : 0];
    glBindBuffer(GL_ARRAY_BUFFER, gpu->sample_color_vbo);
    glBufferSubData(GL_ARRAY_BUFFER, 0, (GLsizeiptr)(gpu->sample_colors.size() * sizeof(Color)),
                    gpu->sample_colors.data());
    gpu->soft_colors_stamp = colors_stamp;
}

float PointScale(void)
{
    return STAR_POINT_SIDE * ScreenPixelsPerUnit();
}

void SetColor(const ARRAY_OCTREE_GPU_T *gpu, Color color)
{
    glUniform4f(gpu->color_location, color.r / 255.0f, color.g / 255.0f, color.b / 255.0f, color.a / 255.0f);
}

// With the cells' program in use and cells checked against the tree. The faint lines write
// depth: drawn before the stars they would hide every star behind any cell edge. After them
// they only brighten what they cross.
void DrawCellLines(const ARRAY_OCTREE_CELLS_T *cells, const CELL_LINE_RANGES_T *lines, Color color,
                   ARRAY_OCTREE_GPU_T *gpu)
{
    if (cells == nullptr || lines == nullptr || lines->first.empty()) return;
    if (!gpu->cells_uploaded || gpu->cells_version != cells->tree_version) UploadCells(*cells, gpu);
    SetColor(gpu, color);
    glBindVertexArray(gpu->cell_vao);
    // Faint one-pixel lines gain nothing from multisampling, and a software rasteriser
    // spends most of a DEBUG frame on their samples.
    EnableMultisample(false);
    MultiDrawArrays(GL_LINES, lines->first.data(), lines->count.data(), (GLsizei)lines->first.size());
    EnableMultisample(true);
}

// A level-of-detail selection, fade level by fade level, through the program in use: the
// stars from star_vao each standing for itself in its own size, the samples from sample_vao
// with their weights and extents.
void DrawSelectionByFade(const LOD_SELECTION_T &selection, int fade_location, unsigned int star_vao,
                         unsigned int sample_vao, int weight_location, int extent_location)
{
    for (int32_t level = 1; level <= LOD_FADE_LEVELS; level++)
    {
        const LOD_RANGES_T &stars = selection.stars[level];
        const LOD_RANGES_T &samples = selection.samples[level];
        if (stars.first.empty() && samples.first.empty()) continue;
        glUniform1f(fade_location, (float)level / (float)LOD_FADE_LEVELS);
        if (!stars.first.empty())
        {
            glBindVertexArray(star_vao);
            glVertexAttrib1f((GLuint)weight_location, 1.0f);
            glVertexAttrib1f((GLuint)extent_location, 0.0f);
            MultiDrawArrays(GL_POINTS, stars.first.data(), stars.count.data(), (GLsizei)stars.first.size());
        }
        if (!samples.first.empty())
        {
            glBindVertexArray(sample_vao);
            MultiDrawArrays(GL_POINTS, samples.first.data(), samples.count.data(), (GLsizei)samples.first.size());
        }
    }
}

bool LoadSampledProgram(ARRAY_OCTREE_GPU_T *gpu)
{
    gpu->sampled_shader = LoadShaderCode(VertexShaderSource(SAMPLED_VERTEX_SHADER).c_str(),
                                         FragmentShaderSource(SAMPLED_FRAGMENT_SHADER).c_str());
    gpu->sampled_mvp_location = GetShaderLocation(gpu->sampled_shader, "mvp");
    gpu->sampled_color_location = GetShaderLocation(gpu->sampled_shader, "colDiffuse");
    gpu->sampled_point_scale_location = GetShaderLocation(gpu->sampled_shader, "pointScale");
    gpu->sampled_pixels_location = GetShaderLocation(gpu->sampled_shader, "pixelsPerUnit");
    gpu->sampled_fade_location = GetShaderLocation(gpu->sampled_shader, "fade");
    gpu->sampled_weight_location = glGetAttribLocation(gpu->sampled_shader.id, "vertexWeight");
    gpu->sampled_extent_location = glGetAttribLocation(gpu->sampled_shader.id, "vertexExtent");
    if (gpu->sampled_fade_location < 0 || gpu->sampled_weight_location < 0 || gpu->sampled_extent_location < 0)
        return false;
    // The array names the samples' buffer, not its contents: set once, it holds across uploads.
    if (gpu->sample_vbo == 0) glGenBuffers(1, &gpu->sample_vbo);
    glGenVertexArrays(1, &gpu->sampled_vao);
    glBindVertexArray(gpu->sampled_vao);
    SampleAttributes(gpu->sample_vbo, gpu->sampled_weight_location, gpu->sampled_extent_location);
    glBindVertexArray(0);
    return true;
}
} // namespace

void DrawArrayOctree(const ARRAY_OCTREE_T &tree, const ARRAY_OCTREE_RANGES_T &visible,
                     ARRAY_OCTREE_GPU_T *gpu, Color color, const ARRAY_OCTREE_CELLS_T *cells,
                     const CELL_LINE_RANGES_T *lines)
{
    // Whatever raylib has batched so far (the frustum's outline) goes first, in its own state.
    rlglDraw();
    if (gpu->shader.id == 0 && !LoadProgram(gpu)) return;
    if (gpu->point_scale_location < 0) return;
    if (!gpu->uploaded || gpu->uploaded_version != tree.version) Upload(tree, gpu);
    // Cells of another tree (a frame that raced a swap) are not drawn at all.
    if (cells != nullptr && cells->tree_version != tree.version) cells = nullptr;

    const Matrix mvp = MatrixMultiply(GetMatrixModelview(), GetMatrixProjection());
    const float point_scale = PointScale();

    glUseProgram(gpu->shader.id);
    glUniformMatrix4fv(gpu->mvp_location, 1, GL_FALSE, MatrixToFloat(mvp));
    glUniform1f(gpu->point_scale_location, point_scale);

    if (!visible.star_first.empty())
    {
        SetColor(gpu, Color{color.r, color.g, color.b, 255});
        EnableProgramPointSize(true);
        glBindVertexArray(gpu->star_vao);
        // Stars are drawn once each: the attribute array is off, its constant value is 1.
        if (gpu->multiplicity_location >= 0) glVertexAttrib1f((GLuint)gpu->multiplicity_location, 1.0f);
        MultiDrawArrays(GL_POINTS, visible.star_first.data(), visible.star_count.data(),
                          (GLsizei)visible.star_first.size());
        EnableProgramPointSize(false);
    }
    DrawCellLines(cells, lines, color, gpu);

    // Raylib binds its own program and arrays for every batch it draws; leave none of ours.
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glUseProgram(0);
}

float ScreenPixelsPerUnit(void)
{
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    // At clip w = 1: half the viewport's height times the projection's vertical scale (m5).
    return GetMatrixProjection().m5 * (float)viewport[3] * 0.5f;
}

void DrawArrayOctreeSoft(const ARRAY_OCTREE_T &tree, const ARRAY_OCTREE_LOD_T &lod, const LOD_SELECTION_T &selection,
                         const Color *draw_colors, uint32_t colors_stamp, const LOD_RANGES_T *colors_changed,
                         float exposure, ARRAY_OCTREE_GPU_T *gpu)
{
    rlglDraw();
    if (gpu->shader.id == 0 && !LoadProgram(gpu)) return;
    if (gpu->soft_shader.id == 0 && !LoadSoftProgram(gpu)) return;
    if (gpu->soft_fade_location < 0 || gpu->soft_weight_location < 0 || gpu->soft_extent_location < 0) return;
    if (!gpu->uploaded || gpu->uploaded_version != tree.version) Upload(tree, gpu);
    const bool soft_current = gpu->soft_uploaded && gpu->soft_tree_version == tree.version;
    if (soft_current && colors_changed != nullptr && gpu->soft_colors_stamp + 1 == colors_stamp &&
        gpu->sample_colors.size() == lod.samples.size())
        UploadSoftColors(tree, lod, draw_colors, colors_stamp, *colors_changed, gpu);
    else if (!soft_current || gpu->soft_colors_stamp != colors_stamp)
        UploadSoft(tree, lod, draw_colors, colors_stamp, gpu);

    const Matrix mvp = MatrixMultiply(GetMatrixModelview(), GetMatrixProjection());
    glUseProgram(gpu->soft_shader.id);
    glUniformMatrix4fv(gpu->soft_mvp_location, 1, GL_FALSE, MatrixToFloat(mvp));
    glUniform1f(gpu->soft_point_scale_location, PointScale());
    glUniform1f(gpu->soft_exposure_location, exposure);
    glUniform1f(gpu->soft_pixels_location, ScreenPixelsPerUnit());

    // Light adds up whatever the order: no depth, and the frame's alpha is left alone.
    const GLboolean depth_test = glIsEnabled(GL_DEPTH_TEST);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFuncSeparate(GL_ONE, GL_ONE, GL_ZERO, GL_ONE);
    EnableProgramPointSize(true);
    // Soft round points need no edge smoothing; without it a software rasteriser shades and
    // blends each point once instead of per sample.
    EnableMultisample(false);
    DrawSelectionByFade(selection, gpu->soft_fade_location, gpu->soft_star_vao, gpu->sample_vao,
                        gpu->soft_weight_location, gpu->soft_extent_location);
    EnableMultisample(true);
    EnableProgramPointSize(false);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); // raylib's own blending
    glDepthMask(GL_TRUE);
    if (depth_test) glEnable(GL_DEPTH_TEST);

    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glUseProgram(0);
}

void DrawArrayOctreeSampled(const ARRAY_OCTREE_T &tree, const ARRAY_OCTREE_LOD_T &lod,
                            const LOD_SELECTION_T &selection, ARRAY_OCTREE_GPU_T *gpu, Color color,
                            const ARRAY_OCTREE_CELLS_T *cells, const CELL_LINE_RANGES_T *lines)
{
    rlglDraw();
    if (gpu->shader.id == 0 && !LoadProgram(gpu)) return;
    if (gpu->point_scale_location < 0) return;
    if (gpu->sampled_shader.id == 0 && !LoadSampledProgram(gpu)) return;
    if (gpu->sampled_fade_location < 0 || gpu->sampled_weight_location < 0 ||
        gpu->sampled_extent_location < 0)
        return;
    if (!gpu->uploaded || gpu->uploaded_version != tree.version) Upload(tree, gpu);
    UploadSampleVertices(tree, lod, gpu);
    if (cells != nullptr && cells->tree_version != tree.version) cells = nullptr;

    const Matrix mvp = MatrixMultiply(GetMatrixModelview(), GetMatrixProjection());
    glUseProgram(gpu->sampled_shader.id);
    glUniformMatrix4fv(gpu->sampled_mvp_location, 1, GL_FALSE, MatrixToFloat(mvp));
    glUniform1f(gpu->sampled_point_scale_location, PointScale());
    glUniform1f(gpu->sampled_pixels_location, ScreenPixelsPerUnit());
    glUniform4f(gpu->sampled_color_location, color.r / 255.0f, color.g / 255.0f, color.b / 255.0f, 1.0f);
    // Partly covered squares must not hide the lines behind them; a star's square, as light
    // as a hard one without its edges smoothed, costs a software rasteriser a quarter as much.
    glDepthMask(GL_FALSE);
    EnableProgramPointSize(true);
    EnableMultisample(false);
    DrawSelectionByFade(selection, gpu->sampled_fade_location, gpu->star_vao, gpu->sampled_vao,
                        gpu->sampled_weight_location, gpu->sampled_extent_location);
    EnableMultisample(true);
    EnableProgramPointSize(false);
    glDepthMask(GL_TRUE);

    glUseProgram(gpu->shader.id);
    glUniformMatrix4fv(gpu->mvp_location, 1, GL_FALSE, MatrixToFloat(mvp));
    glUniform1f(gpu->point_scale_location, PointScale());
    DrawCellLines(cells, lines, color, gpu);

    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glUseProgram(0);
}

void UnloadArrayOctreeGpu(ARRAY_OCTREE_GPU_T *gpu)
{
    if (gpu->sampled_shader.id != 0) UnloadShader(gpu->sampled_shader);
    if (gpu->sampled_vao != 0) glDeleteVertexArrays(1, &gpu->sampled_vao);
    if (gpu->soft_shader.id != 0) UnloadShader(gpu->soft_shader);
    if (gpu->star_color_vbo != 0) glDeleteBuffers(1, &gpu->star_color_vbo);
    if (gpu->sample_vbo != 0) glDeleteBuffers(1, &gpu->sample_vbo);
    if (gpu->sample_color_vbo != 0) glDeleteBuffers(1, &gpu->sample_color_vbo);
    if (gpu->soft_star_vao != 0) glDeleteVertexArrays(1, &gpu->soft_star_vao);
    if (gpu->sample_vao != 0) glDeleteVertexArrays(1, &gpu->sample_vao);
    if (gpu->shader.id != 0) UnloadShader(gpu->shader);
    if (gpu->star_vbo != 0) glDeleteBuffers(1, &gpu->star_vbo);
    if (gpu->cell_vbo != 0) glDeleteBuffers(1, &gpu->cell_vbo);
    if (gpu->star_vao != 0) glDeleteVertexArrays(1, &gpu->star_vao);
    if (gpu->cell_vao != 0) glDeleteVertexArrays(1, &gpu->cell_vao);
    *gpu = ARRAY_OCTREE_GPU_T{};
}
