// The demo as a new user meets it: opened from any working folder, with the simulator kit's tools
// beside the program, Generate runs every step without a box and leaves the demo's BGL files; a
// copy saved into another folder still finds its map and outputs; a failing compiler is told
// once per run.
#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>
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

    // The stored text of one header line of a project file ("0020" gives the map's).
    static std::string Stored(const fs::path& project, const std::string& tag) {
        std::ifstream in(project, std::ios::binary);
        std::string line;
        while (std::getline(in, line))
            if (line.rfind(tag + " ", 0) == 0) {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                return line.substr(tag.size() + 1);
            }
        return "?";
    }
    std::set<std::string> Tiles() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(app / "Temp"))
            if (entry.path().filename().string().rfind("$$$_", 0) == 0) names.insert(entry.path().filename().string());
        return names;
    }

    fs::path root, app, copy, elsewhere, before;
};

const std::set<std::string> Demo_Bgls = {"Demo_Excl.bgl", "Demo_2.bgl", "Demo_3.bgl", "Demo_9.bgl", "Demo_9001.bgl",
                                         "Demo_9002.bgl", "Demo_9003.bgl", "LC_049_015.bgl", "WC_049_015.bgl"};

TEST_F(DemoGenerate, GenerateFromAnotherWorkingFolderLeavesEveryBglWithoutABox) {
    ASSERT_TRUE(Frm_Start(app.string(), (copy / "Demo.LWM").string()));
    ASSERT_EQ(Project_Open, 1);
    ASSERT_TRUE(host().boxes.empty());

    Frm_Window().Cmd_API.UserClick();   // an unexpected box fails the test with its text

    EXPECT_TRUE(host().boxes.empty());
    EXPECT_EQ(Bgl_Files(copy / "out"), Demo_Bgls);
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

TEST_F(DemoGenerate, SavedAsIntoAnotherFolderItReopensThereWithItsMapAndGeneratesWhereTheOriginalWould) {
    ASSERT_TRUE(Frm_Start(app.string(), (copy / "Demo.LWM").string()));
    Frm& f = Frm_Window();
    const fs::path moved = root / "moved" / "deeper" / "Demo.LWM";
    fs::create_directories(moved.parent_path());
    host().QueueFile(plat::FileDialogResult{false, moved.string()});
    f.Mnu_File_Enreg_Sous.UserClick();
    ASSERT_TRUE(fs::exists(moved));
    EXPECT_EQ(Stored(moved, "0018"), "\"../../copy/out/\"");
    EXPECT_EQ(Stored(moved, "0019"), "\"../../copy/out\"");
    EXPECT_EQ(Stored(moved, "0020"), "\"../../copy/Demo.bmp\"");
    EXPECT_EQ(Stored(moved, "0030"), "\"../../copy/out/Demo.bgl\"");
    EXPECT_EQ(Stored(moved, "0031"), "\"../../copy/out/Demo_Excl.bgl\"");
    // Saved in place, the original keeps its texts as they were written.
    f.Cmd_Save.UserClick();
    EXPECT_EQ(Stored(copy / "Demo.LWM", "0020"), "\"Demo.bmp\"");
    EXPECT_EQ(Stored(copy / "Demo.LWM", "0018"), "\"out/\"");

    for (const std::string& tile : Tiles()) fs::remove(app / "Temp" / tile);
    host().QueueAnswer(plat::ID_NO);   // the save question
    host().QueueFile(plat::FileDialogResult{false, moved.string()});
    f.Mnu_File_Open.UserClick();
    ASSERT_EQ(Project_Open, 1);
    EXPECT_EQ(Project_File, moved.string());
    EXPECT_FALSE(Tiles().empty());   // the map was found and tiled

    f.Cmd_API.UserClick();
    EXPECT_EQ(host().boxes.size(), 1u);   // only the save question
    EXPECT_EQ(Bgl_Files(copy / "out"), Demo_Bgls);
    EXPECT_TRUE(Bgl_Files(moved.parent_path()).empty());
}

TEST_F(DemoGenerate, AFailingCompilerIsToldOncePerRunAndAFailedResamplerEndsItsStep) {
    ASSERT_TRUE(Frm_Start(app.string(), (copy / "Demo.LWM").string()));
    std::ofstream(app / "bglc.exe.fail").put('\n');
    std::ofstream(app / "ResampleV11.exe.fail").put('\n');
    host().strict = false;
    Frm_Window().Cmd_API.UserClick();

    const std::string bglc = "bglc.exe a été lancé mais a échoué (code de sortie 3).";
    const std::string resample = "ResampleV11.exe a été lancé mais a échoué (code de sortie 3).";
    std::vector<std::string> boxes;
    for (const auto& box : host().boxes) boxes.push_back(box.prompt);
    // Exclusions, re-mesh, masks, wide lines, water classes: each failed run names itself,
    // followed only by a step text that is not "not found".
    EXPECT_EQ(boxes, (std::vector<std::string>{bglc, bglc, "pb Ground generation Re_meshLWM", bglc,
                                               "pb Ground generation 2", bglc, resample, "Error BGL WC generation"}));
    std::vector<std::string> tools;
    std::ifstream log(app / "tools.log");
    for (std::string line; std::getline(log, line);) tools.push_back(line.substr(0, line.find('|')));
    EXPECT_EQ(std::count(tools.begin(), tools.end(), "bglc.exe"), 4);
    EXPECT_EQ(std::count(tools.begin(), tools.end(), "ResampleV11.exe"), 1);
    EXPECT_EQ(std::count(tools.begin(), tools.end(), "tmfcompress.exe"), 0);
    EXPECT_EQ(std::count(tools.begin(), tools.end(), "tmf2bgl.exe"), 0);
}

}  // namespace
