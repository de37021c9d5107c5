#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>

#include "core/coord_text.h"
#include "platform/number.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace {

class CoordTexts : public ::testing::Test {
protected:
    void SetUp() override { testenv::ResetProgramState(); plat::SetDecimalSeparator('.'); }
    void TearDown() override { plat::SetDecimalSeparator('.'); }
};

TEST_F(CoordTexts, DegreeMinuteSecondTexts) {
    EXPECT_EQ(Com_Format_Lat_Dms(45.5), "N45:30:00.0000");
    EXPECT_EQ(Com_Format_Lon_Dms(-3.25), "W003:15:00.0000");
    EXPECT_EQ(Com_Format_Lon_Dms(5.25), "E005:15:00.0000");
    EXPECT_EQ(Com_Format_Lat_Dms(0), "N00:00:00.0000");
    EXPECT_EQ(Com_Format_Lon_Dms(0), "E000:00:00.0000");
    EXPECT_EQ(Com_Format_Lon_Dms(120), "E120:00:00.0000");
    EXPECT_EQ(Com_Format_Lat_Dms(100), "N100:00:00.0000");
    EXPECT_EQ(Com_Format_Lat_Dms(-0.5), "S00:30:00.0000");
    plat::SetDecimalSeparator(',');
    EXPECT_EQ(Com_Format_Lat_Dms(45.5), "N45:30:00.0000");
}

// 45.3 is 45:17:59.99999999 in binary: a text with 60 seconds would be shown to the author.
TEST_F(CoordTexts, SecondsThatRoundToSixtyCarryIntoMinutesAndDegrees) {
    EXPECT_EQ(Com_Format_Lat_Dms(45.3), "N45:18:00.0000");
    EXPECT_EQ(Com_Format_Lon_Dms(-3.3), "W003:18:00.0000");
    EXPECT_EQ(Com_Format_Lat_Dms(45 + 17.0 / 60 + 59.99999 / 3600), "N45:18:00.0000");
    EXPECT_EQ(Com_Format_Lat_Dms(45 + 59.0 / 60 + 59.99999 / 3600), "N46:00:00.0000");
    EXPECT_EQ(Com_Format_Lon_Dms(179 + 59.0 / 60 + 59.99999 / 3600), "E180:00:00.0000");
    EXPECT_EQ(Com_Format_Lat_Dms(45 + 59.0 / 60 + 59.9999 / 3600), "N45:59:59.9999");
    // Decimal minutes carry the same way.
    EXPECT_EQ(Com_Format_Lat_Dm(45 + 59.999999 / 60), "N46*0.0000'");
    EXPECT_EQ(Com_Format_Lon_Dm(-(2 + 59.99999 / 60)), "W3*0.0000'");
    // The texts read back to the value they show, and 60 stays accepted on input.
    for (double lat : {45.3, 12.7, -33.9, 0.1}) {
        double back = 0;
        int16_t error = 1;
        SrfBis_Parse_Lat(Com_Format_Lat_Dms(lat), back, error);
        ASSERT_EQ(error, 0) << Com_Format_Lat_Dms(lat);
        EXPECT_NEAR(back, lat, 1e-6);
    }
    double back = 0;
    int16_t error = 1;
    SrfBis_Parse_Lat("N45:59:60.0000", back, error);
    EXPECT_EQ(error, 0);
    EXPECT_NEAR(back, 46.0, 1e-9);
}

TEST_F(CoordTexts, DegreeDecimalMinuteTextsFollowTheUserSeparator) {
    EXPECT_EQ(Com_Format_Lon_Dm(-3.25), "W3*15.0000'");
    EXPECT_EQ(Com_Format_Lat_Dm(45.5), "N45*30.0000'");
    EXPECT_EQ(Com_Format_Lat_Dm(0), "N0*0.0000'");
    EXPECT_EQ(Com_Format_Lon_Dm(179.999), "E179*59.9400'");
    EXPECT_EQ(Com_Format_Lat_Dm(-12.0083333333), "S12*0.5000'");
    plat::SetDecimalSeparator(',');
    EXPECT_EQ(Com_Format_Lon_Dm(-3.25), "W3*15,0000'");
}

