// Generated scenery read back from disk and compared, cell by cell and with Boost.Geometry, with
// the shapes the author drew. All geometry is in global LOD13 units: 255 to an LOD13 cell side
// (8160 to an LOD8 cell), u eastward from 180 W, v southward from 90 N, so that one unit is the
// quantisation of the written positions in either source.
#include "support/scenery_check.h"

#include <boost/geometry.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#include "core/grid.h"
#include "core/project.h"

namespace scenery {
namespace {

namespace bg = boost::geometry;
using Pt = bg::model::d2::point_xy<double>;
using Poly = bg::model::polygon<Pt>;
using Multi = bg::model::multi_polygon<Poly>;
using Line = bg::model::linestring<Pt>;
using Lines = bg::model::multi_linestring<Line>;
using Box = bg::model::box<Pt>;

constexpr double Area_Units = 255;    // an LOD13 cell side
constexpr double Cell_Units = 8160;   // an LOD8 cell side
constexpr double Line_Tolerance = 2.5;  // units between a wide line's written points and the drawn line

Pt Units_Of_LatLon(double lat, double lon) {
    return {(lon + 180) / Lod13_Width * Area_Units, (90 - lat) / Lod13_Height * Area_Units};
}

Pt Units_Of_Pixel(const Px& p) {
    double lat = 0, lon = 0;
    Com_Pixel_To_LatLon(p.X, p.Y, lat, lon);
    return Units_Of_LatLon(lat, lon);
}

// An LOD13 area by its global column and row.
using Area = std::pair<long, long>;

Box Area_Box(const Area& a) {
    return {{a.first * Area_Units, a.second * Area_Units}, {(a.first + 1) * Area_Units, (a.second + 1) * Area_Units}};
}

std::string Area_Name(const Area& a) {
    return "LOD8 " + std::to_string(a.first / 32) + "," + std::to_string(a.second / 32) + " area " +
           std::to_string(a.first % 32) + "," + std::to_string(a.second % 32);
}

Poly Ring_Of(const std::vector<Pt>& pts) {
    Poly p;
    for (const Pt& q : pts) bg::append(p.outer(), q);
    bg::correct(p);
    return p;
}

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

struct Lwm_Piece {
    Area Where;
    int Type = 0;  // 0 water, 1 land
    std::string Text;
    size_t Order = 0;
    std::vector<std::pair<long, long>> Local;
    bool Fill = false;
};

std::vector<Lwm_Piece> Read_Lwm(const std::filesystem::path& path, Report& report) {
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
            // Block k lies between the marks k - 1 and k.
            if (block >= cells.size()) {
                report.Findings.push_back({"a piece outside every cell block: " + line});
                continue;
            }
            const auto [col, row] = cells[block];
            if (col < 0 || col > 767 || row < 0 || row > 511 || c13 < 0 || c13 > 31 || r13 < 0 || r13 > 31)
                report.Findings.push_back({"a cell outside the world's grid: " + std::to_string(col) + "," +
                                           std::to_string(row) + " area " + std::to_string(c13) + "," +
                                           std::to_string(r13)});
            Lwm_Piece piece;
            piece.Where = {col * 32 + c13, row * 32 + r13};
            piece.Type = n.size() >= 3 ? static_cast<int>(n[2]) : 0;
            piece.Fill = !commented;
            piece.Text = commented ? text : "";
            piece.Order = pieces.size();
            if (n.size() >= 5 && (n[4] < 0 || n[4] > 127))
                report.Findings.push_back({"an altitude fraction outside 0..127: " + line});
            pieces.push_back(piece);
            commented = false;
            text.clear();
            continue;
        }
        if (Starts(line, "LWMPoint") && !pieces.empty()) {
            const std::vector<long> n = Numbers_After(line, "LWMPoint");
            if (n.size() != 2) continue;
            if (n[0] < 0 || n[0] > 255 || n[1] < 0 || n[1] > 255)
                report.Findings.push_back({"a position outside its area in " + Area_Name(pieces.back().Where) + ": " +
                                           line});
            pieces.back().Local.push_back({n[0], n[1]});
        }
    }
    return pieces;
}

