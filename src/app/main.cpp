// Tessaline: picks the host and starts the main window.
#include "core/erreur.h"
#include "core/project.h"
#include "core/settings.h"
#include "core/syst.h"
#include "editor/frm.h"
#include "editor/pinit_main.h"
#include "platform/host.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef TESSALINE_HAVE_QT
#include "qt/qt_convert.h"
#include "qt/qt_host.h"

#include <QApplication>
#include <QDir>
#endif

namespace {

bool DisplayAvailable() {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* v = std::getenv(name);
        if (v && *v) return true;
    }
    return false;
}

#ifdef TESSALINE_HAVE_QT
// The arguments after the program's name, as one command line.
std::string CommandLine(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

// What the main window's load handler does, as far as it exists: the settings for the
// language, then the texts, the layout and the no-project state of the maximised window.
void ShowMainWindowWithoutStartUp(Frm& f) {
    Ini_Path = App_Dir + "\\Resource\\Tessaline.Ini";
    Msg_File_Path = App_Dir + "\\Resource\\FicErr.txt";
    Pinit_Read_Settings();
    f.Load();
    f.SetWindowState(plat::Window_Maximized);
    f.SetVisible(true);
    Pinit_Set_Main_Texts();
    Pinit_Layout_Main();
    Pinit_Set_No_Project();
    f.Show();
}
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef TESSALINE_HAVE_QT
    if (!DisplayAvailable()) {
        std::fprintf(stderr, "Tessaline needs a display to show its main window (none found; "
                             "set DISPLAY, or QT_QPA_PLATFORM=offscreen to run without one).\n");
        return 1;
    }
    QApplication app(argc, argv);
    // Qt takes the user's locale for the C library; the program's texts and files keep "." and
    // follow only its own separator setting.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    qthost::QtHost host;
    plat::SetHost(&host);

    App_Dir = qthost::ToProgramPath(QCoreApplication::applicationDirPath());
    // Opened once the start-up order opens projects; until then only kept.
    const std::string command_line_project = CommandLine(argc, argv);
    (void)command_line_project;

    Frm& f = Frm_Window();
    host.SetMainForm(&f);
    if (f.Form_Load) f.Show();
    else ShowMainWindowWithoutStartUp(f);
    if (!f.Loaded()) return 0;
    const int rc = QApplication::exec();
    plat::SetHost(nullptr);
    return rc;
#else
    (void)argc;
    (void)argv;
    (void)DisplayAvailable;
    std::fprintf(stderr, "Tessaline needs a display to show its main window, and was built without Qt.\n");
    return 1;
#endif
}
