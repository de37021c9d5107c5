#pragma once
// Closes the set-up and calibration windows and puts the calibration window's globals back to
// their start values (tests); the shared globals of setup_services.h have their own reset.
void Setup_Windows_Reset();

// Installs in core the set-up windows that core shows: the folder picker and the older-project
// conversion window. Start-up calls it, and so does every test's fresh program state.
void Setup_Connect_Core();
