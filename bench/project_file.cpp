// Save and load of a large project (20 000 lines, 1 000 000 points), each set against writing and
// reading the same bytes through one buffered stream in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "core/project.h"
#include "core/project_file.h"
#include "platform/files.h"
#include "platform/headless/headless_host.h"

namespace {

namespace fs = std::filesystem;

const fs::path& Dir() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / "tessaline_bench_project_file";
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

void Make_Project() {
    PSais_Init_Arrays();
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> pos(0, 40000);
    for (int l = 0; l < 20000; ++l) {
        Route_Attrib a;
        a.Text_Rt = "Line " + std::to_string(l);
        a.Type_Code = static_cast<int16_t>(1026 + l % 100);
        a.Largeur = 8;
        a.Alti = 123.25;
        const int32_t line = Project_Append_Line(a);
        for (int p = 0; p < 50; ++p) Project_Append_Point(line, std::round(pos(rng) * 100) / 100, pos(rng));
    }
    Project_Open = 1;
    Project_File = (Dir() / "big.LWM").string();
}

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

double Seconds(const std::function<void()>& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_ProjectSaveLoad(benchmark::State& state) {
    plat::DefaultHeadlessHost().strict = false;
    Make_Project();
    const std::string expected = Project_File_Text("x", "");
    double save = 0, load = 0, raw_write = 0, raw_read = 0, format = 0, store = 0;
    int runs = 0;
    for (auto _ : state) {
        Make_Project();
        save += Seconds([] { Pinit_Save_Project(0, ""); });
        std::string text;
        format += Seconds([&] { text = Project_File_Text(Project_File, ""); });
        store += Seconds([&] { plat::ReplaceFileAtomically((Dir() / "big2.LWM").string(), text); });
        const std::string bytes = Slurp(Dir() / "big.LWM");
        PSais_Init_Arrays();
        load += Seconds([] { Pinit_Read_Project((Dir() / "big.LWM").string()); });
        if (Project_Read_Failed != 0 || Project_File_Text("x", "").substr(expected.find('\n')) != expected.substr(expected.find('\n')))
            state.SkipWithError("the project did not read back identical");
        raw_write += Seconds([&] {
            std::ofstream out(Dir() / "raw.bin", std::ios::binary);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        });
        raw_read += Seconds([&] {
            std::ifstream in(Dir() / "raw.bin", std::ios::binary);
            std::string back(bytes.size(), '\0');
            in.read(back.data(), static_cast<std::streamsize>(back.size()));
            benchmark::DoNotOptimize(back.data());
        });
        state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
        ++runs;
    }
    state.counters["save_s"] = save / runs;
    state.counters["load_s"] = load / runs;
    state.counters["save_ratio"] = save / raw_write;
    state.counters["load_ratio"] = load / raw_read;
    std::printf("of the save: text %.3f s, atomic file write %.3f s\n", format / runs, store / runs);
    std::printf("save %.3f s, load %.3f s, stream write %.3f s, stream read %.3f s: save ratio %.1f, load ratio %.1f\n",
                save / runs, load / runs, raw_write / runs, raw_read / runs, save / raw_write, load / raw_read);
}
BENCHMARK(BM_ProjectSaveLoad)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
