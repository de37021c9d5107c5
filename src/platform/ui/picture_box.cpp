// The picture box and the Line and Shape controls drawn above its surface.
#include "platform/ui/picture_box.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace plat {

PictureBox::PictureBox(Form& form, std::string name, int index)
    : Control(form, std::move(name), Kind::PictureBox, index) {
    ColoursChanged();
}

void PictureBox::ColoursChanged() {
    surface_.ForeColor = ForeColor();
    surface_.BackColor = BackColor();
}

void PictureBox::Move(int left, int top, int width, int height) {
    Control::Move(left, top, width, height);
    if (surface_.Width() != Width() || surface_.Height() != Height()) {
        surface_.Resize(Width(), Height());
        Changed();
    }
}

void PictureBox::SetPicture(const Surface& picture) {
    picture_ = picture;
    Cls();
    Notify(Change::Picture);
}

void PictureBox::SetBorderStyle(int s) {
    if (border_style_ == s) return;
    border_style_ = s;
    Notify(Change::Style);
}

void PictureBox::Cls() {
    surface_.Cls();
    if (!picture_.Empty()) BitBlt(surface_, 0, 0, picture_.Width(), picture_.Height(), picture_, 0, 0);
    Changed();
}

void PictureBox::Changed() {
    if (Redrawing()) {
        pixels_held_ = true;
        return;
    }
    Notify(Change::Pixels);
}

void PictureBox::Refresh() {
    if (Redrawing()) {
        refresh_held_ = true;
        return;
    }
    Notify(Change::Refresh);
}

void PictureBox::EndRedraw() {
    if (redraw_depth_ == 0 || --redraw_depth_ > 0) return;
    const bool refresh = refresh_held_, pixels = pixels_held_;
    refresh_held_ = pixels_held_ = false;
    if (refresh) Notify(Change::Refresh);
    else if (pixels) Notify(Change::Pixels);
}

Surface PictureBox::Composed() const {
    Surface out = surface_;
    for (Control* c : Parent().Controls()) {
        if (c->Container() != this || !c->Visible()) continue;
        if (c->GetKind() == Kind::Line) static_cast<const LineControl*>(c)->DrawOn(out);
        if (c->GetKind() == Kind::Shape) static_cast<const Shape*>(c)->DrawOn(out);
    }
    return out;
}

void PictureBox::ResetProperties() {
    Control::ResetProperties();
    SetBackColor(RGB(0xF0, 0xF0, 0xF0));
    picture_ = Surface();
    border_style_ = 1;
    AutoRedraw = true;
    surface_ = Surface(0, 0);
    surface_.DrawWidth = 1;
    surface_.DrawStyle = DS_Solid;
    surface_.DrawMode = DM_CopyPen;
    surface_.FillStyle = FS_Transparent;
    surface_.FillColor = RGB(0, 0, 0);
    ColoursChanged();
    Notify(Change::Pixels);
}

void PictureBox::CopyPropertiesFrom(const Control& other) {
    Control::CopyPropertiesFrom(other);
    if (auto* o = dynamic_cast<const PictureBox*>(&other)) {
        surface_ = o->surface_;
        picture_ = o->picture_;
        border_style_ = o->border_style_;
        AutoRedraw = o->AutoRedraw;
        Notify(Change::Picture);
    }
}

// ---- Line and Shape overlays

void BorderedOverlay::SetBorderColor(Colour c) {
    if (border_.color == c) return;
    border_.color = c;
    Notify(Change::Overlay);
}

void BorderedOverlay::SetBorderStyle(int s) {
    if (border_.style == s) return;
    border_.style = s;
    Notify(Change::Overlay);
}

LineControl::LineControl(Form& form, std::string name, int index)
    : BorderedOverlay(form, std::move(name), Kind::Line, index) {}

void LineControl::SetPoints(int x1, int y1, int x2, int y2) {
    if (p_.x1 == x1 && p_.y1 == y1 && p_.x2 == x2 && p_.y2 == y2) return;
    p_.x1 = x1;
    p_.y1 = y1;
    p_.x2 = x2;
    p_.y2 = y2;
    Notify(Change::Overlay);
}

void LineControl::SetDrawMode(int m) {
    if (p_.draw_mode == m) return;
    p_.draw_mode = m;
    Notify(Change::Overlay);
}

namespace {
// Line and Shape BorderStyle (0 transparent, 1 solid, 2 dash, 3 dot, ...) as a pen style.
int PenStyleOf(int border_style) {
    switch (border_style) {
        case 0: return DS_Transparent;
        case 2: return DS_Dash;
        case 3: return DS_Dot;
        case 4: return DS_DashDot;
        case 5: return DS_DashDotDot;
        default: return DS_Solid;
    }
}
}  // namespace

void LineControl::DrawOn(Surface& s) const {
    if (border_.style == 0) return;
    const KeepPen keep(s);
    s.DrawWidth = border_.width;
    s.DrawStyle = PenStyleOf(border_.style);
    s.DrawMode = p_.draw_mode;
    s.Line(p_.x1, p_.y1, p_.x2, p_.y2, border_.color);
    // A Line control includes its end point.
    s.PSet(p_.x2, p_.y2, border_.color);
}

void LineControl::ResetProperties() {
    Control::ResetProperties();
    p_ = Props{};
    border_ = Border{};
}

void LineControl::CopyPropertiesFrom(const Control& other) {
    Control::CopyPropertiesFrom(other);
    if (auto* o = dynamic_cast<const LineControl*>(&other)) {
        p_ = o->p_;
        border_ = o->border_;
        Notify(Change::Overlay);
    }
}

Shape::Shape(Form& form, std::string name, int index) : BorderedOverlay(form, std::move(name), Kind::Shape, index) {}

void Shape::SetShapeKind(int shape) {
    if (p_.shape == shape) return;
    p_.shape = shape;
    Notify(Change::Overlay);
}

void Shape::SetFillStyle(int s) {
    if (p_.fill_style == s) return;
    p_.fill_style = s;
    Notify(Change::Overlay);
}

void Shape::SetFillColor(Colour c) {
    if (p_.fill_color == c) return;
    p_.fill_color = c;
    Notify(Change::Overlay);
}

void Shape::Move(int left, int top, int width, int height) {
    Control::Move(left, top, width, height);
    Notify(Change::Overlay);
}

void Shape::DrawOn(Surface& s) const {
    const KeepPen keep(s);
    s.DrawWidth = border_.width;
    s.DrawStyle = PenStyleOf(border_.style);
    s.DrawMode = DM_CopyPen;
    s.ForeColor = border_.color;
    s.FillStyle = p_.fill_style;
    s.FillColor = p_.fill_color;
    int w = Width(), h = Height();
    if (p_.shape == Shape_Square || p_.shape == Shape_Circle || p_.shape == Shape_RoundedSquare) w = h = std::min(w, h);
    int x = Left() + (Width() - w) / 2, y = Top() + (Height() - h) / 2;
    if (p_.shape == Shape_Oval || p_.shape == Shape_Circle) {
        // Drawn as the circle or ellipse inscribed in the box.
        s.Ellipse(x, y, x + w, y + h);
    } else {
        s.Rectangle(x, y, x + w, y + h);
    }
}

void Shape::ResetProperties() {
    Control::ResetProperties();
    p_ = Props{};
    border_ = Border{};
}

void Shape::CopyPropertiesFrom(const Control& other) {
    Control::CopyPropertiesFrom(other);
    if (auto* o = dynamic_cast<const Shape*>(&other)) {
        p_ = o->p_;
        border_ = o->border_;
        Notify(Change::Overlay);
    }
}

}  // namespace plat
