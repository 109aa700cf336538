// The public face over the library's own pieces: the galaxy code, the star field, the system
// JSON writer and the name index. Each call goes through the very functions galaxy_viewer's
// command line uses, so what a caller gets equals what --export, --system and --find print.
#include "api/galaxy_core.h"

#include <cstring>

#include "files/system_json.h"
#include "galaxy/galaxy_code.h"
#include "galaxy/hubble_types.h"
#include "galaxy/star_field.h"
#include "galaxy/star_names.h"
#include "galaxy/star_system_on_demand.h"
#include "random/random.h"
#include "scene/viewer_pose.h"

namespace galaxy_core
{
namespace
{
// The two records carry the same fields: this one list pairs them for both copies.
template <typename VISIT> void PairFields(VISIT visit)
{
    visit(&Shape::seed, &GALAXY_SHAPE_T::seed);
    visit(&Shape::size_xz, &GALAXY_SHAPE_T::size_xz);
    visit(&Shape::size_y, &GALAXY_SHAPE_T::size_y);
    visit(&Shape::inner_radius, &GALAXY_SHAPE_T::inner_radius);
    visit(&Shape::bulge_size, &GALAXY_SHAPE_T::bulge_size);
    visit(&Shape::bulge_offset0, &GALAXY_SHAPE_T::bulge_offset0);
    visit(&Shape::bulge_offset1, &GALAXY_SHAPE_T::bulge_offset1);
    visit(&Shape::arms, &GALAXY_SHAPE_T::arms);
    visit(&Shape::curvature, &GALAXY_SHAPE_T::curvature);
    visit(&Shape::density, &GALAXY_SHAPE_T::density);
    visit(&Shape::model, &GALAXY_SHAPE_T::model);
    visit(&Shape::pitch, &GALAXY_SHAPE_T::pitch);
    visit(&Shape::bulge_share, &GALAXY_SHAPE_T::bulge_share);
    visit(&Shape::bar_length, &GALAXY_SHAPE_T::bar_length);
    visit(&Shape::arm_width, &GALAXY_SHAPE_T::arm_width);
    visit(&Shape::arm_contrast, &GALAXY_SHAPE_T::arm_contrast);
}

GALAXY_SHAPE_T ToInternal(const Shape &s)
{
    GALAXY_SHAPE_T out;
    PairFields([&](auto Shape::*outer, auto GALAXY_SHAPE_T::*inner) { out.*inner = s.*outer; });
    return out;
}

Shape FromInternal(const GALAXY_SHAPE_T &s)
{
    Shape out;
    PairFields([&](auto Shape::*outer, auto GALAXY_SHAPE_T::*inner) { out.*outer = s.*inner; });
    return out;
}

// The galaxy as the command line makes it. The classic walk draws from the calling thread's
// random stream; a caller's own draws from it go on as if nothing had happened.
bool MakeField(const Shape &shape, STAR_FIELD_T *field, std::string *why)
{
    const RANDOM_STATE_T saved = RandomGetState();
    MakeStarField(field, ToInternal(shape));
    RandomSetState(saved);
    if (field->StarCount() > 0) return true;
    if (why) *why = "the galaxy has no stars: " + field->failure;
    return false;
}
} // namespace

const char *Version(void)
{
    return GALAXY_CORE_VERSION;
}

bool operator==(const Shape &a, const Shape &b)
{
    return ToInternal(a) == ToInternal(b);
}

Shape DefaultShape(void)
{
    return FromInternal(DefaultGalaxyShape());
}

bool DecodeCode(const std::string &code, Shape *shape, std::string *why)
{
    // The decoder reads a C string: a NUL inside would cut the code short and pass a prefix.
    if (code.find('\0') != std::string::npos)
    {
        if (why) *why = "a galaxy code has no NUL character";
        return false;
    }
    GALAXY_SHAPE_T decoded;
    const char *reason = "";
    if (!DecodeGalaxyCode(code.c_str(), &decoded, &reason))
    {
        if (why) *why = reason;
        return false;
    }
    *shape = FromInternal(decoded);
    return true;
}

std::string EncodeCode(const Shape &shape)
{
    return EncodeGalaxyCode(ToInternal(shape)).text;
}

int32_t ModelCount(void)
{
    return HUBBLE_TYPE_COUNT;
}

std::string ModelName(int32_t model)
{
    return (model == GALAXY_MODEL_CLASSIC || HubbleType(model)) ? GalaxyModelName(model) : "";
}

int32_t ModelByName(const std::string &name)
{
    if (name == GalaxyModelName(GALAXY_MODEL_CLASSIC)) return GALAXY_MODEL_CLASSIC;
    return HubbleModelByName(name.c_str());
}

Shape WithModel(const Shape &shape, int32_t model)
{
    return FromInternal(ApplyHubblePreset(ToInternal(shape), model));
}

bool MakeStars(const Shape &shape, std::vector<Star> *stars, std::string *why)
{
    stars->clear();
    STAR_FIELD_T field(VIEWER_GALAXY_EXTENT);
    if (!MakeField(shape, &field, why)) return false;
    const uint64_t count = field.StarCount();
    stars->resize(count);
    for (uint64_t i = 0; i < count; i++)
    {
        const Vector3 p = ((const IOBJECT_T *)field.star_list.Get(i))->position;
        const Color c = field.colors[i];
        (*stars)[i] = Star{p.x, p.y, p.z, c.r, c.g, c.b};
    }
    return true;
}

std::vector<Star> Stars(const Shape &shape)
{
    std::vector<Star> stars;
    MakeStars(shape, &stars, nullptr);
    return stars;
}

bool MakeSystemJson(const Shape &shape, uint64_t index, std::string *json, std::string *why)
{
    json->clear();
    STAR_FIELD_T field(VIEWER_GALAXY_EXTENT);
    if (!MakeField(shape, &field, why)) return false;
    const uint64_t count = field.StarCount();
    if (index >= count)
    {
        if (why)
            *why = "star " + std::to_string(index) + ": the galaxy has " + std::to_string(count) +
                   " stars, numbered 0 to " + std::to_string(count - 1);
        return false;
    }
    STAR_SYSTEM_T system;
    const Vector3 position = ((const IOBJECT_T *)field.star_list.Get(index))->position;
    GenerateStarSystem(ToInternal(shape), index, position, &system);
    *json = StarSystemJson(system);
    return true;
}

std::string SystemJson(const Shape &shape, uint64_t index)
{
    std::string json;
    MakeSystemJson(shape, index, &json, nullptr);
    return json;
}

std::string SystemName(const Shape &shape, uint64_t index)
{
    return StarSystemName(ToInternal(shape), index);
}

std::vector<Found> Find(const Shape &shape, const std::string &text, size_t most)
{
    std::vector<Found> found;
    STAR_FIELD_T field(VIEWER_GALAXY_EXTENT);
    if (text.empty() || !MakeField(shape, &field, nullptr)) return found;
    STAR_NAME_INDEX_T names;
    BuildStarNameIndex(ToInternal(shape), field.StarCount(), 0, &names);
    for (uint32_t star : FindStarNames(names, text, most))
        found.push_back(Found{star, names.Name(star)});
    return found;
}
} // namespace galaxy_core
