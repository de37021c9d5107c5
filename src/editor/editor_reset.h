#pragma once
// Closes the main window (tests, between scenarios); the editor's globals have their own resets.
void Editor_Reset_Windows();
