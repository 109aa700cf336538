// The galaxy's GPU resources. Uploading a texture needs a window (a GL context); without one
// the galaxy keeps an empty texture, so generation and its tests run anywhere.
#include "galaxy/galaxy.h"

Texture2D LoadStarTexture(void)
{
    if (!IsWindowReady()) return Texture2D{};
    const Image image = GenImageGradientRadial(512, 512, 0.25f, Color{255, 255, 255, 255}, Color{0, 0, 0, 0});
    const Texture2D texture = LoadTextureFromImage(image);
    UnloadImage(image); // the pixels live on the GPU now
    return texture;
}

void UnloadStarTexture(Texture2D *texture)
{
    if (texture->id != 0) UnloadTexture(*texture);
    *texture = Texture2D{};
}
