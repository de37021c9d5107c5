#pragma once
// The picture box and the Line and Shape overlays drawn above it.
#include "platform/ui/ui.h"

#include <QPoint>
#include <QWidget>

namespace qthost {

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

}  // namespace qthost
