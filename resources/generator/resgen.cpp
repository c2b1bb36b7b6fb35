// Draws the window's two resources pixel by pixel and writes them as files:
//   resgen CIRCUIT.gif ICON.ico
// The circuit is a 4-colour GIF of 302 x 263 pixels; the icon holds a 32 x 32 and a 16 x 16
// image with 16 colours and a transparency mask. Nothing here depends on a toolkit, so the
// output is the same on every machine.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// ---------------------------------------------------------------- the circuit picture

enum Ink : std::uint8_t { kWhite, kGreen, kRed, kBlack };

constexpr int kWidth = 302;
constexpr int kHeight = 263;
constexpr std::array<std::array<std::uint8_t, 3>, 4> kPalette{{
    {255, 255, 255},  // background
    {0, 128, 0},      // wires and junctions
    {128, 0, 0},      // symbols and pin leads
    {0, 0, 0},        // text
}};

class Canvas {
 public:
  Canvas() : pixels_(kWidth * kHeight, kWhite) {}

  void dot(int x, int y, Ink ink) {
    if (x >= 0 && x < kWidth && y >= 0 && y < kHeight) pixels_[y * kWidth + x] = ink;
  }
  // Lines run from the first to the second coordinate inclusive; `dotted` leaves out every
  // third pixel.
  void hline(int x0, int x1, int y, Ink ink, bool dotted = false) {
    for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x)
      if (!dotted || (x - x0) % 3 != 2) dot(x, y, ink);
  }
  void vline(int x, int y0, int y1, Ink ink, bool dotted = false) {
    for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
      if (!dotted || (y - y0) % 3 != 2) dot(x, y, ink);
  }
  void line(int x0, int y0, int x1, int y1, Ink ink, bool dotted = false) {
    const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int i = 0; i <= steps; ++i) {
      if (dotted && i % 3 == 2) continue;
      const int x = x0 + ((x1 - x0) * i * 2 + (steps > 0 ? steps : 1)) / (2 * std::max(steps, 1));
      const int y = y0 + ((y1 - y0) * i * 2 + (steps > 0 ? steps : 1)) / (2 * std::max(steps, 1));
      dot(x, y, ink);
    }
  }
  void rect(int x0, int y0, int x1, int y1, Ink ink) {
    hline(x0, x1, y0, ink);
    hline(x0, x1, y1, ink);
    vline(x0, y0, y1, ink);
    vline(x1, y0, y1, ink);
  }
  // A filled junction dot, 7 pixels across.
  void junction(int cx, int cy) {
    static constexpr int kHalfWidths[7] = {1, 2, 3, 3, 3, 2, 1};
    for (int dy = -3; dy <= 3; ++dy)
      hline(cx - kHalfWidths[dy + 3], cx + kHalfWidths[dy + 3], cy + dy, kGreen);
  }
  // An open terminal circle, 9 pixels across (midpoint circle of radius 4).
  void terminal(int cx, int cy) {
    int x = 4, y = 0, err = 1 - x;
    while (x >= y) {
      for (const auto& [dx, dy] : {std::pair{x, y}, std::pair{y, x}}) {
        dot(cx + dx, cy + dy, kRed);
        dot(cx - dx, cy + dy, kRed);
        dot(cx + dx, cy - dy, kRed);
        dot(cx - dx, cy - dy, kRed);
      }
      ++y;
      if (err < 0) {
        err += 2 * y + 1;
      } else {
        --x;
        err += 2 * (y - x) + 1;
      }
    }
  }

  const std::vector<std::uint8_t>& pixels() const { return pixels_; }

 private:
  std::vector<std::uint8_t> pixels_;
};

