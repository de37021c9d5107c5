#pragma once
// Where generation shows itself on the main window: the two captions of the generation frame
// and, while debug drawing is on, the generators' edges on the map picture.

// Installs both; the main window does it once it exists.
void Generation_Display_Install();
