#pragma once
// What every writer of the generation chain shares: the source file in App_Dir with its head,
// the number text of the terrain sources, bounds, cell names, the command lines of the outside
// compilers and tools, output names, the two progress captions of the main window and the clock
// of the title comment.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace plat {
class FileReplacement;
}

// ---------------------------------------------------------------------------------------------
// Progress captions: LCompileNom (file or stage) and LCompile (step) of the main window.

// The main window installs itself here; generation never reaches into the editor directly.
class Gen_Caption_Sink {
public:
    virtual ~Gen_Caption_Sink() = default;
    virtual void Set_Compile_Name(const std::string& text) = 0;  // LCompileNom
    virtual void Set_Compile_Step(const std::string& text) = 0;  // LCompile
    virtual void Repaint() = 0;                                   // the whole main window, now
};

// nullptr: no window (tests, start-up); the texts are only recorded.
void Gen_Set_Caption_Sink(Gen_Caption_Sink* sink);

// What the labels show, kept whether or not a window is installed.
struct Gen_Caption_Record {
    std::string LCompileNom;
    std::string LCompile;
    int32_t Repaints = 0;
    // Every (LCompileNom, LCompile) pair in force at a repaint, in order (the first 100 000).
    std::vector<std::pair<std::string, std::string>> Shown;
};
const Gen_Caption_Record& Gen_Captions();
void Gen_Reset_Captions();

void Gen_Set_Compile_Name(const std::string& text);
void Gen_Set_Compile_Step(const std::string& text);
void Gen_Repaint();
// Back to the start state: no sink, empty captions and command record, the real clock.
void Gen_Reset_Writer_Base();
// Both captions, then the repaint: what a writer does before each long stretch.
void Gen_Show_Stage(const std::string& name, const std::string& step);

// ---------------------------------------------------------------------------------------------
// Clock of the title comment.

// An empty function puts the real local clock back.
void Gen_Set_Clock(std::function<std::tm()> clock);
std::tm Gen_Now();
// General date: short date, a blank, long time ("08/12/2026 22:50:05").
std::string Gen_Date_Text(const std::tm& when);

// ---------------------------------------------------------------------------------------------
// Number text of generated sources: no blanks, no zero before the point, 15 significant digits,
// no exponent (".5", "-.25", "3", ".010986328125").

std::string Gen_Num(double value);
std::string Gen_Num_Int(int64_t value);
// The same texts appended to `out`: what Gen_Num gives, without a string of its own.
void Gen_Append_Num(std::string& out, double value);
void Gen_Append_Num_Int(std::string& out, int64_t value);
// The whole number's text written at `at`, which has Gen_Num_Int_Room bytes; returns its end.
inline constexpr size_t Gen_Num_Int_Room = 24;
inline char* Gen_Put_Num_Int(char* at, int64_t value) { return std::to_chars(at, at + Gen_Num_Int_Room, value).ptr; }
template <std::integral T>
std::string Gen_Num(T value) { return Gen_Num_Int(static_cast<int64_t>(value)); }

// A whole number as three digits ("007"), as the class files name their LOD5 cells.
std::string Gen_Three_Digits(int32_t value);

// A line's free text in a comment line: CR and LF would end the line early.
std::string Gen_Free_Text(const std::string& text);

// ---------------------------------------------------------------------------------------------
// Bounds of the header line: whole degrees, clamped to -90..90 and -180..180.

struct Gen_Bounds {
    int32_t North = 0;
    int32_t South = 0;
    int32_t East = 0;
    int32_t West = 0;
};
int32_t Gen_Clamp_Lat(int32_t degrees);
int32_t Gen_Clamp_Lon(int32_t degrees);
Gen_Bounds Gen_Clamp(const Gen_Bounds& bounds);

