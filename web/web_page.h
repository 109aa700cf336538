// The page around the viewer in a browser: its address stands for the command line (the
// #fragment is the galaxy code, the query a few options), and the page follows the galaxy
// shown (address, title, star count). Files the viewer writes become downloads, and the saved
// galaxies live in the browser's storage. Built into the web page only; what the app's other
// files ask of the page is in web/page_bridge.h.
#pragma once

#include <string>

#include "app/command_line.h"
#include "web/page_bridge.h"

struct VIEWER_T;

struct PAGE_START_T
{
    VIEWER_OPTIONS_T options; // the galaxy of the fragment, or the default one
    std::string refused;      // why the fragment's code was refused; empty when it was not
};

// Reads the address: #CODE or #CODE#N (a star link) opens that galaxy on the panel; no
// fragment starts on the main menu as the desktop does; a code that does not decode opens the
// default galaxy and says why. The query takes profile=N, debug=off and view, as the flags.
// Also puts the saved galaxies kept in the browser's storage where the viewer reads them.
PAGE_START_T ReadPageAddress(void);

// Once the viewer exists: shows why a fragment was refused, in the page and in the window.
void StartPage(VIEWER_T *viewer, const PAGE_START_T &start);

// Once a frame, before the frame: the canvas takes the size of the browser's window.
void FollowPageSize(void);

// Once a frame, after it: the address, the title and the star count follow the galaxy shown, an
// address the user edited opens its galaxy, and a changed saved-galaxies file goes to storage.
void SyncPage(VIEWER_T *viewer);

// The run has ended (Exit): the page says so, since a browser tab does not close itself.
void EndPage(void);
