// Reference files: the text a save writes, what a read takes back from files of every version,
// which files the read command lists, and the chooser that picks one.
#include "dialogs/route_test_env.h"

#include <filesystem>
#include <vector>

#include "core/settings.h"
#include "dialogs/frm_ref.h"
#include "dialogs/reference_files.h"
#include "platform/host.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace {

using routetest::RouteTest;

// Every field away from its default, so that a field lost on the way shows.
Route_Attrib Full_Record() {
    Route_Attrib a;
    a.Attrib = 1;
    a.Alti = 12.5;
    a.SurfShore = 2;
    a.Largeur = 33;
    a.Line_Type() = 4096;
    a.LandOnRight = 1;
    a.FermerLine = 1;
    a.Layer = 40;
    a.Text_Rt = "Route de la côte";
    a.Imbrication = "ab_cd";
    a.Alt_Coast = -0.25;
    a.Linked_Image() = 3;
    a.LWM_VTP2 = 2;
    a.Texture_Source() = 1;
    a.LC_Code = 126;
    a.Texture_Name = {"C:\\t\\a.bmp", "", "C:\\t\\c.bmp", "", "", "C:\\t\\f.bmp"};
    a.Layer_Vtp2 = 17;
    a.Drive_Right = 0;
    a.Line_Night = 1;
    a.LayerScasm = 12;
    a.Vtp1_Line = 1;
    a.Effil_Deb = 1;
    a.Effil_Fin = 1;
    a.VTP1_SpecNor = 0;
    a.Flip_VTP1Texture = 0;
    a.Meter_Feet = 1;
    return a;
}

std::vector<std::string> Lines_Of(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t eol; (eol = text.find("\r\n", start)) != std::string::npos; start = eol + 2)
        lines.push_back(text.substr(start, eol - start));
    EXPECT_EQ(start, text.size()) << "last line without CR LF";
    return lines;
}

class ReferenceFilesTest : public RouteTest {
protected:
    std::string Ref(const std::string& name) const { return App_Dir + "\\Resource\\" + name; }
    void Write(const std::string& name, const std::string& text) const {
        ASSERT_TRUE(plat::ReplaceFileAtomically(Ref(name), plat::Utf8ToCp1252(text)));
    }
    // An older file: version tag, three texts, the numbers given, six texture lines.
    void Write_Version(const std::string& name, const std::string& version, const std::string& numbers) const {
        std::string t = "0000 " + version + "12/05/2003 10:00:00\r\n";
        t += "      \"Old\"\r\n      \"txt\"\r\n      \"\"\r\n      " + numbers + "\r\n";
        for (int i = 0; i < 6; ++i) t += "     \"\"\r\n";
        Write(name, t);
    }
    static std::string Setting_DerRefLu() { return plat::GetPrivateProfileString("Tessaline", "DerRefLu", "", Ini_Path); }
    static void Save_As(const std::string& path) {
        plat::FileDialogResult r;
        r.cancelled = false;
        r.file_name = path;
        host().QueueFile(r);
        w().Cmd_Save.UserClick();
    }
};

TEST_F(ReferenceFilesTest, FileTextHasElevenLinesInTheFixedLayout) {
    Route_Attrib a = Full_Record();
    a.Alti = -9999;
    a.Alt_Coast = 0.00001;
    const std::vector<std::string> lines = Lines_Of(Ref_File_Text(a, "  Coast road ", "03/04/2026 05:06:07"));
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], "0000 V5.103/04/2026 05:06:07");
    EXPECT_EQ(lines[1], "      \"Coast road\"");
    EXPECT_EQ(lines[2], "      \"Route de la côte\"");
    EXPECT_EQ(lines[3], "      \"ab_cd\"");
    EXPECT_EQ(lines[4], "       -9999  1  1  4096  33  2  1  40  3  2  1  126  17  1E-05  1  0  12  1  1  1  0  0  1");
    EXPECT_EQ(lines[5], "     \"C:\\t\\a.bmp\"");
    EXPECT_EQ(lines[6], "     \"\"");
    EXPECT_EQ(lines[10], "     \"C:\\t\\f.bmp\"");
    a.Alti = 12.5;
    a.Alt_Coast = -0.5;
    const std::vector<std::string> second = Lines_Of(Ref_File_Text(a, "x", ""));
    EXPECT_EQ(second[4].rfind("        12.5  1", 0), 0u) << second[4];
    EXPECT_NE(second[4].find(" -.5 "), std::string::npos) << second[4];
}

