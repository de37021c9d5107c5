#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/pinit_layout.h"
#include "support/program_state.h"

#include <gtest/gtest.h>

#include <set>

using namespace plat;

namespace {

class MainLayout : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        f.Load();
    }
    void LayOut(int w, int h) {
        f.Move(0, 0, w, h);
        Pinit_Layout_Main();
    }
    Frm& f = Frm_Window();
};

TEST_F(MainLayout, ToolBarIsOneRowAtTheDesignedLeftsWhateverTheWindowWidth) {
    const int lefts[29] = {2,   25,  48,  71,  94,  117, 140, 163, 186, 211, 236, 261, 294, 317, 340,
                           365, 388, 411, 436, 461, 484, 507, 532, 555, 580, 605, 632, 657, 682};
    for (int width : {1024, 300}) {
        LayOut(width, 700);
        ASSERT_EQ(f.Tool_Bar().size(), 29u);
        for (size_t i = 0; i < 29; ++i) {
            const CommandButton& b = *f.Tool_Bar()[i].button;
            EXPECT_EQ(b.Left(), lefts[i]) << b.Name() << " at width " << width;
            EXPECT_EQ(b.Top(), 0) << b.Name();
            EXPECT_EQ(b.Height(), 21) << b.Name();
        }
        EXPECT_EQ(f.Cmd_TrtMesh.Left() + f.Cmd_TrtMesh.Width(), 703);
    }
}

TEST_F(MainLayout, AWiderButtonMovesEveryLaterOne) {
    f.Cmd_LandClass.SetWidth(30);
    LayOut(1024, 700);
    EXPECT_EQ(f.Cmd_LandClass.Left(), 211);
    EXPECT_EQ(f.Cmd_AffTexture.Left(), 243);
    EXPECT_EQ(f.Cmd_TrtMesh.Left(), 689);
}

