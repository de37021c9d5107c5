#pragma once
// The picture box: a persistent Surface (AutoRedraw) as large as the control, with the pen
// state of the surface, a Picture drawn below the drawing, and the Line and Shape controls
// standing in it drawn above (Cls does not erase them).
#include "platform/gdi/surface.h"
#include "platform/ui/control.h"

namespace plat {

class PictureBox : public Control {
public:
    PictureBox(Form& form, std::string name, int index = -1);

    // The drawing surface, always Width x Height. Drawing on it directly is allowed; call
    // Refresh (or Changed) so the host repaints.
    Surface& Image() { return surface_; }
    const Surface& Image() const { return surface_; }

    // The map picture takes the focus so the main window's keys reach it.
    bool Focusable() const override { return true; }

    // Resizing keeps what was drawn where it still fits.
    void Move(int left, int top, int width, int height) override;

    // The assigned picture (LoadPicture / Set Pic.Picture = ...). An empty Surface is "no
    // picture". Assigning one copies it onto the surface at 0,0 over the BackColor.
    const Surface& Picture() const { return picture_; }
    void SetPicture(const Surface& picture);
    void ClearPicture() { SetPicture(Surface()); }

    // Pen state, kept on the surface.
    int DrawWidth() const { return surface_.DrawWidth; }
    void SetDrawWidth(int w) { surface_.DrawWidth = w < 1 ? 1 : w; }
    int DrawStyle() const { return surface_.DrawStyle; }
    void SetDrawStyle(int s) { surface_.DrawStyle = s; }
    int DrawMode() const { return surface_.DrawMode; }
    void SetDrawMode(int m) { surface_.DrawMode = m; }
    int FillStyle() const { return surface_.FillStyle; }
    void SetFillStyle(int s) { surface_.FillStyle = s; }
    Colour FillColor() const { return surface_.FillColor; }
    void SetFillColor(Colour c) { surface_.FillColor = c; }
    int BorderStyle() const { return border_style_; }
    void SetBorderStyle(int s);
    bool AutoRedraw = true;

    // The pen colour follows ForeColor; Cls paints BackColor (and the Picture, if any).
    void Cls();
    void Line(int x1, int y1, int x2, int y2) { surface_.Line(x1, y1, x2, y2); Changed(); }
    void Line(int x1, int y1, int x2, int y2, Colour c) { surface_.Line(x1, y1, x2, y2, c); Changed(); }
    void PSet(int x, int y, Colour c) { surface_.PSet(x, y, c); Changed(); }
    void Circle(int cx, int cy, int r, Colour c) { surface_.Circle(cx, cy, r, c); Changed(); }
    // Tells the host that pixels changed (no repaint forced).
    void Changed();
    // Asks the host to repaint now.
    void Refresh();

    // A redraw reaches the screen in one piece: while one is open (they nest), the host hears
    // of no pixels and no Refresh; the end of the outermost tells it once, a Refresh when one
    // was asked for meanwhile. Hosts paint nothing of the picture while Redrawing.
    void BeginRedraw() { ++redraw_depth_; }
    void EndRedraw();
    bool Redrawing() const { return redraw_depth_ > 0; }

    // What a person sees: the surface with the Line and Shape controls in it drawn above.
    Surface Composed() const;

    void ResetProperties() override;
    void CopyPropertiesFrom(const Control& other) override;

private:
    void ColoursChanged() override;
    Surface surface_;
    Surface picture_;
    int border_style_ = 1;
    int redraw_depth_ = 0;
    bool pixels_held_ = false;
    bool refresh_held_ = false;
};

// The redraw of a picture box for as long as the scope lasts.
class RedrawScope {
public:
    explicit RedrawScope(PictureBox& picture) : picture_(picture) { picture_.BeginRedraw(); }
    ~RedrawScope() { picture_.EndRedraw(); }
    RedrawScope(const RedrawScope&) = delete;
    RedrawScope& operator=(const RedrawScope&) = delete;

private:
    PictureBox& picture_;
};

}  // namespace plat
