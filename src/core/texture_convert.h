#pragma once
// Texture bitmap conversion: every texture file the author may pick (8, 16, 24 and 32-bit
// bitmaps, with or without the simulator's "FS70" block, DXT1 and DXT3, raw 256 x 256 ".R8"
// textures plain or compressed) is turned into a plain 24-bit bitmap the pictures can load.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// 256 entries of blue, green, red, 0.
using Palette_Table = std::array<std::array<uint8_t, 4>, 256>;

// The palette of the raw textures, read at start-up from App_Dir & "\Fs5.pal".
extern Palette_Table Fs5_Palette;
// App_Dir & "\Temp\$Tex$.bmp": the converter's scratch file (the raw texture is handled in
// memory; callers delete this name as before).
extern std::string Temp_Tex_Bmp;
// The destination bitmap; every caller sets it before converting.
extern std::string Temp_Ima_Bmp;
// The start values of the three above (tests).
void Texture_Convert_Reset();

// The grey ramp used when no palette file is there: entry i = (i, i, i).
Palette_Table Servitudes_Grey_Palette();

// Reads the 768-byte palette file (256 triplets of red, green, blue) into the table. A missing
// file leaves the grey ramp; a short file fills the entries it holds over the grey ramp.
// True when the file was there.
bool Servitudes_Read_Palette(const std::string& path, Palette_Table& table);

// Identifies and converts the texture at `source` into a 24-bit bitmap at `destination`.
// status 0: converted, description set ("Bmp 16 Bits 256x256 étendu DXT1");
// 1: missing, unreadable, unsupported, or a compressed raw texture that does not expand;
// 2: the file is 53 bytes or shorter. No destination is written unless status is 0.
void Servitudes_Convert_Texture(const std::string& source, const Palette_Table& palette,
                                const std::string& destination, std::string& description,
                                int16_t& status);

// Inner steps, on the file's bytes. Each returns false when the input does not hold what it needs.
// Expands a compressed raw texture into its 65536 indices.
bool Servitudes_Expand_R8(const std::vector<uint8_t>& packed, std::vector<uint8_t>& raw);
// 65536 palette indices -> the bytes of a 256 x 256 24-bit bitmap file.
bool Servitudes_R8_To_Bmp(const std::vector<uint8_t>& raw, const Palette_Table& palette,
                          std::vector<uint8_t>& bmp);
// One 16-bit pixel to blue, green, red, by kind (0 5-6-5, 1 5-5-5, 2 4-4-4 with alpha and the
// given masks, blended with the background).
enum class Word_Kind { Rgb565, Rgb555, Argb4444 };
std::array<uint8_t, 3> Servitudes_Word_To_Rgb(uint16_t word, Word_Kind kind, uint32_t red_mask,
                                              uint32_t green_mask, uint32_t blue_mask);
// Background that partly transparent pixels are blended with: red 0, green 144, blue 245.
constexpr uint8_t Texture_Back_Red = 0, Texture_Back_Green = 144, Texture_Back_Blue = 245;
