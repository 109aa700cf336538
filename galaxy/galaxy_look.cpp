// Keeping the look's data in step with the galaxy. Colours are gathered into draw order only
// when the galaxy's colours or its tree change, never per frame; while stars take their own
// colours a chunk at a time, only those stars are followed into draw order.
#include "galaxy/galaxy_look.h"

#include <utility>

namespace
{
// A new tree whose samples, places and colours the builder's worker made: taken whole, so the
// frame that swaps a large galaxy in does not make them again.
void TakeDrawPrep(GALAXY *galaxy, GALAXY_LOOK_T *look)
{
    GALAXY_DRAW_PREP_T &prep = galaxy->draw_prep;
    const ARRAY_OCTREE_T &tree = galaxy->tree;
    if (!prep.ready || !prep.lod.built || prep.lod.tree_version != tree.version) return;
    std::swap(look->lod, prep.lod);
    std::swap(look->places, prep.places);
    std::swap(look->draw_colors, prep.draw_colors);
    prep.ready = false;
    look->places_made = true;
    look->places_tree_version = tree.version;
    look->colors_made = true;
    look->colors_version = prep.colors_version;
    look->colors_tree_version = tree.version;
    look->colors_from_systems = 0;
    look->colors_partial = false;
    look->colors_stamp += 1;
}

// The stars ColorStarsFromSystems coloured since the last look, when that is all that changed:
// the same tree, one call since (it raises the version by one) and its count moved on. Anything
// else (a refill from positions resets the count) takes the whole gather.
bool FollowNewColors(const GALAXY &galaxy, GALAXY_LOOK_T *look)
{
    const ARRAY_OCTREE_T &tree = galaxy.tree;
    if (!look->colors_made || look->colors_tree_version != tree.version ||
        galaxy.star_colors_version != look->colors_version + 1 ||
        galaxy.star_colors_from_systems <= look->colors_from_systems ||
        galaxy.star_colors_from_systems > galaxy.star_colors.size() || !look->places_made ||
        look->places_tree_version != tree.version || look->places.size() < galaxy.star_colors_from_systems ||
        look->draw_colors.size() != tree.draw_order.size())
        return false;
    const size_t blocks = (look->draw_colors.size() + GALAXY_LOOK_COLOR_BLOCK - 1) / GALAXY_LOOK_COLOR_BLOCK;
    look->block_changed.assign(blocks, 0);
    for (uint32_t star = look->colors_from_systems; star < galaxy.star_colors_from_systems; star++)
    {
        const uint32_t place = look->places[star];
        if (place == GALAXY_NOT_DRAWN) continue;
        look->draw_colors[place] = galaxy.star_colors[star];
        look->block_changed[place / GALAXY_LOOK_COLOR_BLOCK] = 1;
    }
    look->colors_changed.first.clear();
    look->colors_changed.count.clear();
    for (size_t b = 0; b < blocks; b++)
    {
        if (look->block_changed[b] == 0) continue;
        const uint32_t first = (uint32_t)(b * GALAXY_LOOK_COLOR_BLOCK);
        const uint32_t end = first + GALAXY_LOOK_COLOR_BLOCK < look->draw_colors.size()
                                 ? first + GALAXY_LOOK_COLOR_BLOCK
                                 : (uint32_t)look->draw_colors.size();
        if (!look->colors_changed.first.empty() &&
            (uint32_t)(look->colors_changed.first.back() + look->colors_changed.count.back()) == first)
            look->colors_changed.count.back() += (int32_t)(end - first);
        else
        {
            look->colors_changed.first.push_back((int32_t)first);
            look->colors_changed.count.push_back((int32_t)(end - first));
        }
    }
    look->colors_partial = true;
    return true;
}

void UpdateDrawColors(const GALAXY &galaxy, GALAXY_LOOK_T *look)
{
    const ARRAY_OCTREE_T &tree = galaxy.tree;
    if (look->colors_made && look->colors_version == galaxy.star_colors_version &&
        look->colors_tree_version == tree.version)
        return;
    if (!FollowNewColors(galaxy, look))
    {
        if (!look->places_made || look->places_tree_version != tree.version)
        {
            FindDrawPlaces(tree, (uint32_t)galaxy.star_list.Count(), &look->places);
            look->places_made = true;
            look->places_tree_version = tree.version;
        }
        GatherDrawColors(tree, galaxy.star_colors, galaxy.star_colors_filled, galaxy.disc_radius, &look->draw_colors);
        look->colors_partial = false;
    }
    look->colors_made = true;
    look->colors_version = galaxy.star_colors_version;
    look->colors_tree_version = tree.version;
    look->colors_from_systems = galaxy.star_colors_from_systems;
    look->colors_stamp += 1;
}
} // namespace

uint64_t SelectGalaxyLook(GALAXY *galaxy, const FRUSTUM_T &frustum, const LOD_VIEW_T &view, GALAXY_LOOK_T *look)
{
    TakeDrawPrep(galaxy, look);
    UpdateArrayOctreeLod(galaxy->tree, &look->lod);
    UpdateDrawColors(*galaxy, look);
    return SelectArrayOctreeLod(galaxy->tree, look->lod, frustum, view, &look->selection);
}
