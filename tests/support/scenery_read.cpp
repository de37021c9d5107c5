// The written mask and wide-line sources read line by line, as a compiler would take them.
#include "support/scenery_read.h"

#include <algorithm>
#include <charconv>
#include <fstream>

namespace scenery {
namespace {

constexpr double Cell_Units = 8160;  // an LOD8 cell side

std::vector<std::string> Read_Lines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The numbers of a macro line after its name, separated by commas and blanks.
std::vector<long> Numbers_After(const std::string& line, const std::string& name) {
    std::vector<long> out;
    const size_t at = line.find(name);
    if (at == std::string::npos) return out;
    const char* p = line.data() + at + name.size();
    const char* end = line.data() + line.size();
    while (p < end) {
        while (p < end && (*p == ' ' || *p == ',')) ++p;
        long v = 0;
        auto [next, ec] = std::from_chars(p, end, v);
        if (ec != std::errc()) break;
        out.push_back(v);
        p = next;
    }
    return out;
}

bool Starts(const std::string& line, const std::string& what) {
    const size_t first = line.find_first_not_of(' ');
    return first != std::string::npos && line.compare(first, what.size(), what) == 0;
}

// The cells of a source's index, in the order of its data blocks.
std::vector<std::pair<long, long>> Index_Cells(const std::vector<std::string>& lines, const std::string& macro) {
    std::vector<std::pair<long, long>> cells;
    for (const std::string& line : lines) {
        const std::vector<long> n = Numbers_After(line, macro);
        if (n.size() >= 2) cells.push_back({n[n.size() - 2], n[n.size() - 1]});
    }
    return cells;
}

std::string Area_Text(long col, long row, long c13, long r13) {
    return std::to_string(col) + "," + std::to_string(row) + " area " + std::to_string(c13) + "," +
           std::to_string(r13);
}

using P = std::pair<long, long>;

long long Orient(const P& a, const P& b, const P& c) {
    return static_cast<long long>(b.first - a.first) * (c.second - a.second) -
           static_cast<long long>(b.second - a.second) * (c.first - a.first);
}
int Sign(long long v) { return (v > 0) - (v < 0); }
bool Within(const P& a, const P& b, const P& p) {
    return std::min(a.first, b.first) <= p.first && p.first <= std::max(a.first, b.first) &&
           std::min(a.second, b.second) <= p.second && p.second <= std::max(a.second, b.second);
}
// Segments a-b and c-d cross or touch, ends and overlaps included.
bool Meet(const P& a, const P& b, const P& c, const P& d) {
    const int o1 = Sign(Orient(a, b, c)), o2 = Sign(Orient(a, b, d));
    const int o3 = Sign(Orient(c, d, a)), o4 = Sign(Orient(c, d, b));
    if (o1 * o2 < 0 && o3 * o4 < 0) return true;
    return (o1 == 0 && Within(a, b, c)) || (o2 == 0 && Within(a, b, d)) || (o3 == 0 && Within(c, d, a)) ||
           (o4 == 0 && Within(c, d, b));
}

}  // namespace

long long Twice_Area(const std::vector<std::pair<long, long>>& pts) {
    long long s = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        const P& a = pts[i];
        const P& b = pts[(i + 1) % pts.size()];
        s += static_cast<long long>(a.first) * b.second - static_cast<long long>(b.first) * a.second;
    }
    return s;
}

std::string Outline_Fault(const std::vector<std::pair<long, long>>& written) {
    // A position written twice in a row adds no side.
    std::vector<P> pts;
    for (const P& p : written)
        if (pts.empty() || pts.back() != p) pts.push_back(p);
    while (pts.size() > 1 && pts.front() == pts.back()) pts.pop_back();
    const size_t n = pts.size();
    if (n < 3) return "fewer than three positions";
    // All on one line: flat, whichever way its sides run.
    bool flat = true;
    for (size_t i = 2; i < n && flat; ++i) flat = Orient(pts[0], pts[1], pts[i]) == 0;
    if (flat) return "zero area, flat";
    for (size_t i = 0; i < n; ++i) {
        const P& a = pts[i];
        const P& b = pts[(i + 1) % n];
        const P& c = pts[(i + 2) % n];
        // Back along the way it came: a spike of no width.
        if (Orient(a, b, c) == 0 &&
            (b.first - a.first) * (c.first - b.first) + (b.second - a.second) * (c.second - b.second) < 0)
            return "a zero-width spike at " + std::to_string(b.first) + "," + std::to_string(b.second);
    }
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1) continue;  // neighbours through the closing point
            if (Meet(pts[i], pts[(i + 1) % n], pts[j], pts[(j + 1) % n]))
                return "crosses or touches itself at its sides " + std::to_string(i + 1) + " and " +
                       std::to_string(j + 1);
        }
    if (Twice_Area(pts) == 0) return "zero area";
    return "";
}

std::string Concavity(const std::vector<std::pair<long, long>>& written) {
    std::vector<P> pts;
    for (const P& p : written)
        if (pts.empty() || pts.back() != p) pts.push_back(p);
    while (pts.size() > 1 && pts.front() == pts.back()) pts.pop_back();
    const size_t n = pts.size();
    const int turn = Sign(Twice_Area(pts));
    for (size_t i = 0; i < n; ++i) {
        const P& b = pts[(i + 1) % n];
        if (Sign(Orient(pts[i], b, pts[(i + 2) % n])) == -turn)
            return "concave at " + std::to_string(b.first) + "," + std::to_string(b.second);
    }
    return "";
}

