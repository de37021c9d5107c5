#pragma once
// One Qt widget per kind of control. Each widget shows its control and turns what a person does
// with it into the control model's user actions; the model then decides and the host mirrors
// the outcome back (a refused click leaves a check box as it was).
#include "platform/ui/ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QWidget>

namespace qthost {

// True while the host writes model state into widgets: their signals are then not user actions.
bool Syncing();
class SyncScope {
public:
    SyncScope();
    ~SyncScope();
    SyncScope(const SyncScope&) = delete;
    SyncScope& operator=(const SyncScope&) = delete;
};

// How a widget's mouse events reach its control.
enum class MouseFeed {
    None,         // keys and focus only
    Own,          // the model alone answers the mouse (pictures, labels, frames)
    Beside,       // the widget keeps its mouse behaviour and reports its own Click
    BesideClick,  // the widget keeps its mouse behaviour; a press and release is the Click (text boxes)
};

// Feeds mouse, key and focus events of a widget (or of a part of it, such as a list's viewport)
// into its control; positions are given in the control's own widget.
class EventFeeder : public QObject {
public:
    EventFeeder(plat::Control& control, MouseFeed feed, QWidget* owner);
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Also feeds the mouse events of a part of the owner (a viewport, an editable combo's field).
    void Watch(QWidget* part);

private:
    bool FeedMouse(QWidget* widget, QMouseEvent* event);
    plat::Control& control_;
    MouseFeed feed_;
    QWidget* owner_;
    bool press_refused_ = false;
    bool focus_refused_ = false;   // the last focus Qt gave was refused by the model
    bool box_on_focus_ = false;    // a box ran while the model took the last focus Qt gave
};

// Set on a widget whose control is gone: the events still under way stop at the filter.
inline constexpr const char* kDroppedProperty = "tess_dropped";

class ButtonWidget : public QPushButton {
public:
    ButtonWidget(plat::CommandButton& control, QWidget* parent);
    void Sync();
private:
    plat::CommandButton& c_;
};

class CheckWidget : public QCheckBox {
public:
    CheckWidget(plat::CheckBox& control, QWidget* parent);
    void Sync();
protected:
    void nextCheckState() override {}   // the model toggles
    bool hitButton(const QPoint& pos) const override;
private:
    plat::CheckBox& c_;
};

class OptionWidget : public QRadioButton {
public:
    OptionWidget(plat::OptionButton& control, QWidget* parent);
    void Sync();
protected:
    void nextCheckState() override {}   // the model sets and clears the group
    bool hitButton(const QPoint& pos) const override;
private:
    plat::OptionButton& c_;
};

class LabelWidget : public QLabel {
public:
    LabelWidget(plat::Label& control, QWidget* parent);
    void Sync();
protected:
    void resizeEvent(QResizeEvent* event) override;
private:
    // The designs' widths were measured with a narrower face: a text that does not fit is drawn
    // condensed, and only past that shortened in its middle.
    void FitText();
    plat::Label& c_;
};

class LineEditWidget : public QLineEdit {
public:
    LineEditWidget(plat::TextBox& control, QWidget* parent);
    void Sync();
private:
    plat::TextBox& c_;
};

class TextEditWidget : public QPlainTextEdit {
public:
    TextEditWidget(plat::TextBox& control, QWidget* parent);
    void Sync();
private:
    plat::TextBox& c_;
};

class FrameWidget : public QGroupBox {
public:
    FrameWidget(plat::Frame& control, QWidget* parent);
    void Sync();
protected:
    void paintEvent(QPaintEvent* event) override;
private:
    plat::Frame& c_;
};

// Combo boxes and drive lists.
class ComboWidget : public QComboBox {
public:
    ComboWidget(plat::ListControl& control, QWidget* parent);
    void Sync(bool items);
    // Its edit field, when it has one, feeds the mouse too.
    void SetFeeder(EventFeeder* feeder);
private:
    plat::ListControl& c_;
    EventFeeder* feeder_ = nullptr;
};

// List boxes, folder lists and file lists.
class ListWidget : public QListWidget {
public:
    ListWidget(plat::ListControl& control, QWidget* parent);
    void Sync(bool items);
private:
    int RowToIndex(int row) const;
    int IndexToRow(int index) const;
    plat::ListControl& c_;
};

class ScrollWidget : public QScrollBar {
public:
    ScrollWidget(plat::ScrollBar& control, QWidget* parent);
    void Sync();
private:
    plat::ScrollBar& c_;
};

// The picture box: its surface painted straight from the model's pixels.
class PictureWidget : public QWidget {
public:
    PictureWidget(plat::PictureBox& control, QWidget* parent);
    // Pixels painted since creation (tests check that repaints happen).
    int paints = 0;
protected:
    void paintEvent(QPaintEvent* event) override;
private:
    plat::PictureBox& c_;
};

// A Line or Shape control, drawn above whatever stands below it; mouse events pass through.
class OverlayWidget : public QWidget {
public:
    OverlayWidget(plat::Control& control, QWidget* parent);
    void Sync();
protected:
    void paintEvent(QPaintEvent* event) override;
private:
    plat::Control& c_;
    // A Line's ends, in its container, as far as they are drawn.
    QPoint from_, to_;
};

class TabWidget : public QWidget {
public:
    TabWidget(plat::TabStrip& control, QWidget* parent);
    void Sync();
protected:
    void paintEvent(QPaintEvent* event) override;
    // The bar's presses and wheel turns: the model decides the page, not the bar.
    bool eventFilter(QObject* watched, QEvent* event) override;
private:
    plat::TabStrip& c_;
    QTabBar* bar_;
};

// Button pictures: a copy of the surface (the button keeps it).
QPixmap ToPixmap(const plat::Surface& surface);
// The look of a picture on a disabled button: grey, faded toward the button's colour.
QPixmap ToGreyedPixmap(const plat::Surface& surface, plat::Colour background);
// The common look properties every widget mirrors.
void SyncCommon(plat::Control& control, QWidget& widget);

}  // namespace qthost