Poly Piece_Shape(const Lwm_Piece& p) {
    std::vector<Pt> pts;
    for (auto [x, y] : p.Local)
        pts.push_back({p.Where.first * Area_Units + static_cast<double>(x), p.Where.second * Area_Units + static_cast<double>(y)});
    return Ring_Of(pts);
}

struct Wide_Entry {
    std::pair<long, long> Cell;
    std::vector<Pt> Points;
};

std::vector<Wide_Entry> Read_Wide_Lines(const std::filesystem::path& path, Report& report) {
    const std::vector<std::string> lines = Read_Lines(path);
    const std::vector<std::pair<long, long>> cells = Index_Cells(lines, "VTPCellID");
    std::vector<Wide_Entry> entries;
    size_t block = 0;
    int widths = 0;
    for (const std::string& line : lines) {
        if (Starts(line, "datamark_v") && line.find("label") != std::string::npos) {
            const std::vector<long> n = Numbers_After(line, "datamark_v");
            if (!n.empty() && n[0] >= 0) block = static_cast<size_t>(n[0]);
            continue;
        }
        if (Starts(line, "VTPPolyMethod2 ")) {
            if (block >= cells.size()) {
                report.Findings.push_back({"a wide line outside every cell block"});
                continue;
            }
            const auto [col, row] = cells[block];
            if (col < 0 || col > 767 || row < 0 || row > 511)
                report.Findings.push_back({"a wide-line cell outside the world's grid: " + std::to_string(col) + "," +
                                           std::to_string(row)});
            entries.push_back({cells[block], {}});
            widths = 0;
            continue;
        }
        if (entries.empty()) continue;
        if (Starts(line, "VTPWidePointWidth")) {
            ++widths;
            continue;
        }
        // The points drawn: after the two widths that open the line, before the closing one.
        if (Starts(line, "VTPWidePoint ") && widths == 2) {
            const std::vector<long> n = Numbers_After(line, "VTPWidePoint");
            if (n.size() != 4) continue;
            // One unit beyond the cell for the step point beside a cut end.
            if (n[0] < 4079 || n[0] > 12241 || n[2] < 4079 || n[2] > 12241)
                report.Findings.push_back({"a wide-line position outside its cell: " + line});
            const auto [col, row] = entries.back().Cell;
            entries.back().Points.push_back({static_cast<double>(col) * Cell_Units + static_cast<double>(n[0] - 4080),
                                             static_cast<double>(row) * Cell_Units + static_cast<double>(n[2] - 4080)});
        }
    }
    return entries;
}

// The map frame in units, and the LOD13 areas it covers.
Box Map_Frame() {
    const Pt nw = Units_Of_LatLon(Map_Lat_North, Map_Lon_West);
    const Pt se = Units_Of_LatLon(Map_Lat_South, Map_Lon_East);
    return {{std::min(nw.x(), se.x()), std::min(nw.y(), se.y())}, {std::max(nw.x(), se.x()), std::max(nw.y(), se.y())}};
}

