#include "generation/excl_writer.h"

#include "core/project.h"
#include "platform/files.h"
#include "writer_test_env.h"

namespace {

using namespace gentest;

class ExclWriter : public Writer_Test {
protected:
    void SetUp() override {
        Writer_Test::SetUp();
        fs::create_directories(app / "Scenery");
        Bgl_Excl_Path = (app / "Scenery" / "Area_Excl.bgl").string();
    }
    void Add(int16_t col, int16_t row, int16_t area_col, int16_t area_row,
             std::initializer_list<int> kinds, uint8_t flag = 1) {
        Excl_Cell_Rec rec;
        rec.Lod8_Col = col;
        rec.Lod8_Row = row;
        rec.Lod13_Col = area_col;
        rec.Lod13_Row = area_row;
        for (int k : kinds) rec.Excluded[static_cast<size_t>(k)] = flag;
        ++Excl_Cell_Count;
        Excl_Cell_Table.ReDim_Preserve(Excl_Cell_Count);
        Excl_Cell_Table(Excl_Cell_Count) = rec;
    }
    fs::path Source() const { return app / "Tessaline$_Excl.ASM"; }
    std::string Golden(const std::string& name) const {
        return Read_File(testenv::Fixtures() / "golden" / name);
    }
};

TEST_F(ExclWriter, OneAreaGivesTheDocumentedSourceAndIsCompiled) {
    Add(389, 130, 12, 5, {4, 6});
    API_Write_Excl_Asm();
    EXPECT_EQ(Read_File(Source()), Golden("excl_one_area.asm"));
    EXPECT_EQ(Gen_Commands_Run(),
              (std::vector<std::string>{app.string() + "/bglc.exe \"" + app.string() + "/Tessaline$_Excl.ASM\" \"" +
                                        Bgl_Excl_Path + "\""}));
    EXPECT_EQ(Read_File(Bgl_Excl_Path), Golden("excl_one_area.asm"));  // the stand-in copies
    EXPECT_EQ(Gen_Captions().LCompileNom, Bgl_Excl_Path);
    EXPECT_EQ(Gen_Captions().LCompile, "Exclude : BGLC.exe");
    EXPECT_EQ(Gen_Captions().Repaints, 1);
    EXPECT_TRUE(host().boxes.empty());
}

TEST_F(ExclWriter, AreasOfTwoCellsAreSortedMergedAndBounded) {
    // The upper row's cell is the eastmost: the east bound comes from it, not the last cell.
    Add(389, 130, 12, 5, {5, 8});
    Add(389, 130, 3, 7, {0, 100});
    Add(389, 130, 12, 5, {4, 5});
    Add(400, 129, 0, 0, {2});
    Add(400, 129, 0, 0, {3}, 2);  // only a flag of exactly 1 counts
    API_Write_Excl_Asm();
    EXPECT_EQ(Read_File(Source()), Golden("excl_two_cells.asm"));
}

TEST_F(ExclWriter, BoundsAtTheNorthPoleAndTheDateLineAreClamped) {
    Add(0, 0, 31, 31, {7});
    API_Write_Excl_Asm();
    EXPECT_EQ(Read_File(Source()), Golden("excl_globe_corner.asm"));
}

TEST_F(ExclWriter, OlderTerrainEngineLosesOnlyTheTextureTypeLine) {
    Add(389, 130, 12, 5, {4, 6});
    Cfs_Mode = 1;
    API_Write_Excl_Asm();
    std::string expected = Golden("excl_one_area.asm");
    const std::string line = "        VTPTextureType 2, 0, 0, 4\r\n";
    expected.erase(expected.find(line), line.size());
    EXPECT_EQ(Read_File(Source()), expected);
}

TEST_F(ExclWriter, AnAreaHoldsAtMostThirtyOneLayers) {
    Excl_Cell_Rec rec;
    rec.Lod8_Col = 10;
    rec.Lod8_Row = 20;
    for (int k = 60; k < 100; ++k) rec.Excluded[static_cast<size_t>(k)] = 1;
    Excl_Cell_Count = 1;
    Excl_Cell_Table.ReDim(1);
    Excl_Cell_Table(1) = rec;
    API_Write_Excl_Asm();
    const std::string text = Read_File(Source());
    EXPECT_NE(text.find("        VTPDataArea 31, 0, 0, 0\r\n"), std::string::npos);
    EXPECT_NE(text.find("        VTPLayer 90, 1\r\n"), std::string::npos);
    EXPECT_EQ(text.find("        VTPLayer 91, 1\r\n"), std::string::npos);
    size_t layers = 0;
    for (size_t at = 0; (at = text.find("VTPLayer ", at)) != std::string::npos; ++at) ++layers;
    EXPECT_EQ(layers, 31u);
}

TEST_F(ExclWriter, NothingFlaggedWritesAndRunsNothing) {
    Write_File(Source(), "earlier run");
    Gen_Show_Stage("before", "step");
    API_Write_Excl_Asm();  // no records at all
    Add(1, 2, 3, 4, {});
    Add(1, 2, 3, 5, {9}, 2);
    API_Write_Excl_Asm();
    EXPECT_EQ(Read_File(Source()), "earlier run");
    EXPECT_TRUE(Gen_Commands_Run().empty());
    EXPECT_EQ(Gen_Captions().LCompileNom, "before");
    EXPECT_EQ(Gen_Captions().Repaints, 1);
}

TEST_F(ExclWriter, AnExistingSourceIsReplacedNotAppended) {
    Write_File(Source(), std::string(20000, 'x'));
    Add(389, 130, 12, 5, {4, 6});
    API_Write_Excl_Asm();
    EXPECT_EQ(Read_File(Source()), Golden("excl_one_area.asm"));
}

TEST_F(ExclWriter, MissingCompilerIsReportedTwiceAndKeepsTheSource) {
    Remove_Tool("bglc.exe");
    Add(389, 130, 12, 5, {4, 6});
    Expect_Boxes(2);
    API_Write_Excl_Asm();
    ASSERT_EQ(Box_Texts().size(), 2u);
    EXPECT_EQ(Box_Texts()[0].rfind("Erreur générale d'exécution du processus : ", 0), 0u);
    EXPECT_EQ(Box_Texts()[1], "BGLC.exe not found");
    EXPECT_EQ(host().boxes[1].title, "Tessaline");
    EXPECT_EQ(host().boxes[1].style, plat::MB_OK);
    EXPECT_TRUE(fs::exists(Source()));
}

TEST_F(ExclWriter, CompilerThatFailsOrMakesNothingIsNotTakenForSuccess) {
    Add(389, 130, 12, 5, {4, 6});
    Tool_Fails("bglc.exe");
    Expect_Boxes(1);
    API_Write_Excl_Asm();
    // Told once, by the box that names it: it was found, so no "not found" follows.
    EXPECT_EQ(Box_Texts(), std::vector<std::string>{"bglc.exe a été lancé mais a échoué (code de sortie 3)."});

    // An exclusion BGL of an earlier run must not pass for this run's result.
    fs::remove(app / "bglc.exe.fail");
    Tool_Makes_Nothing("bglc.exe");
    Write_File(Bgl_Excl_Path, "old");
    host().boxes.clear();
    Expect_Boxes(1);
    API_Write_Excl_Asm();
    ASSERT_EQ(Box_Texts().size(), 1u);
    EXPECT_EQ(Box_Texts()[0].rfind("bglc.exe a été lancé (code de sortie 0) mais n'a pas écrit ", 0), 0u);
    EXPECT_EQ(Read_File(Bgl_Excl_Path), "old");
}

TEST_F(ExclWriter, ASourceThatCannotBeWrittenIsToldInTheSessionsLanguage) {
    Add(389, 130, 12, 5, {4});
    plat::SetFileFlush([](int) { return -1; });   // a disk that fails
    Expect_Boxes(2);
    API_Write_Excl_Asm();
    Language = "US";
    API_Write_Excl_Asm();
    plat::SetFileFlush(nullptr);
    EXPECT_EQ(Box_Texts(), (std::vector<std::string>{"Impossible d'écrire " + Source().string(),
                                                     "Cannot write " + Source().string()}));
    EXPECT_TRUE(Gen_Commands_Run().empty());
}

}  // namespace
