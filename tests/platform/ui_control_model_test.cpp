#include "platform/headless/headless_host.h"
#include "platform/ui/ui.h"
#include "support/program_state.h"

#include <gtest/gtest.h>

using namespace plat;

namespace {

// A small form with one of everything, logging what its handlers see.
class Frm_Test : public Form {
public:
    Frm_Test() : Form("Frm_Test") {
        Form_Load = [this] { log.push_back("Load"); };
        Form_QueryUnload = [this](bool& cancel, int mode) {
            log.push_back("QueryUnload " + std::to_string(mode));
            cancel = refuse_query;
        };
        Form_Unload = [this](bool& cancel) {
            log.push_back("Unload");
            cancel = refuse_unload;
        };
        Cmd_Ok.Click = [this] { log.push_back("Cmd_Ok_Click"); };
        Cmd_Cancel.Click = [this] { log.push_back("Cmd_Cancel_Click"); };
        Chk.Click = [this] { log.push_back("Chk_Click " + std::to_string(Chk.Value())); };
        Opt.SetWire([this](OptionButton& o, int i) {
            o.SetContainer(&Fra);
            o.Click = [this, i] { log.push_back("Opt_Click " + std::to_string(i)); };
        });
        Opt_Other.Click = [this] { log.push_back("Opt_Other_Click"); };
        Txt.Change = [this] { log.push_back("Txt_Change " + Txt.Text()); };
        Txt.Validate = [this](bool& cancel) {
            log.push_back("Txt_Validate");
            cancel = Txt.Text() == "bad";
        };
        Txt.LostFocus = [this] { log.push_back("Txt_LostFocus"); };
        Txt2.GotFocus = [this] { log.push_back("Txt2_GotFocus"); };
        Scr.Change = [this] { log.push_back("Scr_Change " + std::to_string(Scr.Value())); };
        Lst.Click = [this] { log.push_back("Lst_Click " + std::to_string(Lst.ListIndex())); };
        Pic.MouseDown = [this](int b, int, double x, double y) {
            log.push_back("MouseDown " + std::to_string(b) + " " + std::to_string(int(x)) + "," + std::to_string(int(y)));
        };
        Pic.MouseUp = [this](int, int, double, double) { log.push_back("MouseUp"); };
        Pic.Click = [this] { log.push_back("Click"); };
        Pic.DblClick = [this] { log.push_back("DblClick"); };
        KeyDown = [this](int& key, int) {
            log.push_back("Form_KeyDown " + std::to_string(key));
            if (key == Key_F1) key = 0;
        };
        Txt.KeyDown = [this](int& key, int) { log.push_back("Txt_KeyDown " + std::to_string(key)); };
        Mnu_Item.Click = [this] { log.push_back("Mnu_Item_Click"); };
        Tab.TabClick = [this](int previous) { log.push_back("Tab_Click " + std::to_string(previous)); };
        Tmr.Tick = [this] { log.push_back("Tick"); };
    }

    CommandButton Cmd_Ok{*this, "Cmd_Ok"};
    CommandButton Cmd_Cancel{*this, "Cmd_Cancel"};
    CheckBox Chk{*this, "Chk"};
    Frame Fra{*this, "Fra"};
    ControlArray<OptionButton> Opt{*this, "Opt", {0, 1}};
    OptionButton Opt_Other{*this, "Opt_Other"};
    TextBox Txt{*this, "Txt"};
    TextBox Txt2{*this, "Txt2"};
    HScrollBar Scr{*this, "Scr"};
    ListBox Lst{*this, "Lst"};
    ComboBox Cbo{*this, "Cbo"};
    PictureBox Pic{*this, "Pic"};
    TabStrip Tab{*this, "Tab"};
    TextBox Txt_Page1{*this, "Txt_Page1"};
    Timer Tmr{*this, "Tmr"};
    Menu Mnu_Top{*this, "Mnu_Top"};
    Menu Mnu_Item{*this, "Mnu_Item", Mnu_Top};
    Menu Mnu_Sep{*this, "Mnu_Sep", Mnu_Top};
    ControlArray<Menu> Mnu_Recent{*this, "Mnu_Recent", Mnu_Top, {0}};
    Menu Mnu_Last{*this, "Mnu_Last", Mnu_Top};
    CommonDialog CM{*this, "CM"};

