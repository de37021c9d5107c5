#include "generation/writer_base.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/project.h"
#include "platform/files.h"
#include "writer_test_env.h"

namespace {

using namespace gentest;

TEST(WriterNumbers, HaveNoBlanksNoLeadingZeroAndNoNeedlessDecimals) {
    EXPECT_EQ(Gen_Num(0.5), ".5");
    EXPECT_EQ(Gen_Num(-0.25), "-.25");
    EXPECT_EQ(Gen_Num(3.0), "3");
    EXPECT_EQ(Gen_Num(3), "3");
    EXPECT_EQ(Gen_Num(int16_t{-17}), "-17");
    EXPECT_EQ(Gen_Num(0.0), "0");
    EXPECT_EQ(Gen_Num(-0.0), "0");
    EXPECT_EQ(Gen_Num(-177.5), "-177.5");
    EXPECT_EQ(Gen_Num(3.75 / 256), ".0146484375");
    EXPECT_EQ(Gen_Num(2.8125 / 256), ".010986328125");
    EXPECT_EQ(Gen_Num(90 - 15 * 2.8125), "47.8125");
}

TEST(WriterNumbers, KeepFifteenSignificantDigitsWithoutExponent) {
    EXPECT_EQ(Gen_Num(1.0 / 3), ".333333333333333");
    EXPECT_EQ(Gen_Num(-2.0 / 3), "-.666666666666667");
    EXPECT_EQ(Gen_Num(0.0000001), ".0000001");
    EXPECT_EQ(Gen_Num(123456.789), "123456.789");
    EXPECT_EQ(Gen_Num(0.1 + 0.2), ".3");
}

TEST(WriterTexts, FreeTextLosesLineBreaks) {
    EXPECT_EQ(Gen_Free_Text("Road\r\nto the\rsea\n"), "Road  to the sea ");
    EXPECT_EQ(Gen_Free_Text("plain"), "plain");
}

TEST(WriterTexts, BoundsAreClampedToTheGlobe) {
    Gen_Bounds b = Gen_Clamp({91, -91, 181, -181});
    EXPECT_EQ(b.North, 90);
    EXPECT_EQ(b.South, -90);
    EXPECT_EQ(b.East, 180);
    EXPECT_EQ(b.West, -180);
    EXPECT_EQ(Gen_Header_Line({46, 43, 8, 4}, Gen_Tail_Lwm),
              "BGLHeader 46, 43, 8, 4, LWMHeader , TerrainHeaderStart");
    EXPECT_EQ(Gen_Header_Line({45, 42, 3, 1}, Gen_Tail_Vtp),
              "BGLHeader 45, 42, 3, 1, TerrainHeaderStart, VTPHeader");
}

TEST(WriterTexts, NamesOfCellsOutputsAndLod5Cells) {
    EXPECT_EQ(Gen_Cell_Name(Gen_Cell_Prefix_Vtp, 389, 130), "Cellv_389_130");
    EXPECT_EQ(Gen_Cell_Name(Gen_Cell_Prefix_Lwm, 5, 0), "Cell_5_0");
    EXPECT_EQ(Gen_Three_Digits(7), "007");
    EXPECT_EQ(Gen_Three_Digits(95), "095");
    // The output is the native path of the file: no drive, no backslash, never relative.
    Bgl_Base_Path = "C:\\Scenery\\Area.bgl";
    EXPECT_EQ(Gen_Output_Path("_3"), "/Scenery/Area_3.bgl");
    // Only a real ".bgl" is taken off: a base typed without it keeps its whole name.
    Bgl_Base_Path = "abc";
    EXPECT_EQ(Gen_Output_Path("_3"), (std::filesystem::current_path() / "abc_3.bgl").string());
    EXPECT_EQ(Gen_Date_Text(Fixed_Time()), "08/12/2026 14:05:09");
}

class WriterBase : public Writer_Test {};

TEST_F(WriterBase, CompilerCommandLinesKeepTheirBlanks) {
    // The tools are handed native paths: the program's own backslashes and drive stay inside.
    App_Dir = "/opt/tess";
    EXPECT_EQ(Gen_Bglc_Command("/opt/tess\\a.ASM", "C:\\S\\e.bgl", 1),
              "/opt/tess/bglc.exe \"/opt/tess/a.ASM\" \"/S/e.bgl\"");
    EXPECT_EQ(Gen_Bglc_Command("/s", "/b", 2), "/opt/tess/bglc.exe  \"/s\" \"/b\"");
    EXPECT_EQ(Gen_Tool_Command("tmfcompress.exe", {Gen_Path_Arg("/x y"), Gen_Path_Arg("\\z")}),
              "/opt/tess/tmfcompress.exe  \"/x y\" \"/z\"");
    // A relative path would be read from the tool's own folder: it is made whole first.
    EXPECT_EQ(Gen_Path_Arg("s"), "\"" + (std::filesystem::current_path() / "s").string() + "\"");
    // A program folder with a blank would otherwise split the program path.
    App_Dir = "/opt/my tess";
    EXPECT_EQ(Gen_Bglc_Command("/s", "/b", 1), "\"/opt/my tess/bglc.exe\" \"/s\" \"/b\"");
}

TEST_F(WriterBase, SourceIsRenewedWithItsHeadInCrLfAndWindows1252) {
    Write_File(app / "Tessaline$_Test.ASM", std::string(5000, 'x'));
    Gen_Source src("\\Tessaline$_Test.ASM");
    EXPECT_FALSE(fs::exists(app / "Tessaline$_Test.ASM"));  // an old file never survives
    src.Head(Gen_Title_Lwm, {95, 43, 8, -200}, Gen_Tail_Lwm);
    src.Line("; Chemin côtier");
    ASSERT_TRUE(src.Close());
    EXPECT_EQ(Read_File(app / "Tessaline$_Test.ASM"),
              ";--------------------------------------------------\r\n"
              ";  Tessaline : LWM Generated on 08/12/2026 14:05:09\r\n"
              ";--------------------------------------------------\r\n"
              "include TDFMacros.inc\r\n"
              "include TDFHeaders.inc\r\n"
              "BGLHeader 90, 43, 8, -180, LWMHeader , TerrainHeaderStart\r\n"
              "; Chemin c\xF4tier\r\n");
}

TEST_F(WriterBase, LargeSourceStreamsWholeAndOnlyACompleteOneTakesTheName) {
    // Several buffers' worth, in both line forms, with a non-ASCII line among them.
    std::string expected;
    {
        Gen_Source src("\\Tessaline$_Big.ASM");
        for (int i = 0; i < 200000; ++i) {
            src.Line("            LWMPoint ", i % 256, ",", int16_t(-i % 7), " ", 0.5 * i, " ", "é");
            src.Line("; Chemin " + std::to_string(i));
            expected += "            LWMPoint " + Gen_Num(i % 256) + "," + Gen_Num(int16_t(-i % 7)) + " " +
                        Gen_Num(0.5 * i) + " \xE9\r\n; Chemin " + std::to_string(i) + "\r\n";
        }
        EXPECT_FALSE(fs::exists(app / "Tessaline$_Big.ASM"));  // nothing under the name before Close
        ASSERT_TRUE(src.Close());
        EXPECT_EQ(src.Bytes(), static_cast<long long>(expected.size()));
    }
    EXPECT_GT(expected.size(), size_t{3} << 20);
    EXPECT_EQ(Read_File(app / "Tessaline$_Big.ASM"), expected);

    // A writer that stops early, or a disk that fails the flush, leaves no file at all.
    const auto names = [&] {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(app)) found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    };
    fs::remove(app / "Tessaline$_Big.ASM");
    const std::vector<std::string> before = names();
    {
        Gen_Source src("\\Tessaline$_Big.ASM");
        for (int i = 0; i < 100000; ++i) src.Line("            LWMPoint ", i, ",", i);
    }
    EXPECT_EQ(names(), before);
    plat::SetFileFlush([](int) { return -1; });
    Gen_Source src("\\Tessaline$_Big.ASM");
    for (int i = 0; i < 100000; ++i) src.Line("            LWMPoint ", i, ",", i);
    const bool written = src.Close();
    plat::SetFileFlush(nullptr);
    EXPECT_FALSE(written);
    EXPECT_EQ(names(), before);
}

