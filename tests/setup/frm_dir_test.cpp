// The folder picker: it opens on the caller's folder, follows what the author opens, and hands
// back a folder only when the author says OK.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/project.h"
#include "core/syst.h"
#include "core/syst_folder.h"
#include "platform/headless/headless_host.h"
#include "setup/frm_dir.h"
#include "setup/setup_services.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace {

// The folder as this system names it: what the lists show and the picker hands back.
std::string Native(const std::filesystem::path& p) { return p.lexically_normal().string(); }

// The sub-folder entry of the folder list whose path ends in `leaf`, or -1.
int Entry_Of(const plat::DirListBox& dir, const std::string& leaf) {
    for (int i = 0; i < dir.ListCount(); ++i) {
        const std::string e = dir.List(i);
        if (e.size() > leaf.size() && e.compare(e.size() - leaf.size(), leaf.size(), leaf) == 0 &&
            e[e.size() - leaf.size() - 1] == '/')
            return i;
    }
    return -1;
}

// What a double-click on a folder entry does: the list opens it.
void Open_Entry(plat::DirListBox& dir, const std::string& leaf) {
    const int i = Entry_Of(dir, leaf);
    ASSERT_GE(i, 0) << leaf << " not listed under " << dir.Path();
    dir.SetPath(dir.List(i));
}

class FrmDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        root_ = testenv::ScratchDir("folders");
        std::filesystem::create_directories(root_ / "alpha");
        std::filesystem::create_directories(root_ / "beta" / "inner");
        App_Dir = testenv::ProgramPath(root_ / "alpha");
    }
    void TearDown() override {
        if (Frm_Dir_Window().Loaded()) Frm_Dir_Window().ForceUnload();
        testenv::ResetProgramState();
    }
    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }
    static void On_Picker(std::function<void(Frm_Dir&)> script) {
        host().OnModal("Frm_Dir", [script](plat::Form& f) { script(static_cast<Frm_Dir&>(f)); });
    }
    std::filesystem::path root_;
};

TEST_F(FrmDirTest, OkWithoutTouchingTheListsReturnsTheStartFolder) {
    const std::string start = testenv::ProgramPath(root_ / "beta");
    Dir_Pick_Title = "Scenery folder";
    On_Picker([&](Frm_Dir& w) {
        EXPECT_EQ(w.Caption(), "Scenery folder");
        EXPECT_EQ(w.Dir1.Path(), Native(root_ / "beta"));
        EXPECT_EQ(Dir_Pick_Path, Native(root_ / "beta"));
        EXPECT_GE(Entry_Of(w.Dir1, "inner"), 0);
        EXPECT_EQ(Dir_Pick_Cancelled, 1);
        w.Cmd_Ok.UserClick();
    });
    int16_t cancelled = 7;
    std::string folder = start;
    Frm_Dir_Choose(cancelled, folder);
    EXPECT_EQ(cancelled, 0);
    EXPECT_EQ(folder, Native(root_ / "beta"));
    EXPECT_FALSE(Frm_Dir_Window().Loaded());
}

TEST_F(FrmDirTest, AnEmptyStartOpensOnTheProgramFolder) {
    On_Picker([&](Frm_Dir& w) {
        EXPECT_EQ(w.Dir1.Path(), Native(root_ / "alpha"));
        EXPECT_EQ(Dir_Pick_Path, Native(root_ / "alpha"));
        w.Cmd_Ok.UserClick();
    });
    int16_t cancelled = 1;
    std::string folder;
    Frm_Dir_Choose(cancelled, folder);
    EXPECT_EQ(cancelled, 0);
    EXPECT_EQ(folder, Native(root_ / "alpha"));
}

TEST_F(FrmDirTest, OkReturnsTheOpenedFolderNotTheHighlightedEntry) {
    On_Picker([&](Frm_Dir& w) {
        Open_Entry(w.Dir1, "beta");
        EXPECT_EQ(Dir_Pick_Path, Native(root_ / "beta"));
        // One click only highlights a folder.
        w.Dir1.UserSelect(Entry_Of(w.Dir1, "inner"));
        EXPECT_EQ(Dir_Pick_Path, Native(root_ / "beta"));
        Open_Entry(w.Dir1, "inner");
        // Up again through the chain of parents.
        w.Dir1.SetPath(w.Dir1.List(-2));
        w.Cmd_Ok.UserClick();
    });
    int16_t cancelled = 1;
    std::string folder = testenv::ProgramPath(root_);
    Frm_Dir_Choose(cancelled, folder);
    EXPECT_EQ(cancelled, 0);
    EXPECT_EQ(folder, Native(root_ / "beta"));
}

