// The latitude/longitude converter: what each row accepts, what it refuses, and the texts the
// author reads after Calculate.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/coord_text.h"
#include "core/erreur.h"
#include "core/project.h"
#include "core/syst.h"
#include "platform/headless/headless_host.h"
#include "platform/number.h"
#include "setup/frm_cvll1.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace {

class FrmCvLL1Test : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Msg_File_Path = (testenv::SourceDir() / "Resource" / "FicErr.txt").string();
        w().Show();
    }
    void TearDown() override {
        if (w().Loaded()) w().ForceUnload();
        testenv::ResetProgramState();
    }
    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }
    static Frm_CvLL1& w() { return Frm_CvLL1_Window(); }

    // The author types into the box and leaves it (for the Help button, which checks nothing
    // itself); true when the box let the focus go.
    static bool Enter(plat::TextBox& box, const std::string& text) {
        box.UserFocus();
        box.UserType(text);
        w().Cmd_Help.UserFocus();
        return w().Cmd_Help.HasFocus();
    }
    // As Enter, for a text that must be refused: message 1 is shown and the focus stays.
    static void Refuse(plat::TextBox& box, const std::string& text) {
        const size_t before = host().boxes.size();
        host().QueueAnswer(1);
        EXPECT_FALSE(Enter(box, text)) << text;
        EXPECT_TRUE(box.HasFocus()) << text;
        ASSERT_EQ(host().boxes.size(), before + 1) << text;
        EXPECT_EQ(host().boxes.back().prompt.rfind("(1) ", 0), 0u) << host().boxes.back().prompt;
        // An accepted text lets the focus go again.
        const std::string& name = box.Name();
        box.UserType(name == "Lat1" || name == "Lon1" ? "0" : name == "Lat2" ? "0000000N" : name == "Lon2" ? "00000000E"
                     : name == "Lat3" ? "N" : "E");
        w().Cmd_Help.UserFocus();
        EXPECT_TRUE(w().Cmd_Help.HasFocus()) << text;
    }
    static void Calculate() { w().Cmd_Clc.UserClick(); }
};

TEST_F(FrmCvLL1Test, OpensOnItsSampleTextsWithRowZeroSelected) {
    EXPECT_EQ(w().Caption(), "Latitude/Longitude Conversion");
    EXPECT_EQ(w().Lat1.Text(), "1.12345");
    EXPECT_EQ(w().Lon1.Text(), "1.12345");
    EXPECT_EQ(w().Lat2.Text(), "0011222N");
    EXPECT_EQ(w().Lon2.Text(), "00011222E");
    EXPECT_EQ(w().Lat3.Text(), "N1:1:1.0001");
    EXPECT_EQ(w().Lon3.Text(), "E2:2:2.0002");
    EXPECT_EQ(w().RLat1.Caption(), "");
    EXPECT_EQ(w().RLon3A.Caption(), "");
    EXPECT_TRUE(w().OptClc(0).Value());
    EXPECT_FALSE(w().OptClc(1).Value());
    EXPECT_FALSE(w().OptClc(2).Value());

    Calculate();
    EXPECT_EQ(w().RLat1.Caption(), "N01:07:24.4200");
    EXPECT_EQ(w().RLon1.Caption(), "E001:07:24.4200");
    EXPECT_EQ(w().RLat1A.Caption(), "N1*7.4070'");
    EXPECT_EQ(w().RLon1A.Caption(), "E1*7.4070'");
    // Rows that are not selected are left alone.
    EXPECT_EQ(w().RLat2.Caption(), "");
    EXPECT_EQ(w().RLat3.Caption(), "");
}

TEST_F(FrmCvLL1Test, SelectedRowsConvertTheirStoredValuesNotTheTextsShown) {
    // Right after opening, rows 1 and 2 hold 1 whatever their boxes say.
    w().Show();
    w().OptClc(1).UserClick();
    w().OptClc(2).UserClick();
    EXPECT_TRUE(w().OptClc(0).Value());
    Calculate();
    EXPECT_EQ(w().RLat2.Caption(), "N01:00:00.0000");
    EXPECT_EQ(w().RLon2.Caption(), "E001:00:00.0000");
    EXPECT_EQ(w().RLat2A.Caption(), "1");
    EXPECT_EQ(w().RLon2A.Caption(), "1");
    EXPECT_EQ(w().RLat3.Caption(), "1");
    EXPECT_EQ(w().RLat3A.Caption(), "N1*0.0000'");
    EXPECT_EQ(w().RLon3A.Caption(), "E1*0.0000'");
    EXPECT_EQ(w().RLat1.Caption(), "N01:07:24.4200");
}

