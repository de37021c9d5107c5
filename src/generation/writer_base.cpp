// Shared by the writers: progress captions, clock and date text, the sources' number texts,
// bounds, cell names, tool command lines and output names.
#include "generation/writer_base.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <charconv>
#include <cstdio>
#include <filesystem>

#include "core/project.h"
#include "core/project_paths.h"
#include "core/syst.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/process.h"
#include "platform/text.h"

// ---------------------------------------------------------------------------------------------
// Captions

namespace {

Gen_Caption_Sink* caption_sink = nullptr;
Gen_Caption_Record caption_record;
std::function<std::tm()> gen_clock;
std::vector<std::string> run_history;
std::vector<Gen_Source_Record> sources_written;

}  // namespace

void Gen_Set_Caption_Sink(Gen_Caption_Sink* sink) { caption_sink = sink; }

const Gen_Caption_Record& Gen_Captions() { return caption_record; }

void Gen_Reset_Captions() { caption_record = Gen_Caption_Record{}; }

void Gen_Reset_Writer_Base() {
    caption_sink = nullptr;
    caption_record = Gen_Caption_Record{};
    gen_clock = nullptr;
    run_history.clear();
    sources_written.clear();
}

void Gen_Set_Compile_Name(const std::string& text) {
    caption_record.LCompileNom = text;
    if (caption_sink) caption_sink->Set_Compile_Name(text);
}

void Gen_Set_Compile_Step(const std::string& text) {
    caption_record.LCompile = text;
    if (caption_sink) caption_sink->Set_Compile_Step(text);
}

void Gen_Repaint() {
    ++caption_record.Repaints;
    // The running counters of a large project repaint millions of times: keep the record of a
    // long session bounded, its start is what anyone reads.
    constexpr size_t kShownKept = 100000;
    if (caption_record.Shown.size() < kShownKept)
        caption_record.Shown.emplace_back(caption_record.LCompileNom, caption_record.LCompile);
    if (caption_sink) caption_sink->Repaint();
}

void Gen_Show_Stage(const std::string& name, const std::string& step) {
    Gen_Set_Compile_Name(name);
    Gen_Set_Compile_Step(step);
    Gen_Repaint();
}

// ---------------------------------------------------------------------------------------------
// Clock

void Gen_Set_Clock(std::function<std::tm()> clock) { gen_clock = std::move(clock); }

std::tm Gen_Now() {
    if (gen_clock) return gen_clock();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

std::string Gen_Date_Text(const std::tm& when) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02d:%02d:%02d", when.tm_mday, when.tm_mon + 1,
                  when.tm_year + 1900, when.tm_hour, when.tm_min, when.tm_sec);
    return buf;
}

// ---------------------------------------------------------------------------------------------
// Numbers

void Gen_Append_Num_Int(std::string& out, int64_t value) {
    char buf[Gen_Num_Int_Room];
    out.append(buf, Gen_Put_Num_Int(buf, value));
}

std::string Gen_Num_Int(int64_t value) {
    std::string text;
    Gen_Append_Num_Int(text, value);
    return text;
}

void Gen_Append_Num(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += '0';
        return;
    }
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        Gen_Append_Num_Int(out, static_cast<int64_t>(value));
        return;
    }
    const size_t start = out.size();
    if (value < 0) out += '-';
    plat::AppendDigits(out, value, 15, -4);
    if (out.find('E', start) == std::string::npos) return;
    // A source takes no exponent: fixed notation with the same 15 significant digits.
    out.resize(start);
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::clamp(14 - exponent, 0, 340);
    char buf[400];
    std::string text(buf, std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals).ptr);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    if (text.rfind("0.", 0) == 0) text.erase(0, 1);
    else if (text.rfind("-0.", 0) == 0) text.erase(1, 1);
    if (text == "-0") text = "0";
    out += text;
}

std::string Gen_Num(double value) {
    std::string text;
    Gen_Append_Num(text, value);
    return text;
}

std::string Gen_Three_Digits(int32_t value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%03d", value);
    return buf;
}

