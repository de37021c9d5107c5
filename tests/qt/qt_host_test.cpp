// The Qt host: widgets follow the control model, what a person does reaches the model with its
// semantics, modal forms run their own loop, and the picture box shows its surface.
#include "qt_input.h"
#include "qt_test_app.h"

#include "qt/control_widgets.h"
#include "qt/qt_convert.h"

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

class Frm_Probe : public plat::Form {
public:
    Frm_Probe() : Form("Frm_Probe") {
        Cmd_Ok.Click = [this] { ++ok_clicks; if (hide_on_ok) Hide(); };
        Chk.Click = [this] { ++check_clicks; };
        HS.Change = [this] { ++scroll_changes; };
        Txt.Change = [this] { ++text_changes; };
        Tmr.Tick = [this] { ++ticks; };
        Mnu_Go.Click = [this] { ++menu_clicks; };
        KeyDown = [this](int& key, int) { keys.push_back(key); };
        Ln.SetContainer(&Pic);
    }
    plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};
    plat::CheckBox Chk{*this, "Chk"};
    plat::ControlArray<plat::OptionButton> Opt{*this, "Opt", {0, 1}};
    plat::TextBox Txt{*this, "Txt"};
    plat::HScrollBar HS{*this, "HS"};
    plat::PictureBox Pic{*this, "Pic"};
    plat::LineControl Ln{*this, "Ln"};
    plat::ControlArray<plat::Label> Lab{*this, "Lab", {0}};
    plat::Timer Tmr{*this, "Tmr"};
    plat::Menu Mnu_File{*this, "Mnu_File"};
    plat::Menu Mnu_Go{*this, "Mnu_Go", Mnu_File};

    int ok_clicks = 0, check_clicks = 0, scroll_changes = 0, text_changes = 0, ticks = 0, menu_clicks = 0;
    bool hide_on_ok = false;
    std::vector<int> keys;

protected:
    void Design() override {
        Move(0, 0, 320, 240);
        SetCaption("Probe");
        KeyPreview = true;
        Cmd_Ok.Move(10, 10, 80, 25);
        Cmd_Ok.SetCaption("OK");
        Chk.Move(10, 40, 100, 20);
        Chk.SetCaption("Check");
        Opt(0).Move(10, 64, 100, 20);
        Opt(1).Move(10, 86, 100, 20);
        Txt.Move(120, 10, 100, 22);
        HS.Move(120, 40, 150, 16);
        HS.SetMax(100);
        HS.SetLargeChange(10);
        Pic.Move(120, 70, 101, 81);
        Pic.SetBackColor(plat::RGB(255, 255, 255));
        Ln.SetPoints(0, 40, 100, 40);
        Ln.SetBorderColor(plat::RGB(0, 0, 255));
        Lab(0).Move(10, 200, 60, 16);
        Lab(0).SetCaption("Zero");
        Mnu_File.SetCaption("File");
        Mnu_Go.SetCaption("Go");
        Mnu_Go.SetShortcut("Ctrl+G");
    }
};

template <class W>
W* WidgetAs(qthost::QtHost& host, const plat::Control& c) {
    return dynamic_cast<W*>(host.WidgetOf(c));
}

class QtHostTest : public ::testing::Test {
protected:
    qttest::HostScope host;
    Frm_Probe form;
    void SetUp() override {
        form.Show();
        qttest::Settle();
    }
};

TEST_F(QtHostTest, WidgetsFollowTheModel) {
    auto* ok = WidgetAs<QPushButton>(*host, form.Cmd_Ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_EQ(ok->geometry(), QRect(10, 10, 80, 25));
    EXPECT_EQ(host->WindowOf(form)->windowTitle(), "Probe");
    EXPECT_EQ(host->ClientWidget(form)->size(), QSize(320, 240));

    form.Cmd_Ok.SetCaption("Annuler");
    form.Cmd_Ok.Move(30, 12, 90, 23);
    form.Cmd_Ok.SetEnabled(false);
    form.Chk.SetVisible(false);
    form.SetCaption("Sonde");
    EXPECT_EQ(ok->text(), "Annuler");
    EXPECT_EQ(ok->geometry(), QRect(30, 12, 90, 23));
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_FALSE(host->WidgetOf(form.Chk)->isVisible());
    EXPECT_EQ(host->WindowOf(form)->windowTitle(), "Sonde");
    // Text is UTF-8 inside and shown as such.
    form.Txt.SetText("Paramètres généraux");
    EXPECT_EQ(WidgetAs<QLineEdit>(*host, form.Txt)->text(), QString::fromUtf8("Paramètres généraux"));
}

TEST_F(QtHostTest, ControlArrayElementsComeAndGoAtRunTime) {
    plat::Label& two = form.Lab.Load(2);
    two.Move(80, 200, 60, 16);
    two.SetCaption("Two");
    two.SetVisible(true);
    auto* w = WidgetAs<QLabel>(*host, two);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->text(), "Two");
    EXPECT_TRUE(w->isVisible());
    form.Lab.Unload(2);
    EXPECT_EQ(host->WidgetOf(form.Lab(0))->property("tess_control").value<quintptr>(),
              reinterpret_cast<quintptr>(&form.Lab(0)));
    qttest::Settle();
    for (QLabel* l : host->ClientWidget(form)->findChildren<QLabel*>()) EXPECT_NE(l->text(), "Two");
}

