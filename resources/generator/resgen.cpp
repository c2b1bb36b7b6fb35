// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Draws the window's resources pixel by pixel and writes them into a folder:
//   resgen OUTDIR
// circuit.gif is the 4-colour circuit picture of 302 x 263 pixels; circuit@2x.gif and
// circuit@3x.gif draw the same picture at two and three times the resolution for screens with
// that many device pixels per pixel. monoflop.gif and its @2x and @3x drawings show the
// monostable circuit in the same style and size. kippwerk.ico holds the window icon's 32 x 32 and
// 16 x 16 images with 16 colours and a transparency mask, kippwerk-large.ico the same flag at the
// larger sizes a desktop asks for. Nothing here depends on a toolkit, so the output is the
// same on every machine.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
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

// Coordinates are those of the 302 x 263 picture; a canvas of scale s has s x s device pixels
// for each of them. At scale 1 every shape is set pixel by pixel as it always was; at higher
// scales straight lines keep their width of one picture pixel, while round and slanted shapes
// are drawn anew at the finer resolution.
class Canvas {
 public:
  explicit Canvas(int scale = 1)
      : scale_(scale),
        width_(kWidth * scale),
        height_(kHeight * scale),
        pixels_(static_cast<std::size_t>(width_ * height_), kWhite) {}

