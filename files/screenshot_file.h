// A picture of the window as a PNG file, written whole or not at all.
#pragma once

#include <string>

#include "scene/vector_math.h"

// Encodes image as PNG into a temporary file beside path and renames it onto path, so a
// failure (full disk, missing folder) leaves whatever path held before. false with *error
// saying what and why.
bool SaveImageAsPng(const Image &image, const char *path, std::string *error);