TEST_F(FrmCvLL1Test, TheCompactFormReadsDegreesMinutesAndThousandths) {
    const double v = 11.0 / 60 + 222.0 / 60000;
    EXPECT_TRUE(Enter(w().Lat2, "0011222N"));
    EXPECT_DOUBLE_EQ(w().Row_Lat[1], v);
    EXPECT_TRUE(Enter(w().Lat2, " 0011222S "));
    EXPECT_EQ(w().Lat2.Text(), "0011222S");
    EXPECT_DOUBLE_EQ(w().Row_Lat[1], -v);
    // Anything but a capital N is south.
    EXPECT_TRUE(Enter(w().Lat2, "0011222n"));
    EXPECT_DOUBLE_EQ(w().Row_Lat[1], -v);
    EXPECT_TRUE(Enter(w().Lon2, "00011222E"));
    EXPECT_DOUBLE_EQ(w().Row_Lon[1], v);
    EXPECT_TRUE(Enter(w().Lon2, "00011222W"));
    EXPECT_DOUBLE_EQ(w().Row_Lon[1], -v);
    EXPECT_TRUE(Enter(w().Lon2, "12330500E"));
    EXPECT_DOUBLE_EQ(w().Row_Lon[1], 123 + 30.5 / 60);

    w().OptClc(1).UserClick();
    Calculate();
    EXPECT_EQ(w().RLat2A.Caption(), "-0.187033");
    EXPECT_EQ(w().RLon2A.Caption(), "123.508333");
    EXPECT_EQ(w().RLon2.Caption(), "E123:30:30.0000");
}

TEST_F(FrmCvLL1Test, TheCompactFormChecksOnlyTheLength) {
    Refuse(w().Lon2, "0011222E");
    Refuse(w().Lat2, "00011222N");
    Refuse(w().Lat2, "");
    // A refused text leaves the stored value as it was.
    EXPECT_DOUBLE_EQ(w().Row_Lat[1], 0);
    EXPECT_TRUE(Enter(w().Lat2, "4512500N"));
    EXPECT_DOUBLE_EQ(w().Row_Lat[1], 45 + 12 / 60.0 + 500 / 60000.0);
    Refuse(w().Lat2, "4512500");
    EXPECT_DOUBLE_EQ(w().Row_Lat[1], 0);
    // Digits are read as far as they go; what is not a number counts as 0.
    EXPECT_TRUE(Enter(w().Lat2, "4x12abcN"));
    EXPECT_DOUBLE_EQ(w().Row_Lat[1], 4 + 12 / 60.0);
}

TEST_F(FrmCvLL1Test, TheDmsFormIsRoundedToSixDecimals) {
    const double v = std::round((45 + 30 / 60.0 + 30 / 3600.0) * 1e6) / 1e6;
    EXPECT_TRUE(Enter(w().Lat3, "N45:30:30"));
    EXPECT_DOUBLE_EQ(w().Row_Lat[2], v);
    EXPECT_TRUE(Enter(w().Lat3, "S45:30:30"));
    EXPECT_DOUBLE_EQ(w().Row_Lat[2], -v);
    EXPECT_TRUE(Enter(w().Lat3, "N"));
    EXPECT_DOUBLE_EQ(w().Row_Lat[2], 0);
    EXPECT_TRUE(Enter(w().Lat3, "N90:0:0"));
    EXPECT_DOUBLE_EQ(w().Row_Lat[2], 90);
    EXPECT_TRUE(Enter(w().Lat3, "N0:60:60"));
    EXPECT_DOUBLE_EQ(w().Row_Lat[2], 1.016667);
    EXPECT_TRUE(Enter(w().Lon3, "E180:0:0"));
    EXPECT_DOUBLE_EQ(w().Row_Lon[2], 180);
    EXPECT_TRUE(Enter(w().Lon3, " W5:15:0 "));
    EXPECT_EQ(w().Lon3.Text(), "W5:15:0");
    EXPECT_DOUBLE_EQ(w().Row_Lon[2], -5.25);
    EXPECT_TRUE(Enter(w().Lat3, "S1:2:3.44"));

    w().OptClc(2).UserClick();
    Calculate();
    EXPECT_EQ(w().RLat3.Caption(), "-1.034289");
    EXPECT_EQ(w().RLon3.Caption(), "-5.25");
    EXPECT_EQ(w().RLat3A.Caption(), Com_Format_Lat_Dm(-1.034289));
    EXPECT_EQ(w().RLon3A.Caption(), "W5*15.0000'");
}