TEST_F(WriterBase, CaptionsReachTheSinkAndTheRecord) {
    struct Sink : Gen_Caption_Sink {
        std::vector<std::string> events;
        void Set_Compile_Name(const std::string& t) override { events.push_back("name " + t); }
        void Set_Compile_Step(const std::string& t) override { events.push_back("step " + t); }
        void Repaint() override { events.push_back("repaint"); }
    } sink;
    Gen_Set_Caption_Sink(&sink);
    Gen_Show_Stage("Area_3.bgl", "LWM Polygons : BGLC.exe");
    Gen_Set_Compile_Step("12");
    Gen_Set_Caption_Sink(nullptr);
    EXPECT_EQ(sink.events, (std::vector<std::string>{"name Area_3.bgl", "step LWM Polygons : BGLC.exe",
                                                     "repaint", "step 12"}));
    EXPECT_EQ(Gen_Captions().LCompileNom, "Area_3.bgl");
    EXPECT_EQ(Gen_Captions().LCompile, "12");
    EXPECT_EQ(Gen_Captions().Repaints, 1);
}

TEST_F(WriterBase, ToolRunsTellStartedFailedAndMissing) {
    Write_File(app / "in.asm", "source");
    const std::string out = (app / "out.bgl").string();
    const std::string command = Gen_Bglc_Command((app / "in.asm").string(), out, 1);
    EXPECT_EQ(Gen_Run_Tool(command, out), Gen_Run_Result::Done);
    EXPECT_EQ(Read_File(out), "source");

    // A tool that ran and failed says so, naming the tool and how it ended.
    fs::remove(out);
    Tool_Makes_Nothing("bglc.exe");
    Expect_Boxes(2);
    EXPECT_EQ(Gen_Run_Tool(command, out), Gen_Run_Result::Failed);
    fs::remove(app / "bglc.exe.nooutput");
    Tool_Fails("bglc.exe");
    EXPECT_EQ(Gen_Run_Tool(command, ""), Gen_Run_Result::Failed);
    EXPECT_EQ(Box_Texts(), (std::vector<std::string>{
                               "bglc.exe a été lancé (code de sortie 0) mais n'a pas écrit " + out + ".",
                               "bglc.exe a été lancé mais a échoué (code de sortie 3)."}));
    host().boxes.clear();

    Remove_Tool("bglc.exe");
    Expect_Boxes(1);
    EXPECT_EQ(Gen_Run_Tool(command, out), Gen_Run_Result::Not_Started);
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt, "Erreur générale d'exécution du processus : " + command);
    EXPECT_EQ(host().boxes[0].title, "Tessaline");
    EXPECT_EQ(Gen_Commands_Run().size(), 4u);
}

}  // namespace

TEST(WriterBaseCaptions, ARecordOfRepaintsStaysBoundedOverALongRun) {
    testenv::ResetProgramState();
    for (int i = 0; i < 100005; ++i) Gen_Repaint();
    EXPECT_EQ(Gen_Captions().Repaints, 100005);
    EXPECT_EQ(Gen_Captions().Shown.size(), 100000u);
}