struct ParseCase {
    const char* text;
    bool latitude;
    bool accepted;
    double value;
};

TEST_F(CoordTexts, ParsersAcceptAndRefuse) {
    const ParseCase cases[] = {
        {"N90:00:00", true, true, 90},
        {"N90.5:00:00", true, false, 0},
        {"N90:30:00", true, false, 0},       // 90.5 degrees in all
        {"E180:00:00", false, true, 180},
        {"E181:00:00", false, false, 0},
        {"W180:00:01", false, false, 0},
        {"S45:30:00", true, true, -45.5},
        {"N45:30:30", true, true, 45.508333},
        {"N45:30:00.0000", true, true, 45.5},
        {"N45:30:00,5", true, true, 45.500139},
        {"  N45:30:00  ", true, true, 45.5},
        {"N45.5:0:0", true, true, 45.5},
        {"N45:60:60", true, true, 46.016667},
        {"E", false, true, 0},
        {"N45:30", true, false, 0},
        {"N45:30:", true, false, 0},
        {"N:30:00", true, false, 0},
        {"N45::00", true, false, 0},
        {"", true, false, 0},
        {"   ", true, false, 0},
        {"X45:30:00", true, false, 0},
        {"n45:30:00", true, false, 0},
        {"E45:30:00", true, false, 0},
        {"N45:30:00", false, false, 0},
        {"N-45:30:00", true, false, 0},
        {"N+45:30:00", true, false, 0},
        {"N45:-30:00", true, false, 0},
        {"N45:30:-1", true, false, 0},
        {"N45:61:00", true, false, 0},
        {"N45:30:61", true, false, 0},
        {"N45:30:abc", true, false, 0},
        {"N4a:30:00", true, false, 0},
        {"N.:30:00", true, false, 0},
        {"N45:30:1e1", true, false, 0},
        {"N45:30:00.5.5", true, false, 0},
    };
    for (const ParseCase& c : cases) {
        double value = 7.25;
        int16_t error = 5;
        if (c.latitude) SrfBis_Parse_Lat(c.text, value, error);
        else SrfBis_Parse_Lon(c.text, value, error);
        if (c.accepted) {
            EXPECT_EQ(error, 0) << c.text;
            EXPECT_NEAR(value, c.value, 1e-12) << c.text;
        } else {
            EXPECT_EQ(error, 1) << c.text;
            EXPECT_EQ(value, 7.25) << c.text << ": a refused text keeps the value";
        }
    }
}

TEST_F(CoordTexts, LoneWestLetterIsNegativeZero) {
    double v = 3;
    int16_t e = 1;
    SrfBis_Parse_Lon("W", v, e);
    EXPECT_EQ(e, 0);
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(std::signbit(v));
}

TEST_F(CoordTexts, OwnTextsParseBackUnderEitherSeparator) {
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> lat_d(-90, 90), lon_d(-180, 180);
    for (char sep : {'.', ','}) {
        plat::SetDecimalSeparator(sep);
        for (int i = 0; i < 2000; ++i) {
            const double lat = lat_d(rng), lon = lon_d(rng);
            double back = 0;
            int16_t error = 1;
            SrfBis_Parse_Lat(Com_Format_Lat_Dms(lat), back, error);
            ASSERT_EQ(error, 0) << Com_Format_Lat_Dms(lat) << " with " << sep;
            ASSERT_NEAR(back, lat, 1e-6);
            SrfBis_Parse_Lon(Com_Format_Lon_Dms(lon), back, error);
            ASSERT_EQ(error, 0) << Com_Format_Lon_Dms(lon) << " with " << sep;
            ASSERT_NEAR(back, lon, 1e-6);
        }
    }
}

class LineScanner : public ::testing::Test {
protected:
    void SetUp() override { testenv::ResetProgramState(); }
    static void Scan(const std::string& line, int16_t pos = 5) {
        Scan_Line = line;
        Scan_Length = static_cast<int16_t>(line.size());
        Scan_Pos = pos;
    }
};

