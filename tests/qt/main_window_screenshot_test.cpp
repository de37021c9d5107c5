// The main window as a person sees it before any project is open, in both languages: rendered
// by the Qt host offscreen, kept as PNG files under the build folder, and checked for what one
// looks for first.
#include "main_window.h"
#include "qt_input.h"

#include "core/project.h"
#include "core/syst_draw.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/frm_colourgrid.h"
#include "support/test_env.h"
#include "qt/qt_convert.h"

#include <QAction>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

const std::vector<std::string> kEnabledButtons = {"Cmd_New", "Cmd_Help"};

struct Rgb {
    int r, g, b;
};
Rgb At(const QImage& img, int x, int y) {
    const QRgb p = img.pixel(x, y);
    return {qRed(p), qGreen(p), qBlue(p)};
}

// Share of the pixels of the rectangle that have exactly this colour.
double Share(const QImage& img, QRect r, QColor colour) {
    r = r.intersected(img.rect());
    long hits = 0, all = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x, ++all)
            if (img.pixel(x, y) == colour.rgb()) ++hits;
    return all ? static_cast<double>(hits) / all : 0;
}

// How coloured and how dark the most telling pixels of a rectangle are.
struct Ink {
    int chroma = 0;     // largest max(r,g,b) - min(r,g,b)
    int darkest = 255;  // lowest grey level
};
Ink InkOf(const QImage& img, QRect r) {
    Ink ink;
    r = r.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const Rgb p = At(img, x, y);
            ink.chroma = std::max(ink.chroma, std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b}));
            ink.darkest = std::min(ink.darkest, (p.r * 30 + p.g * 59 + p.b * 11) / 100);
        }
    return ink;
}

QRect RectOf(const plat::Control& c) { return QRect(c.Left(), c.Top(), c.Width(), c.Height()); }

// The whole window, and its tool bar four times enlarged, for people to look at.
void SavePngs(QWidget& window, QWidget& client, const std::string& language) {
    const auto dir = testenv::BinaryDir() / "screenshots";
    std::filesystem::create_directories(dir);
    const auto file = dir / ("main_window_no_project_" + language + ".png");
    ASSERT_TRUE(qttest::Grab(window).save(QString::fromStdString(file.string()), "PNG")) << file;
    const QImage bar = qttest::Grab(client).copy(0, 0, 710, 21).scaled(710 * 4, 21 * 4);
    const auto bar_file = dir / ("main_window_toolbar_" + language + ".png");
    ASSERT_TRUE(bar.save(QString::fromStdString(bar_file.string()), "PNG")) << bar_file;
}

class MainWindowScreenshot : public ::testing::TestWithParam<std::string> {
protected:
    qttest::HostScope host;
};

TEST_P(MainWindowScreenshot, NoProjectStateShowsBarMapAndStatusRow) {
    const std::string language = GetParam();
    Frm& f = qttest::ShowNoProject(language);
    QWidget* window = host->WindowOf(f);
    QWidget* client = host->ClientWidget(f);
    ASSERT_TRUE(window && client);
    ASSERT_TRUE(window->isVisible());
    SavePngs(*window, *client, language);

    const QImage img = qttest::Grab(*client);
    ASSERT_EQ(img.width(), 1024);
    ASSERT_EQ(img.height(), 700);

    // Tool bar: 29 buttons along y 0..20, each drawn where the model put it.
    ASSERT_EQ(f.Tool_Bar().size(), 29u);
    for (const auto& slot : f.Tool_Bar()) {
        const plat::CommandButton& b = *slot.button;
        QWidget* w = host->WidgetOf(b);
        ASSERT_TRUE(w) << b.Name();
        EXPECT_EQ(w->geometry(), RectOf(b)) << b.Name();
        EXPECT_TRUE(w->isVisible()) << b.Name();
        EXPECT_EQ(b.Top(), 0);
        EXPECT_EQ(b.Height(), 21);
        EXPECT_LT(Share(img, RectOf(b), img.pixelColor(b.Left() + b.Width() / 2, 10)), 0.95)
            << b.Name() << " shows nothing but one colour";
    }
    EXPECT_EQ(f.Cmd_TrtMesh.Left(), 682);

    // Map picture: white from y 21, odd-sized, over almost all of the window.
    const QRect pic = RectOf(f.Pic);
    EXPECT_EQ(pic, QRect(0, 21, 1007, 645));
    EXPECT_GT(Share(img, pic, Qt::white), 0.999);
    EXPECT_NE(img.pixelColor(10, 20), QColor(Qt::white)) << "the tool bar row ends at y 20";

    // Status row: the last 16 rows, with the grey fields where the layout put them.
    for (const plat::Label* l : {&f.L_MouseBmp, &f.LLat, &f.LLon, &f.L_LLatDec, &f.LLatDec, &f.L_LLonDec,
                                 &f.LLonDec, &f.L_NumCell_Area, &f.L_CustomBmp}) {
        EXPECT_EQ(l->Top(), 684) << l->Name();
        EXPECT_EQ(host->WidgetOf(*l)->geometry(), RectOf(*l)) << l->Name();
    }
    EXPECT_GT(Share(img, RectOf(f.LLat), QColor(0xC0, 0xC0, 0xC0)), 0.99);
    EXPECT_GT(Share(img, RectOf(f.L_NumCell_Area), QColor(0xE0, 0xE0, 0xE0)), 0.99);
    EXPECT_LT(InkOf(img, RectOf(f.L_MouseBmp)).darkest, 100) << "\"Mouse\" is written";
    EXPECT_LT(InkOf(img, RectOf(f.L_LLatDec)).darkest, 100) << "\"  Lat:\" is written";
    // Scroll bars between the map and the status row, disabled.
    EXPECT_EQ(host->WidgetOf(f.HScroll)->geometry(), QRect(0, 667, 1008, 16));
    EXPECT_EQ(host->WidgetOf(f.VScroll)->geometry(), QRect(1008, 21, 16, 646));
    EXPECT_FALSE(host->WidgetOf(f.HScroll)->isEnabled());

    // Texts in the chosen language, in the menu bar and the tool tips.
    const bool english = language == "US";
    QMenuBar* bar = host->MenuBarOf(f);
    ASSERT_TRUE(bar && bar->isVisible());
    QStringList menus;
    for (QAction* a : bar->actions()) menus << a->text();
    EXPECT_EQ(menus, english ? QStringList({"Files", "Parameters", "Tools"}) : QStringList({"Fichiers", "Paramètres", "Outils"}));
    EXPECT_EQ(host->WidgetOf(f.Cmd_New)->toolTip(), english ? "New project" : "Nouveau");
    EXPECT_EQ(host->WidgetOf(f.Cmd_Sup_Route_Ou_Pt)->toolTip(),
              english ? "Delete selected object" : "Supprimer l'objet sélectionner");
    EXPECT_FALSE(host->ActionOf(f.Mnu_File_Close)->isEnabled());
    EXPECT_TRUE(host->ActionOf(f.Mnu_File_New)->isEnabled());
    EXPECT_EQ(host->ActionOf(f.Mnu_File_Close)->shortcut(), QKeySequence("Ctrl+O"));
}

