#pragma once
// A program folder of its own (resources, settings in English, the example simulator folder)
// and a copy of the demo project beside its map, for tests that drive the real main window.
#include "dialogs/frm_route.h"
#include "platform/profile.h"
#include "qt/qt_host.h"
#include "support/test_env.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

namespace qttest {

// The demo project beside its map, its stored paths made to name the copies.
inline std::filesystem::path CopyDemo(const std::filesystem::path& dir) {
    namespace fs = std::filesystem;
    fs::create_directories(dir / "out");
    fs::copy_file(testenv::SourceDir() / "examples" / "Demo.bmp", dir / "Demo.bmp");
    const std::regex stored("\"(examples\\\\)?(out\\\\)?([^\"\\\\]+)\"");
    std::string project = testenv::Read_File(testenv::SourceDir() / "examples" / "Demo.LWM"), fixed;
    std::smatch m;
    while (std::regex_search(project, m, stored)) {
        const fs::path target = m[2].matched ? dir / "out" / m[3].str() : dir / m[3].str();
        fixed += m.prefix().str() + "\"" + target.string() + "\"";
        project = m.suffix().str();
    }
    fixed += project;
    testenv::Write_File(dir / "Demo.LWM", fixed);
    return dir / "Demo.LWM";
}

// The program folder `root`/app with every resource and its settings; the stand-in compilers
// beside it when `tools` is set.
inline std::filesystem::path MakeApp(const std::filesystem::path& root, bool tools = false) {
    namespace fs = std::filesystem;
    const fs::path app = root / "app";
    fs::create_directories(app / "Temp");
    fs::copy(testenv::SourceDir() / "Resource", app / "Resource", fs::copy_options::recursive);
    if (tools)
        for (const auto& entry : fs::directory_iterator(testenv::Fixtures() / "tools"))
            fs::copy_file(entry.path(), app / entry.path().filename());
    fs::copy(testenv::SourceDir() / "examples" / "sim", root / "sim", fs::copy_options::recursive);
    const std::string ini = (app / "Resource" / "Tessaline.Ini").string();
    fs::remove(ini);
    EXPECT_TRUE(plat::WritePrivateProfileString("Tessaline", "Fl1Fois", "1", ini));
    EXPECT_TRUE(plat::WritePrivateProfileString("Tessaline", "DirFS", (root / "sim").string() + "/", ini));
    EXPECT_TRUE(plat::WritePrivateProfileString("Tessaline", "Language", "US", ini));
    return app;
}

// The OK button of the attribute dialog's page that is showing.
inline QWidget* VisibleOk(qthost::QtHost& host, Frm_Route& route) {
    for (plat::CommandButton* b : {&route.Cmd_Ok, &route.Cmd_OK1, &route.Cmd_OK2, &route.Cmd_OK3, &route.Cmd_OK4})
        if (QWidget* w = host.WidgetOf(*b); w && w->isVisible()) return w;
    return nullptr;
}

}  // namespace qttest
