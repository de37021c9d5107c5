// Whether a chosen map bitmap is a BMP of 8 or 24 bits that the tiler can read.
#include "core/syst_bmp.h"

#include "platform/files.h"
#include "platform/gdi/bmp.h"

void SYST_Check_Bmp(const std::string& path, uint8_t& rejected) {
    // The same reader as the tiler, so a map accepted here is one the tiler can cut.
    plat::BmpReader reader;
    rejected = reader.Open(plat::MapPath(path), {8, 24}) == plat::BmpStatus::Ok ? 0 : 1;
}
