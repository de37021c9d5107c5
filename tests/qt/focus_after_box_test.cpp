// A box shown while the focus moves (a value checked on leaving its box, not held there) takes
// nothing of what the person did: the click that moved the focus takes effect and the focus and
// the next key are where the click put them; a focus refused by Tab refuses no later press.
#include "qt_input.h"
#include "qt_test_app.h"

#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

// A folder box whose check tells of a bad value and lets the focus go, as the general
// parameters do, a box whose check keeps the focus, two options and a button.
class Frm_Told : public plat::Form {
public:
    Frm_Told() : Form("Frm_Told") {
        Dir.Validate = [this](bool&) {
            if (Dir.Text() == "nowhere") plat::CurrentHost().MsgBox("(1) Erreur", plat::MB_OK, "Tessaline");
        };
        Held.Validate = [this](bool& cancel) { cancel = Held.Text() == "bad"; };
        Opt.SetWire([this](plat::OptionButton& o, int i) { o.Click = [this, i] { chosen = i; }; });
        Cmd.Click = [this] { ++clicks; };
        Opt(1).KeyPress = [this](int& ascii) { keys += static_cast<char>(ascii); };
    }
    plat::TextBox Dir{*this, "Dir"};
    plat::TextBox Held{*this, "Held"};
    plat::ControlArray<plat::OptionButton> Opt{*this, "Opt", {0, 1}};
    plat::CommandButton Cmd{*this, "Cmd"};
    int chosen = -1, clicks = 0;
    std::string keys;

protected:
    void Design() override {
        Move(0, 0, 300, 200);
        Dir.Move(10, 10, 200, 22);
        Held.Move(10, 40, 200, 22);
        Opt(0).Move(10, 80, 120, 20);
        Opt(0).SetCaption("Français");
        Opt(1).Move(10, 104, 120, 20);
        Opt(1).SetCaption("Anglais");
        Cmd.Move(10, 140, 80, 25);
        Cmd.SetCaption("OK");
    }
};

class FocusAfterBox : public ::testing::Test {
protected:
    qttest::HostScope host;
    Frm_Told form;
    void SetUp() override {
        form.Show();
        qttest::Settle();
        QApplication::setActiveWindow(host->WindowOf(form));
    }
    QWidget& W(const plat::Control& c) { return *host->WidgetOf(c); }
};

TEST_F(FocusAfterBox, TheClickThatMovedTheFocusTakesEffectAndTheNextKeyGoesWhereItWent) {
    QWidget& dir = W(form.Dir);
    qttest::Click(dir);
    QTest::keyClicks(&dir, "nowhere");
    QWidget& english = W(form.Opt(1));
    QWidget* top = english.window();
    const QPoint at = english.mapTo(top, english.rect().center());
    bool told = false;
    // The person lets the button go while the box is up, then answers it.
    qttest::WhenReady("the box telling of the bad folder", [] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; }, [&] {
        told = true;
        QTest::mouseRelease(top->windowHandle(), Qt::LeftButton, {}, at);
        static_cast<QMessageBox*>(QApplication::activeModalWidget())->button(QMessageBox::Ok)->click();
    });
    QTest::mousePress(top->windowHandle(), Qt::LeftButton, {}, at);
    qttest::Settle();
    ASSERT_TRUE(told);
    EXPECT_EQ(form.chosen, 1);
    EXPECT_TRUE(form.Opt(1).Value());
    EXPECT_TRUE(form.Opt(1).HasFocus());
    EXPECT_EQ(QApplication::focusWidget(), &english);
    QTest::keyClick(top->windowHandle(), Qt::Key_A, {});
    EXPECT_EQ(form.keys, "a");
}

TEST_F(FocusAfterBox, AFocusRefusedByTabRefusesNoLaterPress) {
    QWidget& held = W(form.Held);
    qttest::Click(held);
    QTest::keyClicks(&held, "bad");
    // Tab leaves the box for the options, and is refused.
    QTest::keyClick(&held, Qt::Key_Tab);
    qttest::Settle();
    ASSERT_TRUE(form.Held.HasFocus());
    form.Held.SetText("good");
    // Back from another window: Qt gives the focus without a word, and the press alone speaks.
    QApplication::setActiveWindow(nullptr);
    qttest::Click(W(form.Opt(0)));
    qttest::Settle();
    EXPECT_EQ(form.chosen, 0);
}

}  // namespace