// "BGLHeader 46, 43, 8, 4" followed by the writer's tail (", LWMHeader , TerrainHeaderStart").
std::string Gen_Header_Line(const Gen_Bounds& bounds, const std::string& tail);
inline constexpr const char* Gen_Tail_Vtp = ", TerrainHeaderStart, VTPHeader";
inline constexpr const char* Gen_Tail_Lwm = ", LWMHeader , TerrainHeaderStart";
inline constexpr const char* Gen_Title_Excl = ";  Tessaline (Exclude) : Generated on ";
inline constexpr const char* Gen_Title_Lwm = ";  Tessaline : LWM Generated on ";

// Symbolic cell name of the index: prefix, LOD8 column, "_", LOD8 row ("Cellv_389_130").
std::string Gen_Cell_Name(const std::string& prefix, int32_t lod8_col, int32_t lod8_row);
inline constexpr const char* Gen_Cell_Prefix_Lwm = "Cell_";
inline constexpr const char* Gen_Cell_Prefix_Vtp = "Cellv_";

struct Gen_Cell_Id {
    int16_t Col = 0;  // LOD8
    int16_t Row = 0;
};

// The LOD8 cells of a writer's own cell list, in its order.
template <class Cell>
std::vector<Gen_Cell_Id> Gen_Cell_Ids(const std::vector<Cell>& cells) {
    std::vector<Gen_Cell_Id> ids;
    ids.reserve(cells.size());
    for (const Cell& c : cells) ids.push_back({c.Col, c.Row});
    return ids;
}

// ---------------------------------------------------------------------------------------------
// A generated source: App_Dir & name (name starts with "\"). An old file of that name is deleted
// when the source is opened; the lines, CR LF, Windows-1252, go through a bounded buffer into a
// new file beside it, which takes the name at Close once it is on disk. A source dropped
// without Close leaves no file.

class Gen_Source {
public:
    explicit Gen_Source(const std::string& name);
    ~Gen_Source();
    Gen_Source(const Gen_Source&) = delete;
    Gen_Source& operator=(const Gen_Source&) = delete;
    const std::string& Path() const { return path_; }

    void Line(std::string_view text);
    // One line of several parts: texts as they are, whole numbers and doubles by the number
    // text of the sources (Gen_Num), with no string made for the line.
    template <class First, class Second, class... Rest>
    void Line(const First& first, const Second& second, const Rest&... rest) {
        const size_t start = used_;
        bool ascii = true;
        Put(first, ascii);
        Put(second, ascii);
        (Put(rest, ascii), ...);
        End_Line(start, ascii);
    }
    // The six head lines: dashes, title with the clock's date, dashes, the two includes, header.
    void Head(const std::string& title_prefix, const Gen_Bounds& bounds, const std::string& tail);
    // False when the file could not be written.
    bool Close();
    // Bytes written so far (all of them after Close).
    long long Bytes() const { return written_ + static_cast<long long>(used_); }

private:
    template <class T>
    void Put(const T& part, bool& ascii) {
        if constexpr (std::is_same_v<T, bool>) {
            static_assert(!std::is_same_v<T, bool>, "a source line takes no bool");
        } else if constexpr (std::is_integral_v<T>) {
            Room(Gen_Num_Int_Room);
            used_ = static_cast<size_t>(Gen_Put_Num_Int(buffer_.data() + used_, static_cast<int64_t>(part)) -
                                        buffer_.data());
        } else if constexpr (std::is_floating_point_v<T>) {
            std::string text;
            Gen_Append_Num(text, static_cast<double>(part));
            Put_Text(text, ascii);
        } else if constexpr (std::is_array_v<T>) {
            // A text in quotes: its length is known without counting it on every line.
            static_assert(std::is_same_v<std::remove_extent_t<T>, char>, "a source line takes texts in quotes");
            Put_Text(std::string_view(part, std::extent_v<T> - 1), ascii);
        } else {
            Put_Text(std::string_view(part), ascii);
        }
    }
    void Put_Text(std::string_view text, bool& ascii) {
        if (ascii) {
            // Eight bytes at a time: the sources are nearly all ASCII, and every line is looked at.
            constexpr uint64_t high = 0x8080808080808080u;
            size_t i = 0;
            for (; i + 8 <= text.size(); i += 8) {
                uint64_t word;
                std::memcpy(&word, text.data() + i, 8);
                if (word & high) break;
            }
            for (; i < text.size(); ++i)
                if (static_cast<unsigned char>(text[i]) >= 0x80) {
                    ascii = false;
                    break;
                }
        }
        Room(text.size());
        std::memcpy(buffer_.data() + used_, text.data(), text.size());
        used_ += text.size();
    }
    // At least `bytes` more of the buffer's storage after the text it holds.
    void Room(size_t bytes) {
        if (used_ + bytes > buffer_.size()) buffer_.resize(std::max(2 * buffer_.size(), used_ + bytes));
    }
    // CR LF after the line that starts at `start`, turned to Windows-1252 unless all ASCII.
    void End_Line(size_t start, bool ascii);