// 5 x 7 letters and 3 x 5 digits for pin numbers and subscripts.
const std::map<char, std::array<std::string_view, 7>> kLarge{
    {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."}},
    {'N', {"#...#", "##..#", "#.#.#", "#.#.#", "#..##", "#...#", "#...#"}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
};
const std::map<char, std::array<std::string_view, 5>> kSmall{
    {'1', {".#.", "##.", ".#.", ".#.", "###"}}, {'2', {"##.", "..#", ".#.", "#..", "###"}},
    {'3', {"##.", "..#", ".#.", "..#", "##."}}, {'4', {"#.#", "#.#", "###", "..#", "..#"}},
    {'5', {"###", "#..", "##.", "..#", "##."}}, {'6', {".##", "#..", "###", "#.#", "###"}},
    {'7', {"###", "..#", ".#.", ".#.", ".#."}}, {'8', {"###", "#.#", "###", "#.#", "###"}},
};

// Large letters; `scale` 2 gives the chip's big digits, `dotted` draws every other pixel.
void text(Canvas& c, int x, int y, std::string_view s, int scale = 1, bool dotted = false) {
  for (char ch : s) {
    const auto& rows = kLarge.at(ch);
    for (int r = 0; r < 7; ++r)
      for (int col = 0; col < 5; ++col)
        if (rows[r][col] == '#' && (!dotted || (r + col) % 3 != 2))
          for (int sy = 0; sy < scale; ++sy)
            for (int sx = 0; sx < scale; ++sx)
              c.dot(x + col * scale + sx, y + r * scale + sy, kBlack);
    x += 6 * scale;
  }
}

void small(Canvas& c, int x, int y, std::string_view s) {
  for (char ch : s) {
    const auto& rows = kSmall.at(ch);
    for (int r = 0; r < 5; ++r)
      for (int col = 0; col < 3; ++col)
        if (rows[r][col] == '#') c.dot(x + col, y + r, kBlack);
    x += 4;
  }
}

// A name with its digit as a subscript: "R1" is R followed by a low, small 1.
void subscripted(Canvas& c, int x, int y, char letter, char digit) {
  text(c, x, y, std::string_view(&letter, 1));
  small(c, x + 6, y + 4, std::string_view(&digit, 1));
}

Canvas drawCircuit() {
  Canvas c;
  // Rails with their terminals.
  c.hline(35, 243, 23, kGreen);
  c.terminal(248, 23);
  text(c, 256, 20, "+V");
  c.hline(35, 243, 219, kGreen);
  c.terminal(248, 219);
  text(c, 256, 216, "GND");

  // Left column: R1, R2, C1 in series between the rails.
  c.vline(35, 23, 39, kGreen);
  c.rect(29, 39, 42, 72, kRed);
  c.vline(35, 73, 103, kGreen);
  c.rect(29, 104, 42, 137, kRed);
  c.vline(35, 138, 168, kGreen);
  c.hline(19, 50, 169, kRed);
  c.hline(19, 50, 170, kRed);
  c.hline(19, 50, 183, kRed);
  c.hline(19, 50, 184, kRed);
  c.vline(35, 185, 219, kGreen);
  c.hline(43, 47, 162, kRed);  // polarity mark of C1
  c.vline(45, 160, 164, kRed);
  c.junction(35, 88);
  c.junction(35, 153);
  subscripted(c, 3, 52, 'R', '1');
  subscripted(c, 3, 117, 'R', '2');
  subscripted(c, 3, 189, 'C', '1');

  // The chip.
  c.rect(114, 72, 195, 170, kRed);
  text(c, 155 - 17, 114, "555", 2);

  // Top pins 8 and 4 up to the supply rail.
  for (const auto& [x, label] : {std::pair{140, "8"}, std::pair{163, "4"}}) {
    c.vline(x, 62, 71, kRed);
    c.vline(x, 23, 61, kGreen);
    c.junction(x, 23);
    small(c, x + 3, 64, label);
  }
  // Left pins 7, 6, 2.
  for (const auto& [y, label] : {std::pair{88, "7"}, std::pair{121, "6"}, std::pair{153, "2"}}) {
    c.hline(104, 113, y, kRed);
    small(c, 106, y - 7, label);
  }
  c.hline(36, 103, 88, kGreen);
  c.hline(36, 103, 153, kGreen);
  c.hline(97, 103, 121, kGreen);
  c.vline(97, 121, 153, kGreen);
  c.junction(97, 153);
  // Right pin 3 to the output terminal.
  c.hline(196, 205, 104, kRed);
  small(c, 198, 97, "3");
  c.hline(206, 225, 104, kGreen);
  c.terminal(230, 104);
  text(c, 238, 101, "A");
  // Bottom pins 1 and 5; pin 5 through C2.
  for (const auto& [x, label] : {std::pair{133, "1"}, std::pair{166, "5"}}) {
    c.vline(x, 171, 180, kRed);
    small(c, x + 3, 173, label);
    c.junction(x, 219);
  }
  c.vline(133, 181, 219, kGreen);
  c.vline(166, 181, 191, kGreen);
  c.hline(153, 178, 192, kRed);
  c.hline(153, 178, 199, kRed);
  c.vline(166, 200, 219, kGreen);
  subscripted(c, 182, 192, 'C', '2');

  // The optional diode across R2, all dotted: anode towards pin 7, cathode towards pins 6 and 2.
  c.vline(81, 92, 116, kGreen, true);
  c.hline(72, 90, 117, kRed, true);
  c.line(72, 117, 81, 125, kRed, true);
  c.line(90, 117, 81, 125, kRed, true);
  c.hline(72, 90, 126, kRed, true);
  c.vline(81, 127, 149, kGreen, true);
  c.junction(81, 88);
  c.junction(81, 153);
  text(c, 63, 103, "D", 1, true);
  return c;
}

// GIF89a with one image and a global palette, LZW-compressed.
Bytes encodeGif(const Canvas& canvas) {
  Bytes out;
  auto put16 = [&](int v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  for (char ch : std::string_view("GIF89a")) out.push_back(static_cast<std::uint8_t>(ch));
  put16(kWidth);
  put16(kHeight);
  out.push_back(0x80 | 0x10 | 0x01);  // global table, 2-bit colour resolution, 4 entries
  out.push_back(0);                   // background index
  out.push_back(0);                   // aspect
  for (const auto& rgb : kPalette) out.insert(out.end(), rgb.begin(), rgb.end());
  out.push_back(0x2C);  // image descriptor
  put16(0);
  put16(0);
  put16(kWidth);
  put16(kHeight);
  out.push_back(0);

  constexpr int kMinCodeSize = 2;
  out.push_back(kMinCodeSize);
  const int clear = 1 << kMinCodeSize, end = clear + 1;
  Bytes data;
  std::uint32_t bitBuffer = 0;
  int bitCount = 0;
  int codeSize = kMinCodeSize + 1;
  auto emit = [&](int code) {
    bitBuffer |= static_cast<std::uint32_t>(code) << bitCount;
    bitCount += codeSize;
    while (bitCount >= 8) {
      data.push_back(static_cast<std::uint8_t>(bitBuffer & 0xFF));
      bitBuffer >>= 8;
      bitCount -= 8;
    }
  };
  std::map<std::pair<int, std::uint8_t>, int> table;
  int next = end + 1;
  emit(clear);
  const auto& px = canvas.pixels();
  int prefix = px[0];
  for (std::size_t i = 1; i < px.size(); ++i) {
    const auto key = std::pair{prefix, px[i]};
    if (auto it = table.find(key); it != table.end()) {
      prefix = it->second;
      continue;
    }
    emit(prefix);
    if (next < 4095) {
      table[key] = next++;
      if (next > (1 << codeSize) && codeSize < 12) ++codeSize;
    } else {
      emit(clear);
      table.clear();
      next = end + 1;
      codeSize = kMinCodeSize + 1;
    }
    prefix = px[i];
  }
  emit(prefix);
  emit(end);
  if (bitCount > 0) data.push_back(static_cast<std::uint8_t>(bitBuffer & 0xFF));
  for (std::size_t i = 0; i < data.size(); i += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - i);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), data.begin() + static_cast<long>(i),
               data.begin() + static_cast<long>(i + n));
  }
  out.push_back(0);
  out.push_back(0x3B);
  return out;
}

