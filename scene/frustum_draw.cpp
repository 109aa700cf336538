// The frustum's outline, drawn inside the 3-D pass. Kept apart from frustum.cpp so that the
// frustum's math builds and tests without a GPU context.
#include "scene/frustum.h"

void FRUSTUM_T::Draw(void) const
{
    // Every ordered pair of distinct corners: edges and diagonals alike, each twice. The
    // outline is drawn through the negated corners, mirrored through the world origin.
    for (int i = 0; i < 8; i++)
    {
        for (int j = 0; j < 8; j++)
        {
            if (i == j) continue;
            DrawLine3D(Vector3Negate(corners[i]), Vector3Negate(corners[j]), FRUSTUM_OUTLINE_COLOR);
        }
    }
}