TEST_F(MainLayout, MapAreaAndStatusRowAt1024By700) {
    LayOut(1024, 700);
    EXPECT_EQ(f.HScroll.Left(), 0);
    EXPECT_EQ(f.HScroll.Top(), 667);
    EXPECT_EQ(f.HScroll.Width(), 1008);
    EXPECT_EQ(f.HScroll.Height(), 16);
    EXPECT_EQ(f.VScroll.Left(), 1008);
    EXPECT_EQ(f.VScroll.Top(), 21);
    EXPECT_EQ(f.VScroll.Height(), 646);
    EXPECT_EQ(f.Pic.Top(), 21);
    EXPECT_EQ(f.Pic.Left(), 0);
    EXPECT_EQ(f.Pic.Height(), 645);
    EXPECT_EQ(f.Pic.Width(), 1007);
    EXPECT_EQ(f.Pic.Image().Width(), 1007);

    const std::pair<const Label*, int> status[] = {
        {&f.L_MouseBmp, 2}, {&f.LLat, 96},     {&f.LLon, 191},           {&f.L_LLatDec, 282}, {&f.LLatDec, 308},
        {&f.L_LLonDec, 375}, {&f.LLonDec, 401}, {&f.L_NumCell_Area, 468}, {&f.L_CustomBmp, 644},
    };
    for (const auto& [label, left] : status) {
        EXPECT_EQ(label->Left(), left) << label->Name();
        EXPECT_EQ(label->Top(), 684) << label->Name();
        EXPECT_EQ(label->Height(), 16) << label->Name();
    }
    EXPECT_EQ(f.LLat.BackColor(), RGB(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(f.L_NumCell_Area.BackColor(), RGB(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(f.Pic.BackColor(), RGB(255, 255, 255));
}

TEST_F(MainLayout, OddSizesStayAsComputed) {
    LayOut(1025, 701);
    EXPECT_EQ(f.Pic.Width(), 1009);
    EXPECT_EQ(f.Pic.Height(), 647);
}

TEST_F(MainLayout, LayoutShowsTheMapAreaAndSetsTheScrollRanges) {
    EXPECT_FALSE(f.Pic.Visible());
    EXPECT_FALSE(f.HScroll.Visible());
    f.HScroll.SetMax(10);
    f.HScroll.SetValue(7);
    LayOut(1024, 700);
    EXPECT_TRUE(f.Pic.Visible());
    EXPECT_TRUE(f.HScroll.Visible());
    EXPECT_TRUE(f.VScroll.Visible());
    for (const ScrollBar* s : {static_cast<const ScrollBar*>(&f.HScroll), static_cast<const ScrollBar*>(&f.VScroll)}) {
        EXPECT_EQ(s->Min(), 0);
        EXPECT_EQ(s->Max(), 32000);
        EXPECT_EQ(s->LargeChange(), 2000);
        EXPECT_EQ(s->SmallChange(), 200);
        EXPECT_EQ(s->Value(), 0);
    }
    EXPECT_EQ(Scroll_Busy, 0);
}

TEST_F(MainLayout, NoProjectStateLeavesOnlyNewHelpAndTheAlwaysUsableMenus) {
    LayOut(1024, 700);
    f.SetCaption("Tessaline - test");
    Pinit_Set_No_Project();
    auto first = SnapshotControls(f);
    for (const auto& slot : f.Tool_Bar()) {
        bool usable = slot.button == &f.Cmd_New || slot.button == &f.Cmd_Help;
        EXPECT_EQ(slot.button->Enabled(), usable) << slot.button->Name();
    }
    for (const char* m : {"Mnu_File_Close", "Mnu_File_Enreg", "Mnu_File_Enreg_Sous", "Mnu_Reinit", "Mnu_Param_File",
                          "Mnu_par_Remesh", "Mnu_ModCad"})
        EXPECT_FALSE(StateOf(first, m).enabled) << m;
    for (const char* m : {"Mnu_File", "Mnu_File_New", "Mnu_File_Open", "Mnu_File_Prec(0)", "Mnu_File_Prec(3)",
                          "Mnu_File_Quit", "Mnu_Param", "Mnu_Param_Gene", "Mnu_Tools", "Mnu_Tool_CvLL"})
        EXPECT_TRUE(StateOf(first, m).enabled) << m;
    EXPECT_FALSE(f.HScroll.Enabled());
    EXPECT_FALSE(f.VScroll.Enabled());
    EXPECT_TRUE(f.Pic.Visible()) << "visibility is not touched";
    EXPECT_EQ(f.Caption(), "Tessaline - test");

    Pinit_Set_No_Project();
    EXPECT_EQ(SnapshotControls(f), first) << "a second call changes nothing";
}

TEST_F(MainLayout, NoProjectStateEmptiesTheMapPicture) {
    LayOut(1024, 700);
    Surface map(50, 50, RGB(0, 0, 255));
    f.Pic.SetPicture(map);
    f.Pic.Line(0, 100, 500, 100, RGB(255, 0, 0));
    Pinit_Set_No_Project();
    EXPECT_TRUE(f.Pic.Picture().Empty());
    EXPECT_EQ(f.Pic.Image().GetPixel(10, 10), RGB(255, 255, 255));
    EXPECT_EQ(f.Pic.Image().GetPixel(200, 100), RGB(255, 255, 255));
}

TEST_F(MainLayout, PictureButtonsCarryDistinctIconsAndTheClassButtonsTheirTexts) {
    std::set<std::vector<uint8_t>> seen;
    for (const auto& slot : f.Tool_Bar()) {
        const CommandButton& b = *slot.button;
        if (&b == &f.Cmd_LandClass || &b == &f.Cmd_WaterClass || &b == &f.Cmd_TrtArea) {
            EXPECT_TRUE(b.Picture().Empty()) << b.Name();
            continue;
        }
        int size = &b == &f.Cmd_Sup_Route_Ou_Pt ? 20 : 16;
        ASSERT_EQ(b.Picture().Width(), size) << b.Name();
        ASSERT_EQ(b.Picture().Height(), size) << b.Name();
        EXPECT_EQ(b.Style(), 1) << b.Name();
        std::set<Colour> colours;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) colours.insert(b.Picture().GetPixel(x, y));
        EXPECT_GE(colours.size(), 2u) << b.Name() << " has a blank picture";
        std::vector<uint8_t> bytes(b.Picture().Bits(), b.Picture().Bits() + b.Picture().Stride() * size);
        EXPECT_TRUE(seen.insert(bytes).second) << b.Name() << " looks like another button";
    }
    EXPECT_EQ(seen.size(), 26u);
    EXPECT_EQ(f.Cmd_LandClass.Caption(), "LC");
    EXPECT_EQ(f.Cmd_WaterClass.Caption(), "WC");
    EXPECT_EQ(f.Cmd_TrtArea.Caption(), "F1");
}

TEST_F(MainLayout, MenusStandInTheirDesignedOrderWithSeparatorsAndShortcuts) {
    std::vector<std::string> file;
    for (Control* c : f.Controls())
        if (c->Container() == &f.Mnu_File) file.push_back(c->FullName());
    EXPECT_EQ(file, (std::vector<std::string>{"Mnu_File_New", "Mnu_File_Open", "Mnu_File_Enreg", "Mnu_File_Enreg_Sous",
                                              "Mnu_File_Close", "Mnu_File_Sep1", "Mnu_File_Prec(0)", "Mnu_File_Prec(1)",
                                              "Mnu_File_Prec(2)", "Mnu_File_Prec(3)", "Mnu_File_Sep2", "Mnu_File_Quit"}));
    EXPECT_TRUE(f.Mnu_File_Sep1.IsSeparator());
    EXPECT_EQ(f.Mnu_File_Close.Shortcut(), "Ctrl+O");
    EXPECT_EQ(f.Mnu_File_Open.Shortcut(), "");
    EXPECT_EQ(f.Mnu_File_Prec(2).Caption(), "3");
    ASSERT_EQ(f.MenuBar().size(), 3u);
    EXPECT_EQ(f.MenuBar()[2], &f.Mnu_Tools);
}

}  // namespace