// The sea beside an open coastline: the line, carried on straight from its ends to a box around
// everything, closed along that box on the side of the sea.
Poly Sea_Beside(const std::vector<Pt>& line, bool land_on_right, const Box& frame) {
    Box big = frame;
    for (const Pt& p : line) bg::expand(big, p);
    const double margin = 10 * Area_Units;
    big = {{big.min_corner().x() - margin, big.min_corner().y() - margin},
           {big.max_corner().x() + margin, big.max_corner().y() + margin}};
    auto to_box = [&](const Pt& from, const Pt& toward) {
        const double dx = from.x() - toward.x(), dy = from.y() - toward.y();
        double t = 1e300;
        if (dx > 0) t = std::min(t, (big.max_corner().x() - from.x()) / dx);
        if (dx < 0) t = std::min(t, (big.min_corner().x() - from.x()) / dx);
        if (dy > 0) t = std::min(t, (big.max_corner().y() - from.y()) / dy);
        if (dy < 0) t = std::min(t, (big.min_corner().y() - from.y()) / dy);
        return Pt{from.x() + t * dx, from.y() + t * dy};
    };
    const size_t n = line.size();
    std::vector<Pt> path{to_box(line[0], line[1])};
    path.insert(path.end(), line.begin(), line.end());
    path.push_back(to_box(line[n - 1], line[n - 2]));
    // Perimeter position along the box, clockwise on the map (v down) from its north-west corner.
    const double w = big.max_corner().x() - big.min_corner().x(), h = big.max_corner().y() - big.min_corner().y();
    auto along = [&](const Pt& p) {
        const double x = p.x() - big.min_corner().x(), y = p.y() - big.min_corner().y();
        if (std::fabs(y) < 1e-6) return x;
        if (std::fabs(x - w) < 1e-6) return w + y;
        if (std::fabs(y - h) < 1e-6) return 2 * w + h - x;
        return 2 * w + 2 * h - y;
    };
    const Pt corners[4] = {big.min_corner(), {big.max_corner().x(), big.min_corner().y()}, big.max_corner(),
                           {big.min_corner().x(), big.max_corner().y()}};
    const double corner_at[4] = {0, w, w + h, 2 * w + h};
    const double perimeter = 2 * (w + h);
    // From the end back to the start, the way that keeps the sea on the line's right (on the map):
    // clockwise when the sea is on the right, else counter-clockwise.
    const bool clockwise = !land_on_right;
    std::vector<Pt> ring = path;
    const double s = along(path.back()), e = along(path.front());
    double span = clockwise ? e - s : s - e;
    if (span < 0) span += perimeter;
    std::vector<std::pair<double, Pt>> passed;
    for (int k = 0; k < 4; ++k) {
        double d = clockwise ? corner_at[k] - s : s - corner_at[k];
        if (d < 0) d += perimeter;
        if (d > 0 && d < span) passed.push_back({d, corners[k]});
    }
    std::sort(passed.begin(), passed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [d, c] : passed) ring.push_back(c);
    return Ring_Of(ring);
}

// The sea of a closed coastline: outside the ring where the ring turns so that its inside lies
// on its left (an island), inside it otherwise (a lake); drawn with the land on its right, the
// other way round.
Multi Sea_Of_Ring(const std::vector<Pt>& ring, bool land_on_right, const Box& frame) {
    Poly inside;
    for (const Pt& q : ring) bg::append(inside.outer(), q);
    // Twice the area, positive when the ring turns clockwise on the map (v down).
    double twice = 0;
    for (size_t i = 0; i + 1 < ring.size(); ++i) twice += ring[i].x() * ring[i + 1].y() - ring[i + 1].x() * ring[i].y();
    bg::correct(inside);
    const bool lake = (twice > 0) != land_on_right;
    Multi sea;
    if (lake) {
        sea.push_back(inside);
        return sea;
    }
    Box big = frame;
    for (const Pt& q : ring) bg::expand(big, q);
    const double margin = 10 * Area_Units;
    Poly around;
    bg::convert(Box{{big.min_corner().x() - margin, big.min_corner().y() - margin},
                    {big.max_corner().x() + margin, big.max_corner().y() + margin}},
                around);
    bg::difference(around, inside, sea);
    return sea;
}

