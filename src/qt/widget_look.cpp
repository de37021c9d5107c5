// The look that every widget takes from its control.
#include "qt/widget_look.h"

#include "platform/host.h"
#include "platform/ui/control.h"
#include "qt/qt_convert.h"

#include <QImage>

#include <algorithm>

namespace qthost {

namespace {

Qt::CursorShape CursorOf(int pointer) {
    switch (pointer) {
        case plat::Pointer_Cross: return Qt::CrossCursor;
        case 3: return Qt::IBeamCursor;
        case 5: return Qt::SizeAllCursor;
        case 6: return Qt::SizeBDiagCursor;
        case 7: return Qt::SizeVerCursor;
        case 8: return Qt::SizeFDiagCursor;
        case 9: return Qt::SizeHorCursor;
        case 10: return Qt::UpArrowCursor;
        case plat::Pointer_Hourglass: return Qt::WaitCursor;
        case 12: return Qt::ForbiddenCursor;
        case 15: return Qt::SizeAllCursor;
        case 99: return Qt::PointingHandCursor;
        default: return Qt::ArrowCursor;
    }
}

}  // namespace

void SetColours(QWidget& w, QPalette::ColorRole back_role, QPalette::ColorRole fore_role, plat::Colour back, plat::Colour fore) {
    QPalette pal = w.palette();
    const QColor b = ToQColor(back), f = ToQColor(fore);
    pal.setColor(back_role, b);
    pal.setColor(QPalette::Active, fore_role, f);
    pal.setColor(QPalette::Inactive, fore_role, f);
    auto fade = [](int fc, int bc) { return (fc * 35 + bc * 65) / 100; };
    pal.setColor(QPalette::Disabled, fore_role, QColor(fade(f.red(), b.red()), fade(f.green(), b.green()), fade(f.blue(), b.blue())));
    w.setPalette(pal);
}

void SyncCommon(plat::Control& control, QWidget& widget) {
    widget.setEnabled(control.Enabled());
    // Tab skips what the design takes out of the tab order; a click still focuses it.
    if (control.Focusable()) widget.setFocusPolicy(control.TabStop ? Qt::StrongFocus : Qt::ClickFocus);
    widget.setToolTip(ToQ(control.ToolTipText()));
    widget.setFont(ToQFont(control.GetFont()));
    if (control.MousePointer() == 0) widget.unsetCursor();
    else widget.setCursor(CursorOf(control.MousePointer()));
}

QPixmap ToPixmap(const plat::Surface& surface) {
    if (surface.Empty()) return {};
    return QPixmap::fromImage(WrapSurface(surface).copy());
}

QPixmap ToGreyedPixmap(const plat::Surface& surface, plat::Colour background) {
    if (surface.Empty()) return {};
    QImage img = WrapSurface(surface).convertToFormat(QImage::Format_RGB32);
    const QColor back = ToQColor(background);
    // Pixels of the button's own colour stay; the drawing fades to grey toward it.
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (row[x] == back.rgb()) continue;
            const int grey = qGray(row[x]);
            const int b = std::max(141, back.lightness());
            // Darker than the button: a mid grey, still apart from it; lighter: kept light.
            const int v = grey <= b ? 120 + grey * (b - 140) / b : grey;
            row[x] = qRgb(v, v, v);
        }
    }
    return QPixmap::fromImage(img);
}

}  // namespace qthost
