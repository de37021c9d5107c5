// Lines through two points, cross products, perpendiculars, segment meetings and sides, a line
// against a circle, degrees to metres, and the blue byte of a colour.
#include "core/geometry.h"

#include <cmath>

void SYST_Line_Slope_Intercept(double x1, double y1, double x2, double y2, double& m, double& c) {
    m = 0;
    c = 0;
    if (x1 == x2) return;
    if (y1 != y2) {
        m = (y2 - y1) / (x2 - x1);
        c = y1 - x1 * m;
    } else {
        c = y1;
    }
}

double SYST_Cross_Product(double x1, double y1, double x2, double y2, double x3, double y3) {
    return (x2 - x1) * (y3 - y1) - (x3 - x1) * (y2 - y1);
}

void SYST_Perpendicular(double x1, double y1, double x2, double y2, double px, double py,
                        double& m, double& c) {
    double lm = 0, lc = 0;
    SYST_Line_Slope_Intercept(x1, y1, x2, y2, lm, lc);
    if (lm == 0 && lc == 0) {
        m = 0;
        c = py;
    } else if (lm == 0) {
        m = 0;
        c = 0;
    } else {
        m = -1 / lm;
        c = py - m * px;
    }
}

void SYST_Segment_Intersection(double x1, double y1, double x2, double y2,
                               double x3, double y3, double x4, double y4,
                               int16_t& flag, double& x, double& y) {
    flag = 1;
    x = 0;
    y = 0;
    if ((x1 == x3 && y1 == y3) || (x1 == x4 && y1 == y4)) {
        x = x1;
        y = y1;
        return;
    }
    if ((x2 == x3 && y2 == y3) || (x2 == x4 && y2 == y4)) {
        x = x2;
        y = y2;
        return;
    }
    flag = 0;
    if ((x1 == x2 && x3 == x4) || (y1 == y2 && y3 == y4)) return;
    double m1 = 0, c1 = 0, m2 = 0, c2 = 0;
    SYST_Line_Slope_Intercept(x1, y1, x2, y2, m1, c1);
    SYST_Line_Slope_Intercept(x3, y3, x4, y4, m2, c2);
    if (x1 == x2 || x3 == x4 || y1 == y2 || y3 == y4) {
        flag = 1;
        if (x1 == x2) {
            x = x1;
            y = (y3 == y4) ? y3 : m2 * x1 + c2;
        } else if (x3 == x4) {
            x = x3;
            y = (y1 == y2) ? y1 : m1 * x3 + c1;
        } else if (y1 == y2) {
            y = y1;
            x = (x3 == x4) ? x3 : (y1 - c2) / m2;
        } else {
            y = y3;
            x = (x1 == x2) ? x1 : (y3 - c1) / m1;
        }
        return;
    }
    if (std::fabs(m1 - m2) < 1e-10) return;
    flag = 1;
    x = (c2 - c1) / (m1 - m2);
    y = m1 * x + c1;
}

namespace {
bool Between(double v, double a, double b) { return (v >= a && v <= b) || (v >= b && v <= a); }
}  // namespace

void SYST_Classify_Segments(double x1, double y1, double x2, double y2,
                            double x3, double y3, double x4, double y4,
                            int16_t& code, double& x, double& y) {
    code = 0;
    x = 0;
    y = 0;
    int16_t flag = 0;
    SYST_Segment_Intersection(x1, y1, x2, y2, x3, y3, x4, y4, flag, x, y);
    if (flag == 0) return;
    code = 1;
    if (Between(x, x1, x2) && Between(x, x3, x4) && Between(y, y1, y2) && Between(y, y3, y4)) {
        code = 3;
        const bool at_ends = (x == x1 && x == x3) || (x == x2 && x == x4) || (x == x2 && x == x3) ||
                             (x == x1 && x == x4);
        if (!at_ends) code = 2;
    }
}

void SYST_Perpendicular_Foot(double x1, double y1, double x2, double y2, double px, double py,
                             double& fx, double& fy) {
    double m = 0, c = 0;
    SYST_Line_Slope_Intercept(x1, y1, x2, y2, m, c);
    const double mp = -1 / m;
    const double cp = py - mp * px;
    fx = (cp - c) / (m - mp);
    fy = m * fx + c;
}

int16_t SYST_Side_Of_Line(double x1, double y1, double x2, double y2, double px, double py) {
    if (x1 == x2) {
        if (px == x1) return 0;
        if (y2 < y1) return px <= x1 ? 1 : 2;
        return px <= x1 ? 2 : 1;
    }
    if (y1 == y2) {
        if (py == y1) return 0;
        if (x2 < x1) return py <= y1 ? 2 : 1;
        return py >= y1 ? 2 : 1;
    }
    if (px == x2) {
        if (py < y2) return x1 <= px ? 1 : 2;
        return x1 <= px ? 2 : 1;
    }
    if (py == y2) {
        if (px < x2) return y1 <= py ? 2 : 1;
        return py <= y1 ? 2 : 1;
    }
    double xf = 0, yf = 0;
    SYST_Perpendicular_Foot(x1, y1, x2, y2, px, py, xf, yf);
    if (xf == px && yf == py) return 0;
    if (x2 <= x1) return py <= yf ? 2 : 1;
    return yf <= py ? 2 : 1;
}

void SYST_Line_Circle(double cx, double cy, double r, double m, double c,
                      double& x1, double& y1, double& x2, double& y2, int16_t& flag) {
    flag = 0;
    const double a = m * m + 1;
    const double b = 2 * m * c - 2 * cx - 2 * m * cy;
    const double cc = cx * cx + c * c + cy * cy - r * r - 2 * c * cy;
    const double d = b * b - 4 * a * cc;
    double s = 0;
    if (d >= 0) s = std::sqrt(d);
    else flag = 1;
    x1 = (-b - s) / (2 * a);
    x2 = (s - b) / (2 * a);
    y1 = m * x1 + c;
    y2 = m * x2 + c;
}

double SysFS_Lat_Deg_To_Metres(double degrees) { return degrees * 111164.75; }

double SysFS_Lon_Deg_To_Metres(double latitude, double degrees) {
    return degrees * 111319.444 * std::cos(latitude * 3.14159265358979 / 180);
}

int16_t SYST_Colour_Blue(int32_t colour) {
    return static_cast<int16_t>(static_cast<int32_t>(std::trunc(colour / 65536.0)) & 255);
}