TEST_F(ReferenceFilesTest, SavedSetIsReadBackWholeAndRemembered) {
    Open_Existing(Full_Record());
    w().Text_Ref.SetText("Coast road");
    const std::string path = Ref("coast.Ref");
    Save_As(path);
    ASSERT_TRUE(plat::FileExists(path));
    EXPECT_EQ(Ref_Last_Path, path);
    EXPECT_EQ(Ref_Last_Name, "Coast road");
    EXPECT_EQ(Setting_DerRefLu(), path);
    ASSERT_EQ(host().file_requests.size(), 1u);
    EXPECT_TRUE(host().file_requests[0].save);
    EXPECT_EQ(host().file_requests[0].title, "Reférence de ligne/Poly");
    EXPECT_EQ(host().file_requests[0].filter, "Ref (*.Ref)|*.Ref");
    EXPECT_EQ(host().file_requests[0].initial_dir, App_Dir + "\\Resource");
    std::vector<std::string> lines;
    ASSERT_TRUE(plat::ReadTextLines(path, lines));
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0].rfind("0000 V5.1", 0), 0u);
    w().Cmd_Cancel.UserClick();

    Route_Attrib_Cur = Route_Attrib{};
    Ref_Last_Name.clear();
    Ref_Last_Path.clear();
    plat::WritePrivateProfileString("Tessaline", "DerRefLu", "", Ini_Path);
    std::string p = path;
    Com_Load_Reference(p);
    EXPECT_EQ(Route_Attrib_Cur, Full_Record());
    EXPECT_EQ(Ref_Last_Name, "Coast road");
    EXPECT_EQ(Ref_Last_Path, path);
    EXPECT_EQ(Setting_DerRefLu(), path);
}

TEST_F(ReferenceFilesTest, ALastReferenceThatCannotBeRememberedIsToldOnSaveAndOnRead) {
    const std::filesystem::path ini = plat::MapPath(Ini_Path);
    std::filesystem::remove(ini);
    std::filesystem::create_directories(ini);   // no file can take its place
    const std::string told = "Le dernier fichier de référence n'a pas pu être écrit dans " + ini.string();
    Open_Existing(Full_Record());
    w().Text_Ref.SetText("Coast road");
    const std::string path = Ref("coast.Ref");
    host().QueueAnswer(plat::ID_OK);
    Save_As(path);
    EXPECT_TRUE(plat::FileExists(path));
    EXPECT_EQ(Ref_Last_Path, path);
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt, told);
    w().Cmd_Cancel.UserClick();

    host().QueueAnswer(plat::ID_OK);
    std::string p = path;
    Com_Load_Reference(p);
    EXPECT_EQ(Route_Attrib_Cur, Full_Record());
    ASSERT_EQ(host().boxes.size(), 2u);
    EXPECT_EQ(host().boxes[1].prompt, told);
}

TEST_F(ReferenceFilesTest, NextRunStartsNewLinesFromTheLastSavedSet) {
    Open_Existing(Full_Record());
    w().Text_Ref.SetText("Coast road");
    Save_As(Ref("coast.Ref"));
    w().Cmd_Cancel.UserClick();

    // The program is started again: only the settings file remembers.
    Ref_Last_Path.clear();
    Route_Attrib_Cur = Route_Attrib{};
    Pinit_Read_Settings();
    EXPECT_EQ(Ref_Last_Path, Ref("coast.Ref"));
    Open_New();
    EXPECT_EQ(w().Text_Ref.Text(), "Coast road");
    EXPECT_EQ(Route_Attrib_Cur.Largeur, 33);
    EXPECT_EQ(Route_Attrib_Cur.Text_Rt, "Route de la côte");
}

TEST_F(ReferenceFilesTest, SaveNeedsANameButBlanksAreOne) {
    Open_New();
    const size_t before = host().boxes.size();
    host().QueueAnswer(plat::ID_OK);
    w().Cmd_Save.UserClick();
    EXPECT_TRUE(Shown_Message(before, 133));
    EXPECT_TRUE(host().file_requests.empty());
    EXPECT_TRUE(Ref_Last_Path.empty());

    w().Text_Ref.SetText("   ");
    Save_As(Ref("blank.Ref"));
    std::vector<std::string> lines;
    ASSERT_TRUE(plat::ReadTextLines(Ref("blank.Ref"), lines));
    EXPECT_EQ(lines[1], "      \"\"");
    Ref_List_Files();
    ASSERT_EQ(Ref_Count, 1);
    EXPECT_EQ(Ref_Descriptions[0], "???");
}