    std::vector<std::string> log;
    bool refuse_query = false;
    bool refuse_unload = false;
    int designs = 0;

protected:
    void Design() override {
        ++designs;
        SetCaption("Test window");
        Move(0, 0, 400, 300);
        Cmd_Ok.SetCaption("OK");
        Cmd_Ok.Default = true;
        Cmd_Cancel.SetCaption("Cancel");
        Cmd_Cancel.Cancel = true;
        Opt(0).SetCaption("First");
        Opt(1).SetCaption("Second");
        Opt(0).SetValue(true);   // designed: no Click
        Scr.SetMin(0);
        Scr.SetMax(100);
        Pic.Move(0, 0, 50, 40);
        Tab.SetTabs(2);
        Txt_Page1.SetContainer(&Tab, 1);
        Mnu_Top.SetCaption("File");
        Mnu_Item.SetCaption("Item");
        Mnu_Sep.SetCaption("-");
        Mnu_Recent(0).SetCaption("recent 0");
        Mnu_Last.SetCaption("Last");
    }
};

class UiModel : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        host.Reset();
        SetHost(&host);
    }
    void TearDown() override { SetHost(nullptr); }
    HeadlessHost host;
};

TEST_F(UiModel, LoadAppliesTheDesignWithoutEventsThenRaisesFormLoad) {
    Frm_Test f;
    EXPECT_FALSE(f.Loaded());
    f.Load();
    EXPECT_TRUE(f.Loaded());
    EXPECT_EQ(f.log, (std::vector<std::string>{"Load"}));
    EXPECT_TRUE(f.Opt(0).Value());
    EXPECT_EQ(f.Caption(), "Test window");
    EXPECT_FALSE(f.Visible());
}

TEST_F(UiModel, MakingAnUnloadedFormVisibleLoadsItFirst) {
    Frm_Test f;
    f.SetVisible(true);
    EXPECT_TRUE(f.Loaded());
    EXPECT_TRUE(f.Visible());
    EXPECT_EQ(f.log, (std::vector<std::string>{"Load"}));
    EXPECT_EQ(host.log, (std::vector<std::string>{"Show Frm_Test"}));
}

TEST_F(UiModel, ValueSetInCodeRaisesClickOnlyWhenItChanges) {
    Frm_Test f;
    f.Load();
    f.log.clear();
    f.Chk.SetValue(Checked);
    f.Chk.SetValue(Checked);
    f.Chk.SetValue(Unchecked);
    f.Cmd_Ok.SetValue(true);
    EXPECT_EQ(f.log, (std::vector<std::string>{"Chk_Click 1", "Chk_Click 0", "Cmd_Ok_Click"}));
}

TEST_F(UiModel, OptionButtonsFormOneGroupPerContainer) {
    Frm_Test f;
    f.Load();
    f.Opt_Other.SetValue(true);   // on the form, not in the frame
    f.log.clear();
    f.Opt(1).SetValue(true);
    EXPECT_FALSE(f.Opt(0).Value());
    EXPECT_TRUE(f.Opt(1).Value());
    EXPECT_TRUE(f.Opt_Other.Value()) << "another container's option is not cleared";
    f.Opt(1).SetValue(true);
    EXPECT_EQ(f.log, (std::vector<std::string>{"Opt_Click 1"}));
}

TEST_F(UiModel, TextAndScrollValueRaiseChangeAndOutOfRangeFailsLoudly) {
    Frm_Test f;
    f.Load();
    f.log.clear();
    f.Txt.SetText("abc");
    f.Txt.SetText("abc");
    f.Scr.SetValue(40);
    EXPECT_THROW(f.Scr.SetValue(101), UiModelError);
    EXPECT_EQ(f.Scr.Value(), 40);
    EXPECT_EQ(f.log, (std::vector<std::string>{"Txt_Change abc", "Scr_Change 40"}));

    // For the user it is harmless: the value stays, the misuse is noted.
    host.strict = false;
    f.Scr.SetValue(-5);
    EXPECT_EQ(f.Scr.Value(), 40);
    ASSERT_EQ(host.ui_errors.size(), 1u);
    EXPECT_NE(host.ui_errors[0].find("outside 0..100"), std::string::npos);

    // The user's own scrolling is held inside the range.
    f.Show();
    f.Scr.UserScroll(500);
    EXPECT_EQ(f.Scr.Value(), 100);
}

