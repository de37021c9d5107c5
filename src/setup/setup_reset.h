#pragma once
// Closes the set-up and calibration windows and puts their globals back to their start values
// (tests).
void Setup_Windows_Reset();
