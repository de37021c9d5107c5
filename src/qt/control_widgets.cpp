// The Qt widget of each kind of control, and what a person does with it fed back to the model.
#include "qt/control_widgets.h"
#include "qt/focus_moves.h"

#include "platform/gdi/surface.h"
#include "platform/host.h"
#include "qt/qt_convert.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPointer>
#include <QSignalBlocker>
#include <QStyleOption>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace qthost {

namespace {
int sync_depth = 0;

// The key event the model was given last. Qt hands a key the widget ignored on to its parents;
// a modal window that the key's handler ran can leave the form's window without the focus
// widget it had (hidden or disabled meanwhile), and the window must not then take the same key
// as its own. Several window-system events can be delivered from one place in memory before the
// event loop turns, so the event is told by what it says as well.
struct KeySeen {
    const QEvent* event = nullptr;
    QEvent::Type type = QEvent::None;
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    quint64 timestamp = 0;
    bool operator==(const KeySeen&) const = default;
};
KeySeen key_fed;

KeySeen SeenOf(const QKeyEvent& k) { return {&k, k.type(), k.key(), k.modifiers(), k.timestamp()}; }

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

Qt::Alignment AlignmentOf(int alignment) {
    switch (alignment) {
        case plat::Align_Right: return Qt::AlignRight | Qt::AlignVCenter;
        case plat::Align_Center: return Qt::AlignHCenter | Qt::AlignVCenter;
        default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

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

// Back colour in every state; the fore colour only while usable, so that disabled text greys.
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

// A list's field and its entries: Base and Text; a closed drop-down list draws with the
// button roles, which take the same colours.
void SetListColours(QWidget& w, const plat::Control& c) {
    SetColours(w, QPalette::Base, QPalette::Text, c.BackColor(), c.ForeColor());
    SetColours(w, QPalette::Button, QPalette::ButtonText, c.BackColor(), c.ForeColor());
}

// Check and option buttons fill their whole rectangle with their colour (Qt paints buttons
// with the button roles).
void SetButtonColours(QWidget& w, const plat::Control& c) {
    w.setAutoFillBackground(true);
    SetColours(w, QPalette::Window, QPalette::WindowText, c.BackColor(), c.ForeColor());
    SetColours(w, QPalette::Button, QPalette::ButtonText, c.BackColor(), c.ForeColor());
}

}  // namespace

bool Syncing() { return sync_depth > 0; }
SyncScope::SyncScope() { ++sync_depth; }
SyncScope::~SyncScope() { --sync_depth; }

EventFeeder::EventFeeder(plat::Control& control, MouseFeed feed, QWidget* owner)
    : QObject(owner), control_(control), feed_(feed), owner_(owner) {
    owner->installEventFilter(this);
    if (feed == MouseFeed::Beside || feed == MouseFeed::BesideClick) {
        owner->setMouseTracking(true);
        // What the widget leaves of a press is not the container's: it stays with the control.
        owner->setAttribute(Qt::WA_NoMousePropagation);
    }
}

void EventFeeder::Watch(QWidget* part) {
    part->installEventFilter(this);
    part->setMouseTracking(true);
    part->setAttribute(Qt::WA_NoMousePropagation);
}

bool EventFeeder::FeedMouse(QWidget* widget, QMouseEvent* m) {
    if (feed_ == MouseFeed::None) return false;
    const bool own = feed_ == MouseFeed::Own;
    const QPointF at = widget == owner_ ? m->position() : QPointF(widget->mapTo(owner_, m->position().toPoint()));
    const double x = at.x(), y = at.y();
    const int shift = ShiftOf(m->modifiers());
    // A handler may run a modal form that unloads this control: then nothing more of the
    // event may reach the widget.
    QPointer<QObject> self(this);
    QPointer<QWidget> target(widget), owner(owner_);
    auto gone = [&] { return !self || !target || !owner || owner->property(kDroppedProperty).toBool(); };
    const QEvent::Type type = m->type();
    if (type == QEvent::MouseMove) {
        control_.UserMouseMove(ButtonsOf(m->buttons()), shift, x, y);
        return gone() || own;
    }
    const int button = ButtonOf(m->button());
    if (button == 0) return own;
    if (type == QEvent::MouseButtonPress) {
        if (own) {
            if (widget->focusPolicy() != Qt::NoFocus) widget->setFocus(Qt::MouseFocusReason);
            control_.UserMouseDown(button, shift, x, y);
            return true;
        }
        // The box that the focus brought took the release: this press is the whole click.
        if (std::exchange(box_on_focus_, false)) {
            press_refused_ = true;
            Finish_Press_After_Box(control_, widget);
            return true;
        }
        // Qt has moved its focus here already; a Validate that refused it refuses the press.
        press_refused_ = std::exchange(focus_refused_, false) && !control_.HasFocus();
        if (!press_refused_) {
            control_.UserMouseDown(button, shift, x, y);
            if (gone()) return true;
            // In a window not yet active again (a message box just closed) Qt moves its focus
            // without a word, and the model refuses it only here.
            if (control_.Focusable() && !control_.HasFocus()) {
                press_refused_ = true;
                Return_Focus(control_, widget);
            }
        }
        // A refused press does nothing to the widget either: no button held down, no list opened.
        return press_refused_;
    }
    if (type == QEvent::MouseButtonRelease) {
        const bool refused = std::exchange(press_refused_, false);
        if (own || feed_ == MouseFeed::BesideClick) {
            if (!refused) control_.UserMouseUp(button, shift, x, y);
            else control_.UserMouseRelease(button, shift, x, y);
        } else {
            control_.UserMouseRelease(button, shift, x, y);
        }
        return gone() || own;
    }
    control_.UserDoubleClickPress(button, shift, x, y);
    return gone() || own;
}

bool EventFeeder::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return FeedMouse(widget, static_cast<QMouseEvent*>(event));
        default:
            break;
    }
    if (widget != owner_) return false;
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            auto* k = static_cast<QKeyEvent*>(event);
            // Only the first delivery, to the widget that Qt gives the window's keys (its focus
            // widget, else the window itself): an ignored key travels on to the parent widgets.
            if (SeenOf(*k) == key_fed) return false;
            const QWidget* focus = widget->window()->focusWidget();
            if (focus ? focus != widget : !widget->isWindow()) return false;
            const int code = KeyCodeOf(*k);
            const int shift = ShiftOf(k->modifiers());
            if (event->type() == QEvent::KeyPress) {
                if (code) control_.UserKeyDown(code, shift);
                if (const int ascii = KeyAsciiOf(*k)) control_.UserKeyPress(ascii);
            } else if (code && !k->isAutoRepeat()) {
                control_.UserKeyUp(code, shift);
            }
            // Marked once the handlers are done (their modal loops included), and forgotten when
            // the event loop next turns: by then Qt has finished handing this event on.
            key_fed = SeenOf(*k);
            QMetaObject::invokeMethod(QCoreApplication::instance(), [seen = key_fed] {
                if (key_fed == seen) key_fed = {};
            }, Qt::QueuedConnection);
            return false;
        }
        case QEvent::FocusIn: {
            const int runs = Modal_Runs();
            focus_refused_ = !Feed_Focus(control_, widget, static_cast<QFocusEvent*>(event));
            box_on_focus_ = !focus_refused_ && Modal_Runs() != runs && static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
            // The answers are for the press that brought the focus: a refusal by Tab refuses no later one.
            QMetaObject::invokeMethod(this, [this] { focus_refused_ = box_on_focus_ = false; }, Qt::QueuedConnection);
            return false;
        }
        default:
            return false;
    }
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

