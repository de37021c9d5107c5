#include "editor/line_tools_fixture.h"

#include <cmath>

namespace {

using LineTools = LineToolsTest;
using XY = LineToolsTest::XY;

// ---------------------------------------------------------------------------------------------
// New line and extension

TEST_F(LineTools, NewLineTakesTheDialogsAttributesAndEveryClickAddsAPoint) {
    next_attr.SurfShore = 2;
    next_attr.Text_Rt = "Route nationale";
    f.Cmd_New_Route.UserClick();
    Click(20, 30);
    ASSERT_EQ(dialogs, 1);
    ASSERT_EQ(Line_Count, 2);
    EXPECT_EQ(Line_Table(2).Line_Id, 1);
    EXPECT_EQ(Line_Table(2).Attr, next_attr);
    EXPECT_EQ(Points(2), (std::vector<XY>{{20, 30}}));
    EXPECT_EQ(Line_Selected, 1);
    EXPECT_EQ(Cur_Line, 2);
    EXPECT_TRUE(f.Cercle.Visible());
    EXPECT_EQ(f.Cercle.Left(), 15);

    // The rubber band follows the mouse from the last point.
    Move(70, 35);
    EXPECT_TRUE(f.Ln1.Visible());
    EXPECT_EQ(f.Ln1.X1(), 20);
    EXPECT_EQ(f.Ln1.X2(), 70);

    Click(80, 30);
    Click(80, 90);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(Points(2), (std::vector<XY>{{20, 30}, {80, 30}, {80, 90}}));
    EXPECT_EQ(Points_Backwards(2), Points(2));
    EXPECT_EQ(Line_Table(2).Nb_Points, 3);
    // Each new segment is drawn red, two pixels wide.
    EXPECT_EQ(At(50, 30), kRed);
    EXPECT_TRUE(At(50, 29) == kRed || At(50, 31) == kRed);
    EXPECT_EQ(At(80, 60), kRed);

    // A second new line gets the next id.
    f.Cmd_New_Route.UserClick();
    Click(150, 150);
    EXPECT_EQ(Line_Count, 3);
    EXPECT_EQ(Line_Table(3).Line_Id, 2);
    EXPECT_EQ(Points(2).size(), 3u);
}

TEST_F(LineTools, CancelledDialogMakesNoLineAndDisarmsTheTool) {
    accept = false;
    f.Cmd_New_Route.UserClick();
    Click(20, 30);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(Line_Count, 1);
    EXPECT_EQ(Point_Count, 0);
    EXPECT_EQ(New_Line_Armed, 0);
    accept = true;
    Click(40, 30);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(Line_Count, 1);
}


TEST_F(LineTools, PointsAreMapPixelsOfThePressClampedToTheCalibratedMap) {
    Map_Px_West = 10;
    Map_Px_North = 10;
    Map_Px_East = 190;
    Map_Px_South = 150;
    f.Cmd_New_Route.UserClick();
    Click(-5, 200);
    Click(199, 0);
    EXPECT_EQ(Points(2), (std::vector<XY>{{10, 150}, {190, 10}}));

    // At zoom 2 picture (60, 40) shows map pixel (80, 60).
    View_Zoom = 2;
    Click(60, 40);
    EXPECT_EQ(Points(2).back(), (XY{80, 60}));
}

TEST_F(LineTools, ManyPointsAndLinesGrowTheTablesAndKeepEveryPoint) {
    for (int n = 0; n < 11; ++n) {
        f.Cmd_New_Route.UserClick();
        for (int k = 0; k < 3; ++k) Click(10 + 10 * k, 10 + n * 10);
    }
    ASSERT_EQ(Line_Count, 12);
    EXPECT_EQ(Line_Capacity, 15);
    EXPECT_EQ(Point_Count, 33);
    EXPECT_EQ(Point_Capacity, 45);
    for (int n = 0; n < 11; ++n)
        EXPECT_EQ(Points(2 + n), (std::vector<XY>{{10, 10 + n * 10.0}, {20, 10 + n * 10.0}, {30, 10 + n * 10.0}}));
}

TEST_F(LineTools, ExtendingTheFirstPointPrependsAndTheLastAppends) {
    const int32_t line = Add_Line({{20, 20}, {60, 20}, {100, 20}});
    Select_Line_At(60, 25);
    ASSERT_EQ(Cur_Line, line);

    f.Cmd_Extr_Pt_Route.UserClick();
    Double_Click(25, 25);
    EXPECT_TRUE(f.Ln1.Visible());
    Click(5, 20);
    Click(5, 40);
    EXPECT_EQ(Points(line), (std::vector<XY>{{5, 40}, {5, 20}, {20, 20}, {60, 20}, {100, 20}}));
    EXPECT_EQ(Points_Backwards(line), Points(line));
    EXPECT_EQ(Point_Table(Line_Table(line).First_Point).Prev_Point, 0);

    // Equally far from both ends: the last end is extended.
    f.Cmd_Extr_Pt_Route.UserClick();
    Double_Click(52.5, 30);
    Click(120, 20);
    EXPECT_EQ(Points(line).back(), (XY{120, 20}));
    EXPECT_EQ(Points(line).front(), (XY{5, 40}));
    EXPECT_EQ(Line_Table(line).Nb_Points, 6);
}



// ---------------------------------------------------------------------------------------------
// Selecting a line

TEST_F(LineTools, SelectLineTakesTheNearestVertexNotTheNearestSegment) {
    const int32_t long_line = Add_Line({{10, 10}, {190, 10}});
    Add_Line({});
    const int32_t near_vertex = Add_Line({{100, 40}, {150, 60}});
    PSais_Redraw_Map();
    Select_Line_At(100, 12);
    EXPECT_EQ(Line_Selected, 1);
    EXPECT_EQ(Cur_Line, near_vertex);
    EXPECT_EQ(Red_Line_Shown, 1);
    EXPECT_EQ(Red_Line_Index, near_vertex);
    EXPECT_EQ(At(125, 50), kRed);
    EXPECT_EQ(At(50, 10), kMagenta);
    EXPECT_NE(Cur_Line, long_line);
}

TEST_F(LineTools, SelectLineTieGoesToTheLowerIndexAndTheRedLineGoesBackOnTheNextTool) {
    const int32_t first = Add_Line({{40, 50}, {40, 90}});
    Add_Line({{80, 50}, {80, 90}});
    Select_Line_At(60, 50);
    ASSERT_EQ(Cur_Line, first);
    EXPECT_EQ(At(40, 70), kRed);
    f.Cmd_New_Route.UserClick();
    EXPECT_EQ(At(40, 70), kMagenta);
    EXPECT_EQ(Red_Line_Shown, 0);
}

TEST_F(LineTools, SelectLineFindsALineHoweverFarTheViewIsZoomed) {
    const int32_t line = Add_Line({{190, 150}});
    View_Zoom = 1e6;
    Select_Line_At(0, 0);
    EXPECT_EQ(Line_Selected, 1);
    EXPECT_EQ(Cur_Line, line);
    EXPECT_EQ(Sel_Line_Armed, 0);
}

// ---------------------------------------------------------------------------------------------
// Moving a point

TEST_F(LineTools, PickedPointIsLiftedByAClickAndDroppedByTheNext) {
    const int32_t line = Add_Line({{20, 20}, {60, 60}, {100, 20}});
    Select_Line_At(60, 60);
    f.Cmd_Sel_Pt_Route.UserClick();
    Double_Click(58, 57);
    EXPECT_EQ(Point_Selected, 1);
    EXPECT_EQ(Point_Table(Cur_Point).X, 60);
    EXPECT_TRUE(f.Cercle.Visible());

    Click(60, 100);   // lift: the bands run from both neighbours
    EXPECT_FALSE(f.Cercle.Visible());
    EXPECT_TRUE(f.Ln1.Visible());
    EXPECT_TRUE(f.Ln2.Visible());
    EXPECT_EQ(f.Ln1.X1(), 20);
    EXPECT_EQ(f.Ln2.X1(), 100);
    Move(70, 110);
    EXPECT_EQ(f.Ln1.Y2(), 110);
    // A redraw meanwhile (a zoom, a scroll) draws both bands again, to where the mouse is now.
    Mouse_X = 80;
    Mouse_Y = 120;
    PSais_Redraw_Map();
    EXPECT_EQ(f.Ln1.X1(), 20);
    EXPECT_EQ(f.Ln1.X2(), 80);
    EXPECT_EQ(f.Ln2.X1(), 100);
    EXPECT_EQ(f.Ln2.Y2(), 120);
    EXPECT_FALSE(f.Cercle.Visible());

    Click(70, 110);   // drop
    EXPECT_EQ(Points(line), (std::vector<XY>{{20, 20}, {70, 110}, {100, 20}}));
    EXPECT_FALSE(f.Ln1.Visible());
    EXPECT_FALSE(f.Ln2.Visible());
    EXPECT_TRUE(f.Cercle.Visible());
    EXPECT_EQ(f.Cercle.Left(), 65);
    // The map was redrawn with the point in its new place.
    EXPECT_EQ(At(40, 40), kWhite);
    EXPECT_EQ(At(85, 65), kRed);

    // Still selected: the next click lifts it again.
    Click(10, 10);
    EXPECT_EQ(Point_Lift_Ready, 0);
    EXPECT_EQ(Points(line)[1], (XY{70, 110}));
}

TEST_F(LineTools, LiftingAnEndPointHasOneBandAndEscLeavesThePointWhereItWas) {
    const int32_t line = Add_Line({{20, 20}, {60, 60}, {100, 20}});
    Select_Line_At(20, 20);
    f.Cmd_Sel_Pt_Route.UserClick();
    Double_Click(22, 22);
    Click(40, 120);
    EXPECT_TRUE(f.Ln1.Visible());
    EXPECT_FALSE(f.Ln2.Visible());
    EXPECT_EQ(f.Ln1.X1(), 60);   // from the first point's successor
    Mouse_X = 50;
    PSais_Redraw_Map();
    EXPECT_EQ(f.Ln1.X2(), 50);
    EXPECT_FALSE(f.Ln2.Visible());
    Key(27);
    EXPECT_FALSE(f.Ln1.Visible());
    EXPECT_EQ(Points(line), (std::vector<XY>{{20, 20}, {60, 60}, {100, 20}}));
    EXPECT_EQ(Sel_Point_Armed, 0);
    // Nothing is armed any more: a click moves nothing.
    Click(40, 120);
    EXPECT_EQ(Points(line)[0], (XY{20, 20}));
}


TEST_F(LineTools, PointToolNeedsASelectedLine) {
    Add_Line({{50, 50}});
    f.Cmd_Sel_Pt_Route.UserClick();
    EXPECT_EQ(Sel_Point_Armed, 0);
    f.Cmd_Ins_Pt_Route.UserClick();
    EXPECT_EQ(Insert_Tool, 0);
    f.Cmd_Extr_Pt_Route.UserClick();
    EXPECT_EQ(Extend_Tool, 0);
    // Insertion also needs a second point.
    Select_Line_At(50, 50);
    f.Cmd_Ins_Pt_Route.UserClick();
    EXPECT_EQ(Insert_Tool, 0);
}

// ---------------------------------------------------------------------------------------------
// Inserting a point

TEST_F(LineTools, InsertGoesIntoTheNearestSegmentAndLeavesTheNewPointReadyToMove) {
    const int32_t line = Add_Line({{20, 20}, {100, 20}, {100, 100}});
    Select_Line_At(100, 20);
    f.Cmd_Ins_Pt_Route.UserClick();
    Double_Click(60, 25);
    EXPECT_TRUE(f.Ln1.Visible());
    EXPECT_TRUE(f.Ln2.Visible());
    EXPECT_EQ(f.Ln1.X1(), 20);
    EXPECT_EQ(f.Ln2.X1(), 100);
    Click(60, 10);
    EXPECT_EQ(Points(line), (std::vector<XY>{{20, 20}, {60, 10}, {100, 20}, {100, 100}}));
    EXPECT_EQ(Points_Backwards(line), Points(line));
    EXPECT_EQ(Line_Table(line).Nb_Points, 4);
    EXPECT_EQ(Insert_Tool, 0);
    EXPECT_TRUE(f.Cercle.Visible());
    EXPECT_EQ(f.Cercle.Left(), 55);
    // The next click lifts the new point, the one after drops it.
    Click(0, 0);
    Click(60, 5);
    EXPECT_EQ(Points(line)[1], (XY{60, 5}));
}

TEST_F(LineTools, InsertOnTheClosingSideMakesTheNewPointTheFirst) {
    const int32_t line = Add_Line({{20, 20}, {100, 20}, {100, 100}});
    Select_Line_At(100, 20);
    f.Cmd_Ins_Pt_Route.UserClick();
    Double_Click(40, 70);
    Click(30, 60);
    EXPECT_EQ(Points(line), (std::vector<XY>{{30, 60}, {20, 20}, {100, 20}, {100, 100}}));
    EXPECT_EQ(Points_Backwards(line), Points(line));
}

TEST_F(LineTools, InsertOnATwoPointLineGoesBetweenItsPoints) {
    const int32_t line = Add_Line({{20, 20}, {100, 20}});
    Select_Line_At(20, 20);
    f.Cmd_Ins_Pt_Route.UserClick();
    Double_Click(60, 25);
    Click(60, 40);
    EXPECT_EQ(Points(line), (std::vector<XY>{{20, 20}, {60, 40}, {100, 20}}));
    EXPECT_EQ(Points_Backwards(line), Points(line));
}

TEST_F(LineTools, InsertBeyondEverySegmentTakesThePairWithTheNearestEnds) {
    const int32_t line = Add_Line({{20, 20}, {60, 20}, {60, 60}});
    Select_Line_At(20, 20);
    f.Cmd_Ins_Pt_Route.UserClick();
    Double_Click(150, 150);
    Click(70, 40);
    EXPECT_EQ(Points(line), (std::vector<XY>{{20, 20}, {60, 20}, {70, 40}, {60, 60}}));
}

TEST_F(LineTools, EscAfterTheSegmentPickWaitsForANewPick) {
    const int32_t line = Add_Line({{20, 20}, {100, 20}, {100, 100}});
    Select_Line_At(100, 20);
    f.Cmd_Ins_Pt_Route.UserClick();
    Double_Click(60, 25);
    Key(27);
    EXPECT_FALSE(f.Ln1.Visible());
    EXPECT_EQ(Insert_Tool, 1);
    Click(60, 10);   // waits: no point
    EXPECT_EQ(Line_Table(line).Nb_Points, 3);
    Double_Click(105, 60);
    Click(120, 60);
    EXPECT_EQ(Points(line), (std::vector<XY>{{20, 20}, {100, 20}, {120, 60}, {100, 100}}));
}

}  // namespace
