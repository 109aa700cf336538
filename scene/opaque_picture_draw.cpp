#include "scene/opaque_picture.h"

#include "rlgl.h"
#include "scene/gl_calls.h"

void DrawOpaquePicture(Texture2D picture, Vector2 at)
{
    rlglDraw(); // what came before is blended and smoothed as it was drawn
    EnableMultisample(false);
    glDisable(GL_BLEND);
    DrawTextureRec(picture, Rectangle{0.0f, 0.0f, (float)picture.width, -(float)picture.height}, at, WHITE);
    rlglDraw();
    glEnable(GL_BLEND);
    EnableMultisample(true);
}