TEST_F(UiModel, ListIndexRaisesClickAndFollowsInserts) {
    Frm_Test f;
    f.Load();
    f.log.clear();
    f.Lst.AddItem("b");
    f.Lst.AddItem("c");
    f.Lst.AddItem("a", 0);
    EXPECT_EQ(f.Lst.NewIndex(), 0);
    f.Lst.SetListIndex(2);
    EXPECT_EQ(f.Lst.Text(), "c");
    EXPECT_THROW(f.Lst.SetListIndex(5), UiModelError);
    EXPECT_EQ(f.log, (std::vector<std::string>{"Lst_Click 2"}));

    f.Cbo.SetStyle(Combo_DropDownList);
    f.Cbo.AddItem("one");
    f.Cbo.AddItem("two");
    f.Cbo.SetText("two");
    EXPECT_EQ(f.Cbo.ListIndex(), 1);
    EXPECT_THROW(f.Cbo.SetText("three"), UiModelError);
}

TEST_F(UiModel, FocusMovesRunValidateAndACancelKeepsTheFocus) {
    Frm_Test f;
    f.Show();
    f.Txt.SetFocus();
    f.Txt.SetText("bad");
    f.log.clear();
    f.Txt2.SetFocus();
    EXPECT_TRUE(f.Txt.HasFocus());
    f.Cmd_Ok.UserClick();
    EXPECT_EQ(f.log, (std::vector<std::string>{"Txt_Validate", "Txt_Validate"})) << "the click is refused too";

    f.Txt.SetText("good");
    f.log.clear();
    f.Txt2.SetFocus();
    EXPECT_TRUE(f.Txt2.HasFocus());
    EXPECT_EQ(f.log, (std::vector<std::string>{"Txt_Validate", "Txt_LostFocus", "Txt2_GotFocus"}));
}

TEST_F(UiModel, FocusRequestOnHiddenOrDisabledControlIsIgnored) {
    Frm_Test f;
    f.Show();
    f.Txt.SetFocus();
    f.Txt2.SetEnabled(false);
    f.Txt2.SetFocus();
    EXPECT_TRUE(f.Txt.HasFocus());
    f.Txt2.SetEnabled(true);
    f.Txt2.SetVisible(false);
    f.Txt2.SetFocus();
    EXPECT_TRUE(f.Txt.HasFocus());
    // A control on a page that is not showing cannot take it either.
    f.Txt_Page1.SetFocus();
    EXPECT_TRUE(f.Txt.HasFocus());
    f.Tab.SetTab(1);
    f.Txt_Page1.SetFocus();
    EXPECT_TRUE(f.Txt_Page1.HasFocus());
}

TEST_F(UiModel, KeyPreviewSeesKeysFirstAndCanSwallowThem) {
    Frm_Test f;
    f.Show();
    f.Txt.SetFocus();
    f.log.clear();
    f.Txt.UserKeyDown('A', 0);
    f.KeyPreview = true;
    f.Txt.UserKeyDown('B', 0);
    f.Txt.UserKeyDown(Key_F1, 0);
    EXPECT_EQ(f.log, (std::vector<std::string>{"Txt_KeyDown 65", "Form_KeyDown 66", "Txt_KeyDown 66",
                                               "Form_KeyDown 112"}));
}

TEST_F(UiModel, EnterAndEscapeClickTheDefaultAndCancelButtons) {
    Frm_Test f;
    f.Show();
    f.Txt.SetFocus();
    f.log.clear();
    f.Txt.UserKeyDown(Key_Return, 0);
    f.Txt2.SetFocus();
    f.Txt2.UserKeyDown(Key_Escape, 0);
    EXPECT_EQ(f.log, (std::vector<std::string>{"Txt_KeyDown 13", "Cmd_Ok_Click", "Txt_Validate", "Txt_LostFocus",
                                               "Txt2_GotFocus", "Cmd_Cancel_Click"}));
    EXPECT_TRUE(f.Txt2.HasFocus());
}

TEST_F(UiModel, DoubleClickIsDownUpClickDblClickUp) {
    Frm_Test f;
    f.Show();
    f.log.clear();
    f.Pic.UserDoubleClick(Button_Left, 0, 10, 12);
    EXPECT_EQ(f.log, (std::vector<std::string>{"MouseDown 1 10,12", "MouseUp", "Click", "DblClick", "MouseUp"}));
    // A hidden picture hears nothing.
    f.Pic.SetVisible(false);
    f.log.clear();
    f.Pic.UserMouseDown(Button_Left, 0, 1, 1);
    EXPECT_TRUE(f.log.empty());
}

