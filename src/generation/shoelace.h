#pragma once
// Twice the signed area of a ring, positive clockwise on the map (y southward), for every kind of
// point the stages keep: `place` gives a point's (x, y).
#include <cstddef>
#include <span>

template <class T, class Point, class Place>
T Shoelace(std::span<const Point> ring, Place place) {
    T s = 0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const auto [ax, ay] = place(ring[i]);
        const auto [bx, by] = place(ring[(i + 1) % ring.size()]);
        s += T(ax) * by - T(bx) * ay;
    }
    return s;
}
