// The coordinate and metres-per-pixel boxes of the calibration windows: what they accept, what
// they refuse, and what the author reads beside them.
#include <gtest/gtest.h>

#include <string>

#include "core/coord_text.h"
#include "core/erreur.h"
#include "core/number_entry.h"
#include "core/project.h"
#include "core/syst.h"
#include "platform/headless/headless_host.h"
#include "platform/number.h"
#include "setup/coord_fields.h"
#include "setup/frm_centermap.h"
#include "setup/frm_modcad.h"
#include "setup/setup_services.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace {

class CoordFieldsTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Msg_File_Path = (testenv::SourceDir() / "Resource" / "FicErr.txt").string();
        Proj_Lat_NW = 46;
        Proj_Lon_NW = 6;
        Proj_Lat_SE = 45;
        Proj_Lon_SE = 7;
        mod().Show();
    }
    void TearDown() override { testenv::ResetProgramState(); }
    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }
    static Frm_ModCad& mod() { return Frm_ModCad_Window(); }

    // Types into the box and moves the focus away; true when the box let it go.
    static bool Enter(plat::TextBox& box, const std::string& text) {
        plat::Form& form = box.Parent();
        plat::Control* other = form.Find("Cmd_Cancel");
        box.UserFocus();
        box.UserType(text);
        // Leaving by a button runs the box's Validate; the click itself is not wanted here.
        other->SetFocus();
        return other->HasFocus();
    }
    // As Enter for a refused text: message 1, the focus kept.
    static void Refuse(plat::TextBox& box, const std::string& text) {
        const size_t before = host().boxes.size();
        host().QueueAnswer(1);
        EXPECT_FALSE(Enter(box, text)) << text;
        EXPECT_TRUE(box.HasFocus()) << text;
        ASSERT_EQ(host().boxes.size(), before + 1) << text;
        EXPECT_EQ(host().boxes.back().prompt.rfind("(1) ", 0), 0u) << host().boxes.back().prompt;
        // Let the focus go again with a harmless value.
        box.UserType(box.Name().find("Lat") != std::string::npos ? "45" : "6");
        box.Parent().Find("Cmd_Cancel")->SetFocus();
    }
};

TEST_F(CoordFieldsTest, ADecimalLatitudeIsTrimmedStoredAndShownAsDegreesMinutesSeconds) {
    EXPECT_TRUE(Enter(mod().NWLatDec, "  45.5 "));
    EXPECT_EQ(mod().NWLatDec.Text(), "45.5");
    EXPECT_DOUBLE_EQ(Cad_Lat_NW, 45.5);
    EXPECT_EQ(mod().LNWLat.Caption(), "N45:30:00.0000");
    EXPECT_TRUE(Enter(mod().SELonDec, "-5.25"));
    EXPECT_DOUBLE_EQ(Cad_Lon_SE, -5.25);
    EXPECT_EQ(mod().LSELon.Caption(), "W005:15:00.0000");
    // Only the box's own label changes.
    EXPECT_EQ(mod().LSELat.Caption(), "N45:00:00.0000");
}

TEST_F(CoordFieldsTest, ADegreesMinutesSecondsTextIsStoredAndShownAsADecimalNumber) {
    EXPECT_TRUE(Enter(mod().NWLatDec, "N45:30:00"));
    EXPECT_DOUBLE_EQ(Cad_Lat_NW, 45.5);
    EXPECT_EQ(mod().LNWLat.Caption(), "45.5");
    EXPECT_TRUE(Enter(mod().SELatDec, "S45:30:00"));
    EXPECT_DOUBLE_EQ(Cad_Lat_SE, -45.5);
    EXPECT_EQ(mod().LSELat.Caption(), "-45.5");
    EXPECT_TRUE(Enter(mod().NWLonDec, "E5:15:0"));
    EXPECT_DOUBLE_EQ(Cad_Lon_NW, 5.25);
    EXPECT_TRUE(Enter(mod().SELonDec, "W5:15:0"));
    EXPECT_DOUBLE_EQ(Cad_Lon_SE, -5.25);
    // A lone hemisphere letter is 0.
    EXPECT_TRUE(Enter(mod().NWLatDec, "N"));
    EXPECT_DOUBLE_EQ(Cad_Lat_NW, 0);
    EXPECT_EQ(mod().LNWLat.Caption(), "0");
}

TEST_F(CoordFieldsTest, RangesIncludeTheirBoundsAndRefuseBeyond) {
    EXPECT_TRUE(Enter(mod().NWLatDec, "90"));
    EXPECT_TRUE(Enter(mod().SELatDec, "-90"));
    EXPECT_TRUE(Enter(mod().NWLonDec, "-180"));
    EXPECT_TRUE(Enter(mod().SELonDec, "180"));
    Refuse(mod().NWLatDec, "90.5");
    Refuse(mod().SELonDec, "-181");
    Refuse(mod().NWLatDec, "N91:0:0");
    Refuse(mod().NWLonDec, "E181:0:0");
}

