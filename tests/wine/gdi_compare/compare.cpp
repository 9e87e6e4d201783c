// The native side of the comparison: runs the Windows build twice under Wine, draws the same
// seeded shapes through our window system, and compares every shape's pixels with Wine's. Only
// pixels that both Wine runs agree on are compared; the others are counted apart as unstable.
// On the first difference of each kind and pen class it writes Wine's picture, ours and a diff
// as PNG and names the shape; a summary per kind and pen class ends the run.
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "shapes.h"

namespace {

struct Options {
  uint64_t seed = 1;
  uint32_t first = 0;
  uint32_t shapes = 2000;  // per kind and pen class
  double seconds = 0;      // > 0: as many shapes as fit in this time
  int kinds = (1 << KIND_COUNT) - 1;
  int pens = (1 << PENS_COUNT) - 1;
  std::string out = "gdi-compare";
  std::string runner = GDI_COMPARE_RUNNER;
  std::string exe = GDI_COMPARE_EXE;
  int list = 0;  // differing shapes listed per kind and pen class
};

struct Tally {
  uint64_t shapes = 0, differing_shapes = 0, unstable_shapes = 0;
  uint64_t drawn_pixels = 0, differing_pixels = 0, unstable_pixels = 0;
  uint64_t wine_faults = 0;  // shapes Wine is known to draw wrong, not compared
  bool pictures_written = false;
  int listed = 0;
};

struct WineRun {
  FILE* pipe = nullptr;
  std::vector<Run> runs;
};

bool read_shape(WineRun& wine, RunHeader* header) {
  if (std::fread(header, sizeof *header, 1, wine.pipe) != 1) return false;
  if (header->run_count < 0 || header->run_count > BITMAP_WIDTH * BITMAP_HEIGHT) return false;
  wine.runs.resize(size_t(header->run_count));
  return header->run_count == 0 ||
         std::fread(wine.runs.data(), sizeof(Run), wine.runs.size(), wine.pipe) == wine.runs.size();
}

void paint_runs(const std::vector<Run>& runs, std::vector<uint32_t>& picture) {
  for (const Run& run : runs)
    for (int x = run.x0; x < run.x0 + run.length; ++x)
      picture[size_t(run.y) * BITMAP_WIDTH + size_t(x)] = run.pixel;
}

int mask_of(const char* list, const char* const* names, int count) {
  int mask = 0;
  for (int i = 0; i < count; ++i)
    if (std::strstr(list, names[i])) mask |= 1 << i;
  return mask;
}

bool parse(int argc, char** argv, Options* o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
    if (!v) return false;
    ++i;
    if (a == "--seed")
      o->seed = std::strtoull(v, nullptr, 10);
    else if (a == "--first")
      o->first = uint32_t(std::strtoul(v, nullptr, 10));
    else if (a == "--shapes")
      o->shapes = uint32_t(std::strtoul(v, nullptr, 10));
    else if (a == "--seconds")
      o->seconds = std::strtod(v, nullptr);
    else if (a == "--kinds")
      o->kinds = mask_of(v, KIND_NAMES, KIND_COUNT);
    else if (a == "--pens")
      o->pens = mask_of(v, PENS_NAMES, PENS_COUNT);
    else if (a == "--out")
      o->out = v;
    else if (a == "--wine-runner")
      o->runner = v;
    else if (a == "--wine-exe")
      o->exe = v;
    else if (a == "--list")
      o->list = std::atoi(v);
    else
      return false;
  }
  return o->kinds && o->pens;
}

