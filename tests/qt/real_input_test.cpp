// What a person does with the mouse and the keys on the real widgets reaches every kind of
// control with the control model's events, and each widget keeps its own behaviour and colours.
#include "qt_input.h"
#include "qt_test_app.h"

#include "qt/control_widgets.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Frm_Kinds : public plat::Form {
public:
    Frm_Kinds() : Form("Frm_Kinds") {
        for (plat::Control* c : std::initializer_list<plat::Control*>{&Txt, &Lst, &Cbo, &Chk, &Opt(0), &Opt(1), &Fra, &Lab, &Pic, &Cmd}) Wire(*c);
    }
    plat::TextBox Txt{*this, "Txt"};
    plat::ListBox Lst{*this, "Lst"};
    plat::ComboBox Cbo{*this, "Cbo"};
    plat::CheckBox Chk{*this, "Chk"};
    plat::ControlArray<plat::OptionButton> Opt{*this, "Opt", {0, 1}};
    plat::Frame Fra{*this, "Fra"};
    plat::Label Lab{*this, "Lab"};
    plat::PictureBox Pic{*this, "Pic"};
    plat::CommandButton Cmd{*this, "Cmd"};
    std::vector<std::string> log;
    int changes = 0;

    // The events of one control, in order, and the log cleared.
    std::vector<std::string> Take() { return std::exchange(log, {}); }

protected:
    void Design() override {
        Move(0, 0, 420, 300);
        SetCaption("Kinds");
        Txt.Move(10, 10, 120, 22);
        Lst.Move(10, 40, 120, 80);
        for (const char* s : {"alpha", "beta", "gamma"}) Lst.AddItem(s);
        Cbo.Move(10, 130, 120, 22);
        Cbo.SetStyle(plat::Combo_DropDownList);
        for (const char* s : {"one", "two", "three"}) Cbo.AddItem(s);
        Chk.Move(150, 10, 120, 20);
        Chk.SetCaption("Check");
        Chk.SetBackColor(plat::RGB(255, 224, 224));
        Chk.SetForeColor(plat::RGB(0, 0, 160));
        Opt(0).Move(150, 34, 120, 20);
        Opt(1).Move(150, 58, 120, 20);
        Fra.Move(150, 90, 120, 60);
        Fra.SetCaption("Frame");
        Lab.Move(150, 160, 120, 18);
        Lab.SetCaption("Label");
        Pic.Move(290, 10, 100, 100);
        Cmd.Move(290, 130, 100, 25);
        Cmd.SetCaption("Button");
        Txt.Change = [this] { ++changes; };
    }

private:
    void Wire(plat::Control& c) {
        const std::string n = c.FullName();
        c.MouseDown = [this, n](int, int, double, double) { log.push_back(n + " MouseDown"); };
        c.MouseUp = [this, n](int, int, double, double) { log.push_back(n + " MouseUp"); };
        c.Click = [this, n] { log.push_back(n + " Click"); };
        c.DblClick = [this, n] { log.push_back(n + " DblClick"); };
    }
};

class RealInput : public ::testing::Test {
protected:
    qttest::HostScope host;
    Frm_Kinds form;
    void SetUp() override {
        form.Show();
        qttest::Settle();
        QApplication::setActiveWindow(host->WindowOf(form));
        form.log.clear();
    }
    QWidget& W(const plat::Control& c) { return *host->WidgetOf(c); }
};

using Events = std::vector<std::string>;

TEST_F(RealInput, ADoubleClickOnATextBoxReachesItsHandlerAndTypingStillWorks) {
    qttest::DoubleClick(W(form.Txt));
    EXPECT_EQ(form.Take(), (Events{"Txt MouseDown", "Txt MouseUp", "Txt Click", "Txt DblClick", "Txt MouseUp"}));
    EXPECT_TRUE(form.Txt.HasFocus());
    QTest::keyClicks(&W(form.Txt), "45 m");
    EXPECT_EQ(form.Txt.Text(), "45 m");
    EXPECT_EQ(form.changes, 4);
    // A plain click on a text box is MouseDown, MouseUp, Click.
    qttest::Click(W(form.Txt));
    EXPECT_EQ(form.Take(), (Events{"Txt MouseDown", "Txt MouseUp", "Txt Click"}));
}

