// Tessaline: picks the host and starts the main window.
#include "app/window_hooks.h"
#include "core/project.h"
#include "editor/frm.h"
#include "editor/frm_startup.h"
#include "platform/host.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef TESSALINE_HAVE_QT
#include "qt/qt_convert.h"
#include "qt/qt_host.h"

#include <QApplication>
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

    Frm& f = Frm_Window();
    host.SetMainForm(&f);
    host.SetLanguageSource([] { return Language != "US"; });
    Window_Hooks_Connect();
    if (!Frm_Start(qthost::ToProgramPath(QCoreApplication::applicationDirPath()), CommandLine(argc, argv)))
        return 0;
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
