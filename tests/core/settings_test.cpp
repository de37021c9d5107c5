// The settings file, the registry fallback for the simulator's folder, and the resource tables
// that the dialogs and generators choose from.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/project.h"
#include "core/project_file.h"
#include "core/settings.h"
#include "core/syst.h"
#include "generation/debug_draw.h"
#include "platform/headless/headless_host.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace fs = std::filesystem;

namespace {

void Write_File(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out << text;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        plat::DefaultHeadlessHost().Reset();
        dir = testenv::ScratchDir("settings");
        fs::create_directories(dir / "Resource");
        App_Dir = dir.string();
        Ini_Path = App_Dir + "\\Resource\\Tessaline.Ini";
        sim = dir / "FS9";
        fs::create_directories(sim / "Scenery" / "world" / "Texture");
    }
    void TearDown() override { testenv::ResetProgramState(); }

    void Ini(const std::string& body) { Write_File(dir / "Resource" / "Tessaline.Ini", "[Tessaline]\r\n" + body); }

    // Finds a texture by n in either table.
    static const Texture_Def_Rec* Texture(int n) {
        for (int32_t i = 0; i <= Line_Type_Count; ++i)
            if (Line_Type_Table(i).Num == n) return &Line_Type_Table(i);
        for (int32_t i = 0; i <= Park_Count; ++i)
            if (Park_Table(i).Num == n) return &Park_Table(i);
        return nullptr;
    }
    static bool In_Park(int n) {
        for (int32_t i = 0; i <= Park_Count; ++i)
            if (Park_Table(i).Num == n) return true;
        return false;
    }

    fs::path dir, sim;
};

TEST_F(SettingsTest, AMissingSettingsFileGivesTheDefaults) {
    Pinit_Read_Settings();
    EXPECT_EQ(Language, "FR");
    EXPECT_EQ(Setup_Done, 0);
    EXPECT_EQ(Fs_Dir, "");
    EXPECT_EQ(Texture_Dir, "");
    EXPECT_EQ(Ref_Last_Path, "");
    EXPECT_EQ(Debug_Draw, 0);
    EXPECT_EQ(Help_Path, App_Dir + "\\Tessaline_FR.Hlp");
    EXPECT_EQ(Recent_Projects[0], "");
}

TEST_F(SettingsTest, EveryKeyIsReadAndTheSimulatorFolderGetsItsClosingBackslash) {
    Ini("DerApt1=C:\\a.LWM\r\nDerApt3= C:\\c.LWM \r\nLanguage=US\r\nFl1Fois=1\r\nDirFS=" + sim.string() +
        "\r\nDerRefLu=C:\\r\\Road.Ref\r\nShowVTP1L=1\r\n");
    std::vector<std::string> captions(4, "?");
    Project_Window.Set_Recent_Caption = [&](int k, const std::string& c) { captions[static_cast<size_t>(k)] = c; };
    Pinit_Read_Settings();
    EXPECT_EQ(Recent_Projects[0], "C:\\a.LWM");
    EXPECT_EQ(Recent_Projects[1], "");
    EXPECT_EQ(Recent_Projects[2], "C:\\c.LWM");
    EXPECT_EQ(captions[2], "C:\\c.LWM");
    EXPECT_EQ(captions[1], "");
    EXPECT_EQ(Language, "US");
    EXPECT_EQ(Help_Path, App_Dir + "\\Tessaline_US.Hlp");
    EXPECT_EQ(Setup_Done, 1);
    EXPECT_EQ(Fs_Dir, sim.string() + "/");
    EXPECT_EQ(Texture_Dir, sim.string() + "/Scenery\\world\\Texture");
    EXPECT_EQ(Ref_Last_Path, "C:\\r\\Road.Ref");
    EXPECT_EQ(Debug_Draw, 1);
}

TEST_F(SettingsTest, NonNumericFlagsReadAsZero) {
    Ini("Fl1Fois=yes\r\nShowVTP1L=on\r\n");
    Pinit_Read_Settings();
    EXPECT_EQ(Setup_Done, 0);
    EXPECT_EQ(Debug_Draw, 0);
}

