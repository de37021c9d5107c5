// The tool-bar pictures, drawn in code.
#include "editor/toolbar_icons.h"

#include <functional>
#include <map>

namespace {

using plat::RGB;
using plat::Surface;

// The colours the icons are drawn in, of the 16 standard ones.
const plat::Colour Black = RGB(0, 0, 0), Maroon = RGB(128, 0, 0), Green = RGB(0, 128, 0), Olive = RGB(128, 128, 0),
                   Navy = RGB(0, 0, 128), Purple = RGB(128, 0, 128), Teal = RGB(0, 128, 128), Grey = RGB(128, 128, 128),
                   Silver = RGB(192, 192, 192), Red = RGB(255, 0, 0), Lime = RGB(0, 255, 0), Yellow = RGB(255, 255, 0),
                   Blue = RGB(0, 0, 255), Aqua = RGB(0, 255, 255), White = RGB(255, 255, 255);

// The pen of some strokes of an icon: `width` pixels wide in `style` while it lives, then the
// surface's pen as it was, so no stroke leaves a wide, dotted or filling pen to the next.
class Icon_Pen {
public:
    Icon_Pen(Surface& s, int width, int style = plat::DS_Solid) : s_(s), keep_(s) {
        s.DrawWidth = width;
        s.DrawStyle = style;
    }

