#pragma once
// A program folder in a scratch directory with the stand-in tools, a fixed clock, and readers for
// what the tools recorded.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "core/project_file.h"
#include "core/syst.h"
#include "generation/work_tables.h"
#include "generation/writer_base.h"
#include "polygon_fixture.h"
#include "platform/headless/headless_host.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace gentest {

namespace fs = std::filesystem;

using testenv::Read_File;
using testenv::Write_File;

inline std::tm Fixed_Time() {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 8;
    t.tm_hour = 14;
    t.tm_min = 5;
    t.tm_sec = 9;
    return t;
}

class Writer_Test : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        host().Reset();
        Use_App_Dir(testenv::ScratchDir("app"));
        Gen_Set_Clock(Fixed_Time);
    }
    void TearDown() override { host().Reset(); }

    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }

    // A program folder holding the stand-in tools and an empty "Temp".
    void Use_App_Dir(const fs::path& dir) {
        app = dir;
        fs::create_directories(app / "Temp");
        for (const auto& entry : fs::directory_iterator(testenv::Fixtures() / "tools")) {
            fs::copy_file(entry.path(), app / entry.path().filename(),
                          fs::copy_options::overwrite_existing);
            fs::permissions(app / entry.path().filename(), fs::perms::owner_all | fs::perms::group_read |
                                                               fs::perms::group_exec);
        }
        App_Dir = app.string();
    }
    void Remove_Tool(const std::string& name) { fs::remove(app / name); }
    void Tool_Fails(const std::string& name) { Write_File(app / (name + ".fail"), ""); }
    void Tool_Makes_Nothing(const std::string& name) { Write_File(app / (name + ".nooutput"), ""); }

    // One entry per tool run: the tool's name followed by its arguments as it received them.
    std::vector<std::vector<std::string>> Tool_Calls() const {
        std::vector<std::vector<std::string>> calls;
        std::istringstream log(Read_File(app / "tools.log"));
        std::string line;
        while (std::getline(log, line)) {
            std::vector<std::string> fields;
            size_t start = 0;
            for (size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1)
                fields.push_back(line.substr(start, bar - start));
            fields.push_back(line.substr(start));
            calls.push_back(fields);
        }
        return calls;
    }
    // The copy a tool kept of a file it was handed on its run number `run` (from 1).
    std::string Handed(int run, const std::string& name) const {
        return Read_File(app / "handed" / (std::to_string(run) + "-" + name));
    }
    std::vector<std::string> Box_Texts() const {
        std::vector<std::string> texts;
        for (const auto& box : host().boxes) texts.push_back(box.prompt);
        return texts;
    }
    // Boxes the run will show, answered OK.
    void Expect_Boxes(int count) {
        for (int i = 0; i < count; ++i) host().QueueAnswer(plat::ID_OK);
    }

    fs::path app;
};

// A writer test on the calibrated test map, with its BGL base in the scenery folder
// ("Scenery/Area.bgl") and fresh work tables.
class Area_Writer_Test : public Writer_Test {
protected:
    void SetUp() override {
        Writer_Test::SetUp();
        Work_Tables_Reset_All();
        polytest::Calibrate();
        fs::create_directories(app / "Scenery");
        Bgl_Base_Path = (app / "Scenery" / "Area.bgl").string();
    }
    void TearDown() override {
        Work_Tables_Reset_All();
        Writer_Test::TearDown();
    }

    // A saved project of the fixtures opened from a copy of its folder, its BGL base in "Scenery".
    void Open_Case(const fs::path& source) {
        const fs::path copy = app / "case" / source.filename();
        fs::remove_all(copy.parent_path());
        fs::copy(source.parent_path(), copy.parent_path(), fs::copy_options::recursive);
        Pinit_Read_Project(copy.string());
        ASSERT_EQ(Project_Read_Failed, 0);
        Bgl_Base_Path = (app / "Scenery" / "Area.bgl").string();
    }
};

}  // namespace gentest
