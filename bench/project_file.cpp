// Save and load of a large project (20 000 lines, 1 000 000 points), each set against a plain
// std::to_chars / std::from_chars pass over the same 2 000 000 point numbers in the same run.
// Each round times all four; the ratios are the median of the rounds' own ratios, so that one
// noisy moment (on either side) cannot decide them, and the best time of each is printed beside.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>
#include <random>
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

// The point numbers of the project, in file order.
std::vector<double> Point_Numbers() {
    std::vector<double> numbers;
    for (int32_t i = 1; i <= Point_Count; ++i) {
        numbers.push_back(Point_Table(i).X);
        numbers.push_back(Point_Table(i).Y);
    }
    return numbers;
}

// The numbers as 15-digit texts, one blank after each.
std::string To_Chars_Pass(const std::vector<double>& numbers) {
    std::string text(numbers.size() * 24, '\0');
    char* at = text.data();
    char* const end = at + text.size();
    for (double v : numbers) {
        at = std::to_chars(at, end, v, std::chars_format::general, 15).ptr;
        *at++ = ' ';
    }
    text.resize(static_cast<size_t>(at - text.data()));
    return text;
}

double From_Chars_Pass(const std::string& text) {
    double sum = 0;
    const char* at = text.data();
    const char* const end = at + text.size();
    while (at < end) {
        double v = 0;
        at = std::from_chars(at, end, v).ptr + 1;
        sum += v;
    }
    return sum;
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
    double save = inf, load = inf, to_chars = inf, from_chars = inf;
    std::vector<double> save_ratios, load_ratios;
    long long size = 0;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            Make_Project();
            const std::vector<double> numbers = Point_Numbers();
            const double s = Seconds([] { Pinit_Save_Project(0, ""); });
            if (Project_Save_Failed != 0) state.SkipWithError("the project could not be saved");
            size = static_cast<long long>(fs::file_size(Dir() / "big.LWM"));
            PSais_Init_Arrays();
            const double l = Seconds([] { Pinit_Read_Project((Dir() / "big.LWM").string()); });
            if (Project_Read_Failed != 0 || Body() != expected) state.SkipWithError("the project did not read back identical");
            std::string text;
            const double w = Seconds([&] { text = To_Chars_Pass(numbers); });
            const double r = Seconds([&] { benchmark::DoNotOptimize(From_Chars_Pass(text)); });
            save = std::min(save, s);
            load = std::min(load, l);
            to_chars = std::min(to_chars, w);
            from_chars = std::min(from_chars, r);
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
    std::printf("best of %d: save %.3f s, load %.3f s, to_chars pass %.3f s, from_chars pass %.3f s (%.1f MB); "
                "median of the rounds' ratios: save ratio %.1f, load ratio %.1f\n",
                Rounds, save, load, to_chars, from_chars, static_cast<double>(size) / 1e6, median(save_ratios),
                median(load_ratios));
}
BENCHMARK(BM_ProjectSaveLoad)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