std::string Gen_Free_Text(const std::string& text) {
    std::string clean = text;
    std::replace(clean.begin(), clean.end(), '\r', ' ');
    std::replace(clean.begin(), clean.end(), '\n', ' ');
    return clean;
}

// ---------------------------------------------------------------------------------------------
// Bounds, header, cell names

int32_t Gen_Clamp_Lat(int32_t degrees) { return std::clamp(degrees, -90, 90); }
int32_t Gen_Clamp_Lon(int32_t degrees) { return std::clamp(degrees, -180, 180); }

Gen_Bounds Gen_Clamp(const Gen_Bounds& bounds) {
    return {Gen_Clamp_Lat(bounds.North), Gen_Clamp_Lat(bounds.South), Gen_Clamp_Lon(bounds.East),
            Gen_Clamp_Lon(bounds.West)};
}

std::string Gen_Header_Line(const Gen_Bounds& bounds, const std::string& tail) {
    return "BGLHeader " + Gen_Num(bounds.North) + ", " + Gen_Num(bounds.South) + ", " +
           Gen_Num(bounds.East) + ", " + Gen_Num(bounds.West) + tail;
}

std::string Gen_Cell_Name(const std::string& prefix, int32_t lod8_col, int32_t lod8_row) {
    return prefix + Gen_Num(lod8_col) + "_" + Gen_Num(lod8_row);
}

std::string Gen_Quote(const std::string& text) { return "\"" + text + "\""; }

// ---------------------------------------------------------------------------------------------
// Sources

namespace {

// What a source holds in memory before it goes to its file.
constexpr size_t kSourceBuffer = size_t{1} << 20;
// The record of a long session stays small: a Generate writes a handful of sources.
constexpr size_t kSourcesKept = 1000;

}  // namespace

Gen_Source::Gen_Source(const std::string& name) : path_(plat::NativePath(App_Dir + name)) {
    opened_ = std::chrono::steady_clock::now();
    // Renewal: never appended to, and no stale file if the writer stops early.
    plat::DeleteFile(path_);
    file_ = std::make_unique<plat::FileReplacement>(path_);
    buffer_.resize(kSourceBuffer + 4096);
}

Gen_Source::~Gen_Source() = default;

void Gen_Source::End_Line(size_t start, bool ascii) {
    if (!ascii) {
        const std::string converted = plat::Utf8ToCp1252(std::string_view(buffer_).substr(start, used_ - start));
        used_ = start;
        bool unused = true;
        Put_Text(converted, unused);
    }
    Room(2);
    buffer_[used_++] = '\r';
    buffer_[used_++] = '\n';
    if (used_ >= kSourceBuffer && file_) {
        file_->Write(std::string_view(buffer_).substr(0, used_));
        written_ += static_cast<long long>(used_);
        used_ = 0;
    }
}

void Gen_Source::Line(std::string_view text) {
    const size_t start = used_;
    bool ascii = true;
    Put_Text(text, ascii);
    End_Line(start, ascii);
}

void Gen_Source::Head(const std::string& title_prefix, const Gen_Bounds& bounds,
                      const std::string& tail) {
    const std::string dashes = ";" + std::string(50, '-');
    Line(dashes);
    Line(title_prefix, Gen_Date_Text(Gen_Now()));
    Line(dashes);
    Line("include TDFMacros.inc");
    Line("include TDFHeaders.inc");
    Line(Gen_Header_Line(Gen_Clamp(bounds), tail));
}

bool Gen_Source::Close() {
    if (closed_) return true;
    closed_ = true;
    file_->Write(std::string_view(buffer_).substr(0, used_));
    written_ += static_cast<long long>(used_);
    used_ = 0;
    std::string().swap(buffer_);
    const bool written = file_->Commit();
    file_.reset();   // a new file that failed goes now, not with the source
    if (sources_written.size() < kSourcesKept)
        sources_written.push_back(
            {path_, written_, std::chrono::duration<double>(std::chrono::steady_clock::now() - opened_).count()});
    return written;
}

const std::vector<Gen_Source_Record>& Gen_Sources_Written() { return sources_written; }
void Gen_Reset_Sources_Written() { sources_written.clear(); }

