#pragma once
// Puts the main window, the general-parameters window and the editor's globals back to their
// start (tests, between scenarios).
void Editor_Reset_Windows();
