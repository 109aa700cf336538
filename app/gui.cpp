// The one translation unit that compiles raygui's implementation. raygui keeps its lock
// flag, alpha and drawing helpers file-static, so the program's own controls, which must
// look and lock like raygui's, live here too.
#define RAYGUI_IMPLEMENTATION
#include "app/gui.h"