TEST_F(SettingsTest, NumbersReadAsFarAsTheyReadInEverySettingsAndResourceFile) {
    Ini("Fl1Fois=1x\r\nShowVTP1L= 2.5 \r\n");
    Pinit_Read_Settings();
    EXPECT_EQ(Setup_Done, 1);
    EXPECT_EQ(Debug_Draw, 2) << "a half goes to the even neighbour";

    Write_File(sim / "Terrain.cfg",
               "[TEXTURE.1030x] // Lane\r\nTYPE=3;thin\r\nSIZE=\r\nOFFSET=-4m\r\nMASKCLASSMAP=1E999\r\n"
               "[TEXTURE.1031] // Track\r\nOFFSET=none\r\nTYPE=300\r\n");
    Fs_Dir = sim.string() + "\\";
    Write_File(dir / "Resource" / "LC.txt", " 7x  5 Scrub\r\n   abc Title\r\n-3   1 Below\r\n 8\r\n");
    Pinit_Load_Resources();
    const Texture_Def_Rec* lane = Texture(1030);
    ASSERT_NE(lane, nullptr);
    EXPECT_EQ(lane->Type, 3);
    EXPECT_EQ(lane->Size, 0) << "an empty value is 0";
    EXPECT_EQ(lane->Offset, -4);
    EXPECT_EQ(lane->Maskclassmap, 0) << "a value too large for a number reads as 0";
    const Texture_Def_Rec* track = Texture(1031);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->Offset, 0);
    EXPECT_EQ(track->Type, 0) << "a type beyond its byte reads as 0";

    // Lines whose code columns hold no number, or a negative one, are no class.
    ASSERT_EQ(Land_Class_Count, 1);
    EXPECT_EQ(Land_Class_Table(0).Code, 7);
    EXPECT_EQ(Land_Class_Table(0).Texture_Num, 5);
    EXPECT_EQ(Land_Class_Table(1).Code, 8);
    EXPECT_EQ(Land_Class_Table(1).Texture_Num, 0);
}

TEST_F(SettingsTest, AVanishedSimulatorFolderIsTakenFromTheRegistryAndWrittenBack) {
    Ini("DirFS=" + (dir / "gone").string() + "\\\r\n");
    plat::RegistrySetForTest(plat::HKEY_LOCAL_MACHINE, Fs_Registry_Key, "EXE Path", sim.string());
    Pinit_Read_Settings();
    EXPECT_EQ(Fs_Dir, sim.string() + "\\");
    EXPECT_EQ(Texture_Dir, sim.string() + "\\Scenery\\world\\Texture");
    EXPECT_EQ(plat::GetPrivateProfileString("Tessaline", "DirFS", "", Ini_Path), sim.string() + "\\");
}

TEST_F(SettingsTest, ARegistryFolderThatCannotBeWrittenBackIsToldAndStillUsed) {
    fs::create_directories(dir / "Resource" / "Tessaline.Ini");   // no settings file can take its place
    plat::RegistrySetForTest(plat::HKEY_LOCAL_MACHINE, Fs_Registry_Key, "EXE Path", sim.string());
    plat::DefaultHeadlessHost().QueueAnswer(plat::ID_OK);
    Pinit_Read_Settings();
    EXPECT_EQ(Fs_Dir, sim.string() + "\\");
    EXPECT_EQ(Texture_Dir, sim.string() + "\\Scenery\\world\\Texture");
    ASSERT_EQ(plat::DefaultHeadlessHost().boxes.size(), 1u);
    EXPECT_EQ(plat::DefaultHeadlessHost().boxes[0].prompt,
              "Le dossier du simulateur n'a pas pu être écrit dans " + (dir / "Resource" / "Tessaline.Ini").string());
}

TEST_F(SettingsTest, TheRegistryIsOnlyAFallback) {
    const fs::path other = dir / "Other";
    fs::create_directories(other / "Scenery");
    Ini("DirFS=" + sim.string() + "\\\r\n");
    plat::RegistrySetForTest(plat::HKEY_LOCAL_MACHINE, Fs_Registry_Key, "EXE Path", other.string());
    Pinit_Read_Settings();
    EXPECT_EQ(Fs_Dir, sim.string() + "\\");
}

TEST_F(SettingsTest, ARegistryFolderWithoutSceneryIsIgnored) {
    const fs::path bare = dir / "Bare";
    fs::create_directories(bare);
    plat::RegistrySetForTest(plat::HKEY_LOCAL_MACHINE, Fs_Registry_Key, "EXE Path", bare.string() + "\\");
    std::string folder = "x";
    int16_t found = 9;
    Pinit_Get_Fs_Dir_Registry(folder, found);
    EXPECT_EQ(folder, "");
    EXPECT_EQ(found, 0);
    fs::create_directories(bare / "Scenery");
    Pinit_Get_Fs_Dir_Registry(folder, found);
    EXPECT_EQ(found, 2);
    EXPECT_EQ(folder, bare.string() + "\\");
}

// ---------------------------------------------------------------------------------------------