TEST_F(ReferenceFilesTest, ReplacingAFileIsAskedAndNoKeepsEverything) {
    Write("road.Ref", "old contents\r\n");
    plat::WritePrivateProfileString("Tessaline", "DerRefLu", "before", Ini_Path);
    Open_New();
    w().Text_Ref.SetText("Road");
    host().QueueAnswer(plat::ID_NO);
    Save_As(Ref("road.Ref"));
    ASSERT_FALSE(host().boxes.empty());
    EXPECT_EQ(host().boxes.back().title, "Tessaline");
    EXPECT_EQ(host().boxes.back().prompt, "Le fichier existe déjà, voulez-vous le remplacer ? ");
    EXPECT_EQ(host().boxes.back().style, plat::MB_YESNO);
    std::vector<std::string> lines;
    ASSERT_TRUE(plat::ReadTextLines(Ref("road.Ref"), lines));
    EXPECT_EQ(lines, std::vector<std::string>{"old contents"});
    EXPECT_TRUE(Ref_Last_Path.empty());
    EXPECT_EQ(Setting_DerRefLu(), "before");

    host().QueueAnswer(plat::ID_YES);
    Save_As(Ref("road.Ref"));
    ASSERT_TRUE(plat::ReadTextLines(Ref("road.Ref"), lines));
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[1], "      \"Road\"");
    EXPECT_EQ(Setting_DerRefLu(), Ref("road.Ref"));

    // Cancelling the file dialog ends the command quietly.
    host().QueueFile(plat::FileDialogResult{});
    w().Cmd_Save.UserClick();
    EXPECT_EQ(Ref_Last_Path, Ref("road.Ref"));
}

TEST_F(ReferenceFilesTest, ANameTypedWithoutExtensionIsSavedAsRefAndListed) {
    Open_New();
    w().Text_Ref.SetText("River");
    Save_As(Ref("river"));
    EXPECT_FALSE(plat::PathExists(Ref("river")));
    ASSERT_TRUE(plat::FileExists(Ref("river.Ref")));
    EXPECT_EQ(Ref_Last_Path, Ref("river.Ref"));
    EXPECT_EQ(Setting_DerRefLu(), Ref("river.Ref"));
    Ref_List_Files();
    ASSERT_EQ(Ref_Count, 1);
    EXPECT_EQ(Ref_File_Names[0], "river.Ref");
    EXPECT_EQ(Ref_Descriptions[0], "River");

    // The name with its extension is the one asked about; one typed with its own is kept.
    const size_t before = host().boxes.size();
    host().QueueAnswer(plat::ID_NO);
    Save_As(Ref("river"));
    ASSERT_EQ(host().boxes.size(), before + 1);
    Save_As(Ref("lake.v2"));
    EXPECT_TRUE(plat::FileExists(Ref("lake.v2")));
}

TEST_F(ReferenceFilesTest, QuotesInTextsDoNotCutTheFile) {
    Route_Attrib a = Full_Record();
    a.Text_Rt = "the \"old\" road";
    Write("q.Ref", Ref_File_Text(a, "say \"hi\"", ""));
    std::string p = Ref("q.Ref");
    Com_Load_Reference(p);
    EXPECT_EQ(Ref_Last_Name, "say 'hi'");
    EXPECT_EQ(Route_Attrib_Cur.Text_Rt, "the 'old' road");
    EXPECT_EQ(Route_Attrib_Cur.Imbrication, "ab_cd");
    EXPECT_EQ(Route_Attrib_Cur.Texture_Name[5], "C:\\t\\f.bmp");
}

