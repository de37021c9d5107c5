// Generated scenery checked geometrically: what the mask and wide-line sources on disk mark as
// water and as lines, turned into latitude and longitude, against the shapes drawn, cell by cell.
#include <fstream>
#include <sstream>

#include "generation/mask_writer.h"
#include "generation/work_tables.h"
#include "polygon_fixture.h"
#include "support/scenery_check.h"
#include "writer_test_env.h"

namespace {

using namespace gentest;
using scenery::Drawn;
using scenery::Px;

class SceneryGeometry : public Area_Writer_Test {
protected:
    // Draws the shapes, generates the mask and its wide lines, and checks what was written.
    scenery::Report Generate(const std::vector<Drawn>& drawn) {
        // A project without wide lines writes no line source: none is left from the last one.
        fs::remove(app / "Tessaline$_Lines.ASM");
        scenery::Draw_Project(drawn);
        API_Write_Lwm_Asm();
        EXPECT_EQ(Box_Texts(), std::vector<std::string>{});
        return scenery::Check_Scenery(app, drawn);
    }
    // A map of cols x rows LOD8 cells of 1000 pixels from the north-west corner of LOD8 cell
    // (col, row).
    static void Calibrate_At(int col, int row, int cols, int rows) {
        polytest::Calibrate();
        Proj_Lat_NW = Map_Lat_North = 90 - row * Lod8_Height;
        Proj_Lon_NW = Map_Lon_West = col * Lod8_Width - 180;
        Proj_Lat_SE = Map_Lat_South = Proj_Lat_NW - rows * Lod8_Height;
        Proj_Lon_SE = Map_Lon_East = Proj_Lon_NW + cols * Lod8_Width;
        Proj_Px_SE_X = cols * 1000;
        Proj_Px_SE_Y = rows * 1000;
        Map_Px_East = cols * 1000.0;
        Map_Px_South = rows * 1000.0;
    }
};

// Every compared area as drawn, and at least one compared.
void Expect_Sound(const scenery::Report& r) {
    EXPECT_TRUE(r.Findings.empty()) << r.Summary();
    EXPECT_GT(r.Areas_Compared, 0) << r.Summary();
}

std::vector<Px> Square(double x, double y, double side) {
    return {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
}

TEST_F(SceneryGeometry, NestedPolygonsAndAPolygonAcrossManyCells) {
    // A lake with an island, and a star over all four LOD8 cells.
    Expect_Sound(Generate({{Drawn::Water, Square(110, 120, 500)}, {Drawn::Land, Square(300, 310, 140)}}));
    Line_Count = 1;
    std::vector<Px> star;
    for (int k = 0; k < 14; ++k) {
        const double r = k % 2 ? 430 : 880, t = k * 3.14159265358979 / 7;
        star.push_back({1000 + r * std::cos(t), 1000 + r * std::sin(t)});
    }
    Expect_Sound(Generate({{Drawn::Water, star}}));
}

TEST_F(SceneryGeometry, ShapesReachingBeyondTheWorldKeepWhatLiesOnTheMap) {
    // A triangle, a wide line and a shore line reaching 1e18, 1e10 and 1e300 pixels away.
    const scenery::Report r = Generate({{Drawn::Water, {{200, 200}, {1e18, 600}, {300, 900}}},
                                        {Drawn::Wide_Line, {{500, 1500}, {1700, 1e10}}},
                                        {Drawn::Wide_Line, {{1500, 300}, {1e300, -1e300}}}});
    Expect_Sound(r);
    EXPECT_GT(r.Lines_Checked, 2);
}

// The sources of one coast drawn forwards and backwards with its land on the right.
std::pair<std::string, std::string> Both_Ways(const std::vector<Px>& coast, const fs::path& app) {
    scenery::Draw_Project({{Drawn::Coastline, coast}});
    API_Write_Lwm_Asm();
    const std::string forwards = Read_File(app / "Tessaline$_Poly_LWM.asm");
    Line_Count = 1;
    Drawn backwards{Drawn::Coastline, std::vector<Px>(coast.rbegin(), coast.rend())};
    backwards.Land_On_Right = true;
    scenery::Draw_Project({backwards});
    API_Write_Lwm_Asm();
    return {forwards, Read_File(app / "Tessaline$_Poly_LWM.asm")};
}

const std::vector<Px> Coast{{-100, 700}, {900, 610}, {2100, 655}};

TEST_F(SceneryGeometry, ACoastlineDrawnBackwardsWithItsLandOnTheRightGivesTheSameMask) {
    const auto [forwards, backwards] = Both_Ways(Coast, app);
    EXPECT_NE(forwards.find("LWMDataAreaDrawPolygons"), std::string::npos);
    EXPECT_EQ(forwards, backwards);
}

// Waits for the coast stage's mending: pieces beyond the map, overlapping pieces and areas the
// coast crosses left without water are what it finds today.
TEST_F(SceneryGeometry, CoastlinesWithTheSeaOnEitherSide) {
    Expect_Sound(Generate({{Drawn::Coastline, Coast}}));
    Line_Count = 1;
    Drawn backwards{Drawn::Coastline, std::vector<Px>(Coast.rbegin(), Coast.rend())};
    backwards.Land_On_Right = true;
    Expect_Sound(Generate({backwards}));
}

TEST_F(SceneryGeometry, CoastlinesMeetingTheGridAndEachOther) {
    // Two lines through one row of areas, the water between them.
    Expect_Sound(Generate({{Drawn::Coastline, {{-100, 105}, {2100, 105.5}}},
                           {Drawn::Coastline, {{2100, 115}, {-100, 115.5}}}}));
    // The crossings of x 31.25 and 62.5 snap onto the points just beside them; an inlet 0.04
    // pixel wide.
    Line_Count = 1;
    Expect_Sound(Generate({{Drawn::Coastline,
                            {{-100, 110}, {31.27, 111}, {45, 112}, {50, 112}, {50.02, 120}, {50.04, 112},
                             {62.48, 111}, {2100, 110}}}}));
    // On a map of 2200 pixels a loop beyond the west edge crosses the grid line x -68.75 that the
    // line ends on, at a vertex lying exactly on the leg along it from the end.
    for (bool land_on_right : {false, true}) {
        Line_Count = 1;
        Map_Px_East = Map_Px_South = 2200;
        Proj_Px_SE_X = Proj_Px_SE_Y = 2200;
        Drawn loop{Drawn::Coastline, {{-100, 300}, {500, 300}, {500, 900}, {-90, 900}, {-90, 1000}, {500, 1000},
                                      {500, 1500}, {-100, 1500}}};
        loop.Land_On_Right = land_on_right;
        Expect_Sound(Generate({loop}));
    }
}

TEST_F(SceneryGeometry, IslandsDrawnAsClosedCoastlines) {
    // One over six areas, and a C open to the east inside one area.
    Expect_Sound(Generate({{Drawn::Coastline, {{40, 100}, {40, 140}, {100, 140}, {100, 100}, {40, 100}}}}));
    Line_Count = 1;
    Expect_Sound(Generate({{Drawn::Coastline,
                            {{40, 98}, {40, 120}, {58, 120}, {58, 114}, {46, 114}, {46, 104}, {58, 104}, {58, 98},
                             {40, 98}}}}));
    // On a map of 6 x 6 areas of 64 pixels, an island of two square pixels round the grid corner
    // (320, 320) with vertices on it and within half a position of it: the snap puts several
    // onto one place.
    Line_Count = 1;
    polytest::Calibrate();
    Proj_Lat_NW = Map_Lat_North = 45 + 3 * Lod13_Height;
    Proj_Lon_NW = Map_Lon_West = -3 * Lod13_Width;
    Proj_Lat_SE = Map_Lat_South = Proj_Lat_NW - 6 * Lod13_Height;
    Proj_Lon_SE = Map_Lon_East = Proj_Lon_NW + 6 * Lod13_Width;
    Proj_Px_SE_X = Proj_Px_SE_Y = 384;
    Map_Px_East = Map_Px_South = 384;
    Drawn corner{Drawn::Coastline, {{304.514662, 323.4305472}, {320, 320}, {306.8313062, 322.1962419},
                                    {320.0619683, 319.9732409}, {320.0442586, 320.1164884}, {304.514662, 323.4305472}}};
    corner.Land_On_Right = true;
    Expect_Sound(Generate({corner}));
}

TEST_F(SceneryGeometry, AWideRiverRunsAlongItsLineAcrossCellBorders) {
    const scenery::Report r =
        Generate({{Drawn::Wide_Line, {{-50, 120}, {640, 980}, {1010, 1020}, {1500, 1960}, {2050, 1990}}, false, 12}});
    EXPECT_TRUE(r.Findings.empty()) << r.Summary();
    EXPECT_GE(r.Lines_Checked, 3);
}

TEST_F(SceneryGeometry, ARealShorelineExcerpt) {
    // South Brittany on LOD8 cells 376..378, 119..120.
    Calibrate_At(376, 119, 3, 2);
    std::ifstream in(testenv::Fixtures() / "shoreline" / "brittany_south.txt");
    std::vector<Px> coast;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        double lon = 0, lat = 0;
        fields >> lon >> lat;
        Px p;
        Com_LatLon_To_Pixel(lat, lon, p.X, p.Y);
        coast.push_back(p);
    }
    ASSERT_EQ(coast.size(), 130u);
    // Drawn as a coastline: its land lies on its left.
    const scenery::Report as_coast = Generate({{Drawn::Coastline, coast}});
    Expect_Sound(as_coast);
    EXPECT_GT(as_coast.Areas_Compared, 50);
    Line_Count = 1;
    // The sea south and west of it, as a water polygon closed beyond the map.
    std::vector<Px> sea = coast;
    sea.push_back({coast.back().X, 2300});
    sea.push_back({-200, 2300});
    sea.push_back({-200, coast.front().Y});
    const scenery::Report r = Generate({{Drawn::Water, sea}});
    Expect_Sound(r);
    EXPECT_GT(r.Areas_Compared, 100);
}

}  // namespace
