#pragma once
// Closes the set-up and calibration windows and puts their globals back to their start values
// (tests).
void Setup_Windows_Reset();

// Installs in core the set-up windows that core shows: the folder picker and the older-project
// conversion window. Start-up calls it, and so does every test's fresh program state.
void Setup_Connect_Core();
