// raygui for the rest of app/: its declarations, with icons enabled. The implementation
// (and the program's own controls, which need raygui's file-static state) is in gui.cpp.
#pragma once

#define RAYGUI_SUPPORT_ICONS
#include "scene/vector_math.h"
#include "raygui.h"