TEST_F(LineScanner, TokensAreSeparatedByBlanks) {
    Scan("0010  45.5 -3  x");
    Pinit_Next_Token();
    EXPECT_EQ(Scan_Token, "45.5");
    EXPECT_EQ(Scan_Pos, 11);  // on the blank that ended it
    Pinit_Next_Token();
    EXPECT_EQ(Scan_Token, "-3");
    Pinit_Next_Token();
    EXPECT_EQ(Scan_Token, "x");
    Pinit_Next_Token();
    EXPECT_EQ(Scan_Token, "");  // a line with fewer tokens than asked for gives empty ones
    Pinit_Next_Token();
    EXPECT_EQ(Scan_Token, "");
    Scan("0017  1");
    Pinit_Next_Token();
    EXPECT_EQ(Scan_Token, "1");
    Pinit_Next_Token();
    EXPECT_EQ(Scan_Token, "");
    Scan("0063     ");
    Pinit_Next_Token();
    EXPECT_EQ(Scan_Token, "");
    Scan("");
    Pinit_Next_Token();
    EXPECT_EQ(Scan_Token, "");
}

TEST_F(LineScanner, QuotedTextsKeepTheirBlanks) {
    Scan("      \"C:\\My maps\\a.bmp\"");
    Pinit_Next_Quoted();
    EXPECT_EQ(Scan_Token, "C:\\My maps\\a.bmp");
    EXPECT_EQ(Scan_Pos, Scan_Length);  // on the closing quote
    Scan("      \"\"");
    Pinit_Next_Quoted();
    EXPECT_EQ(Scan_Token, "");
    Scan("     \"grass  and  rock ");  // the textured-area names have no closing quote
    Pinit_Next_Quoted();
    EXPECT_EQ(Scan_Token, "grass  and  rock ");
    Scan("0020 no quote here");
    Pinit_Next_Quoted();
    EXPECT_EQ(Scan_Token, "");
    Scan("0020 \"été\"");  // multi-byte characters pass whole
    Pinit_Next_Quoted();
    EXPECT_EQ(Scan_Token, "été");
}

TEST_F(LineScanner, ReadLineSkipsEmptyLinesAndStopsAtTheEnd) {
    Text_In_File f;
    f.Lines = {"0000 V5.1", "", "", "0002         ", ""};
    ASSERT_TRUE(Pinit_Read_Line(f));
    EXPECT_EQ(Scan_Line, "0000 V5.1");
    EXPECT_EQ(Scan_Pos, 5);
    Pinit_Next_Token();
    EXPECT_EQ(Scan_Token, "V5.1");
    ASSERT_TRUE(Pinit_Read_Line(f));
    EXPECT_EQ(Scan_Line, "0002         ");
    EXPECT_EQ(Scan_Length, 13);
    EXPECT_FALSE(Pinit_Read_Line(f));
    EXPECT_EQ(Scan_Line, "");
    EXPECT_EQ(Scan_Length, 0);

    Text_In_File g;
    g.Lines = {"a", ""};
    ASSERT_TRUE(Com_Read_Line(g));
    ASSERT_TRUE(Com_Read_Line(g));
    EXPECT_EQ(Scan_Length, 0);  // the plain reader keeps empty lines
    EXPECT_TRUE(g.Eof());
    EXPECT_FALSE(Com_Read_Line(g));
}

TEST_F(LineScanner, OpensWindows1252Files) {
    const auto dir = testenv::ScratchDir("coord_text_open");
    const auto path = dir / "t.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << "0020 \"caf\xe9\"\r\n\r\n0021  5 6\r\n";
    }
    Text_In_File f;
    ASSERT_TRUE(Com_Open_Text_File(path.string(), f));
    ASSERT_TRUE(Pinit_Read_Line(f));
    Pinit_Next_Quoted();
    EXPECT_EQ(Scan_Token, "café");
    ASSERT_TRUE(Pinit_Read_Line(f));
    Pinit_Next_Token();
    EXPECT_EQ(Scan_Token, "5");
    EXPECT_FALSE(Com_Open_Text_File((dir / "missing.txt").string(), f));
}

}  // namespace