TEST_F(CoordFieldsTest, RefusedTextsKeepTheStoredValueAndItsLabel) {
    ASSERT_TRUE(Enter(mod().NWLatDec, "45.25"));
    const std::string label = mod().LNWLat.Caption();
    for (const char* text : {"n45:30:00", "E5:15:0", "abc", "", "45,5", "N45:30", "1e999"}) {
        const size_t before = host().boxes.size();
        host().QueueAnswer(1);
        EXPECT_FALSE(Enter(mod().NWLatDec, std::string(" ") + text)) << text;
        EXPECT_EQ(host().boxes.size(), before + 1) << text;
        EXPECT_DOUBLE_EQ(Cad_Lat_NW, 45.25) << text;
        EXPECT_EQ(mod().LNWLat.Caption(), label) << text;
        // The box keeps the trimmed text the author typed.
        EXPECT_EQ(mod().NWLatDec.Text(), text) << text;
    }
    mod().NWLatDec.UserType("45.25");
    mod().Cmd_Cancel.SetFocus();
    // Latitude texts in a longitude box.
    Refuse(mod().NWLonDec, "N5:15:0");
}

TEST_F(CoordFieldsTest, DecimalsFollowTheUsersSeparator) {
    plat::SetDecimalSeparator(',');
    EXPECT_TRUE(Enter(mod().NWLatDec, "45,5"));
    EXPECT_DOUBLE_EQ(Cad_Lat_NW, 45.5);
    // The degree-minute-second text keeps its point.
    EXPECT_EQ(mod().LNWLat.Caption(), "N45:30:00.0000");
    Refuse(mod().NWLatDec, "45.5");
    EXPECT_TRUE(Enter(mod().SELatDec, "N45:30:30,5"));
    EXPECT_EQ(mod().LSELat.Caption(), SYST_To_Text(Cad_Lat_SE));
    EXPECT_NE(mod().LSELat.Caption().find(','), std::string::npos);
}

TEST_F(CoordFieldsTest, FocusSelectsEnterValidatesEscapeRestores) {
    mod().NWLatDec.UserFocus();
    EXPECT_EQ(mod().NWLatDec.SelStart, 0);
    EXPECT_EQ(mod().NWLatDec.SelLength, 2);   // "46"

    mod().NWLatDec.UserType("45.75");
    mod().NWLatDec.UserKeyDown(plat::Key_Return, 0);
    EXPECT_DOUBLE_EQ(Cad_Lat_NW, 45.75);
    EXPECT_EQ(mod().LNWLat.Caption(), Com_Format_Lat_Dms(45.75));

    mod().NWLatDec.UserType("12");
    mod().NWLatDec.UserKeyDown(plat::Key_Escape, 0);
    EXPECT_EQ(mod().NWLatDec.Text(), "45.75");
    EXPECT_DOUBLE_EQ(Cad_Lat_NW, 45.75);

    // Enter on a refused text: message 1, the focus still there; Escape then restores.
    host().QueueAnswer(1);
    mod().NWLatDec.UserType("95");
    mod().NWLatDec.UserKeyDown(plat::Key_Return, 0);
    EXPECT_EQ(host().boxes.size(), 1u);
    EXPECT_TRUE(mod().NWLatDec.HasFocus());
    mod().NWLatDec.UserKeyDown(plat::Key_Escape, 0);
    EXPECT_EQ(mod().NWLatDec.Text(), "45.75");
    // Other keys change nothing.
    mod().NWLatDec.UserType("44");
    mod().NWLatDec.UserKeyDown(plat::Key_A, 0);
    EXPECT_DOUBLE_EQ(Cad_Lat_NW, 45.75);
}

TEST_F(CoordFieldsTest, MetresPerPixelBoxesTakePositiveNumbersOnly) {
    mod().ForceUnload();
    Cad_Map_Width = Cad_Map_Height = 100;
    Frm_CenterMap& c = Frm_CenterMap_Window();
    c.Show();
    EXPECT_TRUE(Enter(c.NbM_Per_Pixel_Lat, " 4.75 "));
    EXPECT_EQ(c.NbM_Per_Pixel_Lat.Text(), "4.75");
    EXPECT_DOUBLE_EQ(Center_M_Per_Px_Lat, 4.75);
    EXPECT_TRUE(Enter(c.NbM_Per_Pixel_Lon, "0.5"));
    EXPECT_DOUBLE_EQ(Center_M_Per_Px_Lon, 0.5);
    for (const char* text : {"0", "-2", "N45:0:0", "abc"}) {
        host().QueueAnswer(1);
        EXPECT_FALSE(Enter(c.NbM_Per_Pixel_Lat, text)) << text;
        EXPECT_DOUBLE_EQ(Center_M_Per_Px_Lat, 4.75) << text;
    }
    EXPECT_EQ(host().boxes.size(), 4u);
    c.NbM_Per_Pixel_Lat.UserType("3");
    c.Cmd_Cancel.SetFocus();
    c.NbM_Per_Pixel_Lon.UserFocus();
    c.NbM_Per_Pixel_Lon.UserType("12");
    c.NbM_Per_Pixel_Lon.UserKeyDown(plat::Key_Escape, 0);
    EXPECT_EQ(c.NbM_Per_Pixel_Lon.Text(), "0.5");
}

TEST(CoordIsNumber, ReadsWhatTheUserTypesAsANumber) {
    testenv::ResetProgramState();
    for (const char* text : {"1", " -2.5 ", "+3", "4.", ".5", "1e3", "1E-3"}) EXPECT_TRUE(Number_Entry_Is_Number(text)) << text;
    for (const char* text : {"", "-", ".", "1.2.3", "1e", "1e999", "1,5", "- 1", "0x10", "1 2"})
        EXPECT_FALSE(Number_Entry_Is_Number(text)) << text;
    plat::SetDecimalSeparator(',');
    EXPECT_TRUE(Number_Entry_Is_Number("1,5"));
    EXPECT_FALSE(Number_Entry_Is_Number("1.5"));
    testenv::ResetProgramState();
}

}  // namespace