    // Circles drawn while it lives are filled with `colour`.
    void Fill(plat::Colour colour) {
        s_.FillStyle = plat::FS_Solid;
        s_.FillColor = colour;
    }

private:
    Surface& s_;
    const plat::KeepPen keep_;
};

// A circle filled with `fill` inside its `edge`.
void Disc(Surface& s, int cx, int cy, int radius, plat::Colour fill, plat::Colour edge) {
    Icon_Pen pen(s, 1);
    pen.Fill(fill);
    s.Circle(cx, cy, radius, edge);
}

void Box(Surface& s, int x1, int y1, int x2, int y2, plat::Colour fill, plat::Colour edge) {
    s.FillRect(x1, y1, x2 + 1, y2 + 1, fill);
    s.Line(x1, y1, x2, y1, edge);
    s.Line(x2, y1, x2, y2, edge);
    s.Line(x2, y2, x1, y2, edge);
    s.Line(x1, y2, x1, y1, edge);
}

// Pixel rows: '#' the colour, anything else left alone.
void Glyph(Surface& s, int x, int y, std::initializer_list<const char*> rows, plat::Colour c) {
    int r = 0;
    for (const char* row : rows) {
        for (int i = 0; row[i]; ++i)
            if (row[i] == '#') s.SetPixel(x + i, y + r, c);
        ++r;
    }
}

void Plus(Surface& s, int cx, int cy, int half, plat::Colour c) {
    s.Line(cx - half, cy, cx + half + 1, cy, c);
    s.Line(cx, cy - half, cx, cy + half + 1, c);
}

void Magnifier(Surface& s) {
    {
        const Icon_Pen handle(s, 2);
        s.Line(10, 10, 15, 15, Maroon);
    }
    s.Circle(6, 6, 5, Black);
    Disc(s, 6, 6, 4, White, White);
}

// A line of the map with its vertices, the editing tools' common motif.
void Road(Surface& s, plat::Colour c) {
    plat::Point pts[] = {{1, 13}, {5, 8}, {10, 10}, {14, 3}};
    s.Polyline(pts, 4);
    for (const auto& p : pts) Box(s, p.x - 1, p.y - 1, p.x + 1, p.y + 1, c, c);
}

void Picture_Frame(Surface& s, plat::Colour edge) {
    Box(s, 1, 2, 14, 13, Aqua, edge);
    s.FillRect(2, 9, 14, 13, Green);
    s.FillRect(4, 4, 7, 7, Yellow);
}

const std::map<std::string, std::function<void(Surface&)>>& Painters() {
    static const std::map<std::string, std::function<void(Surface&)>> painters = {
        {"Cmd_New", [](Surface& s) {
             Box(s, 3, 1, 12, 14, White, Black);
             s.FillRect(10, 1, 13, 4, Silver);
             s.Line(9, 1, 9, 4, Black);
             s.Line(9, 4, 13, 4, Black);
         }},
        {"Cmd_Save", [](Surface& s) {
             Box(s, 1, 1, 14, 14, Navy, Black);
             s.FillRect(4, 2, 12, 7, White);
             s.FillRect(4, 10, 12, 15, Silver);
             s.FillRect(9, 11, 11, 14, Navy);
         }},
        {"Cmd_AffBmp", [](Surface& s) { Picture_Frame(s, Black); }},
        {"Cmd_ZPlus", [](Surface& s) {
             Magnifier(s);
             Plus(s, 6, 6, 2, Black);
         }},
        {"Cmd_ZMoins", [](Surface& s) {
             Magnifier(s);
             s.Line(4, 6, 9, 6, Black);
         }},
        {"Cmd_Grid", [](Surface& s) {
             for (int v = 1; v <= 15; v += 7) {
                 s.Line(1, v, 15, v, Grey);
                 s.Line(v, 1, v, 15, Grey);
             }
         }},
        {"Cmd_ColourGrid", [](Surface& s) {
             s.FillRect(1, 1, 8, 8, Red);
             s.FillRect(8, 1, 15, 8, Lime);
             s.FillRect(1, 8, 8, 15, Blue);
             s.FillRect(8, 8, 15, 15, Yellow);
             for (int v = 1; v <= 15; v += 7) {
                 s.Line(1, v, 16, v, Black);
                 s.Line(v, 1, v, 16, Black);
             }
         }},
        {"Cmd_API", [](Surface& s) {
             // A gear: generation of the scenery files.
             Disc(s, 8, 8, 5, Grey, Black);
             for (auto [x, y] : {std::pair{7, 1}, {7, 13}, {1, 7}, {13, 7}}) s.FillRect(x, y, x + 2, y + 2, Black);
             Disc(s, 8, 8, 2, Silver, Black);
         }},
        {"Cmd_Help", [](Surface& s) {
             Glyph(s, 4, 1, {"  ####  ", " ##  ## ", " ##  ## ", "     ## ", "    ##  ", "   ##   ", "   ##   ",
                             "   ##   ", "        ", "   ##   ", "   ##   "}, Blue);
         }},
        {"Cmd_AffTexture", [](Surface& s) {
             for (int y = 0; y < 4; ++y)
                 for (int x = 0; x < 4; ++x) s.FillRect(1 + x * 3 + 1, 1 + y * 3 + 1, 1 + x * 3 + 4, 1 + y * 3 + 4, (x + y) % 2 ? Olive : Maroon);
             s.Rectangle(1, 1, 15, 15);
         }},
        {"Cmd_Excl_Areas", [](Surface& s) {
             s.ForeColor = Black;
             {
                 const Icon_Pen dotted(s, 1, plat::DS_Dot);
                 s.Rectangle(1, 1, 15, 15);
             }
             const Icon_Pen cross(s, 2);
             s.Line(4, 4, 12, 12, Red);
             s.Line(12, 4, 4, 12, Red);
         }},
        {"Cmd_TrtCell", [](Surface& s) {
             Box(s, 1, 1, 14, 14, Teal, Black);
             s.Line(1, 7, 15, 7, Aqua);
             s.Line(7, 1, 7, 15, Aqua);
             s.FillRect(6, 6, 9, 9, White);
         }},
        {"Cmd_Saisie_Routes", [](Surface& s) {
             s.ForeColor = Navy;
             Road(s, Navy);
         }},
        {"Cmd_New_Route", [](Surface& s) {
             s.ForeColor = Navy;
             plat::Point pts[] = {{1, 14}, {5, 9}, {9, 11}};
             s.Polyline(pts, 3);
             Plus(s, 12, 4, 3, Red);
         }},
        {"Cmd_Sel_Route", [](Surface& s) {
             s.ForeColor = Red;
             {
                 const Icon_Pen wide(s, 2);
                 plat::Point pts[] = {{1, 13}, {5, 8}, {10, 10}, {14, 3}};
                 s.Polyline(pts, 4);
             }
             Glyph(s, 2, 1, {"#", "##", "###", "####", "##", "# #"}, Black);
         }},
        {"Cmd_Tabul", [](Surface& s) {
             {
                 const Icon_Pen wide(s, 2);
                 s.Line(2, 8, 11, 8, Black);
             }
             Glyph(s, 8, 4, {"#", "##", "###", "####", "####", "###", "##", "#"}, Black);
             s.Line(13, 3, 13, 13, Black);
             s.Line(14, 3, 14, 13, Black);
         }},
        {"Cmd_Sel_Pt_Route", [](Surface& s) {
             s.ForeColor = Navy;
             Road(s, Navy);
             Box(s, 8, 8, 12, 12, Red, Black);
         }},
        {"Cmd_Ins_Pt_Route", [](Surface& s) {
             s.ForeColor = Navy;
             s.Line(1, 13, 14, 6);
             Box(s, 0, 12, 2, 14, Navy, Navy);
             Box(s, 13, 5, 15, 7, Navy, Navy);
             Box(s, 6, 8, 9, 11, Red, Black);
             Plus(s, 7, 3, 2, Red);
         }},
        {"Cmd_Extr_Pt_Route", [](Surface& s) {
             s.ForeColor = Navy;
             s.Line(1, 13, 8, 8);
             Box(s, 0, 12, 2, 14, Navy, Navy);
             Box(s, 7, 7, 9, 9, Red, Black);
             const Icon_Pen dotted(s, 1, plat::DS_Dot);
             s.Line(9, 7, 15, 2, Red);
         }},
        {"Cmd_TrtIma", [](Surface& s) { Picture_Frame(s, Purple); }},
        {"Cmd_New_Ima", [](Surface& s) {
             Picture_Frame(s, Purple);
             s.FillRect(9, 0, 16, 7, Silver);
             Plus(s, 12, 3, 3, Red);
         }},
        {"Cmd_Sel_Ima", [](Surface& s) {
             Picture_Frame(s, Red);
             s.ForeColor = Red;
             s.Rectangle(0, 1, 16, 15);
         }},
        {"Cmd_Sel_Crb_Ima", [](Surface& s) {
             // Two chain links: a polygon tied to the image.
             const Icon_Pen wide(s, 2);
             s.ForeColor = Grey;
             s.Ellipse(1, 4, 10, 11);
             s.ForeColor = Black;
             s.Ellipse(6, 5, 15, 12);
         }},
        {"Cmd_Sup_Route_Ou_Pt", [](Surface& s) {
             const Icon_Pen wide(s, 3);
             s.Line(4, 4, 16, 16, Red);
             s.Line(16, 4, 4, 16, Red);
         }},
        {"Cmd_FSUIPC", [](Surface& s) {
             Glyph(s, 0, 1, {"       ##       ", "      ####      ", "       ##       ", "       ##       ",
                             "      ####      ", "    ########    ", "  ############  ", "################",
                             "       ##       ", "       ##       ", "       ##       ", "     ######     ",
                             "    ########    "}, Navy);
         }},
        {"Cmd_TrtMesh", [](Surface& s) {
             s.ForeColor = Teal;
             for (int v = 2; v <= 14; v += 6) {
                 s.Line(2, v, 15, v);
                 s.Line(v, 2, v, 15);
             }
             s.Line(2, 8, 8, 2);
             s.Line(2, 14, 14, 2);
             s.Line(8, 14, 14, 8);
             for (int y = 2; y <= 14; y += 6)
                 for (int x = 2; x <= 14; x += 6) Box(s, x - 1, y - 1, x + 1, y + 1, Red, Red);
         }},
    };
    return painters;
}

}  // namespace

plat::Surface Toolbar_Icon(const std::string& button_name) {
    const auto& painters = Painters();
    auto it = painters.find(button_name);
    if (it == painters.end()) return {};
    int size = button_name == "Cmd_Sup_Route_Ou_Pt" ? 20 : 16;
    Surface s(size, size, Silver);
    s.ForeColor = Black;
    it->second(s);
    return s;
}
