// Placing the stars of a Hubble type. Every distance is in world units: the disc's radius is
// size_xz, its scale height follows size_y (the two are not tied here), and the other lengths
// are fractions of them, chosen so that the components keep the proportions of real galaxies.
#include "galaxy/hubble_galaxy.h"

#include <cmath>

#include "galaxy/hubble_types.h"
#include "galaxy/spiral_arms.h"
#include "random/star_dice.h"

namespace
{
constexpr double TWO_PI = 6.283185307179586;
// The disc's scale length as a fraction of its radius: the rim lies at 3.5 scale lengths,
// where real discs fade into the halo.
constexpr double DISC_SCALE = 1.0 / 3.5;
// The thin disc's sech^2 scale height per unit of size_y, and the thick disc's share and
// height over the thin one's.
constexpr double THIN_HEIGHT = 1.0 / 16.0;
constexpr double THICK_SHARE = 0.12;
constexpr double THICK_OVER_THIN = 3.0;
// Where the arms of an unbarred spiral begin, as a fraction of the radius.
constexpr double ARM_START = 0.2;
// Share of arm stars in HII knots, knots per arm, and a knot's size over the radius.
constexpr double HII_SHARE = 0.07;
constexpr uint64_t KNOTS_PER_ARM = 24;
constexpr double KNOT_SIZE = 0.012;
// A bar takes this share of the stars per unit of its length (over the radius), and is this
// wide and this thick over its length.
constexpr double BAR_SHARE_PER_LENGTH = 0.5;
constexpr double BAR_WIDTH = 0.3;
constexpr double BAR_THICKNESS = 0.15;
// Irregulars: clumps, their share of the stars, their sizes over the radius.
constexpr uint64_t IRREGULAR_CLUMPS = 12;
constexpr double CLUMP_SHARE = 0.6;
// Salts that keep the dice of knots and clumps apart from the stars'.
constexpr uint64_t KNOT_SALT = 0x4B4E4F54ull;  // "KNOT"
constexpr uint64_t CLUMP_SALT = 0x434C554Dull; // "CLUM"
constexpr uint64_t DUST_SALT = 0x44555354ull;  // "DUST"
// How far ahead of an arm's ridge its dust lane runs, in arm spreads (sigma).
constexpr double DUST_LEAD = 1.3;

// What a call derives from the shape once, for all its stars.
struct HUBBLE_FRAME_T
{
    const HUBBLE_TYPE_T *type = nullptr;
    uint64_t key = 0;
    double radius = 0.0;
    double scale_length = 0.0;
    double thin_height = 0.0;
    double bulge_share = 0.0;
    double bulge_scale = 0.0;
    double bar_share = 0.0;
    double bar_length = 0.0;
    double arm_start = 0.0;
    int32_t arms = 0;
    double tan_pitch = 1.0;
    double arm_sigma = 0.0; // radians
    double arm_contrast = 0.0;
    double axis_b = 1.0; // an elliptical's middle and shortest axes over its longest
    double axis_c = 1.0;
};

uint64_t ShapeKey(const GALAXY_SHAPE_T &shape)
{
    uint64_t key = 0x48554242ull; // "HUBB"
    for (int64_t value : {(int64_t)shape.seed, (int64_t)shape.size_xz, (int64_t)shape.size_y, (int64_t)shape.arms,
                          (int64_t)shape.density, (int64_t)shape.model, (int64_t)shape.pitch,
                          (int64_t)shape.bulge_share, (int64_t)shape.bar_length, (int64_t)shape.arm_width,
                          (int64_t)shape.arm_contrast})
        key = MixBits(key ^ (uint64_t)value);
    return key;
}

HUBBLE_FRAME_T MakeFrame(const GALAXY_SHAPE_T &shape)
{
    HUBBLE_FRAME_T frame;
    frame.type = HubbleType(shape.model);
    frame.key = ShapeKey(shape);
    frame.radius = (double)shape.size_xz;
    frame.scale_length = frame.radius * DISC_SCALE;
    frame.thin_height = (double)shape.size_y * THIN_HEIGHT;
    frame.bulge_share = (double)shape.bulge_share / 100.0;
    // Larger bulges are also more extended, as from Sd to Sa.
    frame.bulge_scale = frame.radius * (0.025 + 0.05 * frame.bulge_share);
    frame.bar_length = frame.radius * (double)shape.bar_length / 100.0;
    frame.bar_share = BAR_SHARE_PER_LENGTH * (double)shape.bar_length / 100.0;
    frame.arm_start = shape.bar_length > 0 ? frame.bar_length : frame.radius * ARM_START;
    frame.arms = shape.arms;
    frame.tan_pitch = std::tan((double)shape.pitch * TWO_PI / 360.0);
    frame.arm_sigma = (double)shape.arm_width / 100.0 * TWO_PI / (double)(shape.arms > 0 ? shape.arms : 1);
    frame.arm_contrast = (double)shape.arm_contrast / 100.0;
    if (frame.type != nullptr && frame.type->kind == HUBBLE_ELLIPTICAL)
    {
        frame.axis_c = 1.0 - (double)frame.type->ellipticity / 10.0;
        frame.axis_b = (1.0 + frame.axis_c) / 2.0;
    }
    return frame;
}

double Gauss(STAR_DICE_T *dice)
{
    const double u = 1.0 - RollDiceUnit(dice); // (0, 1]: the logarithm stays finite
    const double v = RollDiceUnit(dice);
    return std::sqrt(-2.0 * std::log(u)) * std::cos(TWO_PI * v);
}

// A radius of an exponential disc of scale h (surface density e^(-R/h), so R follows a gamma
// law of shape 2), drawn again while beyond the rim.
double DiscRadius(STAR_DICE_T *dice, double h, double rim)
{
    for (int attempt = 0; attempt < 16; attempt++)
    {
        const double r = -h * std::log((1.0 - RollDiceUnit(dice)) * (1.0 - RollDiceUnit(dice)));
        if (r <= rim) return r;
    }
    return rim * RollDiceUnit(dice);
}

// A height of a sech^2 layer of scale z0: the inverse of its distribution, z0 atanh(2u - 1).
double LayerHeight(STAR_DICE_T *dice, double z0)
{
    double u = RollDiceUnit(dice);
    u = u < 1e-12 ? 1e-12 : u;
    return z0 * std::atanh(2.0 * u - 1.0);
}

// A radius of a Hernquist sphere of scale a (mass within r: r^2 / (r + a)^2), within reach.
double SpheroidRadius(STAR_DICE_T *dice, double a, double reach)
{
    for (int attempt = 0; attempt < 16; attempt++)
    {
        const double s = std::sqrt(RollDiceUnit(dice));
        const double r = a * s / (1.0 - s);
        if (r <= reach) return r;
    }
    return reach * RollDiceUnit(dice);
}

Vector3 OnSphere(STAR_DICE_T *dice, double r)
{
    const double cos_theta = 2.0 * RollDiceUnit(dice) - 1.0;
    const double sin_theta = std::sqrt(1.0 - cos_theta * cos_theta);
    const double phi = TWO_PI * RollDiceUnit(dice);
    return Vector3{(float)(r * sin_theta * std::cos(phi)), (float)(r * cos_theta),
                   (float)(r * sin_theta * std::sin(phi))};
}

Vector3 InPlane(double r, double angle, double y)
{
    return Vector3{(float)(r * std::cos(angle)), (float)y, (float)(r * std::sin(angle))};
}

// Where arm k runs at radius r: a logarithmic spiral that leaves the arms' start (the bar's
// end in an SB type) at angle 2 pi k / arms.
double ArmAngle(const HUBBLE_FRAME_T &frame, uint64_t k, double r)
{
    return TWO_PI * (double)k / (double)frame.arms + std::log(r / frame.arm_start) / frame.tan_pitch;
}

IOBJECT_T Star(Vector3 position, STAR_POPULATION_T population)
{
    IOBJECT_T star(position, Vector3{1.0f, 1.0f, 1.0f});
    star.tag = (int32_t)population;
    return star;
}

IOBJECT_T PlaceKnotStar(const HUBBLE_FRAME_T &frame, STAR_DICE_T *dice, uint64_t arm)
{
    const uint64_t knot = (uint64_t)(RollDiceUnit(dice) * (double)KNOTS_PER_ARM);
    STAR_DICE_T knot_dice = MakeStarDice(frame.key ^ KNOT_SALT, arm * KNOTS_PER_ARM + knot);
    const double r = frame.arm_start + DiscRadius(&knot_dice, frame.scale_length, frame.radius - frame.arm_start);
    const Vector3 centre = InPlane(r, ArmAngle(frame, arm, r), 0.0);
    const double size = frame.radius * KNOT_SIZE;
    return Star(Vector3{centre.x + (float)(size * Gauss(dice)), (float)(0.5 * frame.thin_height * Gauss(dice)),
                        centre.z + (float)(size * Gauss(dice))},
                POPULATION_HII);
}

IOBJECT_T PlaceDiscStar(const HUBBLE_FRAME_T &frame, STAR_DICE_T *dice)
{
    const double r = DiscRadius(dice, frame.scale_length, frame.radius);
    const bool thick = RollDiceUnit(dice) < THICK_SHARE;
    const double y = LayerHeight(dice, thick ? THICK_OVER_THIN * frame.thin_height : frame.thin_height);
    const bool armed = frame.type->kind == HUBBLE_SPIRAL && frame.arms > 0 && r >= frame.arm_start;
    if (armed && RollDiceUnit(dice) < frame.arm_contrast)
    {
        const uint64_t arm = (uint64_t)(RollDiceUnit(dice) * (double)frame.arms) % (uint64_t)frame.arms;
        if (RollDiceUnit(dice) < HII_SHARE) return PlaceKnotStar(frame, dice, arm);
        const double angle = ArmAngle(frame, arm, r) + frame.arm_sigma * Gauss(dice);
        return Star(InPlane(r, angle, y), POPULATION_YOUNG);
    }
    return Star(InPlane(r, TWO_PI * RollDiceUnit(dice), y), r < frame.arm_start ? POPULATION_OLD : POPULATION_DISC);
}

IOBJECT_T PlaceBarStar(const HUBBLE_FRAME_T &frame, STAR_DICE_T *dice)
{
    // Evenly in a unit ball (by rejection), then stretched along x into the bar.
    double x = 0.0, y = 0.0, z = 0.0;
    for (int attempt = 0; attempt < 16; attempt++)
    {
        x = 2.0 * RollDiceUnit(dice) - 1.0;
        y = 2.0 * RollDiceUnit(dice) - 1.0;
        z = 2.0 * RollDiceUnit(dice) - 1.0;
        if (x * x + y * y + z * z <= 1.0) break;
    }
    const double length = frame.bar_length;
    return Star(Vector3{(float)(x * length), (float)(y * length * BAR_THICKNESS), (float)(z * length * BAR_WIDTH)},
                POPULATION_OLD);
}

IOBJECT_T PlaceSpheroidStar(const HUBBLE_FRAME_T &frame, STAR_DICE_T *dice, double scale, double reach)
{
    const Vector3 p = OnSphere(dice, SpheroidRadius(dice, scale, reach));
    return Star(Vector3{p.x, (float)(p.y * frame.axis_c), (float)(p.z * frame.axis_b)}, POPULATION_OLD);
}

IOBJECT_T PlaceIrregularStar(const HUBBLE_FRAME_T &frame, STAR_DICE_T *dice)
{
    if (RollDiceUnit(dice) >= CLUMP_SHARE)
    {
        const double r = DiscRadius(dice, frame.scale_length, frame.radius);
        const double y = LayerHeight(dice, 2.0 * frame.thin_height);
        return Star(InPlane(r, TWO_PI * RollDiceUnit(dice), y), POPULATION_DISC);
    }
    const uint64_t clump = (uint64_t)(RollDiceUnit(dice) * (double)IRREGULAR_CLUMPS);
    STAR_DICE_T clump_dice = MakeStarDice(frame.key ^ CLUMP_SALT, clump);
    const double r = DiscRadius(&clump_dice, frame.scale_length, 0.8 * frame.radius);
    const Vector3 centre = InPlane(r, TWO_PI * RollDiceUnit(&clump_dice), 0.0);
    const double size = frame.radius * (0.03 + 0.07 * RollDiceUnit(&clump_dice));
    const STAR_POPULATION_T population = RollDiceUnit(dice) < 0.2 ? POPULATION_HII : POPULATION_YOUNG;
    return Star(Vector3{centre.x + (float)(size * Gauss(dice)), (float)(0.5 * size * Gauss(dice)),
                        centre.z + (float)(size * Gauss(dice))},
                population);
}

IOBJECT_T PlaceStar(const HUBBLE_FRAME_T &frame, uint64_t index)
{
    STAR_DICE_T dice = MakeStarDice(frame.key, index);
    switch (frame.type->kind)
    {
    case HUBBLE_ELLIPTICAL:
        return PlaceSpheroidStar(frame, &dice, frame.radius / 6.0, frame.radius);
    case HUBBLE_IRREGULAR:
        return PlaceIrregularStar(frame, &dice);
    case HUBBLE_SPIRAL:
    case HUBBLE_LENTICULAR:
        break;
    }
    const double component = RollDiceUnit(&dice);
    if (component < frame.bulge_share)
    {
        const IOBJECT_T star = PlaceSpheroidStar(frame, &dice, frame.bulge_scale, 0.5 * frame.radius);
        // A bulge is a little flattened, not as flat as an elliptical can be.
        return Star(Vector3{star.position.x, star.position.y * 0.75f, star.position.z}, POPULATION_OLD);
    }
    if (component < frame.bulge_share + frame.bar_share) return PlaceBarStar(frame, &dice);
    return PlaceDiscStar(frame, &dice);
}

std::string Range(const char *what, int32_t value, int32_t low, int32_t high)
{
    if (value >= low && value <= high) return std::string();
    return std::string(what) + " " + std::to_string(value) + " is out of range (" + std::to_string(low) + " to " +
           std::to_string(high) + ")";
}
} // namespace

