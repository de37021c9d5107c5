// Preparing, splitting, cutting and indexing 1 000 concave polygons spread over 50 LOD8 cells,
// at 1 000, 2 000 and 4 000 points each. Prints the time of each size and its growth per
// doubling, the time of each stage (told apart by the stage captions), and the piece sort (the
// exchange-sort order) once more on its own over reversed input. Each size runs twice and its
// faster run counts, so that one run slowed by the machine does not decide a growth ratio.
// After each size it prints the process's peak resident memory so far (a high-water mark of
// the whole process): the sizes run in ascending order, so the figure is at least that size's
// own peak; one size alone is measured with --benchmark_filter=BM_Prepare_Split_Cut/4000/0/ .
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

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
constexpr int Runs = 2;                    // each size is timed by its best run

struct Timing {
    double total = 0, sort = 0;
    double copy = 0, split = 0, cut = 0, index = 0;  // stages of the total
    int pieces = 0;
    double peak_mb = 0;  // peak resident memory of the process after the size's runs
};

double Peak_Resident_Mb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// Notes the time at which each stage caption appears.
class Stage_Clock : public Gen_Caption_Sink {
public:
    using Clock = std::chrono::steady_clock;
    void Set_Compile_Name(const std::string& text) override {
        if (text != name_) marks_.push_back({text, Clock::now()});
        name_ = text;
    }
    void Set_Compile_Step(const std::string&) override {}
    void Repaint() override {}
    void Clear() {
        marks_.clear();
        name_.clear();
    }
    // When `stage` first showed; `otherwise` when it never did.
    Clock::time_point Start_Of(const std::string& stage, Clock::time_point otherwise) const {
        for (const auto& [name, at] : marks_)
            if (name == stage) return at;
        return otherwise;
    }

private:
    std::string name_;
    std::vector<std::pair<std::string, Clock::time_point>> marks_;
};
// Keyed by (free polygons, points).
std::map<std::pair<bool, int64_t>, Timing> Results;

void Build_Project(int points, bool free_polygons) {
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
            // Named groups skip the nesting checks; free polygons go through them.
            if (!free_polygons) {
                a.Imbrication = "P";
                a.Imbrication += std::to_string(j * Polys_X + i);
            }
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
    const bool free_polygons = state.range(1) != 0;
    Timing t, best;
    best.total = 1e300;
    Stage_Clock stages;
    for (auto _ : state) {
        state.PauseTiming();
        Build_Project(points, free_polygons);
        Gen_Reset_Captions();
        stages.Clear();
        Gen_Set_Caption_Sink(&stages);
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        API_Prepare_Polygons(0);
        auto prepared = std::chrono::steady_clock::now();
        API_Index_Pieces(0);
        auto mid = std::chrono::steady_clock::now();
        Gen_Set_Caption_Sink(nullptr);
        auto split_at = stages.Start_Of("Concave/convexe", prepared);
        auto cut_at = stages.Start_Of("Lod8/13 cut", prepared);
        auto seconds = [](auto a, auto b) { return std::chrono::duration<double>(b - a).count(); };
        t.copy = seconds(start, split_at);
        t.split = seconds(split_at, cut_at);
        t.cut = seconds(cut_at, prepared);
        t.index = seconds(prepared, mid);
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
        if (t.total < best.total) best = t;
    }
    state.counters["pieces"] = best.pieces;
    state.counters["sort_s"] = best.sort;
    best.peak_mb = Peak_Resident_Mb();
    state.counters["peak_MB"] = best.peak_mb;
    Results[{free_polygons, points}] = best;
    Piece_Tables_Erase();
}

// Second argument: 0 named groups, 1 free polygons (nesting groups). Sizes ascending, for the
// peak memory.
BENCHMARK(BM_Prepare_Split_Cut)
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Args({2000, 0})
    ->Args({2000, 1})
    ->Args({4000, 0})
    ->Args({4000, 1})
    ->Iterations(Runs)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const Timing* previous = nullptr;
    bool variant = true;
    for (const auto& [key, t] : Results) {
        const auto& [free_polygons, points] = key;
        if (free_polygons != variant || previous == nullptr) {
            std::printf("%s\n", free_polygons ? "free polygons (nesting groups):" : "named groups:");
            previous = nullptr;
            variant = free_polygons;
        }
        std::printf("%6lld points: %8.3f s, %d pieces", static_cast<long long>(points), t.total, t.pieces);
        if (previous) std::printf(", growth %.2f per doubling", t.total / previous->total);
        std::printf("\n        copy+checks %.3f s, concave/convex %.3f s, grid cut %.3f s, index+sort %.3f s",
                    t.copy, t.split, t.cut, t.index);
        if (previous)
            std::printf(" (growth %.2f %.2f %.2f %.2f)", t.copy / previous->copy, t.split / previous->split,
                        t.cut / previous->cut, t.index / previous->index);
        std::printf("\n        piece sort alone on reversed input %.3f s", t.sort);
        if (previous) std::printf(" (growth %.2f)", t.sort / previous->sort);
        std::printf("\n        peak resident memory so far %.0f MB (%.0f bytes per point)\n", t.peak_mb,
                    t.peak_mb * 1024 * 1024 / (static_cast<double>(points) * Polys_X * Polys_Y));
        previous = &t;
    }
    return 0;
}