// ---- buttons

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

// ---- labels, text, frames

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

// ---- lists

ComboWidget::ComboWidget(plat::ListControl& control, QWidget* parent) : QComboBox(parent), c_(control) {
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (Syncing()) return;
        c_.UserSelect(index);
        Sync(false);
    });
}

void ComboWidget::SetFeeder(EventFeeder* feeder) {
    feeder_ = feeder;
    if (lineEdit()) feeder->Watch(lineEdit());
}

void ComboWidget::Sync(bool items) {
    SyncScope scope;
    SyncCommon(c_, *this);
    auto* combo = c_.GetKind() == plat::Kind::ComboBox ? static_cast<plat::ComboBox*>(&c_) : nullptr;
    const bool editable = combo && combo->Style() != plat::Combo_DropDownList;
    if (isEditable() != editable) {
        setEditable(editable);
        if (editable) {
            connect(lineEdit(), &QLineEdit::textEdited, this, [this, combo](const QString& text) {
                if (Syncing()) return;
                combo->UserType(FromQ(text));
            });
            if (feeder_) feeder_->Watch(lineEdit());
        }
    }
    SetListColours(*this, c_);
    if (items || count() != c_.ListCount()) {
        clear();
        for (int i = 0; i < c_.ListCount(); ++i) addItem(ToQ(c_.List(i)));
    }
    setCurrentIndex(c_.ListIndex());
    if (editable) {
        const QString t = ToQ(combo->Text());
        if (currentText() != t) setEditText(t);
    }
}