// Wine's picture, ours and a diff: grey where they agree, red where only ours drew, blue where
// only Wine drew, yellow where both drew in different colours, green where Wine is unstable.
void write_pictures(const Options& o, const Shape& shape, const std::vector<uint32_t>& wine,
                    const std::vector<uint32_t>& wine_again, const std::vector<uint32_t>& ours) {
  std::vector<uint32_t> diff(wine.size());
  for (size_t i = 0; i < wine.size(); ++i) {
    const bool wine_drew = wine[i] != BACKGROUND_PIXEL, ours_drew = ours[i] != BACKGROUND_PIXEL;
    if (wine[i] != wine_again[i])
      diff[i] = 0x00FF00;
    else if (wine[i] == ours[i])
      diff[i] = wine_drew ? 0x808080 : 0xFFFFFF;
    else if (!wine_drew)
      diff[i] = 0xFF0000;
    else if (!ours_drew)
      diff[i] = 0x0000FF;
    else
      diff[i] = 0xFFD000;
  }
  const std::string stem = o.out + "/" + KIND_NAMES[shape.kind] + "-" + PENS_NAMES[shape.pens];
  headless_write_png(stem + "-wine.png", wine, BITMAP_WIDTH, BITMAP_HEIGHT);
  headless_write_png(stem + "-ours.png", ours, BITMAP_WIDTH, BITMAP_HEIGHT);
  headless_write_png(stem + "-diff.png", diff, BITMAP_WIDTH, BITMAP_HEIGHT);
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!parse(argc, argv, &o)) {
    std::fprintf(stderr,
                 "usage: gdi_compare [--seed N] [--first N] [--shapes N | --seconds S] "
                 "[--kinds rectangle,ellipse,polygon,line] [--pens thin,wide] [--out DIR] "
                 "[--list N] [--wine-runner PATH] [--wine-exe PATH]\n");
    return 2;
  }
  if (std::system(("mkdir -p '" + o.out + "'").c_str()) != 0) return 2;
  const uint32_t count = o.seconds > 0 ? UINT32_MAX - o.first : o.shapes;
  char command[4096];
  std::snprintf(command, sizeof command, "'%s' '%s' %" PRIu64 " %u %u %d %d", o.runner.c_str(),
                o.exe.c_str(), o.seed, o.first, count, o.kinds, o.pens);
  WineRun wine[2];
  for (WineRun& w : wine) {
    w.pipe = popen(command, "r");
    if (!w.pipe) {
      std::perror("gdi_compare: cannot start Wine");
      return 2;
    }
  }

  headless_reset();
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, BITMAP_WIDTH, BITMAP_HEIGHT);
  SelectObject(dc, bitmap);
  HBRUSH background = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
  auto clear = [&](const Region& r) {
    HGDIOBJ pen = SelectObject(dc, GetStockObject(NULL_PEN));
    HGDIOBJ brush = SelectObject(dc, background);
    Rectangle(dc, r.x0, r.y0, r.x1 + 1, r.y1 + 1);
    SelectObject(dc, pen);
    SelectObject(dc, brush);
  };
  clear(Region{0, 0, BITMAP_WIDTH, BITMAP_HEIGHT});

  const auto start = std::chrono::steady_clock::now();
  Tally tally[KIND_COUNT][PENS_COUNT];
  std::vector<uint32_t> ours, pictures[2];
  for (auto& p : pictures) p.assign(size_t(BITMAP_WIDTH) * BITMAP_HEIGHT, BACKGROUND_PIXEL);
  int failures = 0;
  bool done = false;
  for (uint32_t i = o.first; !done && i - o.first < count; ++i) {
    if (o.seconds > 0 &&
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > o.seconds)
      break;
    for (int kind = 0; kind < KIND_COUNT && !done; ++kind) {
      for (int p = 0; p < PENS_COUNT && !done; ++p) {
        if (!(o.kinds >> kind & 1) || !(o.pens >> p & 1)) continue;
        Shape shape;
        shape_make(o.seed, kind, p, i, &shape);
        RunHeader header[2];
        for (int w = 0; w < 2; ++w) {
          if (!read_shape(wine[w], &header[w]) || header[w].index != i || header[w].kind != kind ||
              header[w].pens != p) {
            std::fprintf(stderr, "gdi_compare: Wine's stream broke off at shape %u\n", i);
            ++failures;
            done = true;
          }
        }
        if (done) break;
        shape_draw(dc, &shape);
        const Region r = shape_region(&shape);
        int w_unused = 0;
        headless_bitmap_pixels(bitmap, &ours, &w_unused, &w_unused);
        int stray = 0;
        for (int y = 0; y < BITMAP_HEIGHT; ++y)
          for (int x = 0; x < BITMAP_WIDTH; ++x)
            if (ours[size_t(y) * BITMAP_WIDTH + size_t(x)] != BACKGROUND_PIXEL &&
                (x < r.x0 || x >= r.x1 || y < r.y0 || y >= r.y1))
              ++stray;
        for (int w = 0; w < 2; ++w) paint_runs(wine[w].runs, pictures[w]);
        Tally& t = tally[kind][p];
        ++t.shapes;
        const bool wine_fault = wine_ellipse_unfinished(&shape);
        t.wine_faults += wine_fault;
        uint64_t differing = 0, unstable = 0;
        for (int y = r.y0; y < r.y1; ++y) {
          for (int x = r.x0; x < r.x1; ++x) {
            const size_t at = size_t(y) * BITMAP_WIDTH + size_t(x);
            const uint32_t a = pictures[0][at], b = pictures[1][at], c = ours[at];
            if (a != BACKGROUND_PIXEL || c != BACKGROUND_PIXEL) ++t.drawn_pixels;
            if (a != b)
              ++unstable;
            else if (a != c)
              ++differing;
          }
        }
        if (wine_fault) differing = unstable = 0;
        t.differing_pixels += differing;
        t.unstable_pixels += unstable;
        t.unstable_shapes += unstable > 0;
        if (stray || (!wine_fault && (header[0].stray || header[1].stray))) {
          std::fprintf(stderr,
                       "gdi_compare: pixels outside the shapes' regions by shape %u (ours %d, "
                       "Wine %d and %d)\n",
                       i, stray, header[0].stray, header[1].stray);
          ++failures;
        }
        if (differing) {
          ++t.differing_shapes;
          char text[512];
          shape_describe(&shape, text, sizeof text);
          if (!t.pictures_written) {
            write_pictures(o, shape, pictures[0], pictures[1], ours);
            t.pictures_written = true;
            std::printf("first difference: %s: %" PRIu64 " pixels (pictures in %s/%s-%s-*.png)\n",
                        text, differing, o.out.c_str(), KIND_NAMES[kind], PENS_NAMES[p]);
          } else if (t.listed < o.list) {
            std::printf("difference: %s: %" PRIu64 " pixels\n", text, differing);
          }
          ++t.listed;
        }
        for (int w = 0; w < 2; ++w)
          for (const Run& run : wine[w].runs)
            std::fill_n(pictures[w].begin() + ptrdiff_t(run.y) * BITMAP_WIDTH + run.x0, run.length,
                        uint32_t(BACKGROUND_PIXEL));
        clear(stray ? Region{0, 0, BITMAP_WIDTH, BITMAP_HEIGHT} : r);
      }
    }
  }
  for (WineRun& w : wine) pclose(w.pipe);
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::printf("%-10s %-5s %8s %10s %12s %12s %9s %9s %11s\n", "kind", "pens", "shapes", "differing",
              "px differing", "px drawn", "share", "unstable", "wine faults");
  uint64_t differing_shapes = 0;
  for (int kind = 0; kind < KIND_COUNT; ++kind) {
    for (int p = 0; p < PENS_COUNT; ++p) {
      const Tally& t = tally[kind][p];
      if (!t.shapes) continue;
      differing_shapes += t.differing_shapes;
      std::printf(
          "%-10s %-5s %8" PRIu64 " %10" PRIu64 " %12" PRIu64 " %12" PRIu64 " %8.4f%% %9" PRIu64
          " %11" PRIu64 "\n",
          KIND_NAMES[kind], PENS_NAMES[p], t.shapes, t.differing_shapes, t.differing_pixels,
          t.drawn_pixels,
          t.drawn_pixels ? 100.0 * double(t.differing_pixels) / double(t.drawn_pixels) : 0.0,
          t.unstable_pixels, t.wine_faults);
    }
  }
  std::printf("seed %" PRIu64 ", %.1f s\n", o.seed, elapsed);
  DeleteObject(background);
  return failures || differing_shapes ? 1 : 0;
}
