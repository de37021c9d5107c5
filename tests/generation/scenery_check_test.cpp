// The geometric check on hand-written sources, each with one fault: what it reads must be what
// is written, so each fault is named and none is corrected away.
#include <algorithm>
#include <string>
#include <vector>

#include "generation/mask_writer.h"
#include "support/scenery_check.h"
#include "writer_test_env.h"

namespace {

using namespace gentest;
using scenery::Drawn;
using scenery::Px;

struct Piece {
    int Col = 0, Row = 0;  // area in LOD8 cell 384, 128
    std::vector<std::pair<int, int>> Points;
    int Type = 0;
    std::string Text = "shape 1";
};

// A mask source holding the pieces, one area block each, all in LOD8 cell 384, 128.
std::string Mask(const std::vector<Piece>& pieces) {
    std::string s = "LWMStart    label   word\n    datamark_0  label   word\n";
    for (const Piece& p : pieces) {
        s += "        LWMDataAreaDrawPolygons 1,3,1," + std::to_string(p.Col) + "," + std::to_string(p.Row) + "\n";
        s += "; \n; " + p.Text + "\n; \n";
        s += "          LWMPoly2   " + std::to_string(p.Points.size()) + ",0," + std::to_string(p.Type) + ",1,64\n";
        for (auto [x, y] : p.Points) s += "            LWMPoint " + std::to_string(x) + "," + std::to_string(y) + "\n";
    }
    return s + "    datamark_1  label   word\n    LWM384_128    EQU    LWMCellID 0,0,3,384,128\n";
}

// Positions 0..255 of the rectangle x0..x1, y0..y1 in the winding pieces are written in.
std::vector<std::pair<int, int>> Rect(int x0, int y0, int x1, int y1) { return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; }

class SceneryCheck : public Area_Writer_Test {
protected:
    // An aligned map of 2 x 2 areas of 64 pixels at the corner of LOD8 cell 384, 128.
    void SetUp() override {
        Area_Writer_Test::SetUp();
        Proj_Lat_SE = Map_Lat_South = 45 - 2 * Lod13_Height;
        Proj_Lon_SE = Map_Lon_East = 2 * Lod13_Width;
        Proj_Px_SE_X = Proj_Px_SE_Y = 128;
        Map_Px_East = Map_Px_South = 128;
    }
    std::vector<std::string> Check(const std::vector<Piece>& pieces, const std::vector<Drawn>& drawn) {
        Write_File(app / "Tessaline$_Poly_LWM.asm", Mask(pieces));
        fs::remove(app / "Tessaline$_Lines.ASM");
        std::vector<std::string> texts;
        for (const scenery::Finding& f : scenery::Check_Scenery(app, drawn).Findings) texts.push_back(f.Text);
        return texts;
    }
};

bool Names(const std::vector<std::string>& findings, const std::string& what) {
    for (const std::string& f : findings)
        if (f.find(what) != std::string::npos) return true;
    return false;
}

std::string All(const std::vector<std::string>& findings) {
    std::string s;
    for (const std::string& f : findings) s += f + "\n";
    return s;
}

// Across both areas of the northern row at half its height (position 127.5), the sea south, and
// on east beyond the map for three areas more.
const Drawn Coast{Drawn::Coastline, {{-10, 32}, {330, 32}}};
const std::vector<Piece> South_Halves = {{0, 0, Rect(0, 128, 255, 255)}, {1, 0, Rect(0, 128, 255, 255)}};

TEST_F(SceneryCheck, PiecesAreReadAsWritten) {
    // A lake in area 1,1 (pixels 70..120, positions 24..223) beside the coast.
    const std::vector<Drawn> drawn{Coast, {Drawn::Water, {{70, 70}, {120, 70}, {120, 120}, {70, 120}}}};
    std::vector<Piece> sound = South_Halves;
    sound.push_back({1, 1, Rect(24, 24, 223, 223), 0, "shape 2"});
    auto with = [&](size_t i, std::vector<std::pair<int, int>> pts) {
        std::vector<Piece> p = sound;
        p[i].Points = std::move(pts);
        return p;
    };
    auto plus = [&](Piece extra) {
        std::vector<Piece> p = sound;
        p.push_back(std::move(extra));
        return p;
    };
    std::vector<std::pair<int, int>> reversed = sound[0].Points, long_side{{0, 128}, {255, 128}, {255, 255}};
    std::reverse(reversed.begin(), reversed.end());
    for (int k = 1; k <= 57; ++k) long_side.push_back({255 - 4 * k, 255});
    long_side.push_back({0, 255});

    struct Row {
        const char* Fault;
        std::vector<Piece> Pieces;
        std::vector<std::string> Named;  // each a part of one finding; none for a sound source
    };
    const std::vector<Row> rows = {
        {"sound", sound, {}},
        // Turned the other way round, the water is land.
        {"reversed", with(0, reversed),
         {"area 0,0: water piece of \"shape 1\" of reversed winding", "area 0,0: water written 0, drawn"}},
        // In an area the coast never enters, e.g. a cell border folded on itself: the area it
        // makes land is found.
        {"zero area", plus({0, 1, {{0, 161}, {0, 0}, {0, 255}}}),
         {"area 0,1: water piece of \"shape 1\": zero area", "area 0,1: water written 0, drawn 65025"}},
        // A back-track along a border and a crossing, whatever sum they would give.
        {"spike", with(1, {{0, 128}, {255, 128}, {255, 255}, {215, 255}, {220, 255}, {0, 255}}),
         {"area 1,0: water piece of \"shape 1\": a zero-width spike at 215,255"}},
        {"crossing", with(1, {{0, 128}, {255, 128}, {0, 255}, {100, 255}}),
         {"area 1,0: water piece of \"shape 1\": crosses or touches itself"}},
        // A polygon's pieces covering nothing are named as well as a coast's.
        {"flat polygon piece", plus({1, 1, {{24, 24}, {100, 100}, {223, 223}}, 0, "shape 2"}),
         {"area 1,1: water piece of \"shape 2\": zero area, flat"}},
        {"bow-tie", plus({1, 1, {{0, 0}, {255, 255}, {255, 0}, {0, 255}}, 0, "shape 2"}),
         {"area 1,1: water piece of \"shape 2\": crosses or touches itself at its sides 1 and 3"}},
        {"concave", with(1, {{0, 128}, {255, 128}, {255, 255}, {128, 200}, {0, 255}}),
         {"area 1,0: water piece of \"shape 1\": concave at 128,200"}},
        {"61 points", with(1, long_side), {"area 1,0: water piece of \"shape 1\": 61 points, more than 60"}},
        {"outside its area", with(1, Rect(0, 128, 256, 255)),
         {"area 1,0: water piece of \"shape 1\": a position outside its area: 256,128"}},
        // East of the map, where the coast runs on.
        {"beyond the map, sound", plus({2, 0, Rect(0, 128, 255, 255)}), {}},
        {"beyond the map", plus({2, 0, Rect(0, 128, 255, 200)}), {"area 2,0: water written 18360, drawn 32512.5"}},
    };
    for (const Row& row : rows) {
        const std::vector<std::string> f = Check(row.Pieces, drawn);
        if (row.Named.empty()) {
            EXPECT_EQ(f, std::vector<std::string>{}) << row.Fault;
        }
        for (const std::string& n : row.Named) EXPECT_TRUE(Names(f, n)) << row.Fault << ":\n" << All(f);
    }
}

TEST_F(SceneryCheck, OverlappingCoastPiecesAreMeasured) {
    // The southern half in two pieces sharing a band 10 positions high, and the same without.
    std::vector<Piece> pieces = {{0, 0, Rect(0, 128, 255, 200)}, {0, 0, Rect(0, 190, 255, 255)},
                                 South_Halves[1]};
    std::vector<std::string> f = Check(pieces, {Coast});
    EXPECT_TRUE(Names(f, "area 0,0: pieces of \"shape 1\" and \"shape 1\" overlap by 2550 square units")) << All(f);
    pieces[1].Points = Rect(0, 200, 255, 255);
    EXPECT_EQ(Check(pieces, {Coast}), std::vector<std::string>{});

    // Pieces of two coastlines overlap as much as pieces of one.
    Drawn island{Drawn::Coastline, {{40, 40}, {40, 50}, {50, 50}, {50, 40}, {40, 40}}};
    pieces[1].Points = Rect(0, 190, 255, 255);
    pieces[1].Text = "shape 2";
    f = Check(pieces, {Coast, island});
    EXPECT_TRUE(Names(f, "area 0,0: pieces of \"shape 1\" and \"shape 2\" overlap by 2550")) << All(f);
}

TEST_F(SceneryCheck, AnAreaTwoCoastlinesCrossIsWaterOnTheSideOfTheNearerLine) {
    // Lines at 20 and 44 pixels (positions 79.7 and 175.3) through both northern areas.
    const std::vector<Px> north{{-10, 20}, {138, 20}}, south{{-10, 44}, {138, 44}};
    auto reversed = [](std::vector<Px> l) {
        std::reverse(l.begin(), l.end());
        return l;
    };
    auto both_areas = [](std::vector<std::pair<int, int>> pts) {
        std::vector<Piece> pieces;
        for (int col : {0, 1}) {
            pieces.push_back({col, 0, pts});
            pieces.back().Text = "shape 1";
        }
        return pieces;
    };
    // Land between (a spit): the water north of the one and south of the other.
    const std::vector<Drawn> spit{{Drawn::Coastline, reversed(north)}, {Drawn::Coastline, south}};
    std::vector<Piece> pieces = both_areas(Rect(0, 0, 255, 80));
    for (Piece& p : both_areas(Rect(0, 175, 255, 255))) pieces.push_back({p.Col, 0, p.Points, 0, "shape 2"});
    EXPECT_EQ(Check(pieces, spit), std::vector<std::string>{});
    std::vector<std::string> f = Check({}, spit);
    EXPECT_TRUE(Names(f, "area 0,0: water written 0, drawn")) << All(f);
    EXPECT_TRUE(Names(f, "area 1,0: water written 0, drawn")) << All(f);

    // Water between (a channel): only the band between them.
    const std::vector<Drawn> channel{{Drawn::Coastline, north}, {Drawn::Coastline, reversed(south)}};
    EXPECT_EQ(Check(both_areas(Rect(0, 80, 255, 175)), channel), std::vector<std::string>{});
    f = Check(pieces, channel);
    EXPECT_TRUE(Names(f, "area 0,0: water written")) << All(f);
}

TEST_F(SceneryCheck, AWideLineIsWrittenWithItsDrawnWidth) {
    const Drawn river{Drawn::Wide_Line, {{-10, 70}, {138, 90}}, false, 12};
    scenery::Draw_Project({river});
    API_Write_Lwm_Asm();
    const fs::path lines = app / "Tessaline$_Lines.ASM";
    std::string text = Read_File(lines);
    scenery::Report r = scenery::Check_Scenery(app, {river});
    EXPECT_TRUE(r.Findings.empty()) << r.Summary();
    ASSERT_GT(r.Lines_Checked, 0);
    const size_t at = text.find("VTPWidePointWidth 12");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 20, "VTPWidePointWidth 10");
    Write_File(lines, text);
    r = scenery::Check_Scenery(app, {river});
    ASSERT_EQ(r.Findings.size(), 1u) << r.Summary();
    EXPECT_NE(r.Findings[0].Text.find("a wide line of \"shape 1\" in cell 383,128 has the widths 1 10 0, drawn 12"),
              std::string::npos)
        << r.Summary();
}

}  // namespace
