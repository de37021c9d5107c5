// Conversions between the control model's values and Qt's.
#include "qt/qt_convert.h"

#include "platform/files.h"

#include <QDir>
#include <QKeyEvent>

#include <cmath>

namespace qthost {

QColor ToQColor(plat::Colour c) {
    if (c < 0) {
        // System colours: the few the designs use, with the classic scheme's values.
        switch (c & 0xFF) {
            case 0x05: return QColor(255, 255, 255);   // window background
            case 0x08: return QColor(0, 0, 0);         // window text
            case 0x0D: return QColor(0, 120, 215);     // highlight
            case 0x0E: return QColor(255, 255, 255);   // highlight text
            case 0x11: return QColor(109, 109, 109);   // grey text
            case 0x12: return QColor(0, 0, 0);         // button text
            case 0x18: return QColor(255, 255, 225);   // tool tip background
            default: return QColor(240, 240, 240);     // button face and the rest
        }
    }
    return QColor(plat::Red(c), plat::Green(c), plat::Blue(c));
}

QFont ToQFont(const plat::Font& font) {
    QFont f;
    // The designs name Windows faces; close metric matches come first where they exist.
    QStringList families{ToQ(font.name)};
    if (font.name == "MS Sans Serif" || font.name == "Tahoma" || font.name == "Arial")
        families << "Liberation Sans" << "Arial" << "DejaVu Sans Condensed" << "DejaVu Sans";
    f.setFamilies(families);
    // Point sizes are designed at 96 dots per inch; held to sizes a window can show (fmax drops a NaN).
    f.setPixelSize(static_cast<int>(std::lround(std::fmin(std::fmax(font.size * 96.0 / 72.0, 1.0), 4096.0))));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    return f;
}

QImage WrapSurface(const plat::Surface& surface) {
    if (surface.Empty()) return {};
    return QImage(surface.Bits(), surface.Width(), surface.Height(), surface.Stride(), QImage::Format_RGB888);
}

int KeyCodeOf(const QKeyEvent& event) {
    const int k = event.key();
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    if (keypad) {
        if (k >= Qt::Key_0 && k <= Qt::Key_9) return 96 + (k - Qt::Key_0);
        switch (k) {
            case Qt::Key_Asterisk: return 106;
            case Qt::Key_Plus: return plat::Key_Add;
            case Qt::Key_Minus: return plat::Key_Subtract;
            case Qt::Key_Period: return 110;
            case Qt::Key_Slash: return 111;
            default: break;
        }
    }
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return k;   // same codes
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return k;
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return plat::Key_F1 + (k - Qt::Key_F1);
    switch (k) {
        case Qt::Key_Backspace: return plat::Key_Back;
        case Qt::Key_Tab: case Qt::Key_Backtab: return plat::Key_Tab;
        case Qt::Key_Return: case Qt::Key_Enter: return plat::Key_Return;
        case Qt::Key_Shift: return plat::Key_Shift;
        case Qt::Key_Control: return plat::Key_Control;
        case Qt::Key_Alt: return 18;
        case Qt::Key_Escape: return plat::Key_Escape;
        case Qt::Key_Space: return plat::Key_Space;
        case Qt::Key_PageUp: return plat::Key_PageUp;
        case Qt::Key_PageDown: return plat::Key_PageDown;
        case Qt::Key_End: return plat::Key_End;
        case Qt::Key_Home: return plat::Key_Home;
        case Qt::Key_Left: return plat::Key_Left;
        case Qt::Key_Up: return plat::Key_Up;
        case Qt::Key_Right: return plat::Key_Right;
        case Qt::Key_Down: return plat::Key_Down;
        case Qt::Key_Insert: return plat::Key_Insert;
        case Qt::Key_Delete: return plat::Key_Delete;
        case Qt::Key_Plus: case Qt::Key_Equal: return 187;
        case Qt::Key_Minus: return 189;
        case Qt::Key_Comma: return 188;
        case Qt::Key_Period: return 190;
        default: return 0;
    }
}

int ShiftOf(Qt::KeyboardModifiers modifiers) {
    int s = 0;
    if (modifiers & Qt::ShiftModifier) s |= plat::Shift_Shift;
    if (modifiers & Qt::ControlModifier) s |= plat::Shift_Ctrl;
    if (modifiers & Qt::AltModifier) s |= plat::Shift_Alt;
    return s;
}

int KeyAsciiOf(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Return: case Qt::Key_Enter: return 13;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab: return 9;
        default: break;
    }
    const QString text = event.text();
    if (text.size() != 1) return 0;
    const char16_t ch = text.at(0).unicode();
    return ch > 0 && ch < 256 ? ch : 0;
}

int ButtonOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return plat::Button_Left;
        case Qt::RightButton: return plat::Button_Right;
        case Qt::MiddleButton: return plat::Button_Middle;
        default: return 0;
    }
}

int ButtonsOf(Qt::MouseButtons buttons) {
    int b = 0;
    if (buttons & Qt::LeftButton) b |= plat::Button_Left;
    if (buttons & Qt::RightButton) b |= plat::Button_Right;
    if (buttons & Qt::MiddleButton) b |= plat::Button_Middle;
    return b;
}

QStringList ToQtFilters(const std::string& filter) {
    QStringList out;
    const QStringList parts = ToQ(filter).split('|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            patterns << t;
            if (t.toUpper() != t) patterns << t.toUpper();
            if (t.toLower() != t) patterns << t.toLower();
        }
        patterns.removeDuplicates();
        out << parts[i].trimmed() + " (" + patterns.join(' ') + ")";
    }
    return out;
}

QString ToLocalPath(const std::string& path) {
    if (path.empty()) return {};
    return ToQ(plat::MapPath(path));
}

std::string ToProgramPath(const QString& local) {
    // The native path: every path helper takes "/" as well, and a person sees one style.
    return FromQ(QDir::cleanPath(local));
}

}  // namespace qthost
