// The leak checker stays on for the Qt tests; only the font library's own caches, which it
// keeps for the life of the process, are not reported.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
