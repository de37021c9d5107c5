// The buttons: a press is the control's click, and the model sets what the button shows.
#include "qt/button_widgets.h"

#include "qt/qt_convert.h"
#include "qt/widget_feed.h"
#include "qt/widget_look.h"

namespace qthost {

namespace {

// Check and option buttons fill their whole rectangle with their colour (Qt paints buttons
// with the button roles).
void SetButtonColours(QWidget& w, const plat::Control& c) {
    w.setAutoFillBackground(true);
    SetColours(w, QPalette::Window, QPalette::WindowText, c.BackColor(), c.ForeColor());
    SetColours(w, QPalette::Button, QPalette::ButtonText, c.BackColor(), c.ForeColor());
}

}  // namespace

ButtonWidget::ButtonWidget(plat::CommandButton& control, QWidget* parent) : QPushButton(parent), c_(control) {
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] {
        if (!Syncing()) c_.UserClick();
    });
}

void ButtonWidget::Sync() {
    SyncCommon(c_, *this);
    SetColours(*this, QPalette::Button, QPalette::ButtonText, c_.BackColor(), c_.ForeColor());
    const bool graphical = c_.Style() == 1 && !c_.Picture().Empty();
    if (graphical) {
        QIcon icon(ToPixmap(c_.Picture()));
        icon.addPixmap(ToGreyedPixmap(c_.Picture(), c_.BackColor()), QIcon::Disabled);
        setIcon(icon);
        setIconSize(QSize(c_.Picture().Width(), c_.Picture().Height()));
        setText(c_.Picture().Height() + 14 <= c_.Height() ? ToQ(c_.Caption()) : QString());
    } else {
        setIcon(QIcon());
        setText(ToQ(c_.Caption()));
    }
}

CheckWidget::CheckWidget(plat::CheckBox& control, QWidget* parent) : QCheckBox(parent), c_(control) {
    setTristate(true);
    connect(this, &QCheckBox::clicked, this, [this] {
        if (!Syncing()) c_.UserClick();
        Sync();
    });
}

bool CheckWidget::hitButton(const QPoint& pos) const { return rect().contains(pos); }

void CheckWidget::Sync() {
    SyncScope scope;
    SyncCommon(c_, *this);
    SetButtonColours(*this, c_);
    setText(ToQ(c_.Caption()));
    setCheckState(c_.Value() == plat::Checked ? Qt::Checked : c_.Value() == plat::Grayed ? Qt::PartiallyChecked : Qt::Unchecked);
}

OptionWidget::OptionWidget(plat::OptionButton& control, QWidget* parent) : QRadioButton(parent), c_(control) {
    setAutoExclusive(false);
    connect(this, &QRadioButton::clicked, this, [this] {
        if (!Syncing()) c_.UserClick();
        Sync();
    });
}

bool OptionWidget::hitButton(const QPoint& pos) const { return rect().contains(pos); }

void OptionWidget::Sync() {
    SyncScope scope;
    SyncCommon(c_, *this);
    // Its own colour over its whole rectangle: the grid colour window's options are nothing else.
    SetButtonColours(*this, c_);
    setText(ToQ(c_.Caption()));
    setChecked(c_.Value());
}

}  // namespace qthost