TEST_F(FrmDirTest, CancelAndTheCloseBoxHandBackNoChoice) {
    const std::string start = testenv::ProgramPath(root_);
    On_Picker([&](Frm_Dir& w) {
        Open_Entry(w.Dir1, "alpha");
        w.Cmd_Cancel.UserClick();
    });
    int16_t cancelled = 0;
    std::string folder = start;
    Frm_Dir_Choose(cancelled, folder);
    EXPECT_EQ(cancelled, 1);
    // The folder last shown comes back even so; callers ignore it.
    EXPECT_EQ(folder, Native(root_ / "alpha"));

    On_Picker([&](Frm_Dir& w) {
        Open_Entry(w.Dir1, "beta");
        w.UserClose();
    });
    folder = start;
    Frm_Dir_Choose(cancelled, folder);
    EXPECT_EQ(cancelled, 1);

    // A script that answers nothing: the host closes the window.
    On_Picker([&](Frm_Dir&) {});
    folder = start;
    Frm_Dir_Choose(cancelled, folder);
    EXPECT_EQ(cancelled, 1);
    EXPECT_EQ(folder, Native(root_));
}

TEST_F(FrmDirTest, ADriveLetterOpensOnThatFolderUnderTheRoot) {
    const std::string start = "C:" + testenv::ProgramPath(root_ / "beta" / "inner");
    On_Picker([&](Frm_Dir& w) {
        EXPECT_EQ(w.Drive1.Drive(), "/");
        ASSERT_EQ(w.Drive1.ListCount(), 1);
        EXPECT_EQ(w.Dir1.Path(), Native(root_ / "beta" / "inner"));
        w.Cmd_Ok.UserClick();
    });
    int16_t cancelled = 1;
    std::string folder = start;
    Frm_Dir_Choose(cancelled, folder);
    EXPECT_EQ(cancelled, 0);
    EXPECT_EQ(folder, Native(root_ / "beta" / "inner"));

    // The drive list's root, chosen, is the answer from then on.
    On_Picker([&](Frm_Dir& w) {
        w.Frm_Dir_Drive1_Change();
        EXPECT_EQ(w.Dir1.Path(), "/");
        w.Cmd_Ok.UserClick();
    });
    Frm_Dir_Choose(cancelled, folder);
    EXPECT_EQ(cancelled, 0);
    EXPECT_EQ(folder, "/");
}

TEST_F(FrmDirTest, AStartTheListsCannotShowIsKeptUntilTheAuthorPicks) {
    // A folder that is not there, a drive this system lacks, a relative name: no error, the
    // lists stay on the drive's own folder and the start text stays the answer.
    for (const std::string& start : {testenv::ProgramPath(root_ / "missing"), std::string("q:\\Scenery"), std::string("Scenery")}) {
        On_Picker([&](Frm_Dir& w) {
            EXPECT_EQ(w.Drive1.Drive(), "/");
            EXPECT_EQ(w.Dir1.Path(), "/");
            EXPECT_EQ(Dir_Pick_Path, start);
            w.Cmd_Ok.UserClick();
        });
        int16_t cancelled = 1;
        std::string folder = start;
        Frm_Dir_Choose(cancelled, folder);
        EXPECT_EQ(cancelled, 0) << start;
        EXPECT_EQ(folder, start);
    }
    EXPECT_TRUE(host().ui_errors.empty());
}

TEST_F(FrmDirTest, OkIsRefusedWhileThereIsNoFolder) {
    App_Dir.clear();
    On_Picker([&](Frm_Dir& w) {
        w.Cmd_Ok.UserClick();
        EXPECT_TRUE(w.Loaded());
        EXPECT_EQ(Dir_Pick_Cancelled, 1);
        // Picking a folder makes OK work.
        w.Dir1.SetPath(testenv::ProgramPath(root_));
        w.Cmd_Ok.UserClick();
        EXPECT_FALSE(w.Loaded());
    });
    int16_t cancelled = 1;
    std::string folder;
    Frm_Dir_Choose(cancelled, folder);
    EXPECT_EQ(cancelled, 0);
    EXPECT_EQ(folder, Native(root_));
}

TEST_F(FrmDirTest, TheHintFollowsTheLanguage) {
    On_Picker([&](Frm_Dir& w) {
        EXPECT_EQ(w.Lab_DblClick.Caption(), "Double-click sur le répertoire");
        w.Cmd_Cancel.UserClick();
    });
    int16_t cancelled = 0;
    std::string folder;
    Frm_Dir_Choose(cancelled, folder);
    Language = "US";
    On_Picker([&](Frm_Dir& w) {
        EXPECT_EQ(w.Lab_DblClick.Caption(), "Double-click on the directory");
        w.Cmd_Cancel.UserClick();
    });
    Frm_Dir_Choose(cancelled, folder);
    EXPECT_EQ(cancelled, 1);
}

}  // namespace