TEST(TextureCategories, FollowTheTextureNumber) {
    EXPECT_EQ(Texture_Category(4096), 0);
    EXPECT_EQ(Texture_Category(1024), 0);
    EXPECT_EQ(Texture_Category(1181), 0);
    EXPECT_EQ(Texture_Category(1182), 1);
    EXPECT_EQ(Texture_Category(1200), 1);
    EXPECT_EQ(Texture_Category(1201), 2);
    EXPECT_EQ(Texture_Category(1209), 2);
    EXPECT_EQ(Texture_Category(1210), 0);
    EXPECT_EQ(Texture_Category(1213), 0);
    EXPECT_EQ(Texture_Category(1214), 3);
    EXPECT_EQ(Texture_Category(4095), 3);
    EXPECT_EQ(Texture_Category(1023), 3);
    EXPECT_EQ(Texture_Fixed_Number(1182), 126);
    EXPECT_EQ(Texture_Fixed_Number(1190), 42);
    EXPECT_EQ(Texture_Fixed_Number(1200), 122);
    EXPECT_EQ(Texture_Fixed_Number(1201), -1);
}

TEST_F(SettingsTest, TheSimulatorsTexturesAreSplitBetweenLineTypesAndParks) {
    fs::copy_file(testenv::SourceDir() / "Resource" / "OwnLines4.txt", dir / "Resource" / "OwnLines4.txt");
    Fs_Dir = (testenv::Fixtures() / "sim").string() + "\\";
    Texture_Dir = Fs_Dir + "Scenery\\world\\Texture";
    Pinit_Load_Resources();
    EXPECT_EQ(Texture_Dir_Found, 1);
    // Terrain.cfg: 12, 1026, 1134, 1211, 2000 are line types; 1190 and 1205 parks.
    ASSERT_EQ(Park_Count, 1);
    EXPECT_EQ(Park_Loaded, 1);
    EXPECT_EQ(Park_Table(0).Num, 1190);
    EXPECT_EQ(Park_Table(0).Category, 1);
    EXPECT_EQ(Park_Table(0).Textures, " 42");
    EXPECT_EQ(Park_Table(0).Has_Textures, 1);
    EXPECT_EQ(Park_Table(1).Num, 1205);
    EXPECT_EQ(Park_Table(1).Category, 2);
    EXPECT_EQ(Line_Type_Loaded, 1);
    EXPECT_EQ(Line_Type_Table(0).Num, 12);
    EXPECT_EQ(Line_Type_Table(0).Category, 3);
    EXPECT_EQ(Line_Type_Table(0).Name, "Farm field, light");

    const Texture_Def_Rec* road = Texture(1026);
    ASSERT_NE(road, nullptr);
    EXPECT_EQ(road->Category, 0);
    EXPECT_EQ(road->Type, 2);
    EXPECT_EQ(road->Size, 6);
    EXPECT_EQ(road->Textures, "RoadSU.bmp,RoadWI.bmp");
    EXPECT_EQ(road->Has_Effect, 1);
    EXPECT_EQ(road->Effect, "fx_roadlight");
    EXPECT_EQ(road->Has_Vectorautogen, 1);
    EXPECT_EQ(road->Vectorautogen, 3);
    EXPECT_EQ(road->Offset, -2);
    EXPECT_EQ(road->Maskclassmap, 5);
    EXPECT_EQ(road->Excludeautogen, 1);
    EXPECT_EQ(road->Rendertotexture, 0);

    // Lower-case keys read the same; values that are no number read as 0, the section stays.
    const Texture_Def_Rec* rail = Texture(1134);
    ASSERT_NE(rail, nullptr);
    EXPECT_EQ(rail->Type, 3);
    EXPECT_EQ(rail->Size, 5);
    EXPECT_EQ(rail->Textures, "RailSU.bmp");
    EXPECT_EQ(rail->Has_Vectorautogen, 1);
    EXPECT_EQ(rail->Vectorautogen, 0);
    EXPECT_EQ(rail->Offset, 0);

    // Two headers in a row: the first section holds only its defaults.
    const Texture_Def_Rec* park = Texture(1205);
    ASSERT_NE(park, nullptr);
    const Texture_Def_Rec* stream = Texture(1211);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Type, 1);
    EXPECT_EQ(stream->Size, 0) << "a size beyond its byte reads as 0";
    EXPECT_EQ(stream->Rendertotexture, 1);

    // The program's own line textures follow the simulator's.
    const Texture_Def_Rec* own = Texture(4103);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->Category, 0);
    EXPECT_EQ(own->Effect, "fx_streetlight");
    EXPECT_FALSE(In_Park(4096));
    EXPECT_EQ(Line_Type_Table(Line_Type_Count).Num, 4105);
}

