#include "core/erreur.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/project.h"
#include "platform/headless/headless_host.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace fs = std::filesystem;

class ErreurTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        host.Reset();
        plat::SetHost(&host);
        file = testenv::ScratchDir("msg") / "FicErr.txt";
        std::ofstream(file, std::ios::binary)
            << "[ERR]\r\n00031=16 00 Fichier endommag\xE9.\r\n00531=16 00 Damaged file.\r\n"
            << "00020=32 04   Supprimer la ligne ?  \r\n00064=64 00 Info\r\n";
        Msg_File_Path = file.string();
        Language = "FR";
    }
    void TearDown() override {
        plat::SetHost(nullptr);
        Msg_File_Path.clear();
        testenv::ResetProgramState();
    }
    plat::HeadlessHost host;
    fs::path file;
};

TEST_F(ErreurTest, FrenchAndEnglishKeys) {
    int16_t shown = 0;
    std::string title;
    ERREUR_Load_Message(31, shown, title);
    EXPECT_EQ(shown, 31);
    EXPECT_EQ(Msg_Text, "Fichier endommagé.");
    EXPECT_EQ(Msg_Icon, 16);
    EXPECT_EQ(Msg_Buttons, 0);
    EXPECT_EQ(title, "Erreur !!");
    Language = "US";
    host.QueueAnswer(plat::ID_OK);
    EXPECT_EQ(ERREUR_Show_Message(31), plat::ID_OK);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].prompt, "(531) Damaged file.");
    EXPECT_EQ(host.boxes[0].style, 16);
}

TEST_F(ErreurTest, QuestionBoxHasYesNoAndGivesTheAnswer) {
    host.QueueAnswer(plat::ID_NO);
    EXPECT_EQ(ERREUR_Show_Message(20), plat::ID_NO);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].style, plat::MB_ICONQUESTION + plat::MB_YESNO);
    EXPECT_EQ(host.boxes[0].title, "Question ?");
    EXPECT_EQ(host.boxes[0].prompt, "(20) Supprimer la ligne ?");
    int16_t shown = 0;
    std::string title;
    ERREUR_Load_Message(64, shown, title);
    EXPECT_EQ(title, "Information");
}

TEST_F(ErreurTest, ExtraTextGoesOnANewLine) {
    host.QueueAnswer(plat::ID_OK);
    ERREUR_Show_Message_Extra(31, "Bmp pixel X:12 Y:34");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].prompt, "(31) Fichier endommagé.\r\nBmp pixel X:12 Y:34");
}

TEST_F(ErreurTest, MissingKeyOrFileShowsTheDefaultBox) {
    host.QueueAnswer(plat::ID_OK);
    ERREUR_Show_Message(99);
    Msg_File_Path = (file.parent_path() / "none.txt").string();
    Language = "US";
    host.QueueAnswer(plat::ID_OK);
    ERREUR_Show_Message(31);
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].prompt, "(99) ????");
    EXPECT_EQ(host.boxes[0].style, plat::MB_ICONEXCLAMATION);
    EXPECT_EQ(host.boxes[0].title, "Erreur !!");
    EXPECT_EQ(host.boxes[1].prompt, "(531) ????");
}

// The shipped message file: every message the program shows exists in both languages, and the
// questions have the buttons their callers read.
TEST(ErreurMessageFile, EveryNumberedMessageIsThereInBothLanguages) {
    const std::string path = (testenv::SourceDir() / "Resource" / "FicErr.txt").string();
    const int numbers[] = {1, 2, 6, 7, 9, 10, 12, 14, 16, 20, 23, 24, 30, 31, 32, 33, 37, 101, 103, 107,
                           120, 121, 122, 123, 124, 125, 126, 127, 128, 129, 130, 131, 132, 133, 134};
    for (int n : numbers) {
        for (int key : {n, n + 500}) {
            const std::string v = plat::GetPrivateProfileString("ERR", plat::Format(key, "00000"), "", path);
            ASSERT_GE(v.size(), 8u) << key;
            const int icon = static_cast<int>(plat::Val(plat::Mid(v, 1, 2)));
            const int buttons = static_cast<int>(plat::Val(plat::Mid(v, 4, 2)));
            EXPECT_TRUE(icon == 16 || icon == 32 || icon == 48 || icon == 64) << key;
            EXPECT_EQ(v[2], ' ') << key;
            EXPECT_EQ(v[5], ' ') << key;
            EXPECT_EQ(buttons, n == 20 ? 4 : 0) << key;
        }
    }
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.find("\xC3\xA9"), std::string::npos);   // é stored as one Windows-1252 byte
    EXPECT_NE(bytes.find('\xE9'), std::string::npos);
}