TEST_F(RealInput, ListsComboBoxesChecksAndOptionsGetTheMouseAndStillChoose) {
    auto& list = static_cast<QListWidget&>(W(form.Lst));
    qttest::Click(*list.viewport(), list.visualItemRect(list.item(1)).center());
    EXPECT_EQ(form.Lst.ListIndex(), 1);
    EXPECT_EQ(form.Take(), (Events{"Lst MouseDown", "Lst MouseUp", "Lst Click"}));
    // A double click on an entry: its DblClick once, the entry chosen.
    qttest::DoubleClick(*list.viewport(), list.visualItemRect(list.item(2)).center());
    EXPECT_EQ(form.Lst.ListIndex(), 2);
    const Events seen = form.Take();
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "Lst DblClick"), 1);
    EXPECT_EQ(seen.front(), "Lst MouseDown");
    EXPECT_EQ(seen.back(), "Lst MouseUp");

    // The check box toggles once per click, after MouseDown and MouseUp, anywhere on it.
    qttest::Click(W(form.Chk), QPoint(110, 10));
    EXPECT_EQ(form.Chk.Value(), plat::Checked);
    EXPECT_EQ(form.Take(), (Events{"Chk MouseDown", "Chk MouseUp", "Chk Click"}));
    qttest::Click(W(form.Opt(1)), QPoint(100, 10));
    EXPECT_TRUE(form.Opt(1).Value());
    EXPECT_EQ(form.Take(), (Events{"Opt(1) MouseDown", "Opt(1) MouseUp", "Opt(1) Click"}));
    qttest::Click(W(form.Cmd));
    EXPECT_EQ(form.Take(), (Events{"Cmd MouseDown", "Cmd MouseUp", "Cmd Click"}));

    // The combo box: the press reaches it and opens its list, and an entry chosen there counts.
    auto& combo = static_cast<QComboBox&>(W(form.Cbo));
    QTest::mousePress(combo.window()->windowHandle(), Qt::LeftButton, {}, combo.mapTo(combo.window(), combo.rect().center()));
    qttest::Settle();
    EXPECT_EQ(form.Take(), (Events{"Cbo MouseDown"}));
    ASSERT_TRUE(combo.view()->isVisible());
    QAbstractItemView* view = combo.view();
    // The list ignores a release right after it opened, as a person's first release is.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(2, 0)).center());
    qttest::Settle();
    EXPECT_EQ(form.Cbo.ListIndex(), 2);
    EXPECT_EQ(form.Take(), (Events{"Cbo Click"}));
}

TEST_F(RealInput, FramesLabelsAndPicturesAnswerTheMouseThemselves) {
    qttest::DoubleClick(W(form.Fra), QPoint(60, 40));
    EXPECT_EQ(form.Take(), (Events{"Fra MouseDown", "Fra MouseUp", "Fra Click", "Fra DblClick", "Fra MouseUp"}));
    qttest::Click(W(form.Lab));
    EXPECT_EQ(form.Take(), (Events{"Lab MouseDown", "Lab MouseUp", "Lab Click"}));
    qttest::DoubleClick(W(form.Pic));
    EXPECT_EQ(form.Take(), (Events{"Pic MouseDown", "Pic MouseUp", "Pic Click", "Pic DblClick", "Pic MouseUp"}));
    // A press beside the controls is the form's, never theirs.
    int form_downs = 0;
    form.MouseDown = [&](int, int, double, double) { ++form_downs; };
    qttest::Click(*host->ClientWidget(form), QPoint(400, 280));
    EXPECT_EQ(form_downs, 1);
    EXPECT_TRUE(form.Take().empty());
}

