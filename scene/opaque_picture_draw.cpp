#include "scene/opaque_picture.h"

#include "external/glad.h"
#include "rlgl.h"

void DrawOpaquePicture(Texture2D picture, Vector2 at)
{
    rlglDraw(); // what came before is blended and smoothed as it was drawn
    glDisable(GL_MULTISAMPLE);
    glDisable(GL_BLEND);
    DrawTextureRec(picture, Rectangle{0.0f, 0.0f, (float)picture.width, -(float)picture.height}, at, WHITE);
    rlglDraw();
    glEnable(GL_BLEND);
    glEnable(GL_MULTISAMPLE);
}
