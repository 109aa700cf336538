// The second model's figures: how each Hubble type's preset measures (arm amplitude and pitch
// from the log-polar Fourier transform, the disc's exponential scale, ellipticals' flattening),
// and how fast a 973,080-star galaxy of it is made on one thread and on every core.
#include <benchmark/benchmark.h>

#include "galaxy/hubble_types.h"
#include "galaxy/star_field.h"
#include "tests/support/spiral_measure.h"

namespace
{
GALAXY_SHAPE_T TypeShape(int32_t model, int32_t density)
{
    GALAXY_SHAPE_T shape;
    shape.seed = 1;
    shape.size_xz = 252;
    shape.size_y = 63;
    shape.density = density;
    return ApplyHubblePreset(shape, model);
}
} // namespace

// One line a type: the arm count that measures strongest (m), its amplitude, the pitch it
// gives against the preset's, the fitted disc scale length over the expected one (radius /
// 3.5) with the fit's r^2, and the axis ratio of height to the longest in-plane spread.
static void BM_HubbleTypeFigures(benchmark::State &state)
{
    const int32_t model = (int32_t)state.range(0);
    const GALAXY_SHAPE_T shape = TypeShape(model, 4);
    STAR_FIELD_T field(256);
    for (auto _ : state) MakeStarField(&field, shape);
    const double radius = (double)shape.size_xz;
    const double inner = shape.bar_length > 0 ? 1.15 * radius * shape.bar_length / 100.0 : 0.3 * radius;
    const SPIRAL_MEASURE_T measure = MeasureSpiral(field.stars.get(), field.StarCount(), inner, 0.9 * radius);
    const Vector3 spread = AxisSpread(field.stars.get(), field.StarCount());
    state.SetLabel(GalaxyModelName(model));
    state.counters["m"] = measure.strongest_m;
    state.counters["amplitude"] = measure.amplitude[measure.strongest_m];
    state.counters["pitch"] = measure.pitch_degrees[measure.strongest_m];
    state.counters["preset_pitch"] = shape.pitch;
    state.counters["scale_over_expected"] = measure.scale_length / (radius / 3.5);
    state.counters["profile_r2"] = measure.profile_r2;
    state.counters["y_over_x"] = spread.y / (spread.x > spread.z ? spread.x : spread.z);
}
BENCHMARK(BM_HubbleTypeFigures)->DenseRange(1, 18)->Iterations(1)->Unit(benchmark::kMillisecond);

// 973,080 stars of an SBb: placing, indexing, colouring and preparing the drawing, on one
// thread (argument 1) and on every core (0). Placing is what the threads share.
static void BM_HubbleRegenerate973080(benchmark::State &state)
{
    const GALAXY_SHAPE_T shape = TypeShape(6, 40);
    STAR_FIELD_T field(256);
    MakeStarField(&field, shape, (int)state.range(0));
    for (auto _ : state) MakeStarField(&field, shape, (int)state.range(0));
    state.counters["stars"] = (double)field.StarCount();
    state.counters["place_ms"] = field.generate_ms;
    state.counters["index_ms"] = field.index_ms;
}
BENCHMARK(BM_HubbleRegenerate973080)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