TEST_P(MainWindowScreenshot, DisabledButtonsAreGreyed) {
    Frm& f = qttest::ShowNoProject(GetParam());
    QWidget* client = host->ClientWidget(f);
    ASSERT_TRUE(client);
    const QImage disabled = qttest::Grab(*client);
    // The same bar with every button usable, to compare each with itself.
    for (const auto& slot : f.Tool_Bar()) slot.button->SetEnabled(true);
    qttest::Settle();
    const QImage enabled = qttest::Grab(*client);

    int greyed = 0;
    for (const auto& slot : f.Tool_Bar()) {
        const plat::CommandButton& b = *slot.button;
        const bool usable = std::find(kEnabledButtons.begin(), kEnabledButtons.end(), b.Name()) != kEnabledButtons.end();
        EXPECT_EQ(host->WidgetOf(b)->isEnabled(), true) << b.Name();
        // Inside the button's frame: its picture or its short text.
        const QRect inner = RectOf(b).adjusted(3, 3, -3, -3);
        const Ink on = InkOf(enabled, inner), off = InkOf(disabled, inner);
        if (usable) {
            EXPECT_EQ(on.chroma, off.chroma) << b.Name() << " is usable and looks it";
            EXPECT_EQ(on.darkest, off.darkest) << b.Name();
            continue;
        }
        // Grey and clearly lighter than the same button when usable.
        const bool faded = off.chroma <= on.chroma && off.chroma < 40 && off.darkest > on.darkest + 20;
        EXPECT_TRUE(faded) << b.Name() << ": disabled chroma " << off.chroma << " darkest " << off.darkest
                           << ", enabled chroma " << on.chroma << " darkest " << on.darkest;
        greyed += faded;
    }
    EXPECT_EQ(greyed, 27);
}

// The grid colour window opens just under its button (not over the tool bar), shows its seven
// greys, and a click on one takes that grey.
TEST_P(MainWindowScreenshot, GridColourWindowSitsUnderItsButtonWithItsSevenGreys) {
    Frm& f = qttest::ShowNoProject(GetParam());
    host->SetMainForm(&f);
    f.Cmd_ColourGrid.SetEnabled(true);
    qttest::Settle();
    QWidget* client = host->ClientWidget(f);
    const plat::CommandButton& b = f.Cmd_ColourGrid;
    Frm_ColourGrid& dialog = Frm_ColourGrid_Window();
    QRect frame;
    QImage look;
    qttest::WhenReady("the grid colour window", [&] { return host->WindowOf(dialog) && host->WindowOf(dialog)->isVisible(); }, [&] {
        frame = host->WindowOf(dialog)->frameGeometry();
        look = qttest::Grab(*host->ClientWidget(dialog));
        qttest::Click(*host->WidgetOf(dialog.Opt_ColourGrid(5)), QPoint(100, 10));
    });
    qttest::Click(*host->WidgetOf(b));
    ASSERT_FALSE(look.isNull()) << "the grid colour window did not open";
    const QPoint under = client->mapToGlobal(QPoint(b.Left(), b.Top() + b.Height() + 10));
    EXPECT_EQ(frame.topLeft(), under);
    EXPECT_GT(frame.top(), client->mapToGlobal(QPoint(0, b.Top() + b.Height())).y()) << "it covers the tool bar";
    for (int i = 0; i < 7; ++i) {
        const plat::OptionButton& o = dialog.Opt_ColourGrid(i);
        const QColor grey = qthost::ToQColor(static_cast<plat::Colour>(Grid_Colour_Of(i)));
        EXPECT_GT(Share(look, QRect(o.Left() + 30, o.Top() + 2, o.Width() - 34, o.Height() - 4), grey), 0.95) << "option " << i;
    }
    EXPECT_EQ(Grid_Colour_Index, 5);
    EXPECT_EQ(Grid_Colour, 4210752);
    EXPECT_FALSE(dialog.Loaded());
}

INSTANTIATE_TEST_SUITE_P(Languages, MainWindowScreenshot, ::testing::Values("FR", "US"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
