// Drawing-surface figures: fills, a long polyline and a map-tile stretch.
#include "platform/gdi/surface.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace plat;

static void BM_FillRect_1600x1000(benchmark::State& state) {
    Surface s(1600, 1000);
    int i = 0;
    for (auto _ : state) {
        s.FillRect(0, 0, 1600, 1000, RGB(i & 255, 128, 64));
        ++i;
        benchmark::DoNotOptimize(s.Bits());
    }
    state.SetItemsProcessed(state.iterations() * 1600 * 1000);
}
BENCHMARK(BM_FillRect_1600x1000);

static void BM_Cls_1600x1000(benchmark::State& state) {
    Surface s(1600, 1000, RGB(255, 255, 255));
    for (auto _ : state) {
        s.Cls();
        benchmark::DoNotOptimize(s.Bits());
    }
}
BENCHMARK(BM_Cls_1600x1000);

static void BM_FillRect_XorPen(benchmark::State& state) {
    Surface s(1600, 1000);
    s.DrawMode = DM_XorPen;
    for (auto _ : state) {
        s.FillRect(0, 0, 1600, 1000, RGB(255, 255, 0));
        benchmark::DoNotOptimize(s.Bits());
    }
}
BENCHMARK(BM_FillRect_XorPen);

static std::vector<Point> Zigzag(int segments) {
    std::vector<Point> pts;
    pts.reserve(segments + 1);
    for (int i = 0; i <= segments; ++i) pts.push_back({(i * 7) % 1600, (i * 13) % 1000});
    return pts;
}

static void BM_Polyline_100000(benchmark::State& state) {
    Surface s(1600, 1000);
    s.DrawWidth = static_cast<int>(state.range(0));
    std::vector<Point> pts = Zigzag(100000);
    for (auto _ : state) {
        s.Polyline(pts);
        benchmark::DoNotOptimize(s.Bits());
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_Polyline_100000)->Arg(1)->Arg(3);

static void BM_StretchBlt_Tile2000(benchmark::State& state) {
    Surface tile(2000, 2000, RGB(10, 200, 30));
    for (int y = 0; y < 2000; y += 50) tile.FillRect(0, y, 2000, y + 25, RGB(200, 10, 30));
    Surface pic(1600, 1000);
    for (auto _ : state) {
        // The whole tile onto the picture at a zoom-out, then a zoomed-in part.
        StretchBlt(pic, 0, 0, 1000, 1000, tile, 0, 0, 2000, 2000);
        StretchBlt(pic, 0, 0, 1600, 1000, tile, 500, 500, 800, 500);
        benchmark::DoNotOptimize(pic.Bits());
    }
}
BENCHMARK(BM_StretchBlt_Tile2000);

BENCHMARK_MAIN();
