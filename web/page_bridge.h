// What the app's own files ask of the page, knowing nothing of the viewer (web/web_page.h
// drives the page from the viewer): downloads, the clipboard, and whether the canvas was
// resized this frame. Built into the web page only.
#pragma once

#include <string>

// Offers the file at path as a download under its own name, then removes it from the page's
// memory. False when it cannot be read.
bool OfferDownload(const std::string &path, const char *mime_type);

// Text for the system clipboard (Ctrl+C), and what the last paste into the page held (Ctrl+V).
void CopyTextToPage(const char *text);
std::string PastedPageText(void);

// Whether the canvas's size changed this frame (raylib's own flag, once set in a browser,
// stays set); the page's size-following sets it once a frame.
bool PageResizedThisFrame(void);
void NotePageResized(bool changed);

// A string from JavaScript: malloc'ed by it, freed here.
std::string TakeJsString(char *text);
