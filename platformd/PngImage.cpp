#include "PngImage.h"

#include <zlib.h>

#include <cstdlib>
#include <stdexcept>

namespace platformd {

namespace {

const std::uint8_t kFont[10][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
};

void Put32(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v >> 24);
    out += static_cast<char>(v >> 16);
    out += static_cast<char>(v >> 8);
    out += static_cast<char>(v);
}

void Chunk(std::string& out, const char* type, const std::string& data) {
    Put32(out, static_cast<std::uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    uLong crc =
        crc32(0L, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
    Put32(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

PngImage::PngImage(int width, int height, std::uint32_t rgb)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width * height * 3)) {
    Fill(0, 0, width, height, rgb);
}

void PngImage::Set(int x, int y, std::uint32_t rgb) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    size_t i = static_cast<size_t>((y * width_ + x) * 3);
    pixels_[i] = static_cast<std::uint8_t>(rgb >> 16);
    pixels_[i + 1] = static_cast<std::uint8_t>(rgb >> 8);
    pixels_[i + 2] = static_cast<std::uint8_t>(rgb);
}

void PngImage::Fill(int x, int y, int w, int h, std::uint32_t rgb) {
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) Set(i, j, rgb);
    }
}

void PngImage::Digit(int x, int y, int digit, int scale, std::uint32_t rgb) {
    if (digit < 0 || digit > 9) return;
    for (int row = 0; row < 7; ++row) {
        for (int col = 0; col < 5; ++col) {
            if (kFont[digit][row] & (0x10 >> col))
                Fill(x + col * scale, y + row * scale, scale, scale, rgb);
        }
    }
}

void PngImage::Line(int x0, int y0, int x1, int y1, std::uint32_t rgb) {
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Set(x0, y0, rgb);
        if (x0 == x1 && y0 == y1) break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

std::string PngImage::Encode() const {
    std::string raw;
    raw.reserve(static_cast<size_t>((width_ * 3 + 1) * height_));
    for (int y = 0; y < height_; ++y) {
        raw += '\0';  // filter type: none
        raw.append(reinterpret_cast<const char*>(&pixels_[static_cast<size_t>(y * width_ * 3)]),
                   static_cast<size_t>(width_ * 3));
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
                  reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
                  Z_BEST_SPEED) != Z_OK) {
        throw std::runtime_error("PNG compression failed");
    }
    packed.resize(size);

    std::string out("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    Put32(header, static_cast<std::uint32_t>(width_));
    Put32(header, static_cast<std::uint32_t>(height_));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace
    Chunk(out, "IHDR", header);
    Chunk(out, "IDAT", packed);
    Chunk(out, "IEND", "");
    return out;
}

}  // namespace platformd