TEST_F(QtHostTest, ClicksReachTheModelWhichDecides) {
    WidgetAs<QPushButton>(*host, form.Cmd_Ok)->click();
    EXPECT_EQ(form.ok_clicks, 1);
    form.Cmd_Ok.SetEnabled(false);
    WidgetAs<QPushButton>(*host, form.Cmd_Ok)->click();
    EXPECT_EQ(form.ok_clicks, 1);

    auto* chk = WidgetAs<QCheckBox>(*host, form.Chk);
    chk->click();
    EXPECT_EQ(form.Chk.Value(), plat::Checked);
    EXPECT_EQ(form.check_clicks, 1);
    EXPECT_TRUE(chk->isChecked());
    // Set in code: the model raises Click, the widget follows, nothing is raised twice.
    form.Chk.SetValue(plat::Unchecked);
    EXPECT_EQ(form.check_clicks, 2);
    EXPECT_FALSE(chk->isChecked());

    // Options of one container clear each other through the model.
    auto* o0 = WidgetAs<QRadioButton>(*host, form.Opt(0));
    auto* o1 = WidgetAs<QRadioButton>(*host, form.Opt(1));
    o0->click();
    o1->click();
    EXPECT_FALSE(form.Opt(0).Value());
    EXPECT_TRUE(form.Opt(1).Value());
    EXPECT_FALSE(o0->isChecked());
    EXPECT_TRUE(o1->isChecked());
}

TEST_F(QtHostTest, TypingAndScrollingRaiseChangeOnce) {
    auto* txt = WidgetAs<QLineEdit>(*host, form.Txt);
    txt->setFocus();
    txt->insert("abc");   // as typed: textEdited
    EXPECT_EQ(form.Txt.Text(), "abc");
    EXPECT_EQ(form.text_changes, 1);

    auto* hs = WidgetAs<QScrollBar>(*host, form.HS);
    EXPECT_EQ(hs->maximum(), 100);
    hs->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(form.HS.Value(), 10);
    EXPECT_EQ(form.scroll_changes, 1);
    form.HS.SetValue(50);
    EXPECT_EQ(hs->value(), 50);
    EXPECT_EQ(form.scroll_changes, 2);
}

TEST_F(QtHostTest, PictureShowsItsSurfaceWithOverlaysAboveCls) {
    auto* pic = host->WidgetOf(form.Pic);
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->size(), QSize(101, 81));
    form.Pic.Cls();
    form.Pic.Image().FillRect(10, 10, 30, 30, plat::RGB(255, 0, 0));
    form.Pic.Refresh();
    QImage img = qttest::Grab(*host->ClientWidget(form)).copy(pic->geometry());
    EXPECT_EQ(img.pixelColor(20, 20), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(60, 20), QColor(255, 255, 255));
    EXPECT_EQ(img.pixelColor(50, 40), QColor(0, 0, 255)) << "the line control is drawn above";
    form.Pic.Cls();
    qttest::Settle();
    img = qttest::Grab(*host->ClientWidget(form)).copy(pic->geometry());
    EXPECT_EQ(img.pixelColor(20, 20), QColor(255, 255, 255));
    EXPECT_EQ(img.pixelColor(50, 40), QColor(0, 0, 255)) << "Cls leaves the line";
}

