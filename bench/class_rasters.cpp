// Land-class rasters for up to 10 000 class cells spread over 20 LOD5 cells: time per class cell
// for growing cell counts. The per-cell time must not grow with the count. The resampler is a
// stand-in that only starts and ends, so the 20 process starts are a fixed part of every run.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "core/project.h"
#include "core/syst.h"
#include "generation/class_rasters.h"
#include "platform/headless/headless_host.h"

namespace {

namespace fs = std::filesystem;

void Prepare_App_Dir() {
    const fs::path dir = fs::temp_directory_path() / "tessaline_bench_class_rasters";
    fs::create_directories(dir / "Temp");
    fs::create_directories(dir / "Scenery");
    const fs::path tool = dir / "Resample.exe";
    std::ofstream(tool) << "#!/bin/sh\nexit 0\n";
    fs::permissions(tool, fs::perms::owner_all);
    App_Dir = dir.string();
    Scenery_Dir = (dir / "Scenery").string();
    Bgl_Base_Path = (dir / "Scenery" / "Area.bgl").string();
    Lc_Merge = 0;
    Lc_Keep_Raw = 0;
    // The stand-in leaves no BGL; its failure box is answered by itself.
    plat::DefaultHeadlessHost().strict = false;
}

void Fill_Cells(int32_t count) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> lod5(0, 19), inside(0, 255), code(1, 60);
    Lc_Cell_Table.ReDim(count);
    Lc_Cell_Count = count;
    for (int32_t i = 1; i <= count; ++i) {
        const int k = lod5(rng);  // 20 LOD5 cells in a 5 x 4 block
        const int c5 = 40 + k % 5, r5 = 20 + k / 5, x = inside(rng), y = inside(rng);
        Class_Cell_Rec& rec = Lc_Cell_Table(i);
        rec.Lod8_Col = static_cast<int16_t>(c5 * 8 + x / 32);
        rec.Lod13_Col = static_cast<int16_t>(x % 32);
        rec.Lod8_Row = static_cast<int16_t>(r5 * 8 + y / 32);
        rec.Lod13_Row = static_cast<int16_t>(y % 32);
        rec.Class_Code = static_cast<uint8_t>(code(rng));
    }
}

void BM_Landclass_Rasters(benchmark::State& state) {
    Prepare_App_Dir();
    const auto cells = static_cast<int32_t>(state.range(0));
    Fill_Cells(cells);
    for (auto _ : state) {
        API_Make_Landclass_Bgl();
        plat::DefaultHeadlessHost().boxes.clear();
        plat::DefaultHeadlessHost().log.clear();
    }
    state.SetItemsProcessed(state.iterations() * cells);
    // Seconds per class cell.
    state.counters["s_per_cell"] = benchmark::Counter(
        cells, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Landclass_Rasters)->Arg(1250)->Arg(2500)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
