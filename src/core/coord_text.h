#pragma once
// Latitude and longitude texts with a hemisphere letter, their parsers, and the line scanner
// that reference files and texture definitions are read with.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// "N45:30:00.0000" / "W003:15:00.0000": always "." as the decimal point.
std::string Com_Format_Lat_Dms(double latitude);
std::string Com_Format_Lon_Dms(double longitude);
// "N45*30.0000'" / "W3*15.0000'": the user's decimal separator.
std::string Com_Format_Lat_Dm(double latitude);
std::string Com_Format_Lon_Dm(double longitude);

// Read "N45:30:00.0000" (or a lone letter) back. error := 1 and value untouched when the text is
// refused, error := 0 and value set when accepted. The seconds accept "." and ",".
void SrfBis_Parse_Lat(const std::string& text, double& value, int16_t& error);
void SrfBis_Parse_Lon(const std::string& text, double& value, int16_t& error);

// An open text file: its lines (UTF-8, line ends removed) and the read position.
struct Text_In_File {
    std::vector<std::string> Lines;
    size_t Next = 0;
    bool Eof() const { return Next >= Lines.size(); }
};
// Reads a Windows-1252 text file whole into `file`; false when it cannot be read.
bool Com_Open_Text_File(const std::string& path, Text_In_File& file);

// Scanner state shared by the readers.
extern std::string Scan_Line;   // the current line
extern int16_t Scan_Length;     // its length in characters
extern int16_t Scan_Pos;        // read position, 1-based
extern std::string Scan_Token;  // the last token
// The scanner's start values (tests).
void Coord_Text_Reset();

// Next line into Scan_Line / Scan_Length. At the end of the file: empty line, false.
bool Com_Read_Line(Text_In_File& file);
// Next non-empty line; Scan_Pos := 5 so that the four-character tag is skipped. False (and an
// empty Scan_Line) when the file ends first.
bool Pinit_Read_Line(Text_In_File& file);
// Next blank-separated token into Scan_Token; Scan_Pos stays on the blank that ended it, or
// passes the end of the line, so that a line with fewer tokens gives empty ones.
void Pinit_Next_Token();
// Next double-quoted text into Scan_Token, without the quotes; an unclosed quote runs to the
// end of the line.
void Pinit_Next_Quoted();