    std::string path_;
    std::unique_ptr<plat::FileReplacement> file_;
    std::string buffer_;   // its first used_ bytes are the text not yet written
    size_t used_ = 0;
    long long written_ = 0;
    bool closed_ = false;
    std::chrono::steady_clock::time_point opened_;
};

// Every source written since the last reset: its bytes, and the time from its opening to the
// end of its Close (benchmarks compare it with a plain write of as many bytes).
struct Gen_Source_Record {
    std::string Path;
    long long Bytes = 0;
    double Seconds = 0;
};
const std::vector<Gen_Source_Record>& Gen_Sources_Written();
void Gen_Reset_Sources_Written();

// ---------------------------------------------------------------------------------------------
// Outside programs, all in App_Dir. Every path they are handed is the native path of the file
// meant: they run in App_Dir, and know nothing of the program's own path forms.

std::string Gen_Quote(const std::string& text);
// The native path of App_Dir & "\" & tool, quoted only when the path holds a blank.
std::string Gen_Program(const std::string& tool);
// App_Dir & "\bglc.exe" & blanks & quoted source & " " & quoted BGL. The exclusion source uses
// one blank, the land/water mask source two.
std::string Gen_Bglc_Command(const std::string& source_path, const std::string& bgl_path,
                             int blanks);
// App_Dir & "\" & tool & "  " (two blanks) & the arguments joined by one blank, each as given.
std::string Gen_Tool_Command(const std::string& tool, const std::vector<std::string>& arguments);
// A path argument: the native path, quoted (a blank would split it).
std::string Gen_Path_Arg(const std::string& path);

enum class Gen_Run_Result {
    Done,         // started, ended with status 0 and, when asked, (re)wrote its output file
    Not_Started,  // the run-and-wait service has shown its message
    Failed,       // started but exit status not 0, or the output file is missing; a box has
                  // named the tool and its exit status
};
// Runs hidden and waits. `output_path` empty: only the exit status is checked.
Gen_Run_Result Gen_Run_Tool(const std::string& command, const std::string& output_path = {});
// Every command line handed to Gen_Run_Tool, in order (what the tools were told).
const std::vector<std::string>& Gen_Commands_Run();
void Gen_Reset_Commands_Run();
// The writer's own failure box: OK button, the program's title. A step's "... not found" text
// follows Not_Started only; after Failed the tool's box has already said what went wrong.
void Gen_Show_Failure(const std::string& message);
// The text of a file of the chain that could not be written, in the session's language:
// "Cannot write <path>" or "Impossible d'écrire <path>", the path as the person finds it.
std::string Gen_Cannot_Write_Text(const std::string& path);

// BGL output named from Bgl_Base_Path less a real ".bgl", then suffix and ".bgl" ("_3" gives
// .../Area_3.bgl), as the native path of the file (see Project_Resolve_Path).
std::string Gen_Output_Path(const std::string& suffix);