TEST_F(RealInput, EveryControlShowsItsBackAndForeColour) {
    form.Txt.SetBackColor(plat::RGB(200, 255, 200));
    form.Lst.SetBackColor(plat::RGB(200, 200, 255));
    form.Cbo.SetBackColor(plat::RGB(255, 255, 200));
    form.Opt(0).SetBackColor(plat::RGB(64, 64, 64));
    qttest::Settle();
    const QImage img = qttest::Grab(*host->ClientWidget(form));
    auto at = [&](const plat::Control& c, int dx, int dy) { return img.pixelColor(c.Left() + dx, c.Top() + dy); };
    EXPECT_EQ(at(form.Txt, 100, 11), QColor(200, 255, 200));
    EXPECT_EQ(at(form.Lst, 100, 70), QColor(200, 200, 255));
    EXPECT_EQ(at(form.Chk, 115, 10), QColor(255, 224, 224));
    EXPECT_EQ(at(form.Opt(0), 115, 10), QColor(64, 64, 64));
    EXPECT_EQ(W(form.Chk).palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 160));
    EXPECT_EQ(W(form.Cbo).palette().color(QPalette::Button), QColor(255, 255, 200));
}

// The inside of a frame is its own colour, as the buttons set in it are: they do not stand out
// as patches of another shade.
TEST_F(RealInput, AFrameShowsItsColourInsideAndItsCaption) {
    form.Fra.SetBackColor(plat::RGB(236, 233, 216));
    form.Opt(1).Move(160, 114, 100, 20);
    form.Opt(1).SetBackColor(plat::RGB(236, 233, 216));
    W(form.Opt(1)).raise();
    qttest::Settle();
    const QImage img = qttest::Grab(*host->ClientWidget(form));
    const QColor back(236, 233, 216);
    EXPECT_EQ(img.pixelColor(form.Fra.Left() + 5, form.Fra.Top() + 50), back);
    EXPECT_EQ(img.pixelColor(form.Fra.Left() + 115, form.Fra.Top() + 50), back);
    // The option's own rectangle and the frame beside it are one colour.
    EXPECT_EQ(img.pixelColor(form.Opt(1).Left() + 95, form.Opt(1).Top() + 10), back);
    EXPECT_EQ(img.pixelColor(form.Opt(1).Left() + 105, form.Opt(1).Top() + 10), back);
    // The caption is still drawn: dark pixels in the frame's top row of text.
    int dark = 0;
    for (int x = form.Fra.Left(); x < form.Fra.Left() + 60; ++x)
        for (int y = form.Fra.Top(); y < form.Fra.Top() + 14; ++y) dark += img.pixelColor(x, y).lightness() < 100;
    EXPECT_GT(dark, 10);
}

// A box on the first page of a tab strip whose check refuses "bad", and a button beside it.
class Frm_Pages : public plat::Form {
public:
    Frm_Pages() : Form("Frm_Pages") {
        Txt.Validate = [this](bool& cancel) {
            ++checks;
            cancel = Txt.Text() == "bad";
        };
        Cmd.Click = [this] { ++clicks; };
    }
    plat::TabStrip Tab{*this, "Tab"};
    plat::TextBox Txt{*this, "Txt"};
    plat::CommandButton Cmd{*this, "Cmd"};
    int checks = 0, clicks = 0;

protected:
    void Design() override {
        Move(0, 0, 300, 200);
        Tab.Move(0, 0, 300, 150);
        Tab.SetTabs(2);
        Tab.SetTabCaption(0, "Main");
        Tab.SetTabCaption(1, "LWM");
        Txt.SetContainer(&Tab, 0);
        Txt.Move(10, 40, 100, 22);
        Cmd.Move(10, 160, 80, 25);
        Cmd.SetCaption("OK");
    }
};

