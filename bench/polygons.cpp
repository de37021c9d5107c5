// Preparing, splitting, cutting and indexing 1 000 concave polygons spread over 50 LOD8 cells,
// at 1 000, 2 000 and 4 000 points each. Prints the time of each size and its growth per
// doubling, with the share of the piece sort (the exchange-sort order) on its own.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "core/grid.h"
#include "core/project.h"
#include "generation/grid_cut.h"
#include "generation/prepare_polygons.h"
#include "generation/work_tables.h"
#include "generation/writer_base.h"
#include "platform/headless/headless_host.h"

namespace {

constexpr int Cols = 10, Rows = 5;        // 50 LOD8 cells of 1000 x 1000 pixels
constexpr int Polys_X = 40, Polys_Y = 25;  // 1 000 polygons

struct Timing {
    double total = 0, sort = 0;
    int pieces = 0;
};
std::map<int64_t, Timing> Results;

void Build_Project(int points) {
    PSais_Init_Arrays();
    Work_Tables_Reset_All();
    Proj_Lat_NW = Map_Lat_North = 45.0;
    Proj_Lon_NW = Map_Lon_West = 0.0;
    Proj_Lat_SE = Map_Lat_South = 45.0 - Lod8_Height * Rows;
    Proj_Lon_SE = Map_Lon_East = Lod8_Width * Cols;
    Proj_Px_NW_X = Proj_Px_NW_Y = 0;
    Proj_Px_SE_X = 1000 * Cols;
    Proj_Px_SE_Y = 1000 * Rows;
    Map_Px_West = Map_Px_North = 0;
    Map_Px_East = 1000.0 * Cols;
    Map_Px_South = 1000.0 * Rows;
    const double step_x = 1000.0 * Cols / Polys_X, step_y = 1000.0 * Rows / Polys_Y;
    for (int j = 0; j < Polys_Y; ++j) {
        for (int i = 0; i < Polys_X; ++i) {
            Route_Attrib a;
            // Named groups: the nesting-group stage sorts every vertex of the project with the
            // exchange sort its Part fixes; this run measures the preparation around it.
            a.Imbrication = "P" + std::to_string(j * Polys_X + i);
            const int32_t line = Project_Append_Line(a);
            const double cx = (i + 0.5) * step_x, cy = (j + 0.5) * step_y, r = 0.4 * std::min(step_x, step_y);
            // A five-lobed flower: concave, its outline sampled evenly.
            for (int k = 0; k < points; ++k) {
                const double t = 2 * M_PI * k / points;
                const double rr = r * (0.75 + 0.25 * std::cos(5 * t + i + j));
                Project_Append_Point(line, cx + rr * std::cos(t), cy + rr * std::sin(t));
            }
        }
    }
}

void BM_Prepare_Split_Cut(benchmark::State& state) {
    plat::DefaultHeadlessHost().strict = false;
    const int points = static_cast<int>(state.range(0));
    Timing t;
    for (auto _ : state) {
        state.PauseTiming();
        Build_Project(points);
        Gen_Reset_Captions();
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        API_Prepare_Polygons(0);
        API_Index_Pieces(0);
        auto mid = std::chrono::steady_clock::now();
        // The sort once more on its own, over the pieces in their cut order reversed.
        state.PauseTiming();
        for (int32_t a = 1, b = Cut_Piece_Count; a < b; ++a, --b) std::swap(Cut_Piece_Table(a), Cut_Piece_Table(b));
        state.ResumeTiming();
        auto sort_start = std::chrono::steady_clock::now();
        API_Sort_Cut_Pieces();
        auto end = std::chrono::steady_clock::now();
        t.total = std::chrono::duration<double>(mid - start).count();
        t.sort = std::chrono::duration<double>(end - sort_start).count();
        t.pieces = Cut_Piece_Count;
        benchmark::DoNotOptimize(Cut_Piece_Count);
    }
    state.counters["pieces"] = t.pieces;
    state.counters["sort_s"] = t.sort;
    Results[points] = t;
    Piece_Tables_Erase();
}

BENCHMARK(BM_Prepare_Split_Cut)->Arg(1000)->Arg(2000)->Arg(4000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const Timing* previous = nullptr;
    for (const auto& [points, t] : Results) {
        std::printf("%6lld points: %8.3f s (piece sort %.3f s), %d pieces", static_cast<long long>(points), t.total,
                    t.sort, t.pieces);
        if (previous)
            std::printf(", growth %.2f per doubling (without the sort %.2f)", t.total / previous->total,
                        (t.total - t.sort) / (previous->total - previous->sort));
        std::printf("\n");
        previous = &t;
    }
    return 0;
}