TEST_F(UiModel, ControlArrayElementsAreLoadedAsHiddenCopiesAndUnloadedAtFormUnload) {
    Frm_Test f;
    f.Load();
    OptionButton& o = f.Opt.Load(5);
    EXPECT_EQ(o.Caption(), "First");
    EXPECT_FALSE(o.Visible());
    EXPECT_FALSE(o.Value());
    EXPECT_EQ(o.Container(), &f.Fra);
    EXPECT_EQ(f.Opt.UBound(), 5);
    f.log.clear();
    o.SetValue(true);
    EXPECT_EQ(f.log, (std::vector<std::string>{"Opt_Click 5"})) << "loaded elements are wired like designed ones";
    EXPECT_FALSE(f.Opt(0).Value());

    EXPECT_THROW(f.Opt.Load(5), UiModelError);
    EXPECT_THROW(f.Opt(7), UiModelError);
    EXPECT_THROW(f.Opt.Unload(0), UiModelError);

    ASSERT_TRUE(f.Unload());
    EXPECT_FALSE(f.Opt.Exists(5));
    EXPECT_TRUE(f.Opt.Exists(1));
    EXPECT_EQ(f.Find("Opt", 5), nullptr);
}

TEST_F(UiModel, AMissingArrayElementIsHarmlessForTheUser) {
    Frm_Test f;
    f.Load();
    host.strict = false;
    f.Opt(9).SetCaption("nowhere");
    EXPECT_FALSE(f.Opt.Exists(9));
    EXPECT_EQ(host.ui_errors.size(), 1u);
}

TEST_F(UiModel, QueryUnloadAndUnloadCanKeepTheFormAndUnloadingTwiceIsAnError) {
    Frm_Test f;
    f.Show();
    f.log.clear();
    f.refuse_query = true;
    EXPECT_FALSE(f.UserClose());
    f.refuse_query = false;
    f.refuse_unload = true;
    EXPECT_FALSE(f.Unload());
    EXPECT_TRUE(f.Loaded());
    EXPECT_TRUE(f.Visible());
    f.refuse_unload = false;
    EXPECT_TRUE(f.Unload());
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(f.log, (std::vector<std::string>{"QueryUnload 0", "QueryUnload 1", "Unload", "QueryUnload 1", "Unload"}));
    EXPECT_THROW(f.Unload(), UiModelError);
}

TEST_F(UiModel, ReloadStartsFromTheDesignAgain) {
    Frm_Test f;
    f.Load();
    f.Txt.SetText("typed");
    f.Opt(1).SetValue(true);
    f.Unload();
    f.Load();
    EXPECT_EQ(f.Txt.Text(), "");
    EXPECT_TRUE(f.Opt(0).Value());
    EXPECT_FALSE(f.Opt(1).Value());
    EXPECT_EQ(f.designs, 2);
}

TEST_F(UiModel, ModalShowRunsTheScriptRegisteredForTheFormName) {
    Frm_Test f;
    host.OnModal("Frm_Test", [](Form& form) {
        auto& t = static_cast<Frm_Test&>(form);
        EXPECT_TRUE(t.IsModal());
        t.Txt.UserType("from the script");
        t.Cmd_Ok.UserClick();
        t.Unload();
    });
    f.Show(Modal);
    EXPECT_FALSE(f.Loaded());
    EXPECT_FALSE(f.IsModal());
    EXPECT_NE(std::find(f.log.begin(), f.log.end(), "Cmd_Ok_Click"), f.log.end());
    EXPECT_EQ(host.log.front(), "Show Frm_Test");

    // Without a script a modal form is a failure the test sees.
    EXPECT_THROW(f.Show(Modal), UnexpectedDialog);
    EXPECT_FALSE(f.IsModal());
    // Unless the test allows it: then it closes unanswered, as by its close box.
    host.strict = false;
    f.ForceUnload();
    f.log.clear();
    f.Show(Modal);
    EXPECT_FALSE(f.Loaded());
    EXPECT_EQ(f.log, (std::vector<std::string>{"Load", "QueryUnload 0", "Unload"}));
}

