// The widgets of text: labels fitted to their width, text boxes fed what is typed, and frames.
#include "qt/text_widgets.h"

#include "qt/qt_convert.h"
#include "qt/widget_feed.h"
#include "qt/widget_look.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace qthost {

namespace {

Qt::Alignment AlignmentOf(int alignment) {
    switch (alignment) {
        case plat::Align_Right: return Qt::AlignRight | Qt::AlignVCenter;
        case plat::Align_Center: return Qt::AlignHCenter | Qt::AlignVCenter;
        default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

}  // namespace

LabelWidget::LabelWidget(plat::Label& control, QWidget* parent) : QLabel(parent), c_(control) {
    setTextFormat(Qt::PlainText);
}

void LabelWidget::Sync() {
    SyncCommon(c_, *this);
    // Label text stands at the top, as the designs expect.
    setAlignment((AlignmentOf(c_.Alignment()) & Qt::AlignHorizontal_Mask) | Qt::AlignTop);
    setWordWrap(c_.WordWrap);
    setFrameStyle(c_.BorderStyle() == 1 ? (QFrame::Panel | QFrame::Sunken) : QFrame::NoFrame);
    setIndent(c_.BorderStyle() == 1 ? 1 : 0);
    setAutoFillBackground(c_.BackStyle() == 1);
    SetColours(*this, QPalette::Window, QPalette::WindowText, c_.BackColor(), c_.ForeColor());
    FitText();
}

void LabelWidget::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    FitText();
}

void LabelWidget::FitText() {
    QFont font = ToQFont(c_.GetFont());
    const QString full = ToQ(c_.Caption());
    QString shown = full;
    const int room = contentsRect().width() - indent();
    if (!c_.WordWrap && !full.contains('\n') && room > 0) {
        const int need = QFontMetrics(font).horizontalAdvance(full);
        if (need > room) {
            // Condensed no further than a person still reads it easily.
            constexpr int kNarrowest = 60;
            int stretch = std::max(kNarrowest, 100 * room / need);
            font.setStretch(stretch);
            while (stretch > kNarrowest && QFontMetrics(font).horizontalAdvance(full) > room) font.setStretch(stretch -= 2);
            if (QFontMetrics(font).horizontalAdvance(full) > room) shown = QFontMetrics(font).elidedText(full, Qt::ElideMiddle, room);
        }
    }
    if (this->font() != font) setFont(font);
    if (text() != shown) setText(shown);
}

LineEditWidget::LineEditWidget(plat::TextBox& control, QWidget* parent) : QLineEdit(parent), c_(control) {
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (Syncing()) return;
        c_.UserType(FromQ(text));
        Sync();
    });
}

void LineEditWidget::Sync() {
    SyncScope scope;
    SyncCommon(c_, *this);
    const QString t = ToQ(c_.Text());
    if (text() != t) setText(t);
    setReadOnly(c_.Locked());
    setMaxLength(c_.MaxLength > 0 ? c_.MaxLength : 32767);
    setAlignment(AlignmentOf(c_.Alignment()));
    SetColours(*this, QPalette::Base, QPalette::Text, c_.BackColor(), c_.ForeColor());
}

TextEditWidget::TextEditWidget(plat::TextBox& control, QWidget* parent) : QPlainTextEdit(parent), c_(control) {
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (Syncing()) return;
        QString t = toPlainText();
        t.replace('\n', "\r\n");
        c_.UserType(FromQ(t));
    });
}

void TextEditWidget::Sync() {
    SyncScope scope;
    SyncCommon(c_, *this);
    QString t = ToQ(c_.Text());
    t.replace("\r\n", "\n");
    if (toPlainText() != t) setPlainText(t);
    setReadOnly(c_.Locked());
    SetColours(*this, QPalette::Base, QPalette::Text, c_.BackColor(), c_.ForeColor());
}

FrameWidget::FrameWidget(plat::Frame& control, QWidget* parent) : QGroupBox(parent), c_(control) {}

void FrameWidget::Sync() {
    SyncCommon(c_, *this);
    setTitle(ToQ(c_.Caption()));
    setFlat(c_.BorderStyle == 0);
    setAutoFillBackground(true);
    SetColours(*this, QPalette::Window, QPalette::WindowText, c_.BackColor(), c_.ForeColor());
}

void FrameWidget::paintEvent(QPaintEvent* event) {
    (void)event;
    // The style tints a group box's inside darker, so the check and option buttons in it, which
    // fill themselves with the same colour, stood out as light patches: the inside keeps the
    // frame's own colour, the border is a plain etched line with the caption set into its top.
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    const QFontMetrics fm(font());
    const QString caption = title();
    const int inset = c_.BorderStyle == 0 ? 0 : 6;
    const QRect label(inset, 0, std::min(fm.horizontalAdvance(caption) + 4, std::max(0, width() - 2 * inset)), fm.height());
    if (c_.BorderStyle != 0 && width() > 3 && height() > 3) {
        const int top = caption.isEmpty() ? 0 : fm.height() / 2;
        p.save();
        if (!caption.isEmpty()) p.setClipRegion(QRegion(rect()).subtracted(label));
        const QRect r(0, top, width() - 2, height() - top - 2);
        p.setPen(palette().color(QPalette::Light));
        p.drawRect(r.translated(1, 1));
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(r);
        p.restore();
    }
    if (caption.isEmpty()) return;
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(label.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextHideMnemonic, caption);
}

}  // namespace qthost