TEST_F(QtHostTest, CancelledValidateKeepsTheFocusAndTheClick) {
    QApplication::setActiveWindow(host->WindowOf(form));
    form.Txt.Validate = [](bool& cancel) { cancel = true; };
    form.Txt.SetFocus();
    qttest::Settle();
    auto* txt = host->WidgetOf(form.Txt);
    auto* ok = WidgetAs<QPushButton>(*host, form.Cmd_Ok);
    EXPECT_EQ(QApplication::focusWidget(), txt);
    ok->setFocus(Qt::MouseFocusReason);   // the press on the button
    ok->click();
    qttest::Settle();
    EXPECT_EQ(form.ok_clicks, 0);
    EXPECT_TRUE(form.Txt.HasFocus());
    EXPECT_EQ(QApplication::focusWidget(), txt);
}

TEST_F(QtHostTest, KeysGoThroughTheFormFirst) {
    QWidget* pic = host->WidgetOf(form.Pic);
    pic->setFocus();
    qttest::Settle();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier, "+");
    QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : pic, &press);
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : pic, &f1);
    EXPECT_EQ(form.keys, (std::vector<int>{plat::Key_Add, plat::Key_F1}));
}

TEST_F(QtHostTest, MenusCarryCaptionsStateAndShortcuts) {
    QAction* go = host->ActionOf(form.Mnu_Go);
    ASSERT_TRUE(go);
    EXPECT_EQ(go->text(), "Go");
    EXPECT_EQ(go->shortcut(), QKeySequence("Ctrl+G"));
    go->trigger();
    EXPECT_EQ(form.menu_clicks, 1);
    form.Mnu_Go.SetEnabled(false);
    EXPECT_FALSE(go->isEnabled());
    form.Mnu_Go.SetCaption("Aller");
    EXPECT_EQ(go->text(), "Aller");
    EXPECT_EQ(host->MenuBarOf(form)->actions().front()->text(), "File");
}

TEST_F(QtHostTest, ModalFormRunsUntilHiddenOrClosed) {
    Frm_Probe dialog;
    dialog.hide_on_ok = true;
    form.Hide();
    auto shown = [this, &dialog] { return host->WindowOf(dialog) && host->WindowOf(dialog)->isVisible(); };
    qttest::WhenReady("the modal form", shown, [this, &dialog] { WidgetAs<QPushButton>(*host, dialog.Cmd_Ok)->click(); });
    dialog.Show(plat::Modal);
    EXPECT_EQ(dialog.ok_clicks, 1);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(host->WindowOf(dialog)->isVisible());

    // Its close box unloads it, which ends the loop too.
    qttest::WhenReady("the modal form, shown again", shown, [this, &dialog] { host->WindowOf(dialog)->close(); });
    dialog.Show(plat::Modal);
    EXPECT_FALSE(dialog.Loaded());
}

TEST_F(QtHostTest, MessageBoxAnswersByItsButtons) {
    auto box_shown = [] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; };
    qttest::WhenReady("the box asking whether to save", box_shown, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        EXPECT_EQ(box->text(), "Save?");
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(host->MsgBox("Save?", plat::MB_YESNOCANCEL + plat::MB_ICONQUESTION, "Tessaline"), plat::ID_NO);
    qttest::WhenReady("the box asking again", box_shown, [] { qobject_cast<QMessageBox*>(QApplication::activeModalWidget())->reject(); });
    EXPECT_EQ(host->MsgBox("Again?", plat::MB_YESNOCANCEL, "Tessaline"), plat::ID_CANCEL);
}

TEST_F(QtHostTest, TimerTicksWhileEnabledAndLoaded) {
    form.Tmr.SetInterval(5);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
    while (form.ticks < 3 && std::chrono::steady_clock::now() < until) {
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_GE(form.ticks, 3);
    form.Tmr.SetEnabled(false);
    const int seen = form.ticks;
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(form.ticks, seen);
}

}  // namespace

namespace {

TEST(QtSurfaceImage, PaintingReadsThePixelsInPlace) {
    // A 1600 x 1000 map picture is painted straight from the model's buffer: no copy first.
    plat::Surface s(1600, 1000, plat::RGB(0, 128, 255));
    const QImage img = qthost::WrapSurface(s);
    EXPECT_EQ(img.constBits(), s.Bits());
    EXPECT_EQ(img.size(), QSize(1600, 1000));
    EXPECT_EQ(img.pixelColor(1599, 999), QColor(0, 128, 255));
}

}  // namespace
