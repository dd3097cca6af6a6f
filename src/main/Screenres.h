#pragma once

class Module1;
class QWidget;

// The screen check: fixes TrackLimit and MainHeight (in twips) from the
// primary screen's width and tells the user when the screen limits the
// program. Returns false when the program must end (a 640-pixel screen).
bool Screenres(Module1& state, QWidget* owner, int* MainHeight);

// The width of the primary screen in pixels, as the real program sees it.
int primaryScreenWidth();

// Application-wide set-up shared by the program and its tests: names for the
// settings store, the window font and its substitutes.
void setUpApplication();

// The faces the program carries beside itself, for the windows and the inlay.
void loadShippedFaces();
