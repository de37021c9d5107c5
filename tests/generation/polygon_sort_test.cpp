// The fast exchange-sort order against the literal exchange sort, on random input with many
// equal keys: the piece table and the vertex tables must come out in exactly the same order.
#include "polygon_fixture.h"

#include <random>

#include "generation/exchange_sort.h"
#include "generation/grid_cut.h"
#include "generation/polygon_checks.h"

using namespace polytest;

namespace {

// The exchange sort as the tables run it, on (key, entry) pairs.
std::vector<int32_t> Literal_Order(const std::vector<int64_t>& keys, bool exchange_equal) {
    std::vector<std::pair<int64_t, int32_t>> a;
    for (size_t i = 0; i < keys.size(); ++i) a.push_back({keys[i], static_cast<int32_t>(i)});
    for (size_t k = 0; k + 1 < a.size(); ++k)
        for (size_t l = k + 1; l < a.size(); ++l)
            if (exchange_equal ? a[l].first <= a[k].first : a[l].first < a[k].first) std::swap(a[k], a[l]);
    std::vector<int32_t> order;
    for (const auto& e : a) order.push_back(e.second);
    return order;
}

}  // namespace

TEST(PolygonExchangeSort, SameOrderAsTheLiteralSort) {
    std::mt19937 rng(11);
    for (int round = 0; round < 60; ++round) {
        const int n = 1 + static_cast<int>(rng() % 400);
        const int distinct = 1 + static_cast<int>(rng() % 8);  // few keys: many equal entries
        std::vector<int64_t> keys(static_cast<size_t>(n));
        for (auto& k : keys) k = static_cast<int64_t>(rng() % static_cast<unsigned>(distinct));
        if (round % 5 == 0) std::sort(keys.rbegin(), keys.rend());  // falling input: long chains
        for (bool equal : {false, true})
            ASSERT_EQ(Exchange_Sort_Order(keys, equal), Literal_Order(keys, equal)) << "round " << round;
    }
}

TEST(PolygonExchangeSort, EqualKeysEndWhereTheExchangesLeaveThem) {
    // Without equal exchanges a run's entries go round as smaller keys pass them.
    EXPECT_EQ(Exchange_Sort_Order({1, 1, 0}, false), (std::vector<int32_t>{2, 1, 0}));
    EXPECT_EQ(Exchange_Sort_Order({1, 0, 1, 0}, false), (std::vector<int32_t>{1, 3, 2, 0}));
    EXPECT_EQ(Exchange_Sort_Order({1, 1, 0, 0, 0}, false), (std::vector<int32_t>{2, 3, 4, 1, 0}));
    EXPECT_EQ(Exchange_Sort_Order({5, 5, 5}, false), (std::vector<int32_t>{0, 1, 2}));
    // Exchanging equal keys too reverses every run.
    EXPECT_EQ(Exchange_Sort_Order({5, 5, 5}, true), (std::vector<int32_t>{2, 1, 0}));
    EXPECT_EQ(Exchange_Sort_Order({1, 0, 1, 0}, true), (std::vector<int32_t>{3, 1, 2, 0}));
    EXPECT_TRUE(Exchange_Sort_Order({}, false).empty());
    EXPECT_EQ(Exchange_Sort_Order({7}, true), (std::vector<int32_t>{0}));
}

TEST(PolygonExchangeSort, LargeTablesKeepTheLiteralOrder) {
    std::mt19937 rng(23);
    for (int round = 0; round < 24; ++round) {
        const int n = 1 + static_cast<int>(rng() % 3000);
        const int distinct = 1 + static_cast<int>(rng() % 50);
        std::vector<int64_t> keys(static_cast<size_t>(n));
        for (auto& k : keys) k = static_cast<int64_t>(rng() % static_cast<unsigned>(distinct)) * 3 - 40;
        switch (round % 6) {
            case 1: std::fill(keys.begin(), keys.end(), 4); break;           // one run
            case 2: std::sort(keys.rbegin(), keys.rend()); break;            // falling
            case 3: std::sort(keys.begin(), keys.end()); break;              // rising
            case 4:                                                          // falling saw teeth
                for (int i = 0; i < n; ++i) keys[static_cast<size_t>(i)] = (n - i) % (distinct + 1);
                break;
            default: break;                                                  // random
        }
        for (bool equal : {false, true})
            ASSERT_EQ(Exchange_Sort_Order(keys, equal), Literal_Order(keys, equal))
                << "round " << round << " n " << n << " equal " << equal;
    }
}

class PolygonPieceSort : public PolygonTest {};