std::string HubbleShapeProblem(const GALAXY_SHAPE_T &shape)
{
    const HUBBLE_TYPE_T *type = HubbleType(shape.model);
    if (type == nullptr) return "model " + std::to_string(shape.model) + " is no Hubble type";
    std::string why = Range("density", shape.density, 1, GALAXY_MAX_DENSITY);
    if (why.empty()) why = Range("size XZ", shape.size_xz, 1, 1000000);
    if (why.empty()) why = Range("size Y", shape.size_y, 0, 1000000);
    if (why.empty()) why = Range("bulge share", shape.bulge_share, 0, HUBBLE_MAX_BULGE_SHARE);
    if (type->kind != HUBBLE_SPIRAL) return why;
    if (why.empty()) why = Range("arms", shape.arms, HUBBLE_MIN_ARMS, HUBBLE_MAX_ARMS);
    if (why.empty()) why = Range("pitch", shape.pitch, HUBBLE_MIN_PITCH, HUBBLE_MAX_PITCH);
    if (why.empty()) why = Range("bar length", shape.bar_length, 0, HUBBLE_MAX_BAR_LENGTH);
    if (why.empty()) why = Range("arm width", shape.arm_width, HUBBLE_MIN_ARM_WIDTH, HUBBLE_MAX_ARM_WIDTH);
    if (why.empty()) why = Range("arm contrast", shape.arm_contrast, 0, HUBBLE_MAX_ARM_CONTRAST);
    return why;
}

