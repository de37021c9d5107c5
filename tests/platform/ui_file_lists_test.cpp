#include "platform/headless/headless_host.h"
#include "platform/ui/ui.h"
#include "support/program_state.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace plat;

namespace {

class Frm_Browse : public Form {
public:
    Frm_Browse() : Form("Frm_Browse") {
        Dir1.Change = [this] { ++dir_changes; };
    }
    DriveListBox Drive1{*this, "Drive1"};
    DirListBox Dir1{*this, "Dir1"};
    FileListBox File1{*this, "File1"};
    int dir_changes = 0;
};

class UiFileLists : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        root = testenv::ScratchDir("ui_file_lists");
        std::filesystem::create_directories(root / "Scenery" / "world");
        std::filesystem::create_directories(root / "Addon");
        for (const char* name : {"b.BMP", "a.bmp", "notes.txt", "c.Bmp"}) std::ofstream(root / name) << "x";
        f.Load();
    }
    std::filesystem::path root;
    Frm_Browse f;
};

TEST_F(UiFileLists, FolderListGivesTheChainAboveAndTheSubFoldersInOrder) {
    std::string path = root.string();
    ASSERT_TRUE(f.Dir1.SetPath(path));
    EXPECT_EQ(f.dir_changes, 1);
    ASSERT_EQ(f.Dir1.ListCount(), 2);
    EXPECT_EQ(f.Dir1.List(0), (root / "Addon").string());
    EXPECT_EQ(f.Dir1.List(1), (root / "Scenery").string());
    EXPECT_EQ(f.Dir1.List(-1), f.Dir1.Path()) << "-1 is the folder itself";
    EXPECT_GE(f.Dir1.ParentCount(), 2);
    EXPECT_EQ(f.Dir1.List(-f.Dir1.ParentCount()), "/") << "the chain starts at the root";

    ASSERT_TRUE(f.Dir1.SetPath(f.Dir1.List(1)));
    EXPECT_EQ(f.Dir1.ListCount(), 1);
    EXPECT_EQ(f.dir_changes, 2);
}

TEST_F(UiFileLists, AMissingFolderIsRefusedAndNothingChanges) {
    ASSERT_TRUE(f.Dir1.SetPath(root.string()));
    std::string before = f.Dir1.Path();
    EXPECT_FALSE(f.Dir1.SetPath((root / "nowhere").string()));
    EXPECT_EQ(f.Dir1.Path(), before);
    EXPECT_EQ(f.Dir1.ListCount(), 2);
    EXPECT_EQ(f.dir_changes, 1);
}

TEST_F(UiFileLists, FileListMatchesItsPatternsWithoutRegardToCase) {
    f.File1.SetPattern("*.bmp");
    ASSERT_TRUE(f.File1.SetPath(root.string()));
    ASSERT_EQ(f.File1.ListCount(), 3);
    EXPECT_EQ(f.File1.List(0), "a.bmp");
    EXPECT_EQ(f.File1.List(2), "c.Bmp");
    f.File1.SetListIndex(1);
    EXPECT_EQ(f.File1.FileName(), "b.BMP");
    f.File1.SetPattern("*.txt;*.bmp");
    EXPECT_EQ(f.File1.ListCount(), 4) << "folders are never listed";
    EXPECT_EQ(f.File1.ListIndex(), -1);
}

// The lists name folders as this system does, whatever form the program hands them, and the
// only drive is the file system's root.
TEST_F(UiFileLists, ListsShowTheSystemsOwnPathsAndItsRootAsTheOnlyDrive) {
    std::string program_form = testenv::ProgramPath(root) + "\\";
    ASSERT_TRUE(f.Dir1.SetPath(program_form));
    EXPECT_EQ(f.Dir1.Path(), root.string());
    ASSERT_TRUE(f.File1.SetPath("C:" + testenv::ProgramPath(root)));
    EXPECT_EQ(f.File1.Path(), root.string());
    ASSERT_TRUE(f.Dir1.SetPath("\\"));
    EXPECT_EQ(f.Dir1.Path(), "/");
    EXPECT_EQ(f.Dir1.ParentCount(), 1);

    EXPECT_EQ(f.Drive1.Drive(), "/");
    ASSERT_EQ(f.Drive1.ListCount(), 1);
    EXPECT_EQ(f.Drive1.List(0), "/");
}

}  // namespace