TEST_F(FrmCvLL1Test, TheDmsFormRefusesMalformedTexts) {
    EXPECT_TRUE(Enter(w().Lat3, "N10:0:0"));
    EXPECT_TRUE(Enter(w().Lon3, "E20:0:0"));
    for (const char* text : {"N45:30:", "N:30:30", "N45:30", "N45::30", "N91:0:0", "N45:61:0", "N45:30:60.5", "n45:30:0",
                             "E45:30:0", "45:30:0", "N45:-1:0", "N4x:0:0", "N45:30:1a"})
        Refuse(w().Lat3, text);
    for (const char* text : {"E181:0:0", "N5:0:0", "W-181:0:0", "E5:15:"}) Refuse(w().Lon3, text);
    // The refused texts changed nothing.
    EXPECT_DOUBLE_EQ(w().Row_Lat[2], 0);
    EXPECT_DOUBLE_EQ(w().Row_Lon[2], 0);
}

TEST_F(FrmCvLL1Test, DecimalDegreesFollowTheUsersSeparatorWithoutRange) {
    EXPECT_TRUE(Enter(w().Lat1, "  200 "));
    EXPECT_EQ(w().Lat1.Text(), "200");
    EXPECT_DOUBLE_EQ(w().Row_Lat[0], 200);
    EXPECT_TRUE(Enter(w().Lon1, "-3.25"));
    EXPECT_DOUBLE_EQ(w().Row_Lon[0], -3.25);
    Calculate();
    EXPECT_EQ(w().RLat1.Caption(), "N200:00:00.0000");
    EXPECT_EQ(w().RLon1.Caption(), "W003:15:00.0000");
    EXPECT_EQ(w().RLon1A.Caption(), "W3*15.0000'");
    // However large, a number is placed, not refused.
    EXPECT_TRUE(Enter(w().Lat1, "1e300"));
    Calculate();
    EXPECT_EQ(w().RLat1.Caption().substr(0, 3), "N10");
    EXPECT_EQ(w().RLat1.Caption().substr(w().RLat1.Caption().size() - 11), ":00:00.0000");

    for (const char* text : {"abc", "1,5", "", "1.2.3", "1e999", "N45:30:00", "- 1"}) Refuse(w().Lat1, text);
    EXPECT_DOUBLE_EQ(w().Row_Lat[0], 0);

    plat::SetDecimalSeparator(',');
    EXPECT_TRUE(Enter(w().Lat1, "1,5"));
    EXPECT_DOUBLE_EQ(w().Row_Lat[0], 1.5);
    Refuse(w().Lat1, "1.5");
    EXPECT_TRUE(Enter(w().Lat1, "-3,25"));
    Calculate();
    EXPECT_EQ(w().RLat1A.Caption(), "S3*15,0000'");
    EXPECT_EQ(w().RLat1.Caption(), "S03:15:00.0000");

    // A fresh opening writes its sample texts the user's way, and they read back.
    w().ForceUnload();
    w().Show();
    EXPECT_EQ(w().Lat1.Text(), "1,12345");
    EXPECT_EQ(w().Lat3.Text(), "N1:1:1,0001");
    EXPECT_TRUE(Enter(w().Lat3, w().Lat3.Text()));
    EXPECT_DOUBLE_EQ(w().Row_Lat[2], 1.016944);
}

TEST_F(FrmCvLL1Test, ARefusedEntryKeepsTheFocusAndStopsTheCalculation) {
    Language = "US";
    w().Show();
    w().Lat1.UserFocus();
    w().Lat1.UserType("north");
    host().QueueAnswer(1);
    Calculate();
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt.rfind("(501) Entry refused", 0), 0u) << host().boxes[0].prompt;
    EXPECT_EQ(Msg_Answer, 1);
    EXPECT_TRUE(w().Lat1.HasFocus());
    EXPECT_EQ(w().RLat1.Caption(), "");
    EXPECT_DOUBLE_EQ(w().Row_Lat[0], 1.12345);
}

TEST_F(FrmCvLL1Test, QuitDiscardsTheValuesAndHelpDoesNothing) {
    w().ForceUnload();
    host().OnModal("Frm_CvLL1", [](plat::Form& f) {
        auto& c = static_cast<Frm_CvLL1&>(f);
        c.Lat2.UserFocus();
        c.Lat2.UserType("0030000S");
        c.Cmd_Help.UserClick();
        EXPECT_TRUE(c.Loaded());
        EXPECT_DOUBLE_EQ(c.Row_Lat[1], -0.5);
        c.Cmd_Cancel.UserClick();
    });
    Frm_CvLL1_Show_Modal();
    EXPECT_FALSE(w().Loaded());
    host().OnModal("Frm_CvLL1", [](plat::Form& f) {
        auto& c = static_cast<Frm_CvLL1&>(f);
        EXPECT_EQ(c.Lat2.Text(), "0011222N");
        EXPECT_DOUBLE_EQ(c.Row_Lat[1], 1);
        c.UserClose();
    });
    Frm_CvLL1_Show_Modal();
    EXPECT_FALSE(w().Loaded());
}

}  // namespace