TEST_F(PolygonPieceSort, PieceTableOrderMatchesTheLiteralSort) {
    std::mt19937 rng(5);
    const int n = 600;
    Cut_Piece_Table.ReDim(n + 1);
    Cut_Piece_Count = n;
    for (int i = 1; i <= n; ++i) {
        Cut_Piece_Record& p = Cut_Piece_Table(i);
        p.Lod8_Row = static_cast<int16_t>(rng() % 2);
        p.Lod8_Col = static_cast<int16_t>(rng() % 2);
        p.Lod13_Row = static_cast<int16_t>(rng() % 2);
        p.Lod13_Col = static_cast<int16_t>(rng() % 3);
        p.Group_Id = static_cast<int32_t>(rng() % 2);
        p.Ring_Number = static_cast<int32_t>(rng() % 3);
        p.Line_Id = i;
    }
    std::vector<Cut_Piece_Record> literal(Cut_Piece_Table.begin(), Cut_Piece_Table.begin() + n);
    auto first = [](const Cut_Piece_Record& l, const Cut_Piece_Record& k) {
        return std::make_tuple(l.Lod8_Row, l.Lod8_Col, l.Lod13_Row, l.Lod13_Col, l.Group_Id, -l.Ring_Number) <
               std::make_tuple(k.Lod8_Row, k.Lod8_Col, k.Lod13_Row, k.Lod13_Col, k.Group_Id, -k.Ring_Number);
    };
    for (size_t k = 0; k + 1 < literal.size(); ++k)
        for (size_t l = k + 1; l < literal.size(); ++l)
            if (first(literal[l], literal[k])) std::swap(literal[k], literal[l]);

    API_Sort_Cut_Pieces();
    for (int i = 1; i <= n; ++i) ASSERT_EQ(Cut_Piece_Table(i).Line_Id, literal[static_cast<size_t>(i - 1)].Line_Id) << i;
}

TEST_F(PolygonPieceSort, VertexTableOrderMatchesTheLiteralSort) {
    std::mt19937 rng(9);
    const int n = 500;
    Vb_Array<Srf_Vertex_Rec> table;
    table.ReDim(n + 1);
    for (int i = 1; i <= n; ++i) table(i) = {double(rng() % 4), double(rng() % 3), i};
    std::vector<Srf_Vertex_Rec> literal(table.begin(), table.begin() + n);
    for (size_t k = 0; k + 1 < literal.size(); ++k)
        for (size_t l = k + 1; l < literal.size(); ++l)
            if (literal[k].X > literal[l].X || (literal[k].X == literal[l].X && literal[k].Y >= literal[l].Y))
                std::swap(literal[k], literal[l]);
    Srf_Exchange_Sort(table, n);
    for (int i = 1; i <= n; ++i) ASSERT_EQ(table(i).Index_Entry, literal[static_cast<size_t>(i - 1)].Index_Entry) << i;
    EXPECT_EQ(table(n + 1).Index_Entry, 0);  // the spare entry is left alone
}

TEST_F(PolygonPieceSort, ThreeEqualVerticesAreSeparatedInSortedOrder) {
    Srf_Vertex_Count = 4;
    Srf_Vertex_Table.ReDim(5);
    Srf_Vertex_Table(1) = {10, 1, 1};
    Srf_Vertex_Table(2) = {10, 2, 2};
    Srf_Vertex_Table(3) = {10, 3, 3};
    Srf_Vertex_Table(4) = {12, 3, 4};
    Srf_Separate_X();
    EXPECT_EQ(Srf_Vertex_Table(1).X, 10);
    EXPECT_EQ(Srf_Vertex_Table(2).X, 10.00001);
    EXPECT_EQ(Srf_Vertex_Table(3).X, 10 + 2 * 0.00001);
    EXPECT_EQ(Srf_Vertex_Table(4).X, 12);
}

TEST_F(PolygonPieceSort, WholeRecordsMoveWithTheirAttributes) {
    // The sort moves records inside the table; every field must arrive with its key, texts too.
    std::mt19937 rng(11);
    const int n = 300;
    Cut_Piece_Table.ReDim(n + 1);
    Cut_Piece_Count = n;
    for (int i = 1; i <= n; ++i) {
        Cut_Piece_Record& p = Cut_Piece_Table(i);
        p.Lod8_Col = static_cast<int16_t>(rng() % 3);
        p.Lod13_Row = static_cast<int16_t>(rng() % 4);
        p.Ring_Number = static_cast<int32_t>(rng() % 2);
        p.First_Point = i;
        p.Texture_Entry = static_cast<int32_t>(rng());
        Route_Attrib a;
        a.Text_Rt = "a text well past the short-string buffer, record " + std::to_string(i);
        a.Texture_Name[5] = "texture " + std::to_string(i);
        a.Alti = i * 0.25;
        p.Attr = a;
    }
    std::vector<Cut_Piece_Record> literal(Cut_Piece_Table.begin(), Cut_Piece_Table.begin() + n);
    auto first = [](const Cut_Piece_Record& l, const Cut_Piece_Record& k) {
        return std::make_tuple(l.Lod8_Row, l.Lod8_Col, l.Lod13_Row, l.Lod13_Col, l.Group_Id, -l.Ring_Number) <
               std::make_tuple(k.Lod8_Row, k.Lod8_Col, k.Lod13_Row, k.Lod13_Col, k.Group_Id, -k.Ring_Number);
    };
    for (size_t k = 0; k + 1 < literal.size(); ++k)
        for (size_t l = k + 1; l < literal.size(); ++l)
            if (first(literal[l], literal[k])) std::swap(literal[k], literal[l]);

    API_Sort_Cut_Pieces();
    for (int i = 1; i <= n; ++i) ASSERT_EQ(Cut_Piece_Table(i), literal[static_cast<size_t>(i - 1)]) << i;
    // Sorting a sorted table changes nothing.
    API_Sort_Cut_Pieces();
    for (int i = 1; i <= n; ++i) ASSERT_EQ(Cut_Piece_Table(i), literal[static_cast<size_t>(i - 1)]) << i;
}
