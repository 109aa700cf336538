// The log-polar Fourier amplitude A(m, p) = |sum exp(i (m theta + p ln r))| / N over the stars
// of an annulus. p is swept on a coarse grid by multiplying each star's term by its own
// exp(i dp ln r) (no trigonometry per step), then refined around the best value.
#include "tests/support/spiral_measure.h"

#include <cmath>
#include <complex>
#include <vector>

namespace
{
constexpr double P_REACH = 130.0; // |p| of a pitch of 4 degrees at m = 9
// The peak of a spiral over an annulus of log width w is about 2 pi / w wide in p: above 4
// for any annulus measured here, so a coarse step of 0.5 cannot miss it.
constexpr double P_STEP = 0.5;
// The transform keeps at most this many stars of the annulus, evenly: enough that noise stays
// near 0.01, few enough for the sanitizer build.
constexpr size_t MOST_SAMPLES = 6000;
constexpr int RINGS = 12;

struct SAMPLE_T
{
    double theta;
    double u; // ln r
};

double Amplitude(const std::vector<SAMPLE_T> &samples, int m, double p)
{
    std::complex<double> sum = 0.0;
    for (const SAMPLE_T &s : samples) sum += std::polar(1.0, m * s.theta + p * s.u);
    return std::abs(sum) / (double)samples.size();
}

// The p of the largest amplitude for m, and that amplitude.
void BestFrequency(const std::vector<SAMPLE_T> &samples, int m, double *best_p, double *best_amplitude)
{
    std::vector<std::complex<double>> term(samples.size()), step(samples.size());
    for (size_t j = 0; j < samples.size(); j++)
    {
        term[j] = std::polar(1.0, m * samples[j].theta - P_REACH * samples[j].u);
        step[j] = std::polar(1.0, P_STEP * samples[j].u);
    }
    *best_amplitude = -1.0;
    const int steps = (int)(2.0 * P_REACH / P_STEP);
    for (int k = 0; k <= steps; k++)
    {
        std::complex<double> sum = 0.0;
        for (size_t j = 0; j < samples.size(); j++)
        {
            sum += term[j];
            term[j] *= step[j];
        }
        const double amplitude = std::abs(sum) / (double)samples.size();
        if (amplitude > *best_amplitude)
        {
            *best_amplitude = amplitude;
            *best_p = -P_REACH + P_STEP * k;
        }
    }
    const double coarse = *best_p;
    for (double p = coarse - P_STEP; p <= coarse + P_STEP; p += P_STEP / 25.0)
    {
        const double amplitude = Amplitude(samples, m, p);
        if (amplitude > *best_amplitude)
        {
            *best_amplitude = amplitude;
            *best_p = p;
        }
    }
}
} // namespace

SPIRAL_MEASURE_T MeasureSpiral(const IOBJECT_T *stars, uint64_t count, double r_inner, double r_outer)
{
    SPIRAL_MEASURE_T measure;
    std::vector<SAMPLE_T> samples;
    std::vector<double> ring_count(RINGS, 0.0);
    for (uint64_t k = 0; k < count; k++)
    {
        const Vector3 p = stars[k].position;
        const double r = std::sqrt((double)p.x * p.x + (double)p.z * p.z);
        if (!(r >= r_inner && r <= r_outer)) continue;
        samples.push_back(SAMPLE_T{std::atan2((double)p.z, (double)p.x), std::log(r)});
        const int ring = (int)((r - r_inner) / (r_outer - r_inner) * RINGS);
        ring_count[ring < RINGS ? ring : RINGS - 1] += 1.0;
    }
    measure.stars = (int32_t)samples.size();
    if (samples.empty()) return measure;
    if (samples.size() > MOST_SAMPLES)
    {
        std::vector<SAMPLE_T> kept;
        for (size_t k = 0; k < MOST_SAMPLES; k++) kept.push_back(samples[k * samples.size() / MOST_SAMPLES]);
        samples.swap(kept);
    }

    for (int m = 1; m <= SPIRAL_MEASURE_MAX_M; m++)
    {
        double p = 0.0;
        BestFrequency(samples, m, &p, &measure.amplitude[m]);
        measure.pitch_degrees[m] = std::atan((double)m / std::fabs(p)) * 180.0 / 3.141592653589793;
        if (measure.strongest_m == 0 || measure.amplitude[m] > measure.amplitude[measure.strongest_m])
            measure.strongest_m = m;
    }

    // ln(surface density) against the ring's middle radius, by least squares.
    double sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0, syy = 0.0;
    int n = 0;
    const double width = (r_outer - r_inner) / RINGS;
    for (int ring = 0; ring < RINGS; ring++)
    {
        if (ring_count[ring] <= 0.0) continue;
        const double a = r_inner + width * ring, b = a + width;
        const double x = (a + b) / 2.0;
        const double y = std::log(ring_count[ring] / (3.141592653589793 * (b * b - a * a)));
        sx += x, sy += y, sxx += x * x, sxy += x * y, syy += y * y;
        n++;
    }
    const double cov = sxy - sx * sy / n, vx = sxx - sx * sx / n, vy = syy - sy * sy / n;
    if (n >= 3 && vx > 0.0 && vy > 0.0)
    {
        measure.scale_length = -vx / cov;
        measure.profile_r2 = cov * cov / (vx * vy);
    }
    return measure;
}

Vector3 AxisSpread(const IOBJECT_T *stars, uint64_t count)
{
    double x = 0.0, y = 0.0, z = 0.0;
    for (uint64_t k = 0; k < count; k++)
    {
        const Vector3 p = stars[k].position;
        x += (double)p.x * p.x, y += (double)p.y * p.y, z += (double)p.z * p.z;
    }
    const double n = count > 0 ? (double)count : 1.0;
    return Vector3{(float)std::sqrt(x / n), (float)std::sqrt(y / n), (float)std::sqrt(z / n)};
}