  int scale() const { return scale_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // One device pixel.
  void device(int x, int y, Ink ink) {
    if (x >= 0 && x < width_ && y >= 0 && y < height_) pixels_[y * width_ + x] = ink;
  }
  // One picture pixel: a block of s x s device pixels.
  void dot(int x, int y, Ink ink) {
    for (int dy = 0; dy < scale_; ++dy)
      for (int dx = 0; dx < scale_; ++dx) device(x * scale_ + dx, y * scale_ + dy, ink);
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
  // A slanted line between pixel centres. At a finer scale it is set along the exact line,
  // one picture pixel wide, with the same dotting per picture pixel of length.
  void line(int x0, int y0, int x1, int y1, Ink ink, bool dotted = false) {
    const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    if (scale_ > 1) {
      const double s = scale_, half = s / 2.0;
      for (int i = 0; i <= steps * scale_; ++i) {
        if (dotted && (i / scale_) % 3 == 2) continue;
        const double t = steps > 0 ? double(i) / (steps * scale_) : 0.0;
        const double cx = (x0 + (x1 - x0) * t) * s + half, cy = (y0 + (y1 - y0) * t) * s + half;
        disc(cx, cy, half, ink);
      }
      return;
    }
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
    if (scale_ > 1) return disc((cx + 0.5) * scale_, (cy + 0.5) * scale_, 3.5 * scale_, kGreen);
    static constexpr int kHalfWidths[7] = {1, 2, 3, 3, 3, 2, 1};
    for (int dy = -3; dy <= 3; ++dy)
      hline(cx - kHalfWidths[dy + 3], cx + kHalfWidths[dy + 3], cy + dy, kGreen);
  }
  // An open terminal circle, 9 pixels across (midpoint circle of radius 4).
  void terminal(int cx, int cy) {
    if (scale_ > 1) {  // a ring one picture pixel wide around the same centre
      const double s = scale_, mx = (cx + 0.5) * s, my = (cy + 0.5) * s;
      for (int y = (cy - 5) * scale_; y < (cy + 6) * scale_; ++y) {
        for (int x = (cx - 5) * scale_; x < (cx + 6) * scale_; ++x) {
          const double d = std::hypot(x + 0.5 - mx, y + 0.5 - my);
          if (d >= 3.5 * s && d <= 4.5 * s) device(x, y, kRed);
        }
      }
      return;
    }
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
  // Device pixels whose centres lie within `radius` of (cx, cy), in device coordinates.
  void disc(double cx, double cy, double radius, Ink ink) {
    for (int y = static_cast<int>(cy - radius); y <= static_cast<int>(cy + radius); ++y)
      for (int x = static_cast<int>(cx - radius); x <= static_cast<int>(cx + radius); ++x)
        if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= radius) device(x, y, ink);
  }
  // A black glyph of w x h picture pixels at (x, y). With `refine`, at scales 2 and 3 its
  // outline follows the Scale2x / Scale3x rules, which round the steps of slanted strokes
  // instead of enlarging them.
  void glyph(int x, int y, const std::vector<bool>& cells, int w, int h, bool refine = true) {
    auto at = [&](int cx, int cy) {
      return cx >= 0 && cx < w && cy >= 0 && cy < h && cells[cy * w + cx];
    };
    for (int cy = 0; cy < h; ++cy) {
      for (int cx = 0; cx < w; ++cx) {
        const bool a = at(cx - 1, cy - 1), b = at(cx, cy - 1), c = at(cx + 1, cy - 1);
        const bool d = at(cx - 1, cy), e = at(cx, cy), f = at(cx + 1, cy);
        const bool g = at(cx - 1, cy + 1), hh = at(cx, cy + 1), i = at(cx + 1, cy + 1);
        std::vector<bool> out(static_cast<std::size_t>(scale_ * scale_), e);
        if (refine && scale_ == 2) {
          out = {d == b && d != hh && b != f ? b : e, b == f && b != d && f != hh ? f : e,
                 d == hh && d != b && hh != f ? d : e, hh == f && hh != d && f != b ? f : e};
        } else if (refine && scale_ == 3) {
          const bool db = d == b && b != f && d != hh, bf = b == f && b != d && f != hh;
          const bool dh = d == hh && d != b && hh != f, hf = hh == f && d != hh && b != f;
          out = {db ? d : e, (db && e != c) || (bf && e != a) ? b : e,
                 bf ? f : e, (db && e != g) || (dh && e != a) ? d : e,
                 e,          (bf && e != i) || (hf && e != c) ? f : e,
                 dh ? d : e, (dh && e != i) || (hf && e != g) ? hh : e,
                 hf ? f : e};
        }
        for (int sy = 0; sy < scale_; ++sy)
          for (int sx = 0; sx < scale_; ++sx)
            if (out[static_cast<std::size_t>(sy * scale_ + sx)])
              device((x + cx) * scale_ + sx, (y + cy) * scale_ + sy, kBlack);
      }
    }
  }

  const std::vector<std::uint8_t>& pixels() const { return pixels_; }

 private:
  int scale_, width_, height_;
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
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
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
    std::vector<bool> cells(static_cast<std::size_t>(35 * scale * scale));
    for (int r = 0; r < 7 * scale; ++r)
      for (int col = 0; col < 5 * scale; ++col)
        cells[r * 5 * scale + col] = rows[r / scale][col / scale] == '#';
    if (dotted) {  // dots stay dots at every scale
      for (int r = 0; r < 7; ++r)
        for (int col = 0; col < 5; ++col)
          if (rows[r][col] == '#' && (r + col) % 3 != 2) c.dot(x + col, y + r, kBlack);
    } else {
      c.glyph(x, y, cells, 5 * scale, 7 * scale);
    }
    x += 6 * scale;
  }
}

void small(Canvas& c, int x, int y, std::string_view s) {
  for (char ch : s) {
    const auto& rows = kSmall.at(ch);
    std::vector<bool> cells(15);
    for (int r = 0; r < 5; ++r)
      for (int col = 0; col < 3; ++col) cells[r * 3 + col] = rows[r][col] == '#';
    c.glyph(x, y, cells, 3, 5, c.scale() == 2);  // 3 x 5 is too coarse for Scale3x
    x += 4;
  }
}

// A name with its digit as a subscript: "R1" is R followed by a low, small 1.
void subscripted(Canvas& c, int x, int y, char letter, char digit) {
  text(c, x, y, std::string_view(&letter, 1));
  small(c, x + 6, y + 4, std::string_view(&digit, 1));
}

// What both circuits have: the rails with their terminals, the chip with pins 8 and 4 at the
// supply, pin 3 to the output terminal, pin 1 to ground and pin 5 through C2 to ground, and
// the lead stubs of pins 7, 6 and 2 on the left.
void drawChip(Canvas& c) {
  c.hline(35, 243, 23, kGreen);
  c.terminal(248, 23);
  text(c, 256, 20, "+V");
  c.hline(35, 243, 219, kGreen);
  c.terminal(248, 219);
  text(c, 256, 216, "GND");

  c.rect(114, 72, 195, 170, kRed);
  text(c, 155 - 17, 114, "555", 2);
  for (const auto& [x, label] : {std::pair{140, "8"}, std::pair{163, "4"}}) {
    c.vline(x, 62, 71, kRed);
    c.vline(x, 23, 61, kGreen);
    c.junction(x, 23);
    small(c, x + 3, 64, label);
  }
  for (const auto& [y, label] : {std::pair{88, "7"}, std::pair{121, "6"}, std::pair{153, "2"}}) {
    c.hline(104, 113, y, kRed);
    small(c, 106, y - 7, label);
  }
  c.hline(196, 205, 104, kRed);
  small(c, 198, 97, "3");
  c.hline(206, 225, 104, kGreen);
  c.terminal(230, 104);
  text(c, 238, 101, "A");
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
}

// C1 on the left wire at its usual place, with its polarity mark and name.
void drawC1(Canvas& c) {
  c.hline(19, 50, 169, kRed);
  c.hline(19, 50, 170, kRed);
  c.hline(19, 50, 183, kRed);
  c.hline(19, 50, 184, kRed);
  c.vline(35, 185, 219, kGreen);
  c.hline(43, 47, 162, kRed);
  c.vline(45, 160, 164, kRed);
  subscripted(c, 3, 189, 'C', '1');
}

Canvas drawCircuit(int scale) {
  Canvas c(scale);
  drawChip(c);

  // Left column: R1, R2, C1 in series between the rails.
  c.vline(35, 23, 39, kGreen);
  c.rect(29, 39, 42, 72, kRed);
  c.vline(35, 73, 103, kGreen);
  c.rect(29, 104, 42, 137, kRed);
  c.vline(35, 138, 168, kGreen);
  drawC1(c);
  c.junction(35, 88);
  c.junction(35, 153);
  subscripted(c, 3, 52, 'R', '1');
  subscripted(c, 3, 117, 'R', '2');

  // Pin 7 between R1 and R2, pins 6 and 2 together on C1.
  c.hline(36, 103, 88, kGreen);
  c.hline(36, 103, 153, kGreen);
  c.hline(97, 103, 121, kGreen);
  c.vline(97, 121, 153, kGreen);
  c.junction(97, 153);

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

// The monostable circuit: R from the supply to pins 7 and 6, joined on the wire to C1, C1 to
// ground, and the trigger input E at pin 2.
Canvas drawMonoflop(int scale) {
  Canvas c(scale);
  drawChip(c);
  c.vline(35, 23, 39, kGreen);
  c.rect(29, 39, 42, 72, kRed);
  text(c, 9, 52, "R");
  c.vline(35, 73, 168, kGreen);
  drawC1(c);
  for (int y : {88, 121}) {
    c.hline(36, 103, y, kGreen);
    c.junction(35, y);
  }
  c.hline(79, 103, 153, kGreen);
  c.terminal(74, 153);
  text(c, 60, 150, "E");
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
  put16(canvas.width());
  put16(canvas.height());
  out.push_back(0x80 | 0x10 | 0x01);  // global table, 2-bit colour resolution, 4 entries
  out.push_back(0);                   // background index
  out.push_back(0);                   // aspect
  for (const auto& rgb : kPalette) out.insert(out.end(), rgb.begin(), rgb.end());
  out.push_back(0x2C);  // image descriptor
  put16(0);
  put16(0);
  put16(canvas.width());
  put16(canvas.height());
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
// a black bottom row, transparent above and below. The rows are those of the 32 pixel image
// scaled to the size and rounded, which gives the 16 pixel image exactly; the frame is one
// pixel per 32 of size.
std::vector<int> flag(int size) {
  auto row = [size](int row32) { return (row32 * size + 16) / 32; };
  const int blackFrom = row(6), redFrom = row(12), yellowFrom = row(19), bottom = row(25);
  const int frame = std::max(1, size / 32);
  std::vector<int> px(size * size, kTransparent);
  for (int y = blackFrom; y < bottom + frame; ++y) {
    for (int x = 0; x < size; ++x) {
      int idx = kBlackIdx;
      const bool edge = x < frame || x >= size - frame;
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

Bytes encodeIco(std::initializer_list<int> sizes) {
  std::vector<Bytes> images;
  for (int size : sizes) images.push_back(iconImage(size));
  Bytes out;
  putLe(out, 0, 2);
  putLe(out, 1, 2);
  putLe(out, static_cast<std::uint32_t>(sizes.size()), 2);
  auto offset = static_cast<std::uint32_t>(6 + 16 * sizes.size());
  auto image = images.begin();
  for (int size : sizes) {
    out.push_back(static_cast<std::uint8_t>(size & 0xFF));  // 256 is written as 0
    out.push_back(static_cast<std::uint8_t>(size & 0xFF));
    out.push_back(16);
    out.push_back(0);
    putLe(out, 1, 2);
    putLe(out, 4, 2);
    putLe(out, static_cast<std::uint32_t>(image->size()), 4);
    putLe(out, offset, 4);
    offset += static_cast<std::uint32_t>(image->size());
    ++image;
  }
  for (const Bytes& b : images) out.insert(out.end(), b.begin(), b.end());
  return out;
}

bool write(const char* path, const Bytes& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: resgen OUTDIR\n");
    return 2;
  }
  const std::filesystem::path dir(argv[1]);
  const std::pair<const char*, Bytes> files[] = {
      {"circuit.gif", encodeGif(drawCircuit(1))},
      {"circuit@2x.gif", encodeGif(drawCircuit(2))},
      {"circuit@3x.gif", encodeGif(drawCircuit(3))},
      {"monoflop.gif", encodeGif(drawMonoflop(1))},
      {"monoflop@2x.gif", encodeGif(drawMonoflop(2))},
      {"monoflop@3x.gif", encodeGif(drawMonoflop(3))},
      {"kippwerk.ico", encodeIco({32, 16})},
      {"kippwerk-large.ico", encodeIco({24, 48, 64, 96, 128, 256})},
  };
  for (const auto& [name, bytes] : files) {
    if (!write((dir / name).string().c_str(), bytes)) {
      std::fprintf(stderr, "resgen: cannot write %s\n", (dir / name).string().c_str());
      return 1;
    }
  }
  return 0;
}
