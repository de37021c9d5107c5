#pragma once
// Plane geometry on map pixels (lines as y = m x + c; a vertical line is m = 0, c = 0),
// metres per degree, and the blue byte of a colour.
#include <cstdint>

void SYST_Line_Slope_Intercept(double x1, double y1, double x2, double y2, double& m, double& c);
double SYST_Cross_Product(double x1, double y1, double x2, double y2, double x3, double y3);
// The perpendicular to line 1-2 through p.
void SYST_Perpendicular(double x1, double y1, double x2, double y2, double px, double py,
                        double& m, double& c);
// The foot of the perpendicular from p on the line through 1 and 2, neither vertical nor
// horizontal.
void SYST_Perpendicular_Foot(double x1, double y1, double x2, double y2, double px, double py,
                             double& fx, double& fy);
// The meeting point of the lines through the two segments; flag 1 when there is one.
void SYST_Segment_Intersection(double x1, double y1, double x2, double y2,
                               double x3, double y3, double x4, double y4,
                               int16_t& flag, double& x, double& y);
// 0 lines do not meet, 1 they meet outside a segment, 2 the segments cross, 3 they meet at an end.
void SYST_Classify_Segments(double x1, double y1, double x2, double y2,
                            double x3, double y3, double x4, double y4,
                            int16_t& code, double& x, double& y);
// Side of the directed line 1 -> 2 on which p lies: 0 on it, 2 left turn (positive cross), 1 right.
int16_t SYST_Side_Of_Line(double x1, double y1, double x2, double y2, double px, double py);
// Meeting points of y = m x + c with the circle; flag 1 when the line misses it.
void SYST_Line_Circle(double cx, double cy, double r, double m, double c,
                      double& x1, double& y1, double& x2, double& y2, int16_t& flag);

double SysFS_Lat_Deg_To_Metres(double degrees);
double SysFS_Lon_Deg_To_Metres(double latitude, double degrees);

// Bits 16..23 of a colour.
int16_t SYST_Colour_Blue(int32_t colour);
