// Draws Brovantine's icon and writes it as a Windows icon file: one group
// with a 32x32 and a 16x16 image of 16 colours. The picture is a browser
// window holding an add-on piece, struck through in red.
//   make_icon OUTPUT.ico
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// The standard 16-colour palette, as red, green, blue.
const uint8_t kPalette[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                 {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                 {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                 {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
enum Colour {
  kBlack = 0,
  kNavy = 4,
  kTeal = 6,
  kSilver = 7,
  kGray = 8,
  kRed = 9,
  kGreen = 10,
  kYellow = 11,
  kBlue = 12,
  kWhite = 15,
  kClear = -1
};

struct Image {
  int size;
  std::vector<int> pixels;  // colour index or kClear
  explicit Image(int s) : size(s), pixels(static_cast<size_t>(s * s), kClear) {}
  void Set(int x, int y, int colour) {
    if (x >= 0 && y >= 0 && x < size && y < size)
      pixels[static_cast<size_t>(y * size + x)] = colour;
  }
  // Coordinates are on a 32-unit grid, scaled to the image.
  void Rect(double x0, double y0, double x1, double y1, int colour) {
    const double k = size / 32.0;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const double cx = (x + 0.5) / k, cy = (y + 0.5) / k;
        if (cx >= x0 && cx < x1 && cy >= y0 && cy < y1) Set(x, y, colour);
      }
  }
  void Disc(double ox, double oy, double r, int colour) {
    const double k = size / 32.0;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const double dx = (x + 0.5) / k - ox, dy = (y + 0.5) / k - oy;
        if (dx * dx + dy * dy <= r * r) Set(x, y, colour);
      }
  }
  void Ring(double ox, double oy, double r, double width, int colour) {
    const double k = size / 32.0;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const double dx = (x + 0.5) / k - ox, dy = (y + 0.5) / k - oy;
        const double d = std::sqrt(dx * dx + dy * dy);
        if (d <= r && d >= r - width) Set(x, y, colour);
      }
  }
  // A stroke from top-right to bottom-left inside a circle.
  void Slash(double ox, double oy, double r, double width, int colour) {
    const double k = size / 32.0;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const double dx = (x + 0.5) / k - ox, dy = (y + 0.5) / k - oy;
        if (dx * dx + dy * dy <= r * r && std::fabs(dx - dy) <= width * 0.7071) Set(x, y, colour);
      }
  }
};

Image Draw(int size) {
  Image image(size);
  // The browser window: navy frame, blue title bar with its buttons, white page.
  image.Rect(1, 2, 29, 27, kNavy);
  image.Rect(2, 3, 28, 7, kBlue);
  image.Rect(23, 4, 25, 6, kWhite);
  image.Rect(25.5, 4, 27, 6, kWhite);
  image.Rect(2, 7, 28, 26, kWhite);
  image.Rect(4, 9, 20, 11, kSilver);
  // The add-on: a green puzzle piece with its two knobs.
  image.Rect(7, 14, 19, 25, kGreen);
  image.Disc(13, 13.5, 2.6, kGreen);
  image.Disc(19.5, 19.5, 2.6, kGreen);
  image.Rect(7, 24, 19, 25, kTeal);
  // Struck through: a red ring and slash with a yellow rim, at the lower right.
  image.Disc(23, 23, 8.5, kYellow);
  image.Disc(23, 23, 7.5, kWhite);
  image.Ring(23, 23, 7.5, 2.5, kRed);
  image.Slash(23, 23, 7.5, 2.5, kRed);
  if (size >= 32) image.Rect(0, 31, 32, 32, kClear);
  (void)kBlack, (void)kGray;
  return image;
}

void Put16(std::vector<uint8_t>& out, unsigned v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, unsigned v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// One icon image: header, palette, colour rows and mask rows, bottom row first.
std::vector<uint8_t> Encode(const Image& image) {
  std::vector<uint8_t> out;
  const int n = image.size;
  const int colourRow = ((n * 4 + 31) / 32) * 4;
  const int maskRow = ((n + 31) / 32) * 4;
  Put32(out, 40);
  Put32(out, static_cast<unsigned>(n));
  Put32(out, static_cast<unsigned>(2 * n));
  Put16(out, 1);
  Put16(out, 4);
  Put32(out, 0);
  Put32(out, static_cast<unsigned>((colourRow + maskRow) * n));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 16);
  Put32(out, 0);
  for (const auto& c : kPalette) {
    out.push_back(c[2]);
    out.push_back(c[1]);
    out.push_back(c[0]);
    out.push_back(0);
  }
  for (int y = n - 1; y >= 0; --y) {
    std::vector<uint8_t> row(static_cast<size_t>(colourRow), 0);
    for (int x = 0; x < n; ++x) {
      const int p = image.pixels[static_cast<size_t>(y * n + x)];
      const uint8_t index = static_cast<uint8_t>(p < 0 ? 0 : p);
      row[static_cast<size_t>(x / 2)] |= (x % 2 == 0) ? static_cast<uint8_t>(index << 4) : index;
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  for (int y = n - 1; y >= 0; --y) {
    std::vector<uint8_t> row(static_cast<size_t>(maskRow), 0);
    for (int x = 0; x < n; ++x) {
      if (image.pixels[static_cast<size_t>(y * n + x)] < 0) {
        row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icon OUTPUT.ico\n");
    return 2;
  }
  const std::vector<uint8_t> big = Encode(Draw(32));
  const std::vector<uint8_t> small = Encode(Draw(16));
  std::vector<uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, 2);
  unsigned offset = 6 + 2 * 16;
  for (const auto* image : {&big, &small}) {
    const int n = image == &big ? 32 : 16;
    file.push_back(static_cast<uint8_t>(n));
    file.push_back(static_cast<uint8_t>(n));
    file.push_back(16);
    file.push_back(0);
    Put16(file, 1);
    Put16(file, 4);
    Put32(file, static_cast<unsigned>(image->size()));
    Put32(file, offset);
    offset += static_cast<unsigned>(image->size());
  }
  file.insert(file.end(), big.begin(), big.end());
  file.insert(file.end(), small.begin(), small.end());
  FILE* f = std::fopen(argv[1], "wb");
  if (!f) {
    std::perror(argv[1]);
    return 1;
  }
  const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  return (std::fclose(f) == 0 && ok) ? 0 : 1;
}
