#pragma once
// The BMP check of a chosen map bitmap.
#include <cstdint>
#include <string>

// rejected := 0 for a BMP file of 8 or 24 bits per pixel that the tiler can read (plain rows
// inside the file), else 1. A missing or short file is rejected; nothing is created.
void SYST_Check_Bmp(const std::string& path, uint8_t& rejected);
