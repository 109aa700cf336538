// Keeping the look's data in step with the galaxy. Colours are gathered into draw order only
// when the galaxy's colours or its tree change, never per frame.
#include "galaxy/galaxy_look.h"

#include "galaxy/star_color.h"

namespace
{
void UpdateDrawColors(const GALAXY &galaxy, GALAXY_LOOK_T *look)
{
    const ARRAY_OCTREE_T &tree = galaxy.tree;
    if (look->colors_made && look->colors_version == galaxy.star_colors_version &&
        look->colors_tree_version == tree.version)
        return;
    // star_colors may be shorter than its filled count claims while someone refills it.
    const size_t filled = galaxy.star_colors_filled < galaxy.star_colors.size() ? galaxy.star_colors_filled
                                                                                : galaxy.star_colors.size();
    look->draw_colors.resize(tree.draw_order.size());
    for (size_t j = 0; j < tree.draw_order.size(); j++)
    {
        const uint32_t star = tree.draw_order[j];
        look->draw_colors[j] = star < filled
                                   ? galaxy.star_colors[star]
                                   : StarColorFromPosition(tree.draw_positions[j], galaxy.disc_radius);
    }
    look->colors_made = true;
    look->colors_version = galaxy.star_colors_version;
    look->colors_tree_version = tree.version;
    look->colors_stamp += 1;
}
} // namespace

uint64_t SelectGalaxyLook(const GALAXY &galaxy, const FRUSTUM_T &frustum, const LOD_VIEW_T &view,
                          GALAXY_LOOK_T *look)
{
    UpdateArrayOctreeLod(galaxy.tree, &look->lod);
    UpdateDrawColors(galaxy, look);
    return SelectArrayOctreeLod(galaxy.tree, look->lod, frustum, view, &look->selection);
}
