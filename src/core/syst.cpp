// Outside programs run, file names and paths checked and split, registry reads, number texts,
// rounding half to even, and the red and green bytes of a colour.
#include "core/syst.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/host.h"
#include "platform/number.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/text.h"

std::string App_Dir;
std::string Ini_Path;

plat::ProcessResult SYST_Run_And_Wait(const std::string& command, int16_t show) {
    (void)show;   // no windows to show or hide here
    plat::ProcessResult run = plat::RunAndWait(command, App_Dir);
    if (!run.started)
        plat::CurrentHost().MsgBox("Erreur générale d'exécution du processus : " + command,
                                   plat::MB_OK | plat::MB_ICONINFORMATION, "Tessaline");
    return run;
}

bool SYST_Run_Process(const std::string& command, int16_t show) {
    return SYST_Run_And_Wait(command, show).started;
}

int16_t SYST_Valid_File_Name(const std::string& name) {
    static const std::string allowed = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_.!#$%&'()-~{}";
    if (name.empty() || name[0] == ' ') return 0;
    for (char c : name) {
        const char up = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        if (allowed.find(up) == std::string::npos) return 0;
    }
    const auto dot = name.find('.');
    if (dot == std::string::npos || dot == 0) return 0;
    if (name.find('.', dot + 1) != std::string::npos) return 0;
    const auto after = name.size() - dot - 1;
    if (after < 1 || after > 3) return 0;
    if (name[dot - 1] == ' ') return 0;
    return 1;
}

void SYST_Split_Path(const std::string& path, std::string& folder, std::string& name, uint8_t& error) {
    error = 0;
    const std::string p = plat::Trim(path);
    if (p.empty()) {
        error = 1;
        return;
    }
    plat::Path_Split split = plat::Split_Folder(p);
    // A separator first or last leaves no folder or no name.
    if (split.Separated && (split.Folder.empty() || split.Name.empty())) {
        error = 1;
        return;
    }
    if (SYST_Valid_File_Name(split.Name) == 0) {
        error = 1;
        return;
    }
    folder = std::move(split.Folder);
    name = std::move(split.Name);
}

void SYST_Split_Ext(const std::string& name, std::string& base, std::string& ext) {
    const auto dot = name.find('.');
    if (dot == std::string::npos) {
        base = name;
        ext.clear();
    } else if (dot == name.size() - 1) {
        base = name.substr(0, dot);
        ext.clear();
    } else {
        base = name.substr(0, dot);
        ext = plat::UCase(name.substr(dot + 1));
    }
}

std::string SYST_Windows_Dir() { return {}; }
std::string SYST_System_Dir() { return {}; }

void SYST_Add_Backslash(std::string& path) {
    const std::string t = plat::Trim(path);
    if (!t.empty() && (t.back() == '/' || t.back() == '\\')) return;
    const bool native = t.find('/') != std::string::npos && t.find('\\') == std::string::npos;
    path = plat::RTrim(path) + (native ? "/" : "\\");
}

std::string SYST_Cut_At_Nul(const std::string& text) {
    const auto nul = text.find('\0');
    return nul == std::string::npos ? text : text.substr(0, nul);
}

void SYST_Read_Registry(int64_t root, const std::string& subkey, const std::string& name, std::string& text) {
    text.clear();
    auto value = plat::RegistryRead(root, subkey, name);
    if (!value) return;
    if (!value->empty() && value->back() == '\0') value->pop_back();
    text = *value + "\\";
}

double SYST_To_Double(const std::string& text) {
    // The user's separator stands for the point, and only a text that is wholly a number
    // counts: anything else gives 0 for the caller's range check to refuse.
    std::string t = plat::Trim(text);
    const char sep = plat::DecimalSeparator();
    if (sep != '.') {
        if (t.find('.') != std::string::npos) return 0;
        std::replace(t.begin(), t.end(), sep, '.');
    }
    const plat::NumberText n = plat::ReadNumber(t);
    return n.length == t.size() && n.length > 0 && n.fits ? n.value : 0;
}

std::string SYST_To_Text(double value) {
    std::string text = plat::CStr(value);
    const char sep = plat::DecimalSeparator();
    for (char& ch : text)
        if (ch == '.') ch = sep;
    return plat::Trim(text);
}

namespace {

// Nearest integer, halves to the even neighbour, independent of the FPU rounding mode.
double RoundHalfEven(double a) {
    const double f = std::floor(a);
    const double diff = a - f;
    if (diff < 0.5) return f;
    if (diff > 0.5) return f + 1;
    return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

}  // namespace

int32_t SYST_Truncate(double x) { return SYST_Saturate<int32_t>(std::trunc(x)); }

int32_t SYST_Round(double x) {
    if (std::isnan(x)) return 0;
    const double a = std::fabs(x);
    if (a < 1073741824.0) return SYST_Round_Small(x);
    const double r = RoundHalfEven(a);
    return SYST_Saturate<int32_t>(x < 0 ? -r : r);
}

int16_t SYST_Colour_Green(int32_t colour) { return static_cast<int16_t>((colour >> 8) & 255); }
int16_t SYST_Colour_Red(int32_t colour) { return static_cast<int16_t>(colour & 255); }