ListWidget::ListWidget(plat::ListControl& control, QWidget* parent) : QListWidget(parent), c_(control) {
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (Syncing() || !item) return;
        const int index = RowToIndex(row(item));
        if (index >= 0) c_.UserSelect(index);
        Sync(false);
    });
    // The double click itself reaches the control through its feeder; a folder list opens the
    // folder as well.
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (Syncing() || !item || !c_.Reachable() || c_.GetKind() != plat::Kind::DirListBox) return;
        auto& dir = static_cast<plat::DirListBox&>(c_);
        dir.SetPath(dir.List(RowToIndex(row(item))));
        Sync(true);
    });
    connect(this, &QListWidget::currentRowChanged, this, [this](int r) {
        // Arrow keys move the selection as a click would.
        if (Syncing() || r < 0 || QApplication::mouseButtons() != Qt::NoButton) return;
        const int index = RowToIndex(r);
        if (index >= 0 && index != c_.ListIndex()) c_.UserSelect(index);
    });
}

int ListWidget::RowToIndex(int row) const {
    if (c_.GetKind() != plat::Kind::DirListBox) return row;
    const int parents = static_cast<plat::DirListBox&>(c_).ParentCount();
    return row - parents;
}

int ListWidget::IndexToRow(int index) const {
    if (c_.GetKind() != plat::Kind::DirListBox) return index;
    return index + static_cast<plat::DirListBox&>(c_).ParentCount();
}

void ListWidget::Sync(bool items) {
    SyncScope scope;
    SyncCommon(c_, *this);
    SetListColours(*this, c_);
    if (c_.GetKind() == plat::Kind::DirListBox) {
        auto& dir = static_cast<plat::DirListBox&>(c_);
        const int parents = dir.ParentCount();
        if (items || count() != parents + dir.ListCount()) {
            clear();
            // The chain from the root, indented, then the sub-folders one step further in.
            auto leaf = [](const std::string& p) {
                std::string s = p;
                while (s.size() > 1 && s.back() == '/') s.pop_back();
                const auto slash = s.find_last_of('/');
                return slash == std::string::npos || s.size() == 1 ? s : s.substr(slash + 1);
            };
            for (int i = 0; i < parents; ++i)
                addItem(QString(i * 2, ' ') + ToQ(leaf(dir.List(i - parents))));
            for (int i = 0; i < dir.ListCount(); ++i)
                addItem(QString(parents * 2, ' ') + ToQ(leaf(dir.List(i))));
        }
        setCurrentRow(dir.ListIndex() >= 0 ? IndexToRow(dir.ListIndex()) : parents - 1);
        return;
    }
    if (items || count() != c_.ListCount()) {
        clear();
        for (int i = 0; i < c_.ListCount(); ++i) addItem(ToQ(c_.List(i)));
    }
    setCurrentRow(c_.ListIndex());
}

// ---- scroll bars

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

// ---- picture box and overlays

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

namespace {

// How far beyond its container an overlay may reach: far more than anything shown, and little
// enough that the widget's sides and the painter's sums stay well within int.
constexpr int kOverlayReach = 1 << 16;

int Within(std::int64_t v, std::int64_t lo, std::int64_t hi) { return static_cast<int>(std::clamp(v, lo, hi)); }

}  // namespace

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

// ---- tab strip

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