// ---------------------------------------------------------------------------------------------
// Outside programs

std::string Gen_Program(const std::string& tool) {
    // Unquoted as usual; a folder with blanks would split the program path.
    const std::string path = plat::NativePath(App_Dir + "\\" + tool);
    return path.find(' ') == std::string::npos ? path : Gen_Quote(path);
}

std::string Gen_Path_Arg(const std::string& path) { return Gen_Quote(plat::NativePath(path)); }

std::string Gen_Bglc_Command(const std::string& source_path, const std::string& bgl_path,
                             int blanks) {
    return Gen_Program("bglc.exe") + std::string(static_cast<size_t>(std::max(blanks, 1)), ' ') +
           Gen_Path_Arg(source_path) + " " + Gen_Path_Arg(bgl_path);
}

std::string Gen_Tool_Command(const std::string& tool, const std::vector<std::string>& arguments) {
    std::string command = Gen_Program(tool) + " ";
    for (const std::string& argument : arguments) command += " " + argument;
    return command;
}

const std::vector<std::string>& Gen_Commands_Run() { return run_history; }
void Gen_Reset_Commands_Run() { run_history.clear(); }

namespace {

// The tool's file name, as the person knows it ("bglc.exe").
std::string Tool_Name(const std::string& command) {
    const std::vector<std::string> words = plat::SplitCommandLine(command);
    if (words.empty()) return command;
    return plat::Split_Folder(words[0]).Name;
}

// A tool that ran and failed is no tool that was not found: say which and how it ended.
void Show_Tool_Failed(const std::string& command, int exit_status, const std::string& missing_output) {
    const std::string tool = Tool_Name(command);
    const std::string status = std::to_string(exit_status);
    std::string text;
    if (Language == "US") {
        text = missing_output.empty()
                   ? tool + " ran but failed (exit status " + status + ")."
                   : tool + " ran (exit status " + status + ") but did not write " + missing_output + ".";
    } else {
        text = missing_output.empty()
                   ? tool + " a été lancé mais a échoué (code de sortie " + status + ")."
                   : tool + " a été lancé (code de sortie " + status + ") mais n'a pas écrit " +
                         missing_output + ".";
    }
    plat::CurrentHost().MsgBox(text, plat::MB_OK | plat::MB_ICONEXCLAMATION, "Tessaline");
}

}  // namespace

Gen_Run_Result Gen_Run_Tool(const std::string& command, const std::string& output_path) {
    run_history.push_back(command);
    // An output left by an earlier run counts only when this run has rewritten it.
    std::error_code ec;
    const std::string local_output = output_path.empty() ? std::string() : plat::MapPath(output_path);
    const bool existed = !local_output.empty() && std::filesystem::exists(local_output, ec);
    const auto before = existed ? std::filesystem::last_write_time(local_output, ec)
                                : std::filesystem::file_time_type{};
    const plat::ProcessResult result = SYST_Run_And_Wait(command, 0);
    if (!result.started) return Gen_Run_Result::Not_Started;
    if (result.exit_status != 0) {
        Show_Tool_Failed(command, result.exit_status, {});
        return Gen_Run_Result::Failed;
    }
    if (!output_path.empty()) {
        const bool rewritten =
            plat::FileExists(output_path) &&
            !(existed && std::filesystem::last_write_time(plat::MapPath(output_path), ec) == before);
        if (!rewritten) {
            Show_Tool_Failed(command, result.exit_status, plat::NativePath(output_path));
            return Gen_Run_Result::Failed;
        }
    }
    return Gen_Run_Result::Done;
}

void Gen_Show_Failure(const std::string& message) {
    plat::CurrentHost().MsgBox(message, plat::MB_OK, "Tessaline");
}

std::string Gen_Cannot_Write_Text(const std::string& path) {
    const std::string shown = plat::NativePath(path);
    return Language == "US" ? "Cannot write " + shown : "Impossible d'écrire " + shown;
}

std::string Gen_Output_Path(const std::string& suffix) {
    return Project_Resolve_Path(Project_Bgl_Stem(Bgl_Base_Path) + suffix + ".bgl");
}
