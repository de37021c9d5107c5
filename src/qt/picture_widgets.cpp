// The picture box painted from the model's pixels, and the overlays drawn above it.
#include "qt/picture_widgets.h"

#include "qt/qt_convert.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace qthost {

namespace {

Qt::PenStyle PenStyleOf(int border_style) {
    switch (border_style) {
        case 0: return Qt::NoPen;
        case 2: return Qt::DashLine;
        case 3: return Qt::DotLine;
        case 4: return Qt::DashDotLine;
        case 5: return Qt::DashDotDotLine;
        default: return Qt::SolidLine;
    }
}

// The raster operations that rubber bands use; the others paint as copy pen.
void ApplyDrawMode(QPainter& p, int draw_mode, QColor& colour) {
    switch (draw_mode) {
        case plat::DM_Invert:
            p.setCompositionMode(QPainter::RasterOp_NotDestination);
            break;
        case plat::DM_XorPen:
            p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            break;
        case plat::DM_NotXorPen:
            p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
            break;
        case plat::DM_Blackness: colour = Qt::black; break;
        case plat::DM_Whiteness: colour = Qt::white; break;
        case plat::DM_NotCopyPen: colour = QColor(255 - colour.red(), 255 - colour.green(), 255 - colour.blue()); break;
        default: break;
    }
}

// How far beyond its container an overlay may reach: far more than anything shown, and little
// enough that the widget's sides and the painter's sums stay well within int.
constexpr int kOverlayReach = 1 << 16;

int Within(std::int64_t v, std::int64_t lo, std::int64_t hi) { return static_cast<int>(std::clamp(v, lo, hi)); }

}  // namespace

PictureWidget::PictureWidget(plat::PictureBox& control, QWidget* parent) : QWidget(parent), c_(control) {
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureWidget::paintEvent(QPaintEvent* event) {
    (void)event;
    // A redraw half done is never shown: the window keeps the last whole picture (the widget
    // paints opaquely, so nothing erases it), and the redraw's end asks for a paint.
    if (c_.Redrawing()) return;
    QPainter p(this);
    const plat::Surface& s = c_.Image();
    // The model's pixels, seen in place: the one copy is the painter's into the window.
    const QImage image = WrapSurface(s);
    if (!image.isNull()) p.drawImage(0, 0, image);
    if (s.Width() < width() || s.Height() < height()) {
        const QColor back = ToQColor(c_.BackColor());
        p.fillRect(s.Width(), 0, width() - s.Width(), height(), back);
        p.fillRect(0, s.Height(), s.Width(), height() - s.Height(), back);
    }
    ++paints;
}

OverlayWidget::OverlayWidget(plat::Control& control, QWidget* parent) : QWidget(parent), c_(control) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void OverlayWidget::Sync() {
    const QSize room = parentWidget() ? parentWidget()->size() : QSize();
    if (c_.GetKind() == plat::Kind::Line) {
        auto& l = static_cast<plat::LineControl&>(c_);
        const int pad = Within(l.BorderWidth(), 0, 64) / 2 + 1;
        // The ends may lie anywhere in int: the line is cut, along itself, to the container's
        // reach before anything is added to them.
        double x1 = l.X1(), y1 = l.Y1(), x2 = l.X2(), y2 = l.Y2();
        if (!plat::ClipSegment(x1, y1, x2, y2, -kOverlayReach, -kOverlayReach, room.width() + kOverlayReach,
                               room.height() + kOverlayReach)) {
            from_ = to_ = QPoint();
            setGeometry(QRect());
            return;
        }
        // Bounded by the cut, so each rounds into int.
        from_ = QPoint(static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1)));
        to_ = QPoint(static_cast<int>(std::lround(x2)), static_cast<int>(std::lround(y2)));
        setGeometry(QRect(QPoint(std::min(from_.x(), to_.x()) - pad, std::min(from_.y(), to_.y()) - pad),
                          QPoint(std::max(from_.x(), to_.x()) + pad, std::max(from_.y(), to_.y()) + pad)));
    } else {
        // A shape far off is held just beyond the container's reach, so its sides stay within int.
        const int left = Within(c_.Left(), -kOverlayReach, room.width() + kOverlayReach);
        const int top = Within(c_.Top(), -kOverlayReach, room.height() + kOverlayReach);
        setGeometry(left, top, Within(c_.Width(), 1, kOverlayReach), Within(c_.Height(), 1, kOverlayReach));
    }
    update();
}

void OverlayWidget::paintEvent(QPaintEvent* event) {
    (void)event;
    QPainter p(this);
    if (c_.GetKind() == plat::Kind::Line) {
        auto& l = static_cast<plat::LineControl&>(c_);
        if (l.BorderStyle() == 0) return;
        QColor colour = ToQColor(l.BorderColor());
        ApplyDrawMode(p, l.DrawMode(), colour);
        QPen pen(colour, std::max(1, l.BorderWidth()), PenStyleOf(l.BorderStyle()));
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        p.drawLine(from_ - pos(), to_ - pos());
        return;
    }
    auto& s = static_cast<plat::Shape&>(c_);
    QColor border = ToQColor(s.BorderColor());
    const int w = std::max(1, s.BorderWidth());
    QRectF r(w / 2.0, w / 2.0, width() - w, height() - w);
    const int kind = s.ShapeKind();
    if (kind == plat::Shape_Square || kind == plat::Shape_Circle || kind == plat::Shape_RoundedSquare) {
        const double side = std::min(r.width(), r.height());
        r = QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
    }
    QPainterPath path;
    if (kind == plat::Shape_Oval || kind == plat::Shape_Circle) path.addEllipse(r);
    else if (kind == plat::Shape_RoundedRectangle || kind == plat::Shape_RoundedSquare) path.addRoundedRect(r, r.width() / 8, r.height() / 8);
    else path.addRect(r);
    if (s.FillStyle() != plat::FS_Transparent) {
        static const Qt::BrushStyle hatch[] = {Qt::SolidPattern, Qt::NoBrush, Qt::HorPattern, Qt::VerPattern,
                                               Qt::BDiagPattern, Qt::FDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        const int fs = std::clamp(s.FillStyle(), 0, 7);
        p.fillPath(path, QBrush(ToQColor(s.FillColor()), hatch[fs]));
    }
    if (s.BorderStyle() != 0) {
        p.setPen(QPen(border, w, PenStyleOf(s.BorderStyle())));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
}

}  // namespace qthost
