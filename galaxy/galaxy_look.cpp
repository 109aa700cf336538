// Selecting the look's points. Everything it draws from is the field's, made with it; only the
// samples are checked against the tree, which a caller may have rebuilt or cleared since.
#include "galaxy/galaxy_look.h"

uint64_t SelectGalaxyLook(STAR_FIELD_T *field, const FRUSTUM_T &frustum, const LOD_VIEW_T &view, GALAXY_LOOK_T *look)
{
    UpdateArrayOctreeLod(field->tree, &field->lod);
    return SelectArrayOctreeLod(field->tree, field->lod, frustum, view, &look->selection);
}
