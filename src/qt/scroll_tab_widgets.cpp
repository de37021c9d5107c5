// Scroll bars and tab strips: a move or a tab chosen goes to the model, which keeps the value.
#include "qt/scroll_tab_widgets.h"

#include "qt/qt_convert.h"
#include "qt/widget_feed.h"
#include "qt/widget_look.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>

#include <algorithm>

namespace qthost {

ScrollWidget::ScrollWidget(plat::ScrollBar& control, QWidget* parent)
    : QScrollBar(control.GetKind() == plat::Kind::HScrollBar ? Qt::Horizontal : Qt::Vertical, parent), c_(control) {
    // Only the end of a move counts: arrow, track, or the thumb let go.
    setTracking(false);
    connect(this, &QScrollBar::valueChanged, this, [this](int v) {
        if (Syncing()) return;
        c_.UserScroll(v);
        Sync();
    });
}

void ScrollWidget::Sync() {
    SyncScope scope;
    SyncCommon(c_, *this);
    const int lo = std::min(c_.Min(), c_.Max()), hi = std::max(c_.Min(), c_.Max());
    setRange(lo, hi);
    setInvertedAppearance(c_.Min() > c_.Max());
    setInvertedControls(c_.Min() > c_.Max());
    setSingleStep(std::max(1, c_.SmallChange()));
    setPageStep(std::max(1, c_.LargeChange()));
    setValue(c_.Value());
}

TabWidget::TabWidget(plat::TabStrip& control, QWidget* parent) : QWidget(parent), c_(control), bar_(new QTabBar(this)) {
    bar_->setDrawBase(false);
    // The strip is one stop for the focus: a bar of its own would take keys past the model.
    bar_->setFocusPolicy(Qt::NoFocus);
    bar_->installEventFilter(this);
}

bool TabWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched != bar_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            // A press gives Qt's focus to nothing here: the model moves it, and a box that
            // refuses its value keeps it, with one refusal and its page still shown.
            auto* m = static_cast<QMouseEvent*>(event);
            const int tab = bar_->tabAt(m->position().toPoint());
            if (m->button() == Qt::LeftButton && tab >= 0 && !Syncing()) {
                QPointer<TabWidget> self(this);
                c_.UserSelectTab(tab);
                if (self) Sync();
            }
            return true;
        }
        case QEvent::Wheel:
            return true;
        default:
            return false;
    }
}

void TabWidget::Sync() {
    SyncScope scope;
    SyncCommon(c_, *this);
    // A click on the bar does not focus the strip (the model does, once the page may change).
    setFocusPolicy(c_.TabStop ? Qt::TabFocus : Qt::NoFocus);
    while (bar_->count() > c_.Tabs()) bar_->removeTab(bar_->count() - 1);
    while (bar_->count() < c_.Tabs()) bar_->addTab(QString());
    // The window's palette carries one text colour for every state, so a closed tab would read
    // like an open one: its caption is faded towards the background.
    const QColor text = bar_->palette().color(QPalette::Active, QPalette::WindowText);
    const QColor back = bar_->palette().color(QPalette::Active, QPalette::Window);
    const auto fade = [](int t, int b) { return (t * 35 + b * 65) / 100; };
    const QColor faded(fade(text.red(), back.red()), fade(text.green(), back.green()), fade(text.blue(), back.blue()));
    for (int i = 0; i < c_.Tabs(); ++i) {
        bar_->setTabText(i, ToQ(c_.TabCaption(i)));
        bar_->setTabEnabled(i, c_.TabEnabled(i));
        bar_->setTabTextColor(i, c_.TabEnabled(i) ? QColor() : faded);
        bar_->setTabVisible(i, c_.TabVisible(i));
    }
    bar_->setCurrentIndex(c_.Tab());
    bar_->setGeometry(0, 0, width(), bar_->sizeHint().height());
    bar_->lower();
    update();
}

void TabWidget::paintEvent(QPaintEvent* event) {
    (void)event;
    QPainter p(this);
    QStyleOptionTabWidgetFrame opt;
    opt.initFrom(this);
    opt.rect = QRect(0, bar_->height() - 1, width(), height() - bar_->height() + 1);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &opt, &p, this);
}

}  // namespace qthost
