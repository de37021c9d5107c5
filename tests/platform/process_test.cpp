#include "platform/process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/test_env.h"

using namespace plat;
namespace fs = std::filesystem;

namespace {

// A script that writes its folder and its arguments, one a line, to args.txt beside itself.
fs::path MakeRecorder(const fs::path& dir, const std::string& name, int exit_code = 0) {
    const fs::path script = dir / name;
    std::ofstream(script) << "#!/bin/sh\npwd > \"$(dirname \"$0\")/args.txt\"\n"
                          << "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$(dirname \"$0\")/args.txt\"; done\n"
                          << "exit " << exit_code << "\n";
    fs::permissions(script, fs::perms::owner_all);
    return script;
}

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(ProcessCommandLine, SplitsByTheWindowsRules) {
    EXPECT_EQ(SplitCommandLine("bglc.exe  a.asm\tb"), (std::vector<std::string>{"bglc.exe", "a.asm", "b"}));
    EXPECT_EQ(SplitCommandLine("\"C:\\My Tools\\bglc.exe\" \"x y.asm\" z"),
              (std::vector<std::string>{"C:\\My Tools\\bglc.exe", "x y.asm", "z"}));
    EXPECT_EQ(SplitCommandLine("p a\\\\\"b c\" d"), (std::vector<std::string>{"p", "a\\b c", "d"}));
    EXPECT_EQ(SplitCommandLine("p a\\\"b"), (std::vector<std::string>{"p", "a\"b"}));
    EXPECT_EQ(SplitCommandLine("p C:\\dir\\ \"\""), (std::vector<std::string>{"p", "C:\\dir\\", ""}));
    EXPECT_EQ(SplitCommandLine("p \"a\"\"b\""), (std::vector<std::string>{"p", "a\"b"}));
    EXPECT_TRUE(SplitCommandLine("   ").empty());
}

TEST(ProcessRun, RunsInTheGivenFolderAndPassesArgumentsAsGiven) {
    const fs::path dir = testenv::ScratchDir("run");
    MakeRecorder(dir, "bglc.exe", 3);
    const ProcessResult r = RunAndWait(dir.string() + "\\bglc.exe \"two words.asm\" out.bgl", dir.string());
    ASSERT_TRUE(r.started) << r.error;
    EXPECT_EQ(r.exit_status, 3);
    EXPECT_EQ(Slurp(dir / "args.txt"), fs::canonical(dir).string() + "\ntwo words.asm\nout.bgl\n");
}

TEST(ProcessRun, AQuotedProgramPathWithBlanksStarts) {
    const fs::path dir = testenv::ScratchDir("blanks") / "My Program Folder";
    fs::create_directories(dir);
    MakeRecorder(dir, "SCASM.EXE");
    // Case differs from the file on disk, as Windows callers write it.
    const ProcessResult r = RunAndWait("\"" + dir.string() + "\\scasm.exe\" -x", dir.string());
    ASSERT_TRUE(r.started) << r.error;
    EXPECT_EQ(Slurp(dir / "args.txt"), fs::canonical(dir).string() + "\n-x\n");
}

TEST(ProcessRun, ABareNameIsFoundInTheFolder) {
    const fs::path dir = testenv::ScratchDir("bare");
    MakeRecorder(dir, "tool.exe");
    EXPECT_TRUE(RunAndWait("tool.exe a", dir.string()).started);
    EXPECT_TRUE(fs::exists(dir / "args.txt"));
}

TEST(ProcessRun, StartFailuresAreReportedNotRun) {
    const fs::path dir = testenv::ScratchDir("fail");
    EXPECT_FALSE(RunAndWait(dir.string() + "\\missing.exe a", dir.string()).started);
    EXPECT_FALSE(RunAndWait("", dir.string()).started);
    // An unquoted path with a blank names "My" as the program, which does not exist.
    const fs::path spaced = dir / "My Dir";
    fs::create_directories(spaced);
    MakeRecorder(spaced, "t.exe");
    EXPECT_FALSE(RunAndWait(spaced.string() + "\\t.exe", dir.string()).started);
    // A file that is no program (not executable, no interpreter line) fails to start.
    std::ofstream(dir / "junk.bin") << "junk";
    fs::permissions(dir / "junk.bin", fs::perms::owner_all);
    const ProcessResult r = RunAndWait(dir.string() + "\\junk.bin", dir.string());
    EXPECT_FALSE(r.started);
    EXPECT_FALSE(r.error.empty());
    // A missing working folder.
    MakeRecorder(dir, "ok.exe");
    EXPECT_FALSE(RunAndWait(dir.string() + "\\ok.exe", (dir / "nowhere").string()).started);
}

TEST(ProcessRun, AWindowsProgramRunsThroughWineWhenWineIsOnPath) {
    const fs::path dir = testenv::ScratchDir("wine");
    const fs::path bin = dir / "bin";
    fs::create_directories(bin);
    MakeRecorder(bin, "wine");
    std::ofstream(dir / "BGLC.EXE", std::ios::binary) << "MZ\x90" << std::string(60, '\0');
    const char* old = std::getenv("PATH");
    const std::string saved = old ? old : "";
    ::setenv("PATH", (bin.string() + ":" + saved).c_str(), 1);
    const ProcessResult r = RunAndWait(dir.string() + "\\bglc.exe x.asm", dir.string());
    ::setenv("PATH", saved.c_str(), 1);
    ASSERT_TRUE(r.started) << r.error;
    EXPECT_EQ(Slurp(bin / "args.txt"), fs::canonical(dir).string() + "\n" + (dir / "BGLC.EXE").string() + "\nx.asm\n");
}

TEST(ProcessRun, AWindowsProgramWithoutWineFailsToStart) {
    const fs::path dir = testenv::ScratchDir("nowine");
    std::ofstream(dir / "tool.exe", std::ios::binary) << "MZ" << std::string(60, '\0');
    const char* old = std::getenv("PATH");
    const std::string saved = old ? old : "";
    ::setenv("PATH", dir.string().c_str(), 1);   // no wine here
    const ProcessResult r = RunAndWait(dir.string() + "\\tool.exe", dir.string());
    ::setenv("PATH", saved.c_str(), 1);
    EXPECT_FALSE(r.started);
}
