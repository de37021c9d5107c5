// Alt commands typed on the real main window run their command once, also when the command
// opens a modal window: once that window has closed, the key must not reach the main window a
// second time.
#include "demo_app.h"
#include "qt_input.h"
#include "qt_test_app.h"

#include "app/window_hooks.h"
#include "core/project.h"
#include "dialogs/frm_mesh.h"
#include "dialogs/frm_route.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/frm_colourgrid.h"
#include "editor/frm_startup.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>
#include <vector>
#include <string>

namespace fs = std::filesystem;

namespace {

// Answers every modal window that shows while it lives, as often as it shows.
class ModalAnswerer {
public:
    explicit ModalAnswerer(std::function<void(QWidget&)> answer) : answer_(std::move(answer)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal->isVisible()) answer_(*modal);
        });
        timer_.start(20);
    }

private:
    std::function<void(QWidget&)> answer_;
    QTimer timer_;
};

// Clicks the box's button of that role, or its first one.
void Answer_Box(QMessageBox& box, QMessageBox::StandardButton button) {
    QAbstractButton* b = box.button(button);
    if (!b && !box.buttons().isEmpty()) b = box.buttons().first();
    if (b) b->click();
}

class AltKeys : public ::testing::Test {
protected:
    qttest::HostScope host;
    Frm& f = Frm_Window();
    fs::path app;

    void Start(bool tools) {
        const fs::path root = testenv::ScratchDir("qt_alt_keys");
        app = qttest::MakeApp(root, tools);
        const fs::path project = qttest::CopyDemo(root / "demo");
        host->SetMainForm(&f);
        ASSERT_TRUE(Frm_Start(app.string(), "\"" + project.string() + "\""));
        qttest::Settle();
        ASSERT_EQ(Project_Open, 1);
        QApplication::setActiveWindow(host->WindowOf(f));
        qttest::Settle();
    }
    void TearDown() override {
        // Closed, not ended: ending the main window ends Qt's event loops for the tests after.
        ModalAnswerer no([](QWidget& w) {
            if (auto* box = qobject_cast<QMessageBox*>(&w)) Answer_Box(*box, QMessageBox::No);
            else w.close();
        });
        if (Project_Open == 1) f.Mnu_File_Close.UserClick();
        qttest::Settle();
    }
    // Alt and the key, as the window system hands them to the main window.
    void Alt(Qt::Key key) {
        QTest::keyClick(host->WindowOf(f)->windowHandle(), key, Qt::AltModifier);
        qttest::Settle();
    }
    bool Is(QWidget& w, const plat::Form& form) { return &w == host->WindowOf(form); }
};

TEST_F(AltKeys, AnAltCommandThatOpensAWindowRunsOnce) {
    Start(false);
    int colour = 0, route = 0, mesh = 0, other = 0;
    ModalAnswerer answer([&](QWidget& w) {
        if (Is(w, Frm_ColourGrid_Window())) {
            // The option already chosen closes nothing: a window that comes again is closed.
            if (++colour == 1) qttest::Click(*host->WidgetOf(Frm_ColourGrid_Window().Opt_ColourGrid(4)));
            else w.close();
        } else if (Is(w, Frm_Route_Window())) {
            QWidget* ok = qttest::VisibleOk(*host, Frm_Route_Window());
            if (!ok) return;
            ++route;
            qttest::Click(*ok);
        } else if (Is(w, Frm_Mesh_Window())) {
            ++mesh;
            Frm_Mesh& m = Frm_Mesh_Window();
            qttest::Click(*host->WidgetOf(m.Opt_LodMesh(m.Opt_LodMesh(0).Value() ? 1 : 0)));
            qttest::Click(*host->WidgetOf(m.Cmd_Ok));
        } else {
            ++other;
            w.close();
        }
    });

    Alt(Qt::Key_C);
    EXPECT_EQ(colour, 1);
    EXPECT_EQ(Grid_Colour_Index, 4);

    // A new line at the mouse over the map: one dialog, one line of one point.
    qttest::Click(*host->WidgetOf(f.Cmd_Saisie_Routes));
    QWidget* pic = host->WidgetOf(f.Pic);
    qttest::MoveOver(*pic, QPoint(120, 100));
    const int32_t lines = Line_Count;
    Alt(Qt::Key_N);
    EXPECT_EQ(route, 1);
    ASSERT_EQ(Line_Count, lines + 1);
    EXPECT_EQ(Line_Table(Line_Count).Nb_Points, 1);

    // The grid-point mode asks its level while none was confirmed.
    Frm_Mesh_Connect();
    Mesh_Lod_Chosen = 0;
    ASSERT_TRUE(f.Cmd_TrtMesh.Enabled());
    Alt(Qt::Key_M);
    EXPECT_EQ(mesh, 1);
    EXPECT_EQ(Mesh_Lod_Chosen, 1);
    EXPECT_EQ(other, 0);
}

TEST_F(AltKeys, AltGWithAFailingCompilerRunsTheChainAsTheButtonDoes) {
    Start(true);
    std::ofstream(app / "bglc.exe.fail") << "";
    int boxes = 0;
    ModalAnswerer answer([&](QWidget& w) {
        if (auto* box = qobject_cast<QMessageBox*>(&w)) {
            ++boxes;
            Answer_Box(*box, QMessageBox::Ok);
        } else {
            w.close();
        }
    });
    // Every run of a tool, one line of its log each, taken away.
    auto take_runs = [&] {
        std::vector<std::string> runs;
        std::ifstream log(app / "tools.log");
        for (std::string line; std::getline(log, line);) runs.push_back(line);
        log.close();
        fs::remove(app / "tools.log");
        return runs;
    };
    Alt(Qt::Key_G);
    const std::vector<std::string> by_key = take_runs();
    const int key_boxes = std::exchange(boxes, 0);
    ASSERT_FALSE(by_key.empty());
    EXPECT_GT(key_boxes, 0);
    qttest::Click(*host->WidgetOf(f.Cmd_API));
    qttest::Settle();
    EXPECT_EQ(by_key, take_runs());
    EXPECT_EQ(key_boxes, boxes);
}

}  // namespace
