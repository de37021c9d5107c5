#pragma once
// What every widget mirrors of its control's look: enabled state, focus policy, tip, font,
// pointer and colours; and the pictures of buttons.
#include "platform/gdi/surface.h"

#include <QPalette>
#include <QPixmap>
#include <QWidget>

namespace plat {
class Control;
}

namespace qthost {

// Button pictures: a copy of the surface (the button keeps it).
QPixmap ToPixmap(const plat::Surface& surface);
// The look of a picture on a disabled button: grey, faded toward the button's colour.
QPixmap ToGreyedPixmap(const plat::Surface& surface, plat::Colour background);
// The common look properties every widget mirrors.
void SyncCommon(plat::Control& control, QWidget& widget);
// The back colour in every state; the fore colour only while usable, so that disabled text greys.
void SetColours(QWidget& w, QPalette::ColorRole back_role, QPalette::ColorRole fore_role, plat::Colour back, plat::Colour fore);

}  // namespace qthost
