// The graphics page's help texts and the zones of the page that choose them.
#pragma once

// The text explaining what lies under the point (page dialog units); the first zone that
// holds the point wins, and outside every zone the page's general line is shown.
const char* GraphicsHelpText(int x, int y);

// The text the help box starts with and shows outside every zone.
extern const char* const GraphicsHelpIdle;