// ---------------------------------------------------------------- the window icon

// The standard 16-colour palette: 0 black, 9 red, 11 yellow.
constexpr std::array<std::array<std::uint8_t, 3>, 16> kVga{{
    {0, 0, 0},
    {128, 0, 0},
    {0, 128, 0},
    {128, 128, 0},
    {0, 0, 128},
    {128, 0, 128},
    {0, 128, 128},
    {192, 192, 192},
    {128, 128, 128},
    {255, 0, 0},
    {0, 255, 0},
    {255, 255, 0},
    {0, 0, 255},
    {255, 0, 255},
    {0, 255, 255},
    {255, 255, 255},
}};
constexpr int kTransparent = -1, kBlackIdx = 0, kRedIdx = 9, kYellowIdx = 11;

// The flag, row by row: black, red and yellow bands, the lower two framed by black columns,
// a black bottom row, transparent above and below.
std::vector<int> flag(int size) {
  const bool big = size == 32;
  const int blackFrom = big ? 6 : 3, redFrom = big ? 12 : 6, yellowFrom = big ? 19 : 10,
            bottom = big ? 25 : 13;
  std::vector<int> px(size * size, kTransparent);
  for (int y = blackFrom; y <= bottom; ++y) {
    for (int x = 0; x < size; ++x) {
      int idx = kBlackIdx;
      const bool edge = x == 0 || x == size - 1;
      if (y >= redFrom && y < yellowFrom && !edge) idx = kRedIdx;
      if (y >= yellowFrom && y < bottom && !edge) idx = kYellowIdx;
      px[y * size + x] = idx;
    }
  }
  return px;
}

