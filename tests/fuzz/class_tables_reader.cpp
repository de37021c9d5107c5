// Feeds arbitrary bytes to the readers of the class tables, "LC.txt" (land classes) and
// "WC.txt" (water classes): only codes 0..253 become land classes, in file order, and a
// water-class line's code is its leading number when it fits a byte, else 0.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/project.h"
#include "core/settings.h"
#include "core/syst.h"
#include "platform/files.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path dir = [] {
        const auto d = std::filesystem::temp_directory_path() / ("fuzz_class_tables_reader_" + std::to_string(::getpid()));
        std::filesystem::create_directories(d / "Resource");
        App_Dir = d.string();
        return d;
    }();
    const std::string lc = (dir / "Resource" / "LC.txt").string();
    std::ofstream(lc, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    Fs_Dir.clear();
    Texture_Dir.clear();
    Pinit_Load_Resources();
    std::vector<std::string> lines;
    if (!plat::ReadTextLines(lc, lines)) std::abort();
    if (Land_Class_Loaded == 1) {
        if (Land_Class_Count < 0 || Land_Class_Count != Land_Class_Table.UBound()) std::abort();
        for (int32_t i = 0; i <= Land_Class_Count; ++i)
            if (Land_Class_Table(i).Code > 253) std::abort();
    } else if (!Land_Class_Table.Empty()) {
        std::abort();
    }

    // The same bytes as "WC.txt", line by line as the water-class dialog reads it: a code that
    // stands alone in the first three characters is read, and no number gives 0.
    for (const std::string& line : lines) {
        const std::string head = plat::Mid(line, 1, 3);
        const int code = Water_Class_Line_Code(line);
        if (code < 0 || code > 255) std::abort();
        if (head.find_first_of("0123456789") == std::string::npos && code != 0) std::abort();
        if (head.size() == 3 && head.find_first_not_of("0123456789") == std::string::npos) {
            const int value = std::stoi(head);
            if (code != (value <= 255 ? value : 0)) std::abort();
        }
    }
    return 0;
}
