#include "core/syst.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "platform/headless/headless_host.h"
#include "platform/number.h"
#include "platform/registry.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace fs = std::filesystem;

class SystTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        host.Reset();
        plat::SetHost(&host);
    }
    void TearDown() override {
        plat::SetHost(nullptr);
        testenv::ResetProgramState();
    }
    plat::HeadlessHost host;
};

TEST_F(SystTest, FileNameAcceptance) {
    EXPECT_EQ(SYST_Valid_File_Name("a.b"), 1);
    EXPECT_EQ(SYST_Valid_File_Name("Mon Projet_1 (v2).LWM"), 1);
    EXPECT_EQ(SYST_Valid_File_Name("x!#$%&'-~{}.t"), 1);
    EXPECT_EQ(SYST_Valid_File_Name("a.b.c"), 0);       // two dots
    EXPECT_EQ(SYST_Valid_File_Name(" a.b"), 0);        // leading blank
    EXPECT_EQ(SYST_Valid_File_Name(".lwm"), 0);        // leading dot
    EXPECT_EQ(SYST_Valid_File_Name("projet"), 0);      // no extension
    EXPECT_EQ(SYST_Valid_File_Name("a.abcd"), 0);      // four-character extension
    EXPECT_EQ(SYST_Valid_File_Name("a."), 0);          // nothing after the dot
    EXPECT_EQ(SYST_Valid_File_Name("a .b"), 0);        // blank before the dot
    EXPECT_EQ(SYST_Valid_File_Name("carte_é.bmp"), 0); // accented letter
    EXPECT_EQ(SYST_Valid_File_Name("a+b.c"), 0);       // sign outside the list
    EXPECT_EQ(SYST_Valid_File_Name(""), 0);
}

