// LoadPicture: a bitmap file decoded into a picture.
#include "platform/gdi/picture_file.h"

#include "platform/files.h"
#include "platform/gdi/bmp.h"

#include <cstring>
#include <new>

namespace plat {

bool LoadPicture(const std::string& path, Surface& picture) {
    try {
        BmpImage image;
        if (LoadBmpFile(MapPath(path), image) != BmpStatus::Ok) return false;
        const size_t bytes = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 3;
        if (image.width <= 0 || image.height <= 0 || image.rgb.size() != bytes) return false;
        Surface loaded(image.width, image.height);
        std::memcpy(loaded.Bits(), image.rgb.data(), bytes);
        picture = std::move(loaded);
        return true;
    } catch (const std::bad_alloc&) {
        // A picture too large for memory is a picture that cannot be loaded.
        return false;
    }
}

}  // namespace plat
