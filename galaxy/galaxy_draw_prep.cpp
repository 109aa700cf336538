// Draw-order data of a tree, pure and window-free, so that the builder's worker can make it.
#include "galaxy/galaxy_draw_prep.h"

#include "galaxy/star_color.h"

void FindDrawPlaces(const ARRAY_OCTREE_T &tree, uint32_t star_count, std::vector<uint32_t> *places)
{
    places->assign(star_count, GALAXY_NOT_DRAWN);
    for (size_t j = 0; j < tree.draw_order.size(); j++)
    {
        const uint32_t star = tree.draw_order[j];
        if (star < star_count) (*places)[star] = (uint32_t)j;
    }
}

void GatherDrawColors(const ARRAY_OCTREE_T &tree, const std::vector<Color> &star_colors, uint32_t filled,
                      float disc_radius, std::vector<Color> *draw_colors)
{
    // star_colors may be shorter than its filled count claims while someone refills it.
    const size_t valid = filled < star_colors.size() ? filled : star_colors.size();
    draw_colors->resize(tree.draw_order.size());
    for (size_t j = 0; j < tree.draw_order.size(); j++)
    {
        const uint32_t star = tree.draw_order[j];
        (*draw_colors)[j] =
            star < valid ? star_colors[star] : StarColorFromPosition(tree.draw_positions[j], disc_radius);
    }
}

void PrepareGalaxyDraw(const ARRAY_OCTREE_T &tree, const std::vector<Color> &star_colors, float disc_radius,
                       GALAXY_DRAW_PREP_T *prep)
{
    prep->lod.built = false; // whatever it held was another tree's
    UpdateArrayOctreeLod(tree, &prep->lod);
    FindDrawPlaces(tree, (uint32_t)star_colors.size(), &prep->places);
    GatherDrawColors(tree, star_colors, (uint32_t)star_colors.size(), disc_radius, &prep->draw_colors);
    prep->ready = true;
}
