// A double click on a texture box of the line dialog, with the real mouse on the real widgets,
// opens the bitmap browser; the file clicked there comes back into the box and the record.
#include "qt_input.h"
#include "qt_test_app.h"

#include "core/project.h"
#include "core/erreur.h"
#include "core/syst.h"
#include "dialogs/dialog_services.h"
#include "dialogs/frm_lbmp.h"
#include "dialogs/frm_route.h"
#include "editor/editor_globals.h"
#include "editor/line_tools.h"
#include "platform/files.h"
#include "support/bmp_files.h"
#include "support/test_env.h"

#include <QListWidget>
#include <QTabBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

namespace fs = std::filesystem;

namespace {

bool Showing(qthost::QtHost& host, const plat::Form& form) {
    QWidget* w = host.WindowOf(form);
    return w && w->isVisible() && QApplication::activeModalWidget() == w;
}

// Runs the steps on a modal window; a step that failed leaves it open, so it is closed after.
void Then(qthost::QtHost& host, const plat::Form& form, const std::function<void()>& steps) {
    steps();
    if (Showing(host, form)) host.WindowOf(form)->close();
}

TEST(TextureBox, ADoubleClickOpensTheBitmapBrowserAndTheFileClickedThereIsTaken) {
    qttest::HostScope host;
    const fs::path root = testenv::ScratchDir("qt_texture_box");
    App_Dir = testenv::ProgramPath(root / "app");
    ASSERT_TRUE(plat::MakeFolder(App_Dir + "\\Resource"));
    ASSERT_TRUE(plat::MakeFolder(App_Dir + "\\Temp"));
    Ini_Path = App_Dir + "\\Resource\\Tessaline.Ini";
    Msg_File_Path = (testenv::SourceDir() / "Resource" / "FicErr.txt").string();
    Language = "US";
    const std::string folder = testenv::ProgramPath(root / "tex");
    ASSERT_TRUE(plat::MakeFolder(folder));
    ASSERT_TRUE(testenv::WriteBmp24(folder + "\\a.bmp", 8, 8, plat::RGB(200, 0, 0)));
    ASSERT_TRUE(testenv::WriteBmp24(folder + "\\b.bmp", 16, 16, plat::RGB(0, 0, 200)));

    // A VTP2 polygon with its own textures: the tab holding the texture boxes is usable.
    Route_Attrib polygon;
    polygon.SurfShore = 0;
    polygon.LWM_VTP2 = 1;
    polygon.Texture_Source() = 1;
    polygon.Texture_Name[0] = folder + "\\a.bmp";
    Route_Attrib_Result = polygon;
    PSais_Set_Line_Tool(Line_Tool::None);
    Route_Dlg_Cancelled = 1;

    Frm_Route& route = Frm_Route_Window();
    Frm_LBmp& browser = Frm_LBmp_Window();
    bool browser_opened = false;
    std::string browser_folder, box_after, twin_after;
    qttest::WhenReady("the line dialog", [&] { return Showing(*host, route); }, [&] { Then(*host, route, [&] {
        QTabBar* tabs = host->WidgetOf(route.SSTb)->findChild<QTabBar*>();
        ASSERT_TRUE(tabs);
        qttest::Click(*tabs, tabs->tabRect(4).center());
        qttest::Settle();
        ASSERT_EQ(route.SSTb.Tab(), 4);
        QWidget* box = host->WidgetOf(route.Texture_Name(0));
        ASSERT_TRUE(box && box->isVisible());

        qttest::WhenReady("the bitmap browser", [&] { return Showing(*host, browser); }, [&] { Then(*host, browser, [&] {
            browser_opened = true;
            browser_folder = browser.Dir1.Path();
            auto* files = dynamic_cast<QListWidget*>(host->WidgetOf(browser.File1));
            ASSERT_TRUE(files);
            const auto found = files->findItems("b.bmp", Qt::MatchFixedString);
            ASSERT_EQ(found.size(), 1);
            qttest::Click(*files->viewport(), files->visualItemRect(found.front()).center());
            qttest::Settle();
            qttest::Click(*host->WidgetOf(browser.Cmd_Ok));
        }); });
        qttest::DoubleClick(*box);
        qttest::Settle();
        box_after = route.Texture_Name(0).Text();
        twin_after = route.Texture_Name_1(0).Text();
        qttest::Click(*host->WidgetOf(route.Cmd_OK4));
    }); });
    Frm_Route_Show_Modal();

    ASSERT_TRUE(browser_opened) << "the double click did not open the bitmap browser";
    // It opened where the box's texture lies.
    EXPECT_EQ(browser_folder, (root / "tex").string());
    // The file as this system names it, as every chooser hands it back.
    const std::string chosen = (root / "tex" / "b.bmp").string();
    EXPECT_EQ(box_after, chosen);
    EXPECT_EQ(twin_after, chosen);
    EXPECT_EQ(Route_Dlg_Cancelled, 0);
    EXPECT_EQ(Route_Attrib_Result.Texture_Name[0], chosen);
    EXPECT_EQ(Bitmap_Browser_Width, 16);
    EXPECT_FALSE(browser.Loaded());
    EXPECT_FALSE(route.Loaded());
}

// The darkest grey level in a rectangle of an image.
int Darkest(const QImage& img, QRect r) {
    int darkest = 255;
    r = r.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) darkest = std::min(darkest, qGray(img.pixel(x, y)));
    return darkest;
}

TEST(LineDialogTabs, ATabThatCannotBeOpenedReadsFaded) {
    qttest::HostScope host;
    Language = "US";
    // A polygon without shore to the mask: "Main" and "LWM" open, the others closed.
    Route_Attrib_Result = Route_Attrib{};
    Route_Attrib_Result.SurfShore = 0;
    Route_Attrib_Result.LWM_VTP2 = 0;
    PSais_Set_Line_Tool(Line_Tool::None);
    Frm_Route& route = Frm_Route_Window();
    QImage look;
    QTabBar* tabs = nullptr;
    qttest::WhenReady("the line dialog", [&] { return Showing(*host, route); }, [&] { Then(*host, route, [&] {
        tabs = host->WidgetOf(route.SSTb)->findChild<QTabBar*>();
        if (tabs) look = qttest::Grab(*tabs);
    }); });
    Frm_Route_Show_Modal();
    ASSERT_TRUE(tabs && !look.isNull());
    ASSERT_FALSE(tabs->isTabEnabled(1));
    ASSERT_TRUE(tabs->isTabEnabled(2));
    const int open = Darkest(look, tabs->tabRect(2));
    for (int t : {1, 3, 4}) EXPECT_GT(Darkest(look, tabs->tabRect(t)), open + 60) << "tab " << t;
}

}  // namespace