TEST_F(SystTest, PathSplitAtTheLastSeparator) {
    std::string folder = "keep", name = "keep";
    uint8_t error = 9;
    SYST_Split_Path("  C:\\Projets\\Demo.LWM ", folder, name, error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(folder, "C:\\Projets");
    EXPECT_EQ(name, "Demo.LWM");
    SYST_Split_Path("/home/me/demo.lwm", folder, name, error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(folder, "/home/me");
    EXPECT_EQ(name, "demo.lwm");
    SYST_Split_Path("Demo.LWM", folder, name, error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(folder, "");
    EXPECT_EQ(name, "Demo.LWM");
}

TEST_F(SystTest, PathSplitRefusalsLeaveTheOutputs) {
    for (const char* bad : {"C:\\Projets\\", "\\Demo.LWM", "   ", "C:\\x\\bad name..lwm", "C:\\x\\noext"}) {
        std::string folder = "f", name = "n";
        uint8_t error = 0;
        SYST_Split_Path(bad, folder, name, error);
        EXPECT_EQ(error, 1) << bad;
        EXPECT_EQ(folder, "f") << bad;
        EXPECT_EQ(name, "n") << bad;
    }
}

TEST_F(SystTest, ExtensionSplitAtTheFirstDot) {
    std::string base, ext;
    SYST_Split_Ext("carte.bmp", base, ext);
    EXPECT_EQ(base, "carte");
    EXPECT_EQ(ext, "BMP");
    SYST_Split_Ext("carte.", base, ext);
    EXPECT_EQ(base, "carte");
    EXPECT_EQ(ext, "");
    SYST_Split_Ext("a.b.c", base, ext);
    EXPECT_EQ(base, "a");
    EXPECT_EQ(ext, "B.C");
    SYST_Split_Ext("carte", base, ext);
    EXPECT_EQ(base, "carte");
    EXPECT_EQ(ext, "");
}

TEST_F(SystTest, BackslashNulAndSystemFolders) {
    std::string p = "C:\\Sim  ";
    SYST_Add_Backslash(p);
    EXPECT_EQ(p, "C:\\Sim\\");
    SYST_Add_Backslash(p);
    EXPECT_EQ(p, "C:\\Sim\\");
    p = "/opt/sim/";
    SYST_Add_Backslash(p);
    EXPECT_EQ(p, "/opt/sim/");
    EXPECT_EQ(SYST_Cut_At_Nul(std::string("abc\0def", 7)), "abc");
    EXPECT_EQ(SYST_Cut_At_Nul("abc"), "abc");
    EXPECT_EQ(SYST_Windows_Dir(), "");
    EXPECT_EQ(SYST_System_Dir(), "");
}

TEST_F(SystTest, RegistryReadAddsOneBackslash) {
    std::string text = "old";
    SYST_Read_Registry(plat::HKEY_LOCAL_MACHINE, "SOFTWARE\\Sim", "Path", text);
    EXPECT_EQ(text, "");
    plat::RegistrySetForTest(plat::HKEY_LOCAL_MACHINE, "SOFTWARE\\Sim", "Path", std::string("C:\\Sim\0", 7));
    SYST_Read_Registry(plat::HKEY_LOCAL_MACHINE, "SOFTWARE\\Sim", "Path", text);
    EXPECT_EQ(text, "C:\\Sim\\");
    plat::RegistrySetForTest(plat::HKEY_LOCAL_MACHINE, "SOFTWARE\\Sim", "Path", "C:\\Sim\\");
    SYST_Read_Registry(plat::HKEY_LOCAL_MACHINE, "SOFTWARE\\Sim", "Path", text);
    EXPECT_EQ(text, "C:\\Sim\\\\");
}

TEST_F(SystTest, RoundingHalvesToEvenSymmetrically) {
    EXPECT_EQ(SYST_Round(2.5), 2);
    EXPECT_EQ(SYST_Round(3.5), 4);
    EXPECT_EQ(SYST_Round(-2.5), -2);
    EXPECT_EQ(SYST_Round(-0.5), 0);
    EXPECT_EQ(SYST_Round(1.5), 2);
    EXPECT_EQ(SYST_Round(2.4999), 2);
    EXPECT_EQ(SYST_Round(-2.6), -3);
    EXPECT_EQ(SYST_Truncate(2.7), 2);
    EXPECT_EQ(SYST_Truncate(-2.7), -2);
    EXPECT_EQ(SYST_Truncate(2.5), 2);
    EXPECT_EQ(SYST_Truncate(-0.9), 0);
}

TEST_F(SystTest, RoundingSaturatesOutsideThirtyTwoBits) {
    constexpr int32_t hi = std::numeric_limits<int32_t>::max(), lo = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(SYST_Round(1e12), hi);
    EXPECT_EQ(SYST_Round(-1e12), lo);
    EXPECT_EQ(SYST_Truncate(3e9), hi);
    EXPECT_EQ(SYST_Truncate(-3e9), lo);
    EXPECT_EQ(SYST_Round(std::numeric_limits<double>::infinity()), hi);
    EXPECT_EQ(SYST_Round(std::nan("")), 0);
    EXPECT_EQ(SYST_Truncate(std::nan("")), 0);
    EXPECT_EQ(SYST_Round(2147483646.6), hi);
    EXPECT_EQ(SYST_Truncate(-2147483648.5), lo);
}

TEST_F(SystTest, NumberTextsFollowTheUserSeparator) {
    EXPECT_DOUBLE_EQ(SYST_To_Double(" 12.5 "), 12.5);
    EXPECT_DOUBLE_EQ(SYST_To_Double("-1e3"), -1000);
    EXPECT_EQ(SYST_To_Text(12.5), "12.5");
    EXPECT_EQ(SYST_To_Text(-0.25), "-0.25");
    EXPECT_EQ(SYST_To_Text(3), "3");
    plat::SetDecimalSeparator(',');
    EXPECT_DOUBLE_EQ(SYST_To_Double("12,5"), 12.5);
    EXPECT_EQ(SYST_To_Text(12.5), "12,5");
    EXPECT_DOUBLE_EQ(SYST_To_Double("12.5"), 0);   // not a number with this separator
}

TEST_F(SystTest, TextThatIsNoNumberGivesZero) {
    for (const char* bad : {"", "abc", "12abc", "1.2.3", "--", "inf", "nan", "0x10", "1e999", "."})
        EXPECT_DOUBLE_EQ(SYST_To_Double(bad), 0) << bad;
}

TEST_F(SystTest, ColourBytes) {
    EXPECT_EQ(SYST_Colour_Green(33023), 128);
    EXPECT_EQ(SYST_Colour_Red(33023), 255);
    EXPECT_EQ(SYST_Colour_Green(0xFF0000), 0);
    EXPECT_EQ(SYST_Colour_Red(12632256), 192);
}

namespace {
void MakeTool(const fs::path& script) {
    std::ofstream(script) << "#!/bin/sh\nprintf '%s|' \"$@\" > \"$(dirname \"$0\")/ran.txt\"\nexit 1\n";
    fs::permissions(script, fs::perms::owner_all);
}
std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

TEST_F(SystTest, RunProcessInAProgramFolderWithBlanks) {
    const fs::path dir = testenv::ScratchDir("run") / "Program Files" / "Tessaline";
    fs::create_directories(dir);
    MakeTool(dir / "bglc.exe");
    App_Dir = dir.string();
    // The exit code of the tool is not examined.
    EXPECT_TRUE(SYST_Run_Process("\"" + App_Dir + "\\bglc.exe\" Tessaline$_Excl.asm", 0));
    EXPECT_EQ(Slurp(dir / "ran.txt"), "Tessaline$_Excl.asm|");
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(SystTest, RunProcessThatCannotStartShowsTheMessageAndFails) {
    const fs::path dir = testenv::ScratchDir("nostart");
    App_Dir = dir.string();
    host.QueueAnswer(plat::ID_OK);
    const std::string command = "\"" + App_Dir + "\\scasm.exe\" x.sca";
    EXPECT_FALSE(SYST_Run_Process(command, 0));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].prompt, "Erreur générale d'exécution du processus : " + command);
    EXPECT_EQ(host.boxes[0].style, plat::MB_ICONINFORMATION);
    EXPECT_EQ(host.boxes[0].title, "Tessaline");
}
