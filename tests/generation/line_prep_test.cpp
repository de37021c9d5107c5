// Lines with a shore option on their way to the wide-line writer: which lines are taken, their
// end markers, closing and direction, the cuts at LOD8 grid lines and the runs of long lines.
#include "polygon_fixture.h"

#include "generation/line_prep.h"

using namespace polytest;

namespace {

struct Line_Options {
    int16_t Shore = 2;
    int16_t Type = 1026;
    int16_t Join = 0;
    int16_t Land_On_Right = 0;
    int16_t Taper_Start = 0;
    int16_t Taper_End = 0;
    int16_t Vtp1_Line = 0;
};

int32_t Add_Line(const std::vector<Plane_Point>& pts, const Line_Options& o = {}) {
    Route_Attrib a;
    a.SurfShore = o.Shore;
    a.Type_Code = o.Type;
    a.FermerLine = o.Join;
    a.LandOnRight = o.Land_On_Right;
    a.Effil_Deb = o.Taper_Start;
    a.Effil_Fin = o.Taper_End;
    a.Vtp1_Line = o.Vtp1_Line;
    const int32_t line = Project_Append_Line(a);
    for (const Plane_Point& p : pts) Project_Append_Point(line, p.X, p.Y);
    return line;
}

struct Pt {
    double X, Y;
    int Flag;
    bool operator==(const Pt&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Pt& p) { return os << "(" << p.X << "," << p.Y << " f" << p.Flag << ")"; }

std::vector<Pt> Record(int32_t r) {
    std::vector<Pt> pts;
    const Work_Poly_Rec& rec = Work_Poly_Table(r);
    for (int32_t i = rec.First_Point; i <= rec.Last_Point; ++i) {
        const Work_Point_Rec& p = Work_Point_Table(i);
        pts.push_back({p.X, p.Y, p.Flag});
    }
    return pts;
}

// A wavy line of n points that stays inside one LOD8 cell.
std::vector<Plane_Point> Zigzag(int n) {
    std::vector<Plane_Point> pts;
    for (int i = 0; i < n; ++i) pts.push_back({100 + i * 1.0, i % 2 == 0 ? 100.0 : 103.0});
    return pts;
}

class LinePrep : public PolygonTest {};

TEST_F(LinePrep, OnlyLinesWithAShoreOptionAndTwoPointsAreTaken) {
    Add_Line({{10, 10}, {20, 20}}, {.Shore = 0});           // plain polygon
    Add_Line({{10, 10}});                                    // one point
    Add_Line({{10, 10}, {20, 20}}, {.Vtp1_Line = 1});        // drawn by the VTP1 lines
    const int32_t shore = Add_Line({{10, 10}, {20, 25}}, {.Shore = 1});
    const int32_t coast = Add_Line({{30, 10}, {40, 25}}, {.Shore = 3});
    ASSERT_EQ(API_Collect_Lines(), 2);
    EXPECT_EQ(Work_Poly_Table(1).Line_Id, Line_Table(shore).Line_Id);
    EXPECT_EQ(Work_Poly_Table(2).Line_Id, Line_Table(coast).Line_Id);
    EXPECT_EQ(Work_Poly_Table(2).Attr->SurfShore, 3);
}

TEST_F(LinePrep, EndMarkersFollowTheTaperOptions) {
    Add_Line({{10, 10}, {20, 25}, {30, 10}});
    Add_Line({{10, 10}, {20, 25}, {30, 10}}, {.Taper_Start = 1});
    Add_Line({{10, 10}, {20, 25}, {30, 10}}, {.Taper_End = 1});
    // A doubled first point goes; the point that takes its place is the untapered start.
    Add_Line({{10, 10}, {10, 10}, {20, 25}, {30, 10}});
    ASSERT_EQ(API_Collect_Lines(), 4);
    EXPECT_EQ(Record(1), (std::vector<Pt>{{10, 10, 1}, {20, 25, 0}, {30, 10, 1}}));
    EXPECT_EQ(Record(2), (std::vector<Pt>{{10, 10, 0}, {20, 25, 0}, {30, 10, 1}}));
    EXPECT_EQ(Record(3), (std::vector<Pt>{{10, 10, 1}, {20, 25, 0}, {30, 10, 0}}));
    EXPECT_EQ(Record(4), Record(1));
}

TEST_F(LinePrep, JoinedShoresCloseCoastlinesAndCentredTypesStayOpen) {
    Add_Line({{10, 10}, {20, 25}, {30, 10}}, {.Join = 1});
    Add_Line({{10, 10}, {20, 25}, {30, 10}}, {.Shore = 3, .Join = 1});
    Add_Line({{10, 10}, {20, 25}, {30, 10}}, {.Type = 1213, .Join = 1});
    ASSERT_EQ(API_Collect_Lines(), 3);
    EXPECT_EQ(Record(1), (std::vector<Pt>{{10, 10, 1}, {20, 25, 0}, {30, 10, 0}, {10, 10, 1}}));
    EXPECT_EQ(Record(2), (std::vector<Pt>{{10, 10, 1}, {20, 25, 0}, {30, 10, 1}}));
    EXPECT_EQ(Record(3), Record(2));
}

TEST_F(LinePrep, LandOnTheRightIsStoredFromTheLastPoint) {
    Add_Line({{10, 10}, {20, 25}, {30, 10}}, {.Land_On_Right = 1, .Taper_Start = 1});
    ASSERT_EQ(API_Collect_Lines(), 1);
    EXPECT_EQ(Record(1), (std::vector<Pt>{{30, 10, 1}, {20, 25, 0}, {10, 10, 0}}));
}

TEST_F(LinePrep, StraightOpenLinesKeepBothEnds) {
    // The middle point is redundant; the end points are not, though each lies on the line
    // through the other end and its neighbour.
    Add_Line({{10, 10}, {20, 10}, {30, 10}});
    Add_Line({{10, 10}, {20, 20}, {30, 30}, {40, 40}, {40, 40}});
    ASSERT_EQ(API_Collect_Lines(), 2);
    EXPECT_EQ(Record(1), (std::vector<Pt>{{10, 10, 1}, {30, 10, 1}}));
    EXPECT_EQ(Record(2), (std::vector<Pt>{{10, 10, 1}, {40, 40, 1}}));
}

TEST_F(LinePrep, ALatitudeLineCutsAShoreLineAtTheCrossing) {
    Add_Line({{100, 500}, {100, 1500}});
    ASSERT_EQ(API_Collect_Lines(), 1);
    API_Cut_Lines_Lod8();
    ASSERT_EQ(Work_Poly_Count, 2);
    EXPECT_EQ(Record(1), (std::vector<Pt>{{100, 500, 1}, {100, 1000, 2}}));
    EXPECT_EQ(Record(2), (std::vector<Pt>{{100, 1000, 2}, {100, 1500, 1}}));
    EXPECT_EQ(Cut_Poly_Count, 0);
}

TEST_F(LinePrep, ALineThroughAGridVertexIsCutThereOnce) {
    Add_Line({{100, 950}, {200, 1000}, {300, 1100}, {400, 900}}, {.Taper_Start = 1, .Taper_End = 1});
    ASSERT_EQ(API_Collect_Lines(), 1);
    API_Cut_Lines_Lod8();
    // (200, 1000) lies on the latitude line; (300,1100)-(400,900) crosses it at x = 350.
    ASSERT_EQ(Work_Poly_Count, 3);
    EXPECT_EQ(Record(1), (std::vector<Pt>{{100, 950, 0}, {200, 1000, 0}}));
    EXPECT_EQ(Record(2), (std::vector<Pt>{{200, 1000, 0}, {300, 1100, 0}, {350, 1000, 2}}));
    EXPECT_EQ(Record(3), (std::vector<Pt>{{350, 1000, 2}, {400, 900, 0}}));
}

TEST_F(LinePrep, CentredTypesAreCutOnlyAtLongitudeLines) {
    // It crosses the latitude line y = 1000 at x = 1125 and the longitude line x = 1000.
    Add_Line({{500, 500}, {1500, 1300}}, {.Type = 1213});
    ASSERT_EQ(API_Collect_Lines(), 1);
    API_Cut_Lines_Lod8();
    ASSERT_EQ(Work_Poly_Count, 2);
    EXPECT_NEAR(Record(1).back().X, 1000, 1e-6);
    EXPECT_NEAR(Record(1).back().Y, 900, 1e-6);
    EXPECT_EQ(Record(1).back().Flag, 2);
    EXPECT_EQ(Record(2).front(), Record(1).back());
    EXPECT_EQ(Record(1).front(), (Pt{500, 500, 1}));
    EXPECT_EQ(Record(2).back(), (Pt{1500, 1300, 1}));
}

TEST_F(LinePrep, LongShoreLinesAreSplitIntoRunsSharingTheirEnds) {
    Add_Line(Zigzag(600));
    Add_Line(Zigzag(559));
    Add_Line(Zigzag(400), {.Shore = 1});  // polygon shores stay whole
    ASSERT_EQ(API_Collect_Lines(), 3);
    API_Cut_Lines_Lod8();
    ASSERT_EQ(Work_Poly_Count, 7);
    const std::vector<int32_t> sizes{279, 280, 43, 278, 279, 4, 400};
    for (int32_t r = 1; r <= 7; ++r) EXPECT_EQ(Work_Poly_Table(r).Nb_Points, sizes[static_cast<size_t>(r - 1)]) << r;
    EXPECT_EQ(Record(1).back(), Record(2).front());
    EXPECT_EQ(Record(1).back().Flag, 2);
    EXPECT_EQ(Record(2).back().Flag, 2);
    EXPECT_EQ(Record(3).back().Flag, 1);  // the line's own end keeps its marker
    EXPECT_EQ(Record(4).front().Flag, 1);
    EXPECT_EQ(Record(6).back(), (Pt{658, 100, 1}));
}

TEST_F(LinePrep, AMapWithoutCellSizeIsNotSteppedForEver) {
    Add_Line({{100, 500}, {100, 1500}});
    Map_Px_South = Map_Px_North;
    ASSERT_EQ(API_Collect_Lines(), 1);
    API_Cut_Lines_Lod8();
    ASSERT_EQ(Work_Poly_Count, 1);
    EXPECT_EQ(Work_Poly_Table(1).Nb_Points, 2);
}

TEST_F(LinePrep, NoLinesMeansNoStage) {
    Gen_Show_Stage("before", "step");
    API_Prepare_Lines();
    EXPECT_EQ(Gen_Captions().LCompileNom, "before");
    Add_Line({{10, 10}, {20, 20}}, {.Shore = 0});
    API_Prepare_Lines();
    EXPECT_EQ(Gen_Captions().LCompileNom, "ShoreLines");
    EXPECT_EQ(Gen_Captions().LCompile, "BGLC.exe");
    EXPECT_EQ(Work_Poly_Count, 0);
    EXPECT_TRUE(Gen_Commands_Run().empty());
}

}  // namespace