// Far values a damaged file may hold are beyond what the overlay arithmetic takes: the drawn
// shapes are first held to a box some areas around the map (with a plain Sutherland-Hodgman cut,
// the parameter form of which cannot overflow), which changes nothing within the map.
std::vector<Pt> Held_To(const std::vector<Pt>& pts, const Box& box, bool closed) {
    std::vector<Pt> out = pts;
    for (int side = 0; side < 4; ++side) {
        const bool on_x = side < 2;
        const double at = side == 0 ? box.min_corner().x() : side == 1 ? box.max_corner().x()
                        : side == 2 ? box.min_corner().y() : box.max_corner().y();
        auto value = [&](const Pt& p) { return on_x ? p.x() : p.y(); };
        auto inside = [&](const Pt& p) { return side % 2 == 0 ? value(p) >= at : value(p) <= at; };
        auto meet = [&](const Pt& a, const Pt& b) {
            const double da = std::fabs(value(a) - at), db = std::fabs(value(b) - at);
            const double t = da / (da + db);
            Pt q{a.x() * (1 - t) + b.x() * t, a.y() * (1 - t) + b.y() * t};
            (on_x ? q.x(at) : q.y(at));
            return q;
        };
        std::vector<Pt> in;
        in.swap(out);
        const size_t n = in.size();
        for (size_t i = 0; i < n; ++i) {
            if (!closed && i + 1 == n) {
                if (inside(in[i])) out.push_back(in[i]);
                break;
            }
            const Pt& a = in[i];
            const Pt& b = in[(i + 1) % n];
            if (inside(a)) out.push_back(a);
            if (inside(a) != inside(b)) out.push_back(meet(a, b));
        }
    }
    return out;
}

double Boundary_Units(const Multi& water, const Box& box) {
    double length = 0;
    auto add = [&](const auto& ring) {
        Line l(ring.begin(), ring.end());
        Lines inside;
        bg::intersection(box, l, inside);
        length += bg::length(inside);
    };
    for (const Poly& p : water) {
        add(p.outer());
        for (const auto& inner : p.inners()) add(inner);
    }
    return length;
}

}  // namespace

std::string Report::Summary() const {
    std::ostringstream out;
    out << Areas_Compared << " areas, " << Lines_Checked << " wide-line entries, water written " << Water_Written
        << " drawn " << Water_Drawn << " (square units)";
    for (const Finding& f : Findings) out << "\n  " << f.Text;
    return out.str();
}