TEST_F(ReferenceFilesTest, OlderVersionsTakeTheDefaultsOfTheFieldsTheyLack) {
    Route_Attrib_Cur = Full_Record();
    Write_Version("v20.Ref", "V2.0", " 5  1  0  1030  20  1  0  8  0  1  0  135  4");
    std::string p = Ref("v20.Ref");
    Com_Load_Reference(p);
    const Route_Attrib& a = Route_Attrib_Cur;
    EXPECT_EQ(a.Alti, 5);
    EXPECT_EQ(a.Line_Type(), 1030);
    EXPECT_EQ(a.Layer, 8);
    EXPECT_EQ(a.Layer_Vtp2, 4);
    EXPECT_EQ(a.Alt_Coast, 0);
    EXPECT_EQ(a.Line_Night, 0);
    EXPECT_EQ(a.Drive_Right, 1);
    EXPECT_EQ(a.LayerScasm, 16);
    EXPECT_EQ(a.Vtp1_Line, 0);
    EXPECT_EQ(a.Effil_Deb, 0);
    EXPECT_EQ(a.Effil_Fin, 0);
    EXPECT_EQ(a.VTP1_SpecNor, 0);
    EXPECT_EQ(a.Flip_VTP1Texture, 1);
    EXPECT_EQ(a.Meter_Feet, 0);
    EXPECT_EQ(a.Texture_Name[0], "");
    EXPECT_EQ(Ref_Last_Name, "Old");

    Write_Version("v22.Ref", "V2.2", " 5  1  0  1030  20  1  0  8  0  1  0  135  4  7.5  1  0");
    p = Ref("v22.Ref");
    Com_Load_Reference(p);
    EXPECT_EQ(Route_Attrib_Cur.Alt_Coast, 7.5);
    EXPECT_EQ(Route_Attrib_Cur.Line_Night, 0);
    EXPECT_EQ(Route_Attrib_Cur.LayerScasm, 16);

    // A version above the writer's is read as the writer's.
    Write_Version("v9.Ref", "V9.0", " 5  1  0  1030  20  1  0  8  0  1  0  135  4  7.5  1  0  9  1  1  1  1  0  1");
    p = Ref("v9.Ref");
    Com_Load_Reference(p);
    EXPECT_EQ(Route_Attrib_Cur.LayerScasm, 9);
    EXPECT_EQ(Route_Attrib_Cur.Flip_VTP1Texture, 0);
    EXPECT_EQ(Route_Attrib_Cur.Meter_Feet, 1);
}

TEST_F(ReferenceFilesTest, WholeFieldsRoundHalvesToEven) {
    Write_Version("r.Ref", "V5.1", " 0  2.5  3.5  1030  20.5  1  0  2.5  0  1  0  135  4  0  0  1  16  0  0  0  1  1  0");
    std::string p = Ref("r.Ref");
    Com_Load_Reference(p);
    EXPECT_EQ(Route_Attrib_Cur.Attrib, 2);
    EXPECT_EQ(Route_Attrib_Cur.LandOnRight, 4);
    EXPECT_EQ(Route_Attrib_Cur.Largeur, 20);
    EXPECT_EQ(Route_Attrib_Cur.Layer, 2);
}

TEST_F(ReferenceFilesTest, NumbersReadAsFarAsTheyReadAndMissingOnesAreZero) {
    // "2x" is 2, "abc" and a missing Meter_Feet are 0; a value too large for a number is damage.
    Write_Version("loose.Ref", "V5.1", " 7.5m  1  0  2x  20  1  0  3  0  1  0  abc  4  1E-999  0  1  16  0  0  0  1  1");
    std::string p = Ref("loose.Ref");
    Route_Attrib_Cur = Full_Record();
    Com_Load_Reference(p);
    EXPECT_EQ(Ref_Last_Path, p);
    EXPECT_EQ(Route_Attrib_Cur.Alti, 7.5);
    EXPECT_EQ(Route_Attrib_Cur.Line_Type(), 2);
    EXPECT_EQ(Route_Attrib_Cur.LC_Code, 0);
    EXPECT_EQ(Route_Attrib_Cur.Alt_Coast, 0);
    EXPECT_EQ(Route_Attrib_Cur.Meter_Feet, 0);

    Write_Version("huge.Ref", "V5.1", " 1E999  1  0  1030  20  1  0  3  0  1  0  135  4  0  0  1  16  0  0  0  1  1  0");
    p = Ref("huge.Ref");
    Route_Attrib_Cur = Full_Record();
    const size_t before = host().boxes.size();
    host().QueueAnswer(plat::ID_OK);
    Com_Load_Reference(p);
    EXPECT_TRUE(Shown_Message(before, 31));
    EXPECT_EQ(Route_Attrib_Cur, Full_Record());
}