std::string Piece_Name(const Lwm_Piece& p) {
    const auto [c, r] = p.Where;
    return "LOD8 " + std::to_string(c / 32) + "," + std::to_string(r / 32) + " area " + std::to_string(c % 32) + "," +
           std::to_string(r % 32) + ": " + (p.Type == 0 ? "water" : "land") + " piece of \"" + p.Text + "\"";
}

std::vector<Lwm_Piece> Read_Lwm(const std::filesystem::path& path, std::vector<Finding>& findings) {
    const std::vector<std::string> lines = Read_Lines(path);
    const std::vector<std::pair<long, long>> cells = Index_Cells(lines, "LWMCellID");
    std::vector<Lwm_Piece> pieces;
    size_t block = 0;
    long c13 = -1, r13 = -1;
    std::string text;
    bool commented = false;
    for (const std::string& line : lines) {
        if (Starts(line, "datamark_") && line.find("label") != std::string::npos) {
            const std::vector<long> n = Numbers_After(line, "datamark_");
            if (!n.empty() && n[0] >= 0) block = static_cast<size_t>(n[0]);
            continue;
        }
        if (Starts(line, "LWMDataAreaDrawPolygons")) {
            const std::vector<long> n = Numbers_After(line, Starts(line, "LWMDataAreaDrawPolygonsEx")
                                                               ? "LWMDataAreaDrawPolygonsEx"
                                                               : "LWMDataAreaDrawPolygons");
            if (n.size() >= 5) c13 = n[3], r13 = n[4];
            commented = false;
            continue;
        }
        if (line.rfind("; ", 0) == 0) {
            if (line.size() > 2) text = line.substr(2);
            commented = true;
            continue;
        }
        if (Starts(line, "LWMPoly")) {
            const std::vector<long> n = Numbers_After(line, Starts(line, "LWMPoly2Ex") ? "LWMPoly2Ex" : "LWMPoly2");
            // Block k lies between the marks k and k + 1.
            if (block >= cells.size()) {
                findings.push_back({"a piece outside every cell block: " + line});
                continue;
            }
            const auto [col, row] = cells[block];
            if (col < 0 || col > 767 || row < 0 || row > 511 || c13 < 0 || c13 > 31 || r13 < 0 || r13 > 31)
                findings.push_back({"a cell outside the world's grid: " + Area_Text(col, row, c13, r13)});
            Lwm_Piece piece;
            piece.Where = {col * 32 + c13, row * 32 + r13};
            piece.Type = n.size() >= 3 ? static_cast<int>(n[2]) : 0;
            piece.Fill = !commented;
            piece.Text = commented ? text : "";
            if (n.size() >= 5 && (n[4] < 0 || n[4] > 127))
                findings.push_back({"an altitude fraction outside 0..127: " + line});
            pieces.push_back(piece);
            commented = false;
            text.clear();
            continue;
        }
        if (Starts(line, "LWMPoint") && !pieces.empty()) {
            const std::vector<long> n = Numbers_After(line, "LWMPoint");
            if (n.size() != 2) continue;
            if (n[0] < 0 || n[0] > 255 || n[1] < 0 || n[1] > 255)
                findings.push_back({Piece_Name(pieces.back()) + ": a position outside its area: " +
                                    std::to_string(n[0]) + "," + std::to_string(n[1])});
            pieces.back().Local.push_back({n[0], n[1]});
        }
    }
    return pieces;
}

std::vector<Wide_Entry> Read_Wide_Lines(const std::filesystem::path& path, std::vector<Finding>& findings) {
    const std::vector<std::string> lines = Read_Lines(path);
    const std::vector<std::pair<long, long>> cells = Index_Cells(lines, "VTPCellID");
    std::vector<Wide_Entry> entries;
    size_t block = 0;
    std::string text;
    for (const std::string& line : lines) {
        if (Starts(line, "datamark_v") && line.find("label") != std::string::npos) {
            const std::vector<long> n = Numbers_After(line, "datamark_v");
            if (!n.empty() && n[0] >= 0) block = static_cast<size_t>(n[0]);
            continue;
        }
        if (line.size() > 1 && line[0] == ';' && line[1] != '-') {
            text = line.substr(1);
            continue;
        }
        if (Starts(line, "VTPPolyMethod2 ")) {
            if (block >= cells.size()) {
                findings.push_back({"a wide line outside every cell block"});
                continue;
            }
            const auto [col, row] = cells[block];
            if (col < 0 || col > 767 || row < 0 || row > 511)
                findings.push_back({"a wide-line cell outside the world's grid: " + std::to_string(col) + "," +
                                    std::to_string(row)});
            entries.push_back({cells[block], text, {}, {}});
            text.clear();
            continue;
        }
        if (entries.empty()) continue;
        if (Starts(line, "VTPWidePointWidth")) {
            const std::vector<long> n = Numbers_After(line, "VTPWidePointWidth");
            entries.back().Widths.push_back(n.empty() ? -1 : n[0]);
            continue;
        }
        // The points drawn: after the two widths that open the line, before the closing one.
        if (Starts(line, "VTPWidePoint ") && entries.back().Widths.size() == 2) {
            const std::vector<long> n = Numbers_After(line, "VTPWidePoint");
            if (n.size() != 4) continue;
            // One unit beyond the cell for the step point beside a cut end.
            if (n[0] < 4079 || n[0] > 12241 || n[2] < 4079 || n[2] > 12241)
                findings.push_back({"a wide-line position outside its cell: " + line});
            const auto [col, row] = entries.back().Cell;
            entries.back().Points.push_back({static_cast<double>(col) * Cell_Units + static_cast<double>(n[0] - 4080),
                                             static_cast<double>(row) * Cell_Units + static_cast<double>(n[2] - 4080)});
        }
    }
    return entries;
}

}  // namespace scenery
