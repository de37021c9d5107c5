// The labels the program fills while it runs (the altitude tip, the status row, the tiling and
// generation progress) show their whole text at the longest text each can get, in both
// languages. The Qt label draws a text that is too wide condensed and, past that, shortened in
// its middle: what it draws is what is checked here.
#include "main_window.h"

#include "core/coord_text.h"
#include "core/grid.h"
#include "editor/grid_points.h"
#include "editor/mouse_status.h"
#include "core/project_file.h"
#include "setup/frm_ppro.h"

#include <QFontMetrics>
#include <QLabel>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Longest {
    plat::Label* label;
    std::vector<std::string> texts;
};

class LabelFit : public ::testing::TestWithParam<std::string> {
protected:
    qttest::HostScope host;

    QLabel* Widget(plat::Label& label) { return qobject_cast<QLabel*>(host->WidgetOf(label)); }

    // The label keeps the whole text and draws it inside its own rectangle.
    void ExpectWhole(plat::Label& label, const std::string& text) {
        label.SetCaption(text);
        qttest::Settle();
        QLabel* w = Widget(label);
        ASSERT_TRUE(w) << label.Name();
        ASSERT_TRUE(w->isVisible()) << label.Name();
        EXPECT_EQ(w->text().toStdString(), text) << label.Name() << " (" << label.Width() << " px) cuts \"" << text << "\"";
        const int room = w->contentsRect().width() - std::max(0, w->indent());
        EXPECT_LE(QFontMetrics(w->font()).horizontalAdvance(w->text()), room) << label.Name() << ": \"" << text << "\"";
    }

    void ExpectAllWhole(const std::vector<Longest>& cases) {
        for (const Longest& c : cases)
            for (const std::string& text : c.texts) ExpectWhole(*c.label, text);
    }
};

TEST_P(LabelFit, AltitudeTipShowsTheLongestAltitude) {
    Frm& f = qttest::ShowNoProject(GetParam());
    f.Pic.SetVisible(true);
    f.LPtGrid.SetVisible(true);
    // The altitude box takes -999 < a < 30000; the float's shortest digits are the text, and a
    // tiny altitude has the most of them.
    for (float altitude : {-998.99994f, -998.0001f, 29999.998f, -123.45678f, -9.8765432e-5f, -1.2345679e-30f})
        ExpectWhole(f.LPtGrid, "Altitude= " + Grid_Altitude_Text(altitude));
}

TEST_P(LabelFit, StatusRowShowsItsLongestTexts) {
    Frm& f = qttest::ShowNoProject(GetParam());
    // The tiler takes at most 32767 tiles of 2000 pixels: column and row have 12 digits together.
    // Whatever the decimal separator, the decimal degrees keep their length.
    ExpectAllWhole({
        {&f.L_MouseBmp, {"Mouse 999999x129999", "Mouse 65533999x1999"}},
        {&f.LLat, {Com_Format_Lat_Dms(89.99999), Com_Format_Lat_Dms(-89.99999), Com_Format_Lat_Dms(-45.999999)}},
        {&f.LLon, {Com_Format_Lon_Dms(-179.99999), Com_Format_Lon_Dms(179.99999), Com_Format_Lon_Dms(-100.888888)}},
        {&f.LLatDec, {Mouse_Decimal_Degrees(-89.9999999), Mouse_Decimal_Degrees(-45.8888888)}},
        {&f.LLonDec, {Mouse_Decimal_Degrees(-179.9999999), Mouse_Decimal_Degrees(-108.8888888)}},
        {&f.L_NumCell_Area, {"C: 767-511  A: 31-31  x,y 255-255", "C: 768-512  A: 31-31  x,y 255-255"}},
        {&f.L_CustomBmp, {Com_Cell_Quad_Key(767, 511, 31, 31) + "xx.Bmp", Com_Cell_Quad_Key(767, 0, 31, 0) + "xx.Bmp"}},
    });
}

TEST_P(LabelFit, MainWindowProgressShowsItsLongestTexts) {
    Frm& f = qttest::ShowNoProject(GetParam());
    const bool us = GetParam() == "US";
    f.Fram_Creat_2500.SetVisible(true);
    ExpectAllWhole({
        // Loading the map, saving, and the tiles of a project opened with its map not yet cut.
        {&f.LTex2500, {us ? " Image Map loading" : "Chargement de la carte", "Save",
                       us ? "Creation of  32767 temporary .bmp" : "Création de  32767 .bmp temporaires"}},
        {&f.LNbTex, {" 32767"}},
        {&f.LPourCent, {"100%"}},
    });
    f.Fram_Creat_2500.SetVisible(false);

    f.Fram_Compile.SetVisible(true);
    ExpectAllWhole({
        {&f.LCompileNom, {"Concave/convexe", "WaterClasses", "Lod8/13 cut",
                          "/home/someone/Tessaline/scenery/Provence/Provence_LWM_9123.bgl"}},
        {&f.LCompile, {"VTP2 Polygons : BGLC.exe", "LWM Polygons : BGLC.exe", "ResampleV11.exe", "2147483647"}},
    });
}

TEST_P(LabelFit, ProjectParametersTilingShowsItsLongestTexts) {
    Language = GetParam();
    const bool us = GetParam() == "US";
    Proj_New = 1;
    Frm_PPro& p = Frm_PPro_Window();
    p.Show();
    p.Fram_Creat_2500.SetVisible(true);
    ExpectAllWhole({
        {&p.LTex2500, {us ? "Creation of  32767 temporary .bmp" : "Création de  32767 .bmp temporaires"}},
        {&p.LNbTex, {" 32767"}},
        {&p.LPourCent, {"100%"}},
    });
    p.ForceUnload();
}

// The check above sees a cut: a text far wider than its label is shortened in its middle.
TEST_P(LabelFit, ATextBeyondCondensingIsShortened) {
    Frm& f = qttest::ShowNoProject(GetParam());
    const std::string text(200, 'W');
    f.L_CustomBmp.SetCaption(text);
    qttest::Settle();
    QLabel* w = Widget(f.L_CustomBmp);
    ASSERT_TRUE(w);
    EXPECT_NE(w->text(), QString::fromStdString(text));
    EXPECT_TRUE(w->text().contains(QChar(0x2026))) << w->text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Languages, LabelFit, ::testing::Values("FR", "US"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