TEST(RealInputPages, ARefusedValueKeepsItsPageAndTheFocusAndIsCheckedOncePerClick) {
    qttest::HostScope host;
    Frm_Pages form;
    form.Show();
    qttest::Settle();
    QApplication::setActiveWindow(host->WindowOf(form));
    QWidget& txt = *host->WidgetOf(form.Txt);
    auto* bar = host->WidgetOf(form.Tab)->findChild<QTabBar*>();
    ASSERT_TRUE(bar);
    qttest::Click(txt);
    QTest::keyClicks(&txt, "bad");
    ASSERT_EQ(form.Txt.Text(), "bad");

    qttest::Click(*bar, bar->tabRect(1).center());
    qttest::Settle();
    EXPECT_EQ(form.checks, 1);
    EXPECT_EQ(form.Tab.Tab(), 0);
    EXPECT_EQ(bar->currentIndex(), 0);
    EXPECT_TRUE(txt.isVisible());
    EXPECT_TRUE(form.Txt.HasFocus());
    EXPECT_EQ(QApplication::focusWidget(), &txt);

    // The button's press is refused with one check, and leaves the button up.
    auto& cmd = static_cast<QPushButton&>(*host->WidgetOf(form.Cmd));
    qttest::Click(cmd);
    EXPECT_EQ(form.checks, 2);
    EXPECT_EQ(form.clicks, 0);
    EXPECT_FALSE(cmd.isDown());
    qttest::Settle();
    EXPECT_EQ(QApplication::focusWidget(), &txt);
    QTest::keyClicks(&txt, "!");
    EXPECT_EQ(form.Txt.Text(), "bad!");

    qttest::Click(*bar, bar->tabRect(1).center());
    qttest::Settle();
    EXPECT_EQ(form.Tab.Tab(), 1);
    EXPECT_EQ(bar->currentIndex(), 1);
    EXPECT_FALSE(txt.isVisible());
}

// Qt's own texts follow the program's language, also when it changes while the program runs.
TEST(QtLanguage, MessageBoxButtonsAndFileDialogsSpeakTheProgramsLanguage) {
    qttest::HostScope host;
    bool french = true;
    host->SetLanguageSource([&] { return french; });
    QStringList buttons;
    auto read_buttons = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        buttons.clear();
        for (auto b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}) buttons << box->button(b)->text().remove('&');
        box->button(QMessageBox::No)->click();
    };
    qttest::WhenReady("the box asking whether to save", [] { return QApplication::activeModalWidget() != nullptr; }, read_buttons);
    EXPECT_EQ(host->MsgBox("Enregistrer ?", plat::MB_YESNOCANCEL, "Tessaline"), plat::ID_NO);
    EXPECT_EQ(buttons, QStringList({"Oui", "Non", "Annuler"}));

    french = false;
    qttest::WhenReady("the box asking whether to save", [] { return QApplication::activeModalWidget() != nullptr; }, read_buttons);
    EXPECT_EQ(host->MsgBox("Save?", plat::MB_YESNOCANCEL, "Tessaline"), plat::ID_NO);
    EXPECT_EQ(buttons, QStringList({"Yes", "No", "Cancel"}));

    french = true;
    QString look_in;
    qttest::WhenReady("the file dialog", [] { return QApplication::activeModalWidget() != nullptr; }, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (auto* label = dialog->findChild<QLabel*>("lookInLabel")) look_in = label->text();
        dialog->close();
    });
    plat::FileDialogRequest request;
    request.title = "Ouvrir";
    host->FileDialog(request);
    EXPECT_TRUE(look_in.startsWith("Voir dans")) << look_in.toStdString();
}

// The file dialog's type column names a folder in the program's language.
TEST(QtLanguage, TheFileDialogNamesAFolderInTheProgramsLanguage) {
    qttest::HostScope host;
    bool french = true;
    host->SetLanguageSource([&] { return french; });
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("Cartes"));
    auto folder_type = [&] {
        QString type;
        auto folder_row = [] {
            auto* model = QApplication::activeModalWidget() ? QApplication::activeModalWidget()->findChild<QFileSystemModel*>() : nullptr;
            if (!model) return QModelIndex();
            const QModelIndex root = model->index(model->rootPath());
            for (int r = 0; r < model->rowCount(root); ++r)
                if (model->fileName(model->index(r, 0, root)) == "Cartes") return model->index(r, 2, root);
            return QModelIndex();
        };
        qttest::WhenReady("the folder \"Cartes\" in the file dialog", [&] { return folder_row().isValid(); }, [&] {
            type = folder_row().data().toString();
            QApplication::activeModalWidget()->close();
        });
        plat::FileDialogRequest request;
        request.initial_dir = dir.path().toStdString();
        host->FileDialog(request);
        return type;
    };
    EXPECT_EQ(folder_type(), "Dossier");
    french = false;
    EXPECT_EQ(folder_type(), "Folder");
}

}  // namespace