Report Check_Scenery(const std::filesystem::path& app_dir, const std::vector<Drawn>& drawn) {
    Report report;
    const Box frame = Map_Frame();

    // What the author drew: polygons painted outermost first; the sea of each coastline.
    std::vector<std::pair<double, const Drawn*>> polygons;
    std::vector<Multi> seas;
    std::vector<Line> coasts, wide;
    const double reach = 100 * Area_Units;
    const Box held{{frame.min_corner().x() - reach, frame.min_corner().y() - reach},
                   {frame.max_corner().x() + reach, frame.max_corner().y() + reach}};
    auto units_of = [&](const Drawn& d) {
        std::vector<Pt> pts;
        for (const Px& p : d.Points) pts.push_back(Units_Of_Pixel(p));
        return Held_To(pts, held, d.What == Drawn::Water || d.What == Drawn::Land);
    };
    for (const Drawn& d : drawn) {
        const std::vector<Pt> pts = units_of(d);
        if (d.What == Drawn::Water || d.What == Drawn::Land) {
            polygons.push_back({bg::area(Ring_Of(pts)), &d});
        } else if (d.What == Drawn::Coastline) {
            const bool ring = d.Points.size() > 3 && d.Points.front().X == d.Points.back().X &&
                              d.Points.front().Y == d.Points.back().Y;
            if (ring) {
                seas.push_back(Sea_Of_Ring(pts, d.Land_On_Right, frame));
            } else {
                seas.emplace_back();
                seas.back().push_back(Sea_Beside(pts, d.Land_On_Right, frame));
            }
            coasts.push_back(Line(pts.begin(), pts.end()));
        } else {
            wide.push_back(Line(pts.begin(), pts.end()));
        }
    }
    std::stable_sort(polygons.begin(), polygons.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    Multi drawn_water;
    for (const auto& [area, d] : polygons) {
        const std::vector<Pt> pts = units_of(*d);
        Multi next;
        if (d->What == Drawn::Water) bg::union_(drawn_water, Ring_Of(pts), next);
        else bg::difference(drawn_water, Ring_Of(pts), next);
        drawn_water = next;
    }

    // The areas to compare: every area written, every area of the map with drawn water or a
    // coastline through it.
    const std::vector<Lwm_Piece> pieces = Read_Lwm(app_dir / "Tessaline$_Poly_LWM.asm", report);
    std::map<Area, std::vector<const Lwm_Piece*>> by_area;
    for (const Lwm_Piece& p : pieces)
        if (!p.Fill) by_area[p.Where].push_back(&p);
    // The coastlines through each area, by their place in `seas`.
    std::map<Area, std::vector<size_t>> coast_areas;
    const long c0 = static_cast<long>(std::floor(frame.min_corner().x() / Area_Units));
    const long c1 = static_cast<long>(std::ceil(frame.max_corner().x() / Area_Units));
    const long r0 = static_cast<long>(std::floor(frame.min_corner().y() / Area_Units));
    const long r1 = static_cast<long>(std::ceil(frame.max_corner().y() / Area_Units));
    Box water_box;
    bg::envelope(drawn_water, water_box);
    for (long r = r0; r < r1; ++r) {
        for (long c = c0; c < c1; ++c) {
            const Box box = Area_Box({c, r});
            if (!drawn_water.empty() && bg::intersects(box, water_box) && bg::intersects(box, drawn_water)) by_area[{c, r}];
        }
    }
    // A coastline's areas on the map (beyond it the coast is trimmed by the stage's own rules).
    for (size_t line = 0; line < coasts.size(); ++line) {
        const Line& l = coasts[line];
        Box line_box;
        Lines on_map;
        bg::intersection(frame, l, on_map);
        if (on_map.empty()) continue;
        bg::envelope(on_map, line_box);
        for (long r = static_cast<long>(std::floor(line_box.min_corner().y() / Area_Units));
             r <= static_cast<long>(line_box.max_corner().y() / Area_Units); ++r) {
            for (long c = static_cast<long>(std::floor(line_box.min_corner().x() / Area_Units));
                 c <= static_cast<long>(line_box.max_corner().x() / Area_Units); ++c) {
                Lines inside;
                bg::intersection(Area_Box({c, r}), on_map, inside);
                if (bg::length(inside) <= 1e-6) continue;
                coast_areas[{c, r}].push_back(line);
                by_area[{c, r}];
            }
        }
    }

    for (const auto& [a, list] : by_area) {
        // Beyond the map the grid cut stops; what is written there is not compared.
        if (a.first < c0 || a.first >= c1 || a.second < r0 || a.second >= r1) continue;
        const Box box = Area_Box(a);
        // The water the source marks: its pieces painted in the order written.
        Multi written;
        for (const Lwm_Piece* p : list) {
            const Poly shape = Piece_Shape(*p);
            Multi next;
            if (p->Type == 0) bg::union_(written, shape, next);
            else bg::difference(written, shape, next);
            written = next;
        }
        // The author's: where coastlines cross the area, what is sea for every one of them; then
        // the polygons.
        Multi expected;
        if (const auto through = coast_areas.find(a); through != coast_areas.end()) {
            expected = seas[through->second.front()];
            for (size_t k = 1; k < through->second.size(); ++k) {
                Multi next;
                bg::intersection(expected, seas[through->second[k]], next);
                expected = next;
            }
        }
        if (!drawn_water.empty()) {
            Multi next;
            bg::union_(expected, drawn_water, next);
            expected = next;
        }
        Multi expected_here;
        bg::intersection(box, expected, expected_here);
        // One unit along the drawn boundary, and the snapping at the area's corners.
        const double allowance = Boundary_Units(expected, box) * 1.0 + 4.0;
        // A coastline that only grazes an area leaves it all sea once snapped: such an area is
        // left out like the areas its pieces fill.
        if (list.empty() && coast_areas.count(a) && bg::area(box) - bg::area(expected_here) <= allowance) {
            written.clear();
            written.push_back(Ring_Of({box.min_corner(), {box.max_corner().x(), box.min_corner().y()}, box.max_corner(),
                                       {box.min_corner().x(), box.max_corner().y()}}));
        }

        Multi only_written, only_drawn;
        bg::difference(written, expected_here, only_written);
        bg::difference(expected_here, written, only_drawn);
        const double wrong = bg::area(only_written) + bg::area(only_drawn);
        ++report.Areas_Compared;
        report.Water_Written += bg::area(written);
        report.Water_Drawn += bg::area(expected_here);
        if (wrong > allowance) {
            std::ostringstream text;
            text << Area_Name(a) << ": water written " << bg::area(written) << ", drawn " << bg::area(expected_here)
                 << ", differing " << wrong << " > " << allowance << " square units";
            report.Findings.push_back({text.str()});
        }

        // Pieces of one polygon do not overlap; a land piece comes after the water it lies in.
        for (size_t i = 0; i < list.size(); ++i) {
            const Poly pi = Piece_Shape(*list[i]);
            for (size_t j = i + 1; j < list.size(); ++j) {
                const Poly pj = Piece_Shape(*list[j]);
                Multi both;
                bg::intersection(pi, pj, both);
                if (bg::area(both) < 1.0) continue;
                if (list[i]->Type == list[j]->Type && list[i]->Text == list[j]->Text)
                    report.Findings.push_back({Area_Name(a) + ": pieces of \"" + list[i]->Text + "\" overlap"});
                if (list[i]->Type == 1 && list[j]->Type == 0 && list[i]->Text != list[j]->Text)
                    report.Findings.push_back({Area_Name(a) + ": land \"" + list[i]->Text + "\" before the water \"" +
                                               list[j]->Text + "\" it lies in"});
            }
        }
    }

    // Wide lines: every written point near the drawn line, and the drawn line inside the map
    // covered by what is written, across cell borders.
    const std::vector<Wide_Entry> entries = Read_Wide_Lines(app_dir / "Tessaline$_Lines.ASM", report);
    Lines written_lines;
    for (const Wide_Entry& e : entries) {
        ++report.Lines_Checked;
        written_lines.push_back(Line(e.Points.begin(), e.Points.end()));
        Lines drawn_lines;
        drawn_lines.insert(drawn_lines.end(), wide.begin(), wide.end());
        drawn_lines.insert(drawn_lines.end(), coasts.begin(), coasts.end());
        for (const Pt& p : e.Points) {
            if (drawn_lines.empty() || bg::distance(p, drawn_lines) > Line_Tolerance) {
                std::ostringstream text;
                text << "a wide-line point " << p.x() << "," << p.y() << " in cell " << e.Cell.first << ","
                     << e.Cell.second << " away from every drawn line";
                report.Findings.push_back({text.str()});
                break;
            }
        }
    }
    for (const Line& l : wide) {
        Lines inside;
        bg::intersection(frame, l, inside);
        for (const Line& part : inside) {
            for (size_t i = 0; i + 1 < part.size(); ++i) {
                const double len = bg::distance(part[i], part[i + 1]);
                const int steps = std::max(1, static_cast<int>(len / 5));
                for (int k = 0; k <= steps; ++k) {
                    const double t = static_cast<double>(k) / steps;
                    const Pt q{part[i].x() + t * (part[i + 1].x() - part[i].x()),
                               part[i].y() + t * (part[i + 1].y() - part[i].y())};
                    if (written_lines.empty() || bg::distance(q, written_lines) > Line_Tolerance) {
                        std::ostringstream text;
                        text << "the drawn line at " << q.x() << "," << q.y() << " has no wide line written";
                        report.Findings.push_back({text.str()});
                        i = part.size();
                        break;
                    }
                }
            }
        }
    }
    return report;
}

}  // namespace scenery

namespace scenery {

void Draw_Project(const std::vector<Drawn>& drawn) {
    int n = 0;
    for (const Drawn& d : drawn) {
        Route_Attrib a;
        a.Text_Rt = "shape " + std::to_string(++n);
        a.SurfShore = d.What == Drawn::Coastline ? 3 : d.What == Drawn::Wide_Line ? 2 : 0;
        a.Attrib = d.What == Drawn::Land ? 1 : 0;
        a.LandOnRight = d.Land_On_Right ? 1 : 0;
        a.Largeur = static_cast<int16_t>(d.Width);
        a.Type_Code = 1026;
        const int32_t line = Project_Append_Line(a);
        for (const Px& p : d.Points) Project_Append_Point(line, p.X, p.Y);
    }
}

}  // namespace scenery
