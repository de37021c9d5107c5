// The demo as a new user meets it: opened from any working folder, with the simulator kit's tools
// beside the program, Generate runs every step without a box and leaves the demo's BGL files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/project.h"
#include "core/syst.h"
#include "editor/frm.h"
#include "editor/frm_startup.h"
#include "platform/headless/headless_host.h"
#include "platform/profile.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace {

namespace fs = std::filesystem;

class DemoGenerate : public ::testing::Test {
protected:
    void SetUp() override {
        before = fs::current_path();
        testenv::ResetProgramState();
        host().Reset();
        root = testenv::ScratchDir("demo");
        app = root / "app";
        copy = root / "copy";
        elsewhere = root / "elsewhere";
        fs::create_directories(app);
        // The program folder: its resources and the stand-in tools, as a person puts them there.
        fs::copy(testenv::SourceDir() / "Resource", app / "Resource", fs::copy_options::recursive);
        fs::create_directories(app / "Temp");
        for (const auto& entry : fs::directory_iterator(testenv::Fixtures() / "tools"))
            fs::copy_file(entry.path(), app / entry.path().filename());
        // The demo as a clone has it: the project, its map and the empty output folder.
        fs::create_directories(copy / "out");
        for (const char* name : {"Demo.LWM", "Demo.bmp"})
            fs::copy_file(testenv::SourceDir() / "examples" / name, copy / name);
        const std::string ini = (app / "Resource" / "Tessaline.Ini").string();
        fs::remove(ini);
        ASSERT_TRUE(plat::WritePrivateProfileString("Tessaline", "Fl1Fois", "1", ini));
        ASSERT_TRUE(plat::WritePrivateProfileString(
            "Tessaline", "DirFS", (testenv::SourceDir() / "examples" / "sim").string() + "/", ini));
        fs::create_directories(elsewhere);
        fs::current_path(elsewhere);
    }
    void TearDown() override {
        fs::current_path(before);
        host().Reset();
        testenv::ResetProgramState();
    }
    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }

    std::set<std::string> Bgl_Files(const fs::path& folder) const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".bgl") names.insert(entry.path().filename().string());
        return names;
    }
    // Every argument the tools were handed, as they recorded it.
    std::vector<std::string> Tool_Arguments() const {
        std::vector<std::string> arguments;
        std::ifstream log(app / "tools.log");
        std::string line;
        while (std::getline(log, line)) {
            std::istringstream fields(line);
            std::string field;
            std::getline(fields, field, '|');   // the tool's name
            while (std::getline(fields, field, '|')) arguments.push_back(field);
        }
        return arguments;
    }

    fs::path root, app, copy, elsewhere, before;
};

TEST_F(DemoGenerate, GenerateFromAnotherWorkingFolderLeavesEveryBglWithoutABox) {
    ASSERT_TRUE(Frm_Start(app.string(), (copy / "Demo.LWM").string()));
    ASSERT_EQ(Project_Open, 1);
    ASSERT_TRUE(host().boxes.empty());

    Frm_Window().Cmd_API.UserClick();   // an unexpected box fails the test with its text

    EXPECT_TRUE(host().boxes.empty());
    EXPECT_EQ(Bgl_Files(copy / "out"),
              (std::set<std::string>{"Demo_Excl.bgl", "Demo_2.bgl", "Demo_3.bgl", "Demo_9.bgl", "Demo_9001.bgl",
                                     "Demo_9002.bgl", "Demo_9003.bgl", "LC_049_015.bgl", "WC_049_015.bgl"}));
    // Nothing landed beside the working folder or the program.
    EXPECT_TRUE(Bgl_Files(elsewhere).empty());
    EXPECT_TRUE(Bgl_Files(app).empty());
    // The tools were told where the files are, in this system's own terms.
    const std::vector<std::string> arguments = Tool_Arguments();
    ASSERT_FALSE(arguments.empty());
    for (const std::string& argument : arguments) {
        if (argument == "-l") continue;
        EXPECT_EQ(argument.rfind('/', 0), 0u) << argument;
        EXPECT_EQ(argument.find('\\'), std::string::npos) << argument;
    }
}

}  // namespace
