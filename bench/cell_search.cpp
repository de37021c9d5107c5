// Cell search over 1 000 000 random positions: the rate at which positions are placed in their
// LOD8/LOD13 cells, and the same through a map pixel with its cell-local position.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "core/grid.h"
#include "core/project.h"

namespace {

constexpr int Positions = 1000000;

struct Position { double a, b; };

const std::vector<Position>& World_Positions() {
    static const std::vector<Position> positions = [] {
        std::mt19937_64 rng(1);
        std::uniform_real_distribution<double> lat(-90, 90), lon(-180, 180);
        std::vector<Position> p(Positions);
        for (auto& q : p) q = {lat(rng), lon(rng)};
        return p;
    }();
    return positions;
}

void BM_LatLon_To_Cell(benchmark::State& state) {
    const auto& positions = World_Positions();
    for (auto _ : state) {
        int64_t sum = 0;
        for (const Position& p : positions) {
            int16_t r8, r13, c8, c13;
            Com_LatLon_To_Cell(p.a, p.b, r8, r13, c8, c13);
            sum += r8 + r13 + c8 + c13;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * Positions);
    state.counters["positions_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * Positions,
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LatLon_To_Cell)->Unit(benchmark::kMillisecond);

void BM_Pixel_To_Sub_Pos_Clamped(benchmark::State& state) {
    // A map of 20 000 x 20 000 pixels over two degrees.
    Proj_Px_NW_X = 0;
    Proj_Px_NW_Y = 0;
    Proj_Px_SE_X = 20000;
    Proj_Px_SE_Y = 20000;
    Proj_Lat_NW = 46;
    Proj_Lon_NW = 4;
    Proj_Lat_SE = 44;
    Proj_Lon_SE = 6;
    std::mt19937_64 rng(2);
    std::uniform_real_distribution<double> px(0, 20000);
    std::vector<Position> pixels(Positions);
    for (auto& q : pixels) q = {px(rng), px(rng)};
    for (auto _ : state) {
        int64_t sum = 0;
        for (const Position& p : pixels) {
            int16_t c8, r8, c13, r13, x, y;
            Com_Pixel_To_Sub_Pos_Clamped(p.a, p.b, c8, r8, c13, r13, x, y);
            sum += c8 + r8 + c13 + r13 + x + y;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * Positions);
    state.counters["positions_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * Positions,
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Pixel_To_Sub_Pos_Clamped)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