TEST_F(UiModel, MenusHaveSeparatorsArraysInPlaceAndRefuseDisabledClicks) {
    Frm_Test f;
    f.Show();
    f.Mnu_Recent.Load(1).SetCaption("recent 1");
    std::vector<std::string> order;
    for (Control* c : f.Controls())
        if (c->Container() == &f.Mnu_Top) order.push_back(c->FullName());
    EXPECT_EQ(order, (std::vector<std::string>{"Mnu_Item", "Mnu_Sep", "Mnu_Recent(0)", "Mnu_Recent(1)", "Mnu_Last"}));
    EXPECT_TRUE(f.Mnu_Sep.IsSeparator());
    ASSERT_EQ(f.MenuBar().size(), 1u);
    f.log.clear();
    f.Mnu_Item.UserClick();
    f.Mnu_Top.SetEnabled(false);
    f.Mnu_Item.UserClick();
    EXPECT_EQ(f.log, (std::vector<std::string>{"Mnu_Item_Click"}));
}

TEST_F(UiModel, TabPagesHideTheirControlsAndRaiseClickWithThePreviousTab) {
    Frm_Test f;
    f.Show();
    EXPECT_FALSE(f.Txt_Page1.Shown());
    f.log.clear();
    f.Tab.SetTabEnabled(1, false);
    f.Tab.UserSelectTab(1);
    EXPECT_EQ(f.Tab.Tab(), 0);
    f.Tab.SetTabEnabled(1, true);
    f.Tab.UserSelectTab(1);
    EXPECT_TRUE(f.Txt_Page1.Shown());
    EXPECT_EQ(f.log, (std::vector<std::string>{"Tab_Click 0"}));
    EXPECT_THROW(f.Tab.SetTab(2), UiModelError);
}

TEST_F(UiModel, TimerTicksOnlyWhileEnabledWithAnInterval) {
    Frm_Test f;
    f.Load();
    f.log.clear();
    f.Tmr.UserTick();
    f.Tmr.SetInterval(100);
    f.Tmr.UserTick();
    f.Tmr.SetEnabled(false);
    f.Tmr.UserTick();
    EXPECT_EQ(f.log, (std::vector<std::string>{"Tick"}));
}

TEST_F(UiModel, CommonDialogPassesItsSettingsAndReportsCancel) {
    Frm_Test f;
    f.Load();
    f.CM.DialogTitle = "Open";
    f.CM.Filter = "Projects (*.LWM)|*.LWM";
    f.CM.InitDir = "c:\\projects";
    f.CM.FileName = "old.LWM";
    host.QueueFile({false, "c:\\projects\\demo.LWM"});
    ASSERT_TRUE(f.CM.ShowOpen());
    EXPECT_EQ(f.CM.FileName, "c:\\projects\\demo.LWM");
    EXPECT_EQ(f.CM.FileTitle, "demo.LWM");
    ASSERT_EQ(host.file_requests.size(), 1u);
    EXPECT_EQ(host.file_requests[0].initial_dir, "c:\\projects");
    EXPECT_EQ(host.file_requests[0].file_name, "old.LWM");
    EXPECT_FALSE(host.file_requests[0].save);

    host.QueueFile({true, ""});
    EXPECT_FALSE(f.CM.ShowSave());
    EXPECT_EQ(f.CM.FileName, "c:\\projects\\demo.LWM") << "cancel keeps the name";
    EXPECT_TRUE(host.file_requests[1].save);
}

TEST_F(UiModel, EveryChangeReachesTheHostAndTheSnapshotShowsState) {
    Frm_Test f;
    f.Load();
    host.record_changes = true;
    f.Cmd_Ok.SetEnabled(false);
    f.Cmd_Ok.SetEnabled(false);
    f.Txt.SetText("x");
    ASSERT_EQ(host.changes.size(), 2u);
    EXPECT_EQ(host.changes[0].control, "Cmd_Ok");
    EXPECT_EQ(host.changes[0].change, Change::Enabled);
    EXPECT_EQ(host.changes[1].change, Change::Text);

    auto snap = SnapshotControls(f);
    EXPECT_EQ(StateOf(snap, "Cmd_Ok"), (ControlState{"Cmd_Ok", false, true, "OK", ""}));
    EXPECT_EQ(StateOf(snap, "Opt(1)").caption, "Second");
    EXPECT_NE(SnapshotText(snap).find("Cmd_Ok - V \"OK\""), std::string::npos);
}

}  // namespace
