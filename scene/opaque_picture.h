// Showing a picture drawn earlier into a render texture, as it is: neither blended nor
// smoothed. A software renderer then writes each pixel once instead of reading it back and
// writing every sample, which is most of what a window-sized picture costs.
#pragma once

#include "raylib.h"

// In 2-D: the whole of `picture` (a render texture's colours, rows bottom to top) with its top
// left corner at `at`, over whatever is there.
void DrawOpaquePicture(Texture2D picture, Vector2 at);
