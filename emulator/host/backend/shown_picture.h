#pragma once
// The picture a backend showed last: a menu waiting for a key presents the same one 50
// times a second, and showing it again would cost more than everything else it does.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace backend {

struct ShownPicture {
    std::vector<uint8_t> bytes;  // empty when nothing is shown yet

    // True when the picture differs from the one shown last; it is then the one shown.
    bool changed(const uint8_t* pixels, size_t size) {
        if (std::equal(pixels, pixels + size, bytes.begin(), bytes.end())) return false;
        bytes.assign(pixels, pixels + size);
        return true;
    }
    // A new surface, texture or palette: the next picture is shown, whatever it is.
    void forget() { bytes.clear(); }
};

}  // namespace backend
