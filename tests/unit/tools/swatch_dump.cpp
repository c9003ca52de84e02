// Writes the swatch images to files so that swatch_check.py can decode them
// with decoders other than our own.
//
//   swatch_dump png RED GREEN BLUE ALPHA FILE
//   swatch_dump jpeg FILE
#include "functions/swatch_image.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool writeFile(const char *path, const uint8_t *bytes, size_t size) {
    std::FILE *f = std::fopen(path, "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(bytes, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

// A component 0..255 in decimal; false for anything else.
bool readComponent(const char *text, uint8_t &out) {
    char *end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0 || value > 255) return false;
    out = static_cast<uint8_t>(value);
    return true;
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 3 && std::strcmp(argv[1], "jpeg") == 0)
        return writeFile(argv[2], kConstantJpeg, kConstantJpegSize) ? 0 : 1;
    uint8_t rgba[4];
    if (argc == 7 && std::strcmp(argv[1], "png") == 0 && readComponent(argv[2], rgba[0]) &&
        readComponent(argv[3], rgba[1]) && readComponent(argv[4], rgba[2]) &&
        readComponent(argv[5], rgba[3])) {
        uint8_t png[kSwatchPngSize];
        writeSwatchPng(png, rgba[0], rgba[1], rgba[2], rgba[3]);
        return writeFile(argv[6], png, kSwatchPngSize) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: swatch_dump png RED GREEN BLUE ALPHA FILE\n"
                         "       swatch_dump jpeg FILE\n");
    return 2;
}