void putLe(Bytes& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// One icon image: BITMAPINFOHEADER, palette, 4-bit colour rows and the 1-bit mask, bottom up.
Bytes iconImage(int size) {
  const std::vector<int> px = flag(size);
  Bytes out;
  const int xorStride = ((size * 4 + 31) / 32) * 4, andStride = ((size + 31) / 32) * 4;
  putLe(out, 40, 4);
  putLe(out, static_cast<std::uint32_t>(size), 4);
  putLe(out, static_cast<std::uint32_t>(size * 2), 4);
  putLe(out, 1, 2);
  putLe(out, 4, 2);
  putLe(out, 0, 4);
  putLe(out, static_cast<std::uint32_t>((xorStride + andStride) * size), 4);
  putLe(out, 0, 4);
  putLe(out, 0, 4);
  putLe(out, 16, 4);
  putLe(out, 0, 4);
  for (const auto& rgb : kVga) {
    out.push_back(rgb[2]);
    out.push_back(rgb[1]);
    out.push_back(rgb[0]);
    out.push_back(0);
  }
  for (int y = size - 1; y >= 0; --y) {
    Bytes row(xorStride, 0);
    for (int x = 0; x < size; ++x) {
      const int idx = std::max(px[y * size + x], 0);
      row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? idx << 4 : idx);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  for (int y = size - 1; y >= 0; --y) {
    Bytes row(andStride, 0);
    for (int x = 0; x < size; ++x)
      if (px[y * size + x] == kTransparent)
        row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

Bytes encodeIco() {
  const Bytes big = iconImage(32), little = iconImage(16);
  Bytes out;
  putLe(out, 0, 2);
  putLe(out, 1, 2);
  putLe(out, 2, 2);
  std::uint32_t offset = 6 + 2 * 16;
  for (const auto& [size, image] : {std::pair{32, &big}, std::pair{16, &little}}) {
    out.push_back(static_cast<std::uint8_t>(size));
    out.push_back(static_cast<std::uint8_t>(size));
    out.push_back(16);
    out.push_back(0);
    putLe(out, 1, 2);
    putLe(out, 4, 2);
    putLe(out, static_cast<std::uint32_t>(image->size()), 4);
    putLe(out, offset, 4);
    offset += static_cast<std::uint32_t>(image->size());
  }
  out.insert(out.end(), big.begin(), big.end());
  out.insert(out.end(), little.begin(), little.end());
  return out;
}

bool write(const char* path, const Bytes& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: resgen CIRCUIT.gif ICON.ico\n");
    return 2;
  }
  if (!write(argv[1], encodeGif(drawCircuit())) || !write(argv[2], encodeIco())) {
    std::fprintf(stderr, "resgen: cannot write the output files\n");
    return 1;
  }
  return 0;
}