TEST_F(SettingsTest, ADefinitionWithDefaultsOnlyAndTheTableGrowsPastItsStartCapacity) {
    std::string cfg;
    for (int n = 1; n <= 230; ++n) cfg += "[TEXTURE." + std::to_string(n) + "]\r\n";
    cfg += "[texture.1185] // Apron\r\nTEXTURES=\r\n";
    Write_File(sim / "Terrain.cfg", cfg);
    Fs_Dir = sim.string() + "\\";
    fs::remove(fs::path(testenv::BinaryDir()) / "none");
    Pinit_Load_Resources();
    // 230 from the simulator plus the program's own.
    EXPECT_GE(Line_Type_Count, 229);
    EXPECT_EQ(Line_Type_Table(229).Num, 230);
    EXPECT_EQ(Line_Type_Table(0).Type, 2);
    EXPECT_EQ(Line_Type_Table(0).Size, 4);
    EXPECT_EQ(Line_Type_Table(0).Rendertotexture, 1);
    EXPECT_EQ(Line_Type_Table(0).Has_Textures, 0);
    EXPECT_EQ(Line_Type_Table(0).Name, "");
    ASSERT_EQ(Park_Count, 0);
    EXPECT_EQ(Park_Table(0).Name, "Apron");
    EXPECT_EQ(Park_Table(0).Textures, " 131");
}

TEST_F(SettingsTest, NoTextureFilesLeaveEmptyTables) {
    Pinit_Load_Resources();
    EXPECT_EQ(Line_Type_Loaded, 0);
    EXPECT_EQ(Park_Loaded, 0);
    EXPECT_EQ(Line_Type_Count, -1);
    EXPECT_EQ(Park_Count, -1);
    EXPECT_EQ(Texture_Dir_Found, 0);
}

// ---------------------------------------------------------------------------------------------

TEST_F(SettingsTest, LandClassesKeepFileOrderAndSkipCodesAbove253) {
    Write_File(dir / "Resource" / "LC.txt",
               "  1 102 Urban\r\n254   0 None\r\n 17  17 Forest, coniferous\r\n255   1 Bad\r\n  9   9\r\n\r\n");
    Pinit_Load_Resources();
    EXPECT_EQ(Land_Class_Loaded, 1);
    ASSERT_EQ(Land_Class_Count, 2);
    EXPECT_EQ(Land_Class_Table(0).Code, 1);
    EXPECT_EQ(Land_Class_Table(0).Texture_Num, 102);
    EXPECT_EQ(Land_Class_Table(0).Name, "Urban");
    EXPECT_EQ(Land_Class_Table(1).Code, 17);
    EXPECT_EQ(Land_Class_Table(1).Name, "Forest, coniferous");
    EXPECT_EQ(Land_Class_Table(2).Code, 9);
    EXPECT_EQ(Land_Class_Table(2).Name, "");
}

TEST_F(SettingsTest, ALandClassFileOfOneLineGivesOneEntry) {
    Write_File(dir / "Resource" / "LC.txt", " 12  12 Orchard\r\n");
    Pinit_Load_Resources();
    EXPECT_EQ(Land_Class_Loaded, 1);
    ASSERT_EQ(Land_Class_Count, 0);
    EXPECT_EQ(Land_Class_Table(0).Code, 12);
    EXPECT_EQ(Land_Class_Table(0).Name, "Orchard");
}

TEST_F(SettingsTest, ALandClassFileWithoutAcceptedLinesGivesAnEmptyTable) {
    Write_File(dir / "Resource" / "LC.txt", "254   0 None\r\n255   0 None\r\n");
    Pinit_Load_Resources();
    EXPECT_EQ(Land_Class_Loaded, 0);
    EXPECT_TRUE(Land_Class_Table.Empty());
    fs::remove(dir / "Resource" / "LC.txt");
    Pinit_Load_Resources();
    EXPECT_EQ(Land_Class_Loaded, 0);
    EXPECT_EQ(Land_Class_Count, 0);
}

TEST_F(SettingsTest, TheShippedResourceTablesReadWhole) {
    App_Dir = testenv::SourceDir().string();
    Pinit_Load_Resources();
    EXPECT_EQ(Land_Class_Loaded, 1);
    EXPECT_GT(Land_Class_Count, 50);
    EXPECT_EQ(Land_Class_Table(0).Code, 1);
    EXPECT_FALSE(Land_Class_Table(0).Name.empty());
    for (int32_t i = 0; i <= Land_Class_Count; ++i) EXPECT_LE(Land_Class_Table(i).Code, 253);
    ASSERT_EQ(Line_Type_Loaded, 1);
    for (int32_t i = 0; i <= Line_Type_Count; ++i) {
        EXPECT_GE(Line_Type_Table(i).Num, 4096);
        EXPECT_EQ(Line_Type_Table(i).Has_Textures, 1);
        EXPECT_FALSE(Line_Type_Table(i).Name.empty());
    }
    // The water classes: a code in the first three characters of every line.
    std::ifstream wc(testenv::SourceDir() / "Resource" / "WC.txt");
    std::string line;
    int lines = 0;
    while (std::getline(wc, line)) {
        ++lines;
        const int code = std::stoi(line.substr(0, 3));
        EXPECT_GE(code, 1);
        EXPECT_LE(code, 59);
    }
    EXPECT_GE(lines, 2);
}

}  // namespace