TEST_F(ReferenceFilesTest, UnreadableFilesChangeNothing) {
    Route_Attrib_Cur = Full_Record();
    Ref_Last_Path = "kept";
    Ref_Last_Name = "kept name";
    plat::WritePrivateProfileString("Tessaline", "DerRefLu", "kept", Ini_Path);
    const auto unchanged = [&](const char* what) {
        EXPECT_EQ(Route_Attrib_Cur, Full_Record()) << what;
        EXPECT_EQ(Ref_Last_Path, "kept") << what;
        EXPECT_EQ(Ref_Last_Name, "kept name") << what;
        EXPECT_EQ(Setting_DerRefLu(), "kept") << what;
    };
    struct Case {
        const char* name;
        int message;
    };
    // No version tag, a lower-case one, an empty file: message 30.
    Write_Version("lower.Ref", "v5.1", " 1");
    Write("tag.Ref", "0000 5.1 12/05/2003\r\n      \"x\"\r\n");
    Write("empty.Ref", "");
    // Ends early, or a value its field cannot hold: message 31.
    Write("short.Ref", "0000 V5.1\r\n      \"Short\"\r\n      \"t\"\r\n");
    Write_Version("layer.Ref", "V5.1", " 0  1  0  1030  20  1  0  300  0  1  0  135  4  0  0  1  16  0  0  0  1  1  0");
    Write_Version("huge.Ref", "V5.1", " 0  1  0  99999  20  1  0  3  0  1  0  135  4  0  0  1  16  0  0  0  1  1  0");
    for (const Case& c : {Case{"lower.Ref", 30}, Case{"tag.Ref", 30}, Case{"empty.Ref", 30}, Case{"short.Ref", 31},
                          Case{"layer.Ref", 31}, Case{"huge.Ref", 31}}) {
        const size_t before = host().boxes.size();
        host().QueueAnswer(plat::ID_OK);
        std::string p = Ref(c.name);
        Com_Load_Reference(p);
        EXPECT_TRUE(Shown_Message(before, c.message)) << c.name;
        unchanged(c.name);
    }
    // A missing file and a folder are passed over without a word.
    ASSERT_TRUE(plat::MakeFolder(Ref("folder.Ref")));
    for (const char* name : {"missing.Ref", "folder.Ref"}) {
        const size_t before = host().boxes.size();
        std::string p = Ref(name);
        Com_Load_Reference(p);
        EXPECT_EQ(host().boxes.size(), before) << name;
        unchanged(name);
    }
}

TEST_F(ReferenceFilesTest, ListingTakesRefFilesWithASecondLine) {
    Write("a.ref", "0000 V5.1\r\n      \"Lower\"\r\n");
    Write("b.REF", "0000 V5.1\r\n\r\n      \"Upper\"\r\n");
    Write("c.Ref", "0000 V5.1\r\n      no quote\r\n");
    Write("d.Ref", "0000 V5.1\r\n      \"\"\r\n");
    Write("e.b.Ref", "0000 V5.1\r\n      \"Two dots\"\r\n");
    Write("f.Ref", "");
    Write("g.Ref", "0000 V5.1\r\n");
    Write("h.txt", "0000 V5.1\r\n      \"Text\"\r\n");
    ASSERT_TRUE(plat::MakeFolder(Ref("i.Ref")));
    Ref_List_Files();
    ASSERT_EQ(Ref_Count, 4);
    const std::vector<std::string> names(Ref_File_Names.begin(), Ref_File_Names.begin() + Ref_Count);
    const std::vector<std::string> descriptions(Ref_Descriptions.begin(), Ref_Descriptions.begin() + Ref_Count);
    EXPECT_EQ(names, (std::vector<std::string>{"a.ref", "b.REF", "c.Ref", "d.Ref"}));
    EXPECT_EQ(descriptions, (std::vector<std::string>{"Lower", "Upper", "???", "???"}));
}

