#include <gtest/gtest.h>

#include <limits>

#include "core/project.h"
#include "support/program_state.h"

namespace {

class ProjectTables : public ::testing::Test {
protected:
    void SetUp() override { testenv::ResetProgramState(); }
};

TEST_F(ProjectTables, InitGivesTheEmptyStartState) {
    Line_Count = 7;
    Point_Count = 3;
    Line_Id_Counter = 9;
    Cur_Line = 4;
    Line_Selected = 1;
    Mesh_Lod_Index = 4;
    Mesh_Lod_Chosen = 1;
    Project_File = "C:\\p.LWM";
    Proj_Lat_NW = 45;
    PSais_Init_Arrays();

    EXPECT_EQ(Line_Count, 1);
    EXPECT_EQ(Line_Capacity, 10);
    EXPECT_EQ(Line_Table.UBound(), 10);
    EXPECT_EQ(Line_Table(1).Line_Id, 0);
    EXPECT_EQ(Line_Table(1).First_Point, 0);
    EXPECT_EQ(Point_Count, 0);
    EXPECT_EQ(Point_Table.UBound(), 5);
    EXPECT_EQ(Line_Id_Counter, 0);
    EXPECT_EQ(Cur_Line, 0);
    EXPECT_EQ(Line_Selected, 0);
    struct Expect { int32_t count, capacity, ubound; };
    const Expect tables[] = {
        {Lwm_Cell_Count, Lwm_Cell_Capacity, Lwm_Cell_Table.UBound()},
        {Lod8_Cell_Count, Lod8_Cell_Capacity, Lod8_Cell_Table.UBound()},
        {Excl_Cell_Count, Excl_Cell_Capacity, Excl_Cell_Table.UBound()},
        {Lc_Cell_Count, Lc_Cell_Capacity, Lc_Cell_Table.UBound()},
        {Wc_Cell_Count, Wc_Cell_Capacity, Wc_Cell_Table.UBound()},
        {Image_Count, Image_Capacity, Image_Table.UBound()},
        {Grid_Point_Count, Grid_Point_Capacity, Grid_Point_Table.UBound()},
    };
    const int32_t capacities[] = {10, 10, 5, 1, 1, 2, 50};
    for (size_t i = 0; i < std::size(tables); ++i) {
        EXPECT_EQ(tables[i].count, 0) << i;
        EXPECT_EQ(tables[i].capacity, capacities[i]) << i;
        EXPECT_EQ(tables[i].ubound, capacities[i]) << i;
    }
    EXPECT_EQ(Mesh_Lod_Index, 2);
    EXPECT_EQ(Mesh_Lod_Chosen, 0);
    // Parameters stay.
    EXPECT_EQ(Project_File, "C:\\p.LWM");
    EXPECT_EQ(Proj_Lat_NW, 45);
}

TEST_F(ProjectTables, InitDiscardsOldRecords) {
    Lwm_Cell_Table(3).Texte = "old";
    Lwm_Cell_Count = 3;
    PSais_Init_Arrays();
    EXPECT_EQ(Lwm_Cell_Table(3).Texte, "");
}

TEST_F(ProjectTables, NineLinesFitThenTheTableGrowsByFive) {
    Route_Attrib a;
    a.Text_Rt = "road";
    for (int i = 0; i < 9; ++i) Project_Append_Line(a);
    EXPECT_EQ(Line_Count, 10);
    EXPECT_EQ(Line_Capacity, 10);
    const int32_t tenth = Project_Append_Line(a);
    EXPECT_EQ(tenth, 11);
    EXPECT_EQ(Line_Capacity, 15);
    EXPECT_EQ(Line_Table.UBound(), 15);
    EXPECT_EQ(Line_Table(11).Line_Id, 10);
    EXPECT_EQ(Line_Table(2).Attr.Text_Rt, "road");  // kept across the growth
}

TEST_F(ProjectTables, SixthPointGrowsThePointTableToTwentyFive) {
    const int32_t line = Project_Append_Line(Route_Attrib{});
    for (int i = 1; i <= 5; ++i) Project_Append_Point(line, i, 10 * i);
    EXPECT_EQ(Point_Capacity, 5);
    EXPECT_EQ(Project_Append_Point(line, 6, 60), 6);
    EXPECT_EQ(Point_Capacity, 25);
    EXPECT_EQ(Point_Table.UBound(), 25);
    EXPECT_EQ(Point_Table(3).Y, 30);
    EXPECT_EQ(Project_Line_Points(line), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Line_Table(line).Nb_Points, 6);
    EXPECT_EQ(Point_Table(1).Prev_Point, 0);
    EXPECT_EQ(Point_Table(6).Next_Point, 0);
    EXPECT_EQ(Point_Table(4).Prev_Point, 3);
}

TEST_F(ProjectTables, LineIdsAreNotReusedAfterDeletion) {
    Project_Append_Line(Route_Attrib{});
    Project_Append_Line(Route_Attrib{});
    ASSERT_TRUE(Project_Delete_Line(3));
    EXPECT_EQ(Line_Table(Project_Append_Line(Route_Attrib{})).Line_Id, 3);
}

TEST_F(ProjectTables, ACounterAtTheTopOfItsRangeGivesFreeIdsInsteadOfOverflowing) {
    for (int32_t id : {1, 2, 4}) Line_Table(Project_Append_Line(Route_Attrib{})).Line_Id = id;
    Line_Id_Counter = std::numeric_limits<int32_t>::max() - 1;
    EXPECT_EQ(Line_Table(Project_Append_Line(Route_Attrib{})).Line_Id, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Line_Table(Project_Append_Line(Route_Attrib{})).Line_Id, 3);
    EXPECT_EQ(Line_Table(Project_Append_Line(Route_Attrib{})).Line_Id, 5);
    EXPECT_EQ(Line_Id_Counter, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Line_Count, 7);
}

TEST_F(ProjectTables, DeletingALineShiftsTheLaterOnesAndKeepsItsPoints) {
    for (int i = 0; i < 3; ++i) {
        const int32_t l = Project_Append_Line(Route_Attrib{});
        Project_Append_Point(l, i, i);
    }
    ASSERT_TRUE(Project_Delete_Line(2));
    EXPECT_EQ(Line_Count, 3);
    EXPECT_EQ(Line_Table(2).Line_Id, 2);
    EXPECT_EQ(Line_Table(3).Line_Id, 3);
    EXPECT_EQ(Line_Table(3).First_Point, 3);
    EXPECT_EQ(Point_Count, 3);
    // Neither the placeholder nor an index past the end is a line.
    EXPECT_FALSE(Project_Delete_Line(1));
    EXPECT_FALSE(Project_Delete_Line(4));
    EXPECT_EQ(Line_Count, 3);
}

TEST_F(ProjectTables, CellRecordsAreDeletedByShifting) {
    for (int16_t i = 1; i <= 3; ++i) {
        Table_Grow_If_Full(Lc_Cell_Table, Lc_Cell_Count, Lc_Cell_Capacity, Lc_Cell_Growth);
        Lc_Cell_Table(++Lc_Cell_Count).Class_Code = static_cast<uint8_t>(i);
    }
    EXPECT_EQ(Lc_Cell_Capacity, 3);
    ASSERT_TRUE(Table_Delete_Shift(Lc_Cell_Table, Lc_Cell_Count, 1));
    EXPECT_EQ(Lc_Cell_Count, 2);
    EXPECT_EQ(Lc_Cell_Table(1).Class_Code, 2);
    EXPECT_EQ(Lc_Cell_Table(2).Class_Code, 3);
    EXPECT_FALSE(Table_Delete_Shift(Lc_Cell_Table, Lc_Cell_Count, 3));
}

TEST_F(ProjectTables, UnlinkingAPointJoinsItsNeighbours) {
    const int32_t l = Project_Append_Line(Route_Attrib{});
    for (int i = 1; i <= 4; ++i) Project_Append_Point(l, i, i);
    ASSERT_TRUE(Project_Unlink_Point(l, 2));
    EXPECT_EQ(Project_Line_Points(l), (std::vector<int32_t>{1, 3, 4}));
    EXPECT_EQ(Point_Table(3).Prev_Point, 1);
    EXPECT_EQ(Line_Table(l).Nb_Points, 3);
    EXPECT_EQ(Point_Count, 4);  // not reclaimed
    ASSERT_TRUE(Project_Unlink_Point(l, 1));
    ASSERT_TRUE(Project_Unlink_Point(l, 4));
    EXPECT_EQ(Line_Table(l).First_Point, 3);
    EXPECT_EQ(Line_Table(l).Last_Point, 3);
    ASSERT_TRUE(Project_Unlink_Point(l, 3));
    EXPECT_EQ(Line_Table(l).Nb_Points, 0);
    EXPECT_EQ(Line_Table(l).First_Point, 0);
    EXPECT_TRUE(Project_Line_Points(l).empty());
    // A point of no chain is refused.
    EXPECT_FALSE(Project_Unlink_Point(l, 2));
}

TEST_F(ProjectTables, DamagedChainsEndTheWalk) {
    const int32_t l = Project_Append_Line(Route_Attrib{});
    for (int i = 1; i <= 3; ++i) Project_Append_Point(l, i, i);
    Line_Table(l).Last_Point = 99;  // never reached
    Point_Table(3).Next_Point = 1;  // a loop
    EXPECT_EQ(Project_Line_Points(l).size(), 3u);
    Point_Table(2).Next_Point = 77;  // outside the table
    EXPECT_EQ(Project_Line_Points(l), (std::vector<int32_t>{1, 2}));
    Point_Table(1).Next_Point = 0;
    EXPECT_EQ(Project_Line_Points(l), (std::vector<int32_t>{1}));
}

// Counts and links read from a damaged file can name entries past the count or past the table;
// every reader asks these two checks before it touches an entry.
TEST_F(ProjectTables, ValidityChecksRefuseThePlaceholderAndEntriesPastCountOrTable) {
    const int32_t l = Project_Append_Line(Route_Attrib{});
    const int32_t p = Project_Append_Point(l, 1, 1);
    EXPECT_TRUE(Project_Valid_Line(l));
    EXPECT_FALSE(Project_Valid_Line(1));   // the placeholder entry
    EXPECT_FALSE(Project_Valid_Line(0));
    EXPECT_FALSE(Project_Valid_Line(-3));
    EXPECT_FALSE(Project_Valid_Line(l + 1));
    EXPECT_TRUE(Project_Valid_Point(p));
    EXPECT_FALSE(Project_Valid_Point(0));
    EXPECT_FALSE(Project_Valid_Point(p + 1));

    // Counts above the tables' capacities.
    Line_Count = Line_Capacity + 4;
    Point_Count = Point_Capacity + 4;
    EXPECT_TRUE(Project_Valid_Line(Line_Capacity));
    EXPECT_FALSE(Project_Valid_Line(Line_Capacity + 1));
    EXPECT_TRUE(Project_Valid_Point(Point_Capacity));
    EXPECT_FALSE(Project_Valid_Point(Point_Capacity + 1));
    // A unlink or an append through such an index changes nothing.
    EXPECT_FALSE(Project_Unlink_Point(Line_Capacity + 2, p));
    EXPECT_EQ(Project_Append_Point(Line_Capacity + 2, 5, 5), 0);
}

TEST(VbArray, BoundsAreCheckedAndPreserveKeepsRecords) {
    Vb_Array<std::string> a;
    EXPECT_TRUE(a.Empty());
    EXPECT_EQ(a.UBound(), 0);
    EXPECT_THROW(a(1), std::out_of_range);
    a.ReDim(3);
    a(3) = "c";
    EXPECT_THROW(a(0), std::out_of_range);
    EXPECT_THROW(a(4), std::out_of_range);
    a.ReDim_Preserve(5);
    EXPECT_EQ(a(3), "c");
    a.ReDim_Preserve(2);
    EXPECT_EQ(a.UBound(), 2);
    a.ReDim(2);
    EXPECT_EQ(a(2), "");

    a.ReDim(100000);
    a.Erase();
    EXPECT_TRUE(a.Empty());
    EXPECT_EQ(a.Capacity(), 0u);  // the storage is given back

    Vb_Array<int, 0> z;
    z.ReDim(212);
    EXPECT_EQ(z.LBound(), 0);
    EXPECT_NO_THROW(z(0));
    EXPECT_NO_THROW(z(212));
    EXPECT_THROW(z(213), std::out_of_range);
}

TEST(RouteAttrib, DialogNamesAliasThePieceFields) {
    Route_Attrib a;
    a.Line_Type() = 1182;
    a.Linked_Image() = 3;
    a.Texture_Source() = 2;
    EXPECT_EQ(a.Type_Code, 1182);
    EXPECT_EQ(a.Image_Link, 3);
    EXPECT_EQ(a.LandClass_Source, 2);
    Route_Attrib b = a;  // copies own their texts
    b.Texture_Name[5] = "x";
    EXPECT_EQ(a.Texture_Name[5], "");
}

}  // namespace
