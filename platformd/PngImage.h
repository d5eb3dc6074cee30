#pragma once
// A small RGB picture that encodes itself as PNG (zlib for the deflate stream and CRCs):
// the captcha and the platform's images are drawn here rather than shipped as files.
#include <cstdint>
#include <string>
#include <vector>

namespace platformd {

class PngImage {
  public:
    PngImage(int width, int height, std::uint32_t rgb);

    void Set(int x, int y, std::uint32_t rgb);
    void Fill(int x, int y, int w, int h, std::uint32_t rgb);
    // A digit 0-9 from a 5x7 bitmap font, each font pixel `scale` pixels square.
    void Digit(int x, int y, int digit, int scale, std::uint32_t rgb);
    void Line(int x0, int y0, int x1, int y1, std::uint32_t rgb);

    std::string Encode() const;
    int Width() const { return width_; }
    int Height() const { return height_; }

  private:
    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};

}  // namespace platformd
