// The conversion options of a version-4 project: what the author ticks is what the reader does.
#include <gtest/gtest.h>

#include "platform/headless/headless_host.h"
#include "setup/frm_v24.h"
#include "setup/setup_services.h"
#include "support/program_state.h"

namespace {

class FrmV24Test : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        host().Reset();
    }
    void TearDown() override {
        if (Frm_V24_Window().Loaded()) Frm_V24_Window().Unload();
        testenv::ResetProgramState();
    }
    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }
};

TEST_F(FrmV24Test, OpensWithLineEndsAndExclusionsTicked) {
    host().OnModal("Frm_V24", [](plat::Form& f) {
        auto& w = static_cast<Frm_V24&>(f);
        EXPECT_EQ(w.Caption(), "From V4 to V5");
        EXPECT_EQ(w.Chk_Adapt_lines.Caption(), "Adapt lines Extremities");
        EXPECT_EQ(w.Chk_Adapt_lines.Value(), 1);
        EXPECT_EQ(w.Chk_Change_layer_Line.Value(), 0);
        EXPECT_EQ(w.Chk_Change_Layer_Poly.Value(), 0);
        EXPECT_EQ(w.Chk_Change_Layer_Exclude.Value(), 1);
        EXPECT_EQ(Conv_Not_Confirmed, 1);
        w.Cmd_Ok.UserClick();
    });
    Frm_V24_Show_Modal();
    EXPECT_EQ(Conv_Adapt_Lines, 1);
    EXPECT_EQ(Conv_Line_Layers, 0);
    EXPECT_EQ(Conv_Poly_Layers, 0);
    EXPECT_EQ(Conv_Excl_Layers, 1);
    EXPECT_EQ(Conv_Not_Confirmed, 0);
    EXPECT_FALSE(Frm_V24_Window().Loaded());
}

TEST_F(FrmV24Test, EachBoxStoresItsOwnOption) {
    host().OnModal("Frm_V24", [](plat::Form& f) {
        auto& w = static_cast<Frm_V24&>(f);
        w.Chk_Adapt_lines.UserClick();
        w.Chk_Change_layer_Line.UserClick();
        w.Chk_Change_Layer_Poly.UserClick();
        w.Chk_Change_Layer_Exclude.UserClick();
        EXPECT_EQ(Conv_Adapt_Lines, 0);
        EXPECT_EQ(Conv_Line_Layers, 1);
        EXPECT_EQ(Conv_Poly_Layers, 1);
        EXPECT_EQ(Conv_Excl_Layers, 0);
        w.Chk_Change_Layer_Poly.UserClick();
        w.Cmd_Ok.UserClick();
    });
    Frm_V24_Show_Modal();
    EXPECT_EQ(Conv_Adapt_Lines, 0);
    EXPECT_EQ(Conv_Line_Layers, 1);
    EXPECT_EQ(Conv_Poly_Layers, 0);
    EXPECT_EQ(Conv_Excl_Layers, 0);
}

TEST_F(FrmV24Test, ClosingWithoutOkClearsEveryOption) {
    host().OnModal("Frm_V24", [](plat::Form& f) {
        auto& w = static_cast<Frm_V24&>(f);
        w.Chk_Change_layer_Line.UserClick();
        w.UserClose();
    });
    Frm_V24_Show_Modal();
    EXPECT_EQ(Conv_Adapt_Lines, 0);
    EXPECT_EQ(Conv_Line_Layers, 0);
    EXPECT_EQ(Conv_Poly_Layers, 0);
    EXPECT_EQ(Conv_Excl_Layers, 0);
    EXPECT_EQ(Conv_Not_Confirmed, 1);
    // A window that the host merely hides counts as closed too.
    host().OnModal("Frm_V24", [](plat::Form& f) { f.Hide(); });
    Frm_V24_Show_Modal();
    EXPECT_EQ(Conv_Adapt_Lines, 0);
    EXPECT_EQ(Conv_Excl_Layers, 0);
}

TEST_F(FrmV24Test, EveryOpeningStartsFromTheDefaults) {
    host().OnModal("Frm_V24", [](plat::Form& f) {
        auto& w = static_cast<Frm_V24&>(f);
        w.Chk_Change_layer_Line.UserClick();
        w.Chk_Adapt_lines.UserClick();
        w.Cmd_Ok.UserClick();
    });
    Frm_V24_Show_Modal();
    ASSERT_EQ(Conv_Line_Layers, 1);
    host().OnModal("Frm_V24", [](plat::Form& f) {
        auto& w = static_cast<Frm_V24&>(f);
        EXPECT_EQ(w.Chk_Change_layer_Line.Value(), 0);
        EXPECT_EQ(w.Chk_Adapt_lines.Value(), 1);
        w.Cmd_Ok.UserClick();
    });
    Frm_V24_Show_Modal();
    EXPECT_EQ(Conv_Line_Layers, 0);
    EXPECT_EQ(Conv_Adapt_Lines, 1);
}

}  // namespace
