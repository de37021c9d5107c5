// One session through the real window on a copy of the demo: a new line drawn with clicks on
// the map, its type chosen in its attribute dialog, saved, closed, and found again after the
// project is reopened from the recent list.
#include "demo_app.h"
#include "qt_input.h"
#include "qt_test_app.h"

#include "core/project.h"
#include "dialogs/frm_route.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/frm_startup.h"
#include "support/test_env.h"

#include <QAction>
#include <QAbstractItemView>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A command of the menu bar chosen with the mouse: the top menu opened, then its entry clicked.
void ChooseFromMenu(qthost::QtHost& host, plat::Form& form, const plat::Menu& top, const plat::Menu& entry) {
    QMenuBar* bar = host.MenuBarOf(form);
    QAction* top_action = host.ActionOf(top);
    QAction* entry_action = host.ActionOf(entry);
    ASSERT_TRUE(bar && top_action && top_action->menu() && entry_action);
    qttest::Click(*bar, bar->actionGeometry(top_action).center());
    qttest::Settle();
    QMenu* menu = top_action->menu();
    ASSERT_TRUE(menu->isVisible());
    ASSERT_TRUE(entry_action->isVisible() && entry_action->isEnabled());
    qttest::Click(*menu, menu->actionGeometry(entry_action).center());
    qttest::Settle();
}

// Clicks "No" in the next message box, when it comes.
void AnswerNoToTheNextBox(bool& asked) {
    qttest::WhenReady("the box asking whether to save", [] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; }, [&asked] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        asked = true;
        qttest::Click(*box->button(QMessageBox::No));
    });
}

TEST(DemoSession, ANewLineDrawnInTheWindowIsBackAfterReopeningFromTheRecentList) {
    qttest::HostScope host;
    const fs::path root = testenv::ScratchDir("qt_demo_session");
    const fs::path app = qttest::MakeApp(root);
    const fs::path project = qttest::CopyDemo(root / "demo");

    Frm& f = Frm_Window();
    host->SetMainForm(&f);
    ASSERT_TRUE(Frm_Start(app.string(), "\"" + project.string() + "\""));
    qttest::Settle();
    ASSERT_EQ(Project_Open, 1);
    const int32_t lines_before = Line_Count;
    QApplication::setActiveWindow(host->WindowOf(f));

    qttest::Click(*host->WidgetOf(f.Cmd_Saisie_Routes));
    qttest::Click(*host->WidgetOf(f.Cmd_New_Route));
    ASSERT_EQ(Mode_Lines, 1);

    // The first click on the map opens the new line's attributes, where the next type is chosen.
    Frm_Route& route = Frm_Route_Window();
    int start = -1, chosen = -1;
    bool type_list_usable = false, lines_tab_closed = false;
    qttest::WhenReady("the new line's attribute dialog", [&] { return host->WindowOf(route) && host->WindowOf(route)->isVisible() && qttest::VisibleOk(*host, route); }, [&] {
        // A new line starts as a polygon without shore, for which the "Lines" tab is closed:
        // a person first makes it a line on the "Main" tab.
        QTabBar* tabs = host->WidgetOf(route.SSTb)->findChild<QTabBar*>();
        lines_tab_closed = tabs && !tabs->isTabEnabled(1);
        qttest::Click(*host->WidgetOf(route.Opt_SurfShore(2)));
        qttest::Settle();
        if (tabs) qttest::Click(*tabs, tabs->tabRect(1).center());
        qttest::Settle();
        auto* combo = dynamic_cast<QComboBox*>(host->WidgetOf(route.Cmbo));
        type_list_usable = route.SSTb.Tab() == 1 && combo && combo->isVisible() && combo->isEnabled() && combo->count() > 1;
        if (type_list_usable) {
            // The list opens under the mouse and the entry after the shown one is clicked.
            start = route.Cmbo.ListIndex();
            QTest::mousePress(combo->window()->windowHandle(), Qt::LeftButton, {}, combo->mapTo(combo->window(), combo->rect().center()));
            qttest::Settle();
            QAbstractItemView* view = combo->view();
            QTest::qWait(QApplication::doubleClickInterval() + 50);
            if (view->isVisible())
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(start + 1, 0)).center());
            qttest::Settle();
            chosen = route.Cmbo.ListIndex();
        }
        qttest::Click(*qttest::VisibleOk(*host, route));
    });
    QWidget* pic = host->WidgetOf(f.Pic);
    qttest::Click(*pic, QPoint(120, 100));
    EXPECT_TRUE(lines_tab_closed);
    ASSERT_TRUE(type_list_usable) << "the new line's type list is empty or disabled";
    ASSERT_GE(start, 0);
    ASSERT_EQ(chosen, start + 1);
    ASSERT_EQ(Line_Count, lines_before + 1);
    const int16_t type = Line_Type_Table(chosen).Num;
    EXPECT_EQ(Line_Table(Line_Count).Attr.SurfShore, 2);
    // Two more clicks extend it.
    qttest::Click(*pic, QPoint(200, 140));
    qttest::Click(*pic, QPoint(260, 120));
    EXPECT_EQ(Line_Table(Line_Count).Nb_Points, 3);
    EXPECT_EQ(Line_Table(Line_Count).Attr.Line_Type(), type);

    qttest::Click(*host->WidgetOf(f.Cmd_Save));
    // Closing always asks whether to save: the work is saved already, so "No".
    bool asked = false;
    AnswerNoToTheNextBox(asked);
    ChooseFromMenu(*host, f, f.Mnu_File, f.Mnu_File_Close);
    EXPECT_TRUE(asked);
    ASSERT_EQ(Project_Open, 0);
    QAction* recent = host->ActionOf(f.Mnu_File_Prec(0));
    ASSERT_TRUE(recent);
    EXPECT_EQ(recent->text().toStdString(), f.Mnu_File_Prec(0).Caption());
    ChooseFromMenu(*host, f, f.Mnu_File, f.Mnu_File_Prec(0));
    ASSERT_EQ(Project_Open, 1);
    ASSERT_EQ(Line_Count, lines_before + 1);
    EXPECT_EQ(Line_Table(Line_Count).Nb_Points, 3);
    EXPECT_EQ(Line_Table(Line_Count).Attr.Line_Type(), type);
    // Closed again, not ended: ending the main window ends Qt's event loops for the tests after.
    bool asked_again = false;
    AnswerNoToTheNextBox(asked_again);
    ChooseFromMenu(*host, f, f.Mnu_File, f.Mnu_File_Close);
    EXPECT_TRUE(asked_again);
    EXPECT_EQ(Project_Open, 0);
}

}  // namespace