TEST_F(ReferenceFilesTest, ReadCommandShowsTheChosenSet) {
    Route_Attrib narrow;
    narrow.SurfShore = 2;
    narrow.Largeur = 8;
    narrow.Line_Type() = 1030;
    Write("a.Ref", Ref_File_Text(Full_Record(), "Coast road", ""));
    Write("b.Ref", Ref_File_Text(narrow, "Narrow", ""));
    Open_New();
    host().OnModal("Frm_Ref", [](plat::Form& f) {
        auto& chooser = static_cast<Frm_Ref&>(f);
        EXPECT_EQ(chooser.Caption(), "Réferences lignes/polygones");
        ASSERT_EQ(chooser.Cmbo.ListCount(), 2);
        EXPECT_EQ(chooser.Cmbo.List(1), "Narrow");
        EXPECT_EQ(chooser.Cmbo.ListIndex(), 0);
        chooser.Cmbo.UserSelect(1);
        chooser.Cmd_Ok.UserClick();
    });
    w().Cmd_Read.UserClick();
    EXPECT_EQ(w().Text_Ref.Text(), "Narrow");
    EXPECT_EQ(w().Largeur.Text(), "8");
    EXPECT_TRUE(w().Opt_SurfShore(2).Value());
    EXPECT_EQ(w().Cmbo.ListIndex(), 1);
    EXPECT_EQ(Route_Dlg_Loading, 0);
    EXPECT_EQ(Ref_Last_Path, Ref("b.Ref"));
    EXPECT_EQ(Ref_Count, 0);

    // Cancel keeps the record and the name.
    host().OnModal("Frm_Ref", [](plat::Form& f) { static_cast<Frm_Ref&>(f).Cmd_Cancel.UserClick(); });
    w().Cmd_Read.UserClick();
    EXPECT_EQ(Route_Attrib_Cur.Largeur, 8);
    EXPECT_EQ(w().Text_Ref.Text(), "Narrow");

    // A file gone since the list was made: the chooser closes and the dialog shows the record
    // it has.
    host().OnModal("Frm_Ref", [this](plat::Form& f) {
        ASSERT_TRUE(plat::DeleteFile(Ref("a.Ref")));
        static_cast<Frm_Ref&>(f).Cmd_Ok.UserClick();
    });
    w().Cmd_Read.UserClick();
    EXPECT_EQ(Route_Attrib_Cur.Largeur, 8);
    EXPECT_EQ(Ref_Last_Path, Ref("b.Ref"));
    w().Cmd_Ok.UserClick();
    EXPECT_EQ(Route_Attrib_Result.Largeur, 8);
}

// The list shows entry 0 already, so selecting it raises no click of its own: the record read
// must still take the shown entry, not keep a code the list cannot show.
TEST_F(ReferenceFilesTest, ReadSetWithAnUnknownClassOrParkTakesTheShownFirstEntry) {
    Route_Attrib shown = Full_Record();
    shown.SurfShore = 1;
    shown.LWM_VTP2 = 1;
    shown.Texture_Source() = 0;
    shown.LC_Code = 126;
    Route_Attrib unknown_class = shown;
    unknown_class.LC_Code = 77;
    Route_Attrib unknown_park = shown;
    unknown_park.Texture_Source() = 2;
    unknown_park.Line_Type() = 999;
    Write("a.Ref", Ref_File_Text(unknown_class, "Class", ""));
    Write("b.Ref", Ref_File_Text(unknown_park, "Park", ""));
    Open_Existing(shown);
    ASSERT_EQ(w().Cbo_LC.ListIndex(), 0);
    const auto choose = [](int item) {
        host().OnModal("Frm_Ref", [item](plat::Form& f) {
            auto& chooser = static_cast<Frm_Ref&>(f);
            chooser.Cmbo.UserSelect(item);
            chooser.Cmd_Ok.UserClick();
        });
    };

    choose(0);
    w().Cmd_Read.UserClick();
    EXPECT_EQ(w().Cbo_LC.ListIndex(), 0);
    EXPECT_EQ(Route_Attrib_Cur.LC_Code, 126);

    // A park type missing from the park list likewise becomes the first park.
    Route_Attrib park = shown;
    park.Texture_Source() = 2;
    park.Line_Type() = 1182;
    Open_Existing(park);
    ASSERT_EQ(w().Cbo_Park.ListIndex(), 0);
    choose(1);
    w().Cmd_Read.UserClick();
    EXPECT_EQ(w().Cbo_Park.ListIndex(), 0);
    EXPECT_EQ(Route_Attrib_Cur.Line_Type(), 1182);
    w().Cmd_Ok.UserClick();
    EXPECT_EQ(Route_Attrib_Result.Line_Type(), 1182);
    EXPECT_EQ(Route_Attrib_Result.LC_Code, 126);
}

TEST_F(ReferenceFilesTest, ReadCommandWithoutFilesShowsNothing) {
    Write("only.txt", "0000 V5.1\r\n      \"x\"\r\n");
    Open_New();
    w().Cmd_Read.UserClick();
    EXPECT_TRUE(host().boxes.empty());
    EXPECT_EQ(Ref_Count, 0);
    EXPECT_TRUE(w().Loaded());
}

}  // namespace
