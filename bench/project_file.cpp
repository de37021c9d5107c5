// Save and load of a large project (20 000 lines, 1 000 000 points), each set against writing and
// reading the same bytes through one buffered stream in the same run. Each round times all four;
// the ratios are the median of the rounds' own ratios, so that one noisy moment (on either side)
// cannot decide them, and the best time of each is printed beside them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/project.h"
#include "core/project_file.h"
#include "platform/headless/headless_host.h"

namespace {

namespace fs = std::filesystem;

constexpr int Rounds = 7;

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

// The project as text without the first line, which holds the time and path of the save.
std::string Body() {
    const std::string text = Project_File_Text("x", "");
    return text.substr(text.find('\n') + 1);
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
    const std::string expected = Body();
    constexpr double inf = std::numeric_limits<double>::infinity();
    double save = inf, load = inf, raw_write = inf, raw_read = inf;
    std::vector<double> save_ratios, load_ratios;
    size_t size = 0;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            Make_Project();
            const double s = Seconds([] { Pinit_Save_Project(0, ""); });
            if (Project_Save_Failed != 0) state.SkipWithError("the project could not be saved");
            const std::string bytes = Slurp(Dir() / "big.LWM");
            size = bytes.size();
            PSais_Init_Arrays();
            const double l = Seconds([] { Pinit_Read_Project((Dir() / "big.LWM").string()); });
            if (Project_Read_Failed != 0 || Body() != expected) state.SkipWithError("the project did not read back identical");
            const double w = Seconds([&] {
                std::ofstream out(Dir() / "raw.bin", std::ios::binary);
                out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            });
            const double r = Seconds([&] {
                std::ifstream in(Dir() / "raw.bin", std::ios::binary);
                std::string back(bytes.size(), '\0');
                in.read(back.data(), static_cast<std::streamsize>(back.size()));
                benchmark::DoNotOptimize(back.data());
            });
            save = std::min(save, s);
            load = std::min(load, l);
            raw_write = std::min(raw_write, w);
            raw_read = std::min(raw_read, r);
            save_ratios.push_back(s / w);
            load_ratios.push_back(l / r);
        }
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    state.counters["MB"] = static_cast<double>(size) / 1e6;
    state.counters["save_s"] = save;
    state.counters["load_s"] = load;
    state.counters["save_ratio"] = median(save_ratios);
    state.counters["load_ratio"] = median(load_ratios);
    std::printf("best of %d: save %.3f s, load %.3f s, stream write %.3f s, stream read %.3f s (%.1f MB); "
                "median of the rounds' ratios: save ratio %.1f, load ratio %.1f\n",
                Rounds, save, load, raw_write, raw_read, static_cast<double>(size) / 1e6, median(save_ratios),
                median(load_ratios));
}
BENCHMARK(BM_ProjectSaveLoad)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