uint64_t HubbleStarCount(const GALAXY_SHAPE_T &shape)
{
    if (!HubbleShapeProblem(shape).empty()) return 0;
    return HUBBLE_STARS_PER_DENSITY * (uint64_t)shape.density;
}

void PlaceHubbleDust(const GALAXY_SHAPE_T &shape, std::vector<Vector3> *clouds)
{
    clouds->clear();
    if (HubbleStarCount(shape) == 0 || HubbleType(shape.model)->kind != HUBBLE_SPIRAL || shape.arm_contrast == 0)
        return;
    const HUBBLE_FRAME_T frame = MakeFrame(shape);
    clouds->reserve(HUBBLE_DUST_CLOUDS);
    for (uint32_t k = 0; k < HUBBLE_DUST_CLOUDS; k++)
    {
        STAR_DICE_T dice = MakeStarDice(frame.key ^ DUST_SALT, k);
        const uint64_t arm = k % (uint64_t)frame.arms;
        const double r = frame.arm_start + DiscRadius(&dice, frame.scale_length, frame.radius - frame.arm_start);
        // The arm angle grows outwards, so at one radius the side of larger angle is the
        // side toward the centre: the concave edge.
        const double angle = ArmAngle(frame, arm, r) + frame.arm_sigma * (DUST_LEAD + 0.4 * Gauss(&dice));
        clouds->push_back(InPlane(r, angle, 0.5 * frame.thin_height * Gauss(&dice)));
    }
}

void PlaceHubbleStars(const GALAXY_SHAPE_T &shape, uint64_t first, uint64_t count, IOBJECT_T *out)
{
    if (HubbleStarCount(shape) == 0) return;
    const HUBBLE_FRAME_T frame = MakeFrame(shape);
    for (uint64_t k = 0; k < count; k++) out[k] = PlaceStar(frame, first + k);
}
