#pragma once
// Running an outside program and waiting for its end.
#include <string>
#include <vector>

namespace plat {

struct ProcessResult {
    bool started = false;    // false: the program could not be started
    int exit_status = -1;    // the program's exit code (callers mostly ignore it)
    std::string error;       // why the start failed
};

// Splits a Windows command line into program and arguments by the Windows rules: blanks separate,
// double quotes group, backslashes escape only before a quote (2n -> n and a quote, 2n+1 -> n and a
// literal quote). The program part may itself be quoted ("C:\My Tools\bglc.exe" x.asm).
std::vector<std::string> SplitCommandLine(const std::string& command_line);

// Starts the command line with `folder` as current folder (empty: the caller's) and waits
// without a time limit. The program path is mapped like every program path; a start failure is
// reported before anything runs, and the start costs the same however large this process is. A
// Windows program (".exe") that cannot be run directly is run through `wine` when `wine` is on
// PATH.
ProcessResult RunAndWait(const std::string& command_line, const std::string& folder = "");

}  // namespace plat
