#pragma once
// A calibrated map for the polygon stages: north-west corner at 45 N 0 E on pixel (0, 0), two
// LOD8 cells each way on 2000 x 2000 pixels, so an LOD8 cell is 1000 pixels and an LOD13 cell
// 31.25 pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/grid.h"
#include "core/project.h"
#include "generation/concave_split.h"
#include "generation/work_tables.h"
#include "generation/writer_base.h"
#include "platform/headless/headless_host.h"
#include "support/program_state.h"

namespace polytest {

constexpr double Lod13_Px = 31.25;
constexpr double Lod8_Px = 1000;

inline void Calibrate(int cells = 2) {
    const double size = Lod8_Px * cells;
    Proj_Lat_NW = 45.0;
    Proj_Lon_NW = 0.0;
    Proj_Lat_SE = 45.0 - Lod8_Height * cells;
    Proj_Lon_SE = Lod8_Width * cells;
    Proj_Px_NW_X = 0;
    Proj_Px_NW_Y = 0;
    Proj_Px_SE_X = static_cast<int32_t>(size);
    Proj_Px_SE_Y = static_cast<int32_t>(size);
    Map_Lat_North = Proj_Lat_NW;
    Map_Lat_South = Proj_Lat_SE;
    Map_Lon_West = Proj_Lon_NW;
    Map_Lon_East = Proj_Lon_SE;
    Map_Px_West = 0;
    Map_Px_North = 0;
    Map_Px_East = size;
    Map_Px_South = size;
}

class PolygonTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Work_Tables_Reset_All();
        host().Reset();
        Gen_Reset_Captions();
        Calibrate();
    }
    void TearDown() override { Work_Tables_Reset_All(); }
    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }
};

// A drawn polygon (shore option 0) of output kind `kind` (0 LWM, 1 VTP2, 2 VTP1).
inline int32_t Add_Polygon(const std::vector<Plane_Point>& pts, int16_t kind = 0,
                           const std::string& nesting = "") {
    Route_Attrib a;
    a.SurfShore = 0;
    a.LWM_VTP2 = kind;
    a.Imbrication = nesting;
    int32_t line = Project_Append_Line(a);
    for (const Plane_Point& p : pts) Project_Append_Point(line, p.X, p.Y);
    return line;
}

inline std::vector<Plane_Point> Square(double x, double y, double side) {
    return {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
}

// Points of work record r.
inline std::vector<Plane_Point> Work_Points(int32_t r) {
    std::vector<Plane_Point> pts;
    const Work_Poly_Rec& rec = Work_Poly_Table(r);
    for (int32_t i = 0; i < rec.Nb_Points; ++i) {
        const Work_Point_Rec& p = Work_Point_Table(rec.First_Point + i);
        pts.push_back({p.X, p.Y});
    }
    return pts;
}

inline double Area(const std::vector<Plane_Point>& pts) {
    double s = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        const Plane_Point& a = pts[i];
        const Plane_Point& b = pts[(i + 1) % pts.size()];
        s += a.X * b.Y - b.X * a.Y;
    }
    return s / 2;
}

// Same points in the same cyclic order, starting anywhere.
inline bool Same_Cycle(const std::vector<Plane_Point>& a, const std::vector<Plane_Point>& b) {
    if (a.size() != b.size()) return false;
    for (size_t s = 0; s < a.size(); ++s) {
        bool all = true;
        for (size_t i = 0; i < a.size() && all; ++i)
            all = a[(s + i) % a.size()].X == b[i].X && a[(s + i) % a.size()].Y == b[i].Y;
        if (all) return true;
    }
    return false;
}

// Fills the work tables directly with one record per point list (flags 0).
inline void Load_Work(const std::vector<std::vector<Plane_Point>>& polys) {
    int32_t total = 0;
    for (const auto& p : polys) total += static_cast<int32_t>(p.size());
    Work_Tables_Size(static_cast<int32_t>(polys.size()), total);
    for (const auto& p : polys) {
        Work_Poly_Rec& rec = Work_Poly_Table(++Work_Poly_Count);
        rec.Line_Id = Work_Poly_Count + 1;
        rec.First_Point = Work_Point_Count + 1;
        for (const Plane_Point& q : p) Work_Point_Table(++Work_Point_Count) = {q.X, q.Y, 0};
        rec.Last_Point = Work_Point_Count;
        rec.Nb_Points = static_cast<int32_t>(p.size());
    }
}

}  // namespace polytest
