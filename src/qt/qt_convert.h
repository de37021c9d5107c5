#pragma once
// Conversions between the control model's values and Qt's: colours, fonts, surfaces, keys,
// mouse buttons, file filters and paths.
#include "platform/gdi/surface.h"
#include "platform/ui/control.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>

#include <string>

class QKeyEvent;
class QMouseEvent;

namespace qthost {

inline QString ToQ(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string FromQ(const QString& s) { return s.toUtf8().toStdString(); }

// 0x00BBGGRR, or a system colour (high bit set, index in the low byte).
QColor ToQColor(plat::Colour c);
QFont ToQFont(const plat::Font& font);

// The surface's pixels seen as an image, without a copy: valid while the surface is unchanged
// in size and alive.
QImage WrapSurface(const plat::Surface& surface);

// Qt key to the program's key code (0 for keys it has no code for), and the shift state.
int KeyCodeOf(const QKeyEvent& event);
int ShiftOf(Qt::KeyboardModifiers modifiers);
// The character typed, as the program's KeyPress code (0 for none or outside Latin-1).
int KeyAsciiOf(const QKeyEvent& event);
int ButtonOf(Qt::MouseButton button);
int ButtonsOf(Qt::MouseButtons buttons);

// "Projects (*.LWM)|*.LWM|All (*.*)|*.*" to Qt's name filters; patterns match either case.
QStringList ToQtFilters(const std::string& filter);
// A program path (backslashes, maybe a drive) to a local path; a local path as the program keeps
// it (native, as chosen).
QString ToLocalPath(const std::string& path);
std::string ToProgramPath(const QString& local);

}  // namespace qthost
