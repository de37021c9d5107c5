#pragma once
// Scroll bars and tab strips: a position or a page that the model chooses.
#include "platform/ui/ui.h"

#include <QScrollBar>
#include <QTabBar>
#include <QWidget>

namespace qthost {

class ScrollWidget : public QScrollBar {
public:
    ScrollWidget(plat::ScrollBar& control, QWidget* parent);
    void Sync();
private:
    plat::ScrollBar& c_;
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

}  // namespace qthost
