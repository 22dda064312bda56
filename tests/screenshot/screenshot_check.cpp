// Checks a screenshot of a full-screen run: the four water lines in dark
// cyan on the pixel rows of grid rows 5 to 8, fish, castle and visitors in
// several distinct colours, the castle's own colours in the bottom rows at
// the right edge, and a later screenshot that shows the scene moved on.
// Reads binary PPMs (ImageMagick's "ppm:").
//   windows_screenshot_check SHOT.ppm CELL_WIDTH CELL_HEIGHT LATER.ppm
// A cell size given as "auto" is read from the water: the height is the first
// from 8 to 64 pixels that puts it on exactly grid rows 5 to 8, the width the
// one at which the water's segments repeat.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <set>
#include <vector>

#include "engine/scene.h"
#include "population/population.h"
#include "sprites/catalogue.h"
#include "sprites/sprite_frame.h"

namespace {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* at(int x, int y) const { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

bool read_ppm(const std::string& path, Image& image)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int max_value = 0;
    in >> magic >> image.width >> image.height >> max_value;
    if (!in || magic != "P6" || max_value != 255 || image.width <= 0 || image.height <= 0) return false;
    in.get();
    image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
    in.read(reinterpret_cast<char*>(image.rgb.data()), static_cast<std::streamsize>(image.rgb.size()));
    return static_cast<std::size_t>(in.gcount()) == image.rgb.size();
}

// Antialiased text blends its colour with the black background, so dark cyan
// (0,170,170) shows as (0,g,g) with g up to 170; the thin strokes of a small
// font never reach the full shade.
bool dark_cyan_shade(const unsigned char* p)
{
    return p[0] == 0 && p[1] == p[2] && p[1] > 0 && p[1] <= 170;
}

// A coarse hue for clearly lit pixels: which channels are at least half of
// the brightest one. White and grey count as one more hue.
int hue_of(const unsigned char* p)
{
    const int top = std::max({p[0], p[1], p[2]});
    if (top < 100) return -1;
    return (p[0] * 2 >= top ? 1 : 0) | (p[1] * 2 >= top ? 2 : 0) | (p[2] * 2 >= top ? 4 : 0);
}

const char* const hue_names[8] = {"none", "red", "green", "yellow", "blue", "magenta", "cyan", "white"};

// The castle stands at the right edge on the bottom row: its lowest four
// rows must show each colour they hold in the catalogue, by a few lit pixels
// at least, as fish swim in front of it.
bool castle_in_place(const Image& image, int cell_width, int cell_height)
{
    const gm::CatalogueEntry* castle = gm::find_entry("castle");
    if (!castle || castle->variants.empty()) return false;
    const gm::SpriteFrame frame(castle->variants[0].picture_text, castle->variants[0].mask_text, gm::colours::white, false);
    const int columns = image.width / cell_width;
    const int rows = image.height / cell_height;
    int counts[8] = {};
    for (int y = (rows - 4) * cell_height; y < rows * cell_height; ++y) {
        for (int x = std::max(0, columns - frame.width) * cell_width; x < columns * cell_width; ++x)
            counts[std::max(0, hue_of(image.at(x, y)))] += 1;
    }
    std::set<int> wanted;
    for (int y = std::max(0, frame.height - 4); y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const gm::Colour c = frame.colour_at(x, y);
            const unsigned char rgb[3] = {static_cast<unsigned char>(c), static_cast<unsigned char>(c >> 8), static_cast<unsigned char>(c >> 16)};
            if (frame.cell_at(x, y) != ' ' && frame.cell_at(x, y) != 0) wanted.insert(hue_of(rgb));
        }
    }
    bool ok = !wanted.empty();
    std::string listed;
    for (int hue : wanted) {
        listed += std::string(" ") + hue_names[std::max(0, hue)] + "=" + std::to_string(counts[std::max(0, hue)]);
        ok = ok && hue > 0 && counts[hue] >= 20;
    }
    std::cout << (ok ? "ok   " : "FAIL ") << "castle colours in the bottom 4 rows at the right:" << listed << "\n";
    return ok;
}

// A water line repeats across the whole width; nothing else on those rows
// does. Rows 4 and 9 border the water and must not look like it, which pins
// the lines to the pixel rows the cell height gives.
int water_failures(const Image& image, int cell_height, bool report)
{
    constexpr int segments = 16;
    int failures = 0;
    for (int row = 4; row <= 9; ++row) {
        int shades = 0;
        int brightest = 0;
        bool segment_lit[segments] = {};
        for (int y = row * cell_height; y < (row + 1) * cell_height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const unsigned char* p = image.at(x, y);
                if (dark_cyan_shade(p)) {
                    ++shades;
                    brightest = std::max<int>(brightest, p[1]);
                    segment_lit[x * segments / image.width] = true;
                }
            }
        }
        int spread = 0;
        for (bool lit : segment_lit) spread += lit ? 1 : 0;
        const bool water_row = row >= 5 && row <= 8;
        const bool ok = water_row ? spread >= 12 && brightest >= 90 : spread < 12;
        if (report)
            std::cout << (ok ? "ok   " : "FAIL ") << "grid row " << row << " (pixel rows " << row * cell_height << "-"
                      << (row + 1) * cell_height - 1 << "): " << shades << " dark cyan pixels in " << spread << " of "
                      << segments << " sixteenths, brightest " << brightest << (water_row ? " (water)" : "") << "\n";
        if (!ok) ++failures;
    }
    return failures;
}

int cell_height_from_water(const Image& image)
{
    for (int h = 8; h <= 64 && image.height >= 10 * h; ++h)
        if (water_failures(image, h, false) == 0) return h;
    return 0;
}

// The water lines are one segment tiled across the screen, so the lit
// pixels of rows 6 to 8 repeat every segment's width of cells; of the cell
// widths whose segment matches best, the smallest is taken, since its
// multiples match too.
int cell_width_from_water(const Image& image, int cell_height)
{
    gm::Scene scene;
    gm::add_water_lines(scene);
    if (scene.entities.size() < 2 || scene.entities[1].frames.empty()) return 0;
    const int segment = scene.entities[1].frames[0].width;
    std::vector<int> lit(static_cast<std::size_t>(image.width));
    for (int y = 6 * cell_height; y < 9 * cell_height; ++y)
        for (int x = 0; x < image.width; ++x) lit[x] += dark_cyan_shade(image.at(x, y)) ? 1 : 0;
    std::vector<double> mismatch(65, -1);
    double best = -1;
    for (int width = 3; width <= 64 && 2 * segment * width <= image.width; ++width) {
        const int shift = segment * width;
        long sum = 0;
        for (int x = 0; x + shift < image.width; ++x) sum += std::abs(lit[x] - lit[x + shift]);
        mismatch[width] = static_cast<double>(sum) / (image.width - shift);
        if (best < 0 || mismatch[width] < best) best = mismatch[width];
    }
    for (int width = 3; width <= 64; ++width)
        if (mismatch[width] >= 0 && mismatch[width] <= best * 1.1 + 0.01) return width;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::cerr << "usage: windows_screenshot_check SHOT.ppm CELL_WIDTH CELL_HEIGHT LATER.ppm\n";
        return 2;
    }
    Image image;
    Image later;
    const bool read = read_ppm(argv[1], image) && read_ppm(argv[4], later);
    const int cell_height = std::string(argv[3]) == "auto" && read ? cell_height_from_water(image) : std::atoi(argv[3]);
    const int cell_width =
        std::string(argv[2]) == "auto" && read ? cell_width_from_water(image, cell_height) : std::atoi(argv[2]);
    std::cout << "cell " << cell_width << "x" << cell_height << "\n";
    if (!read || cell_width <= 0 || cell_height <= 0 ||
        image.height < 10 * cell_height || image.width < 32 * cell_width) {
        std::cerr << "cannot read the screenshots or the cell size\n";
        return 2;
    }

    int failures = water_failures(image, cell_height, true);

    int counts[8] = {};
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const int hue = hue_of(image.at(x, y));
            if (hue >= 0) ++counts[hue];
        }
    }
    int distinct = 0;
    std::string listed;
    for (int hue = 1; hue < 8; ++hue) {
        if (counts[hue] >= 20) {
            ++distinct;
            listed += std::string(" ") + hue_names[hue] + "=" + std::to_string(counts[hue]);
        }
    }
    const bool colourful = distinct >= 4;
    std::cout << (colourful ? "ok   " : "FAIL ") << distinct << " distinct colours:" << listed << "\n";
    if (!colourful) ++failures;
    if (!castle_in_place(image, cell_width, cell_height)) ++failures;

    // Ten ticks later fish have swum on by a cell or more: a frozen window,
    // or one painted only once, shows the same pixels.
    long changed = 0;
    for (std::size_t i = 0; later.rgb.size() == image.rgb.size() && i < image.rgb.size(); ++i)
        changed += image.rgb[i] != later.rgb[i] ? 1 : 0;
    const bool moved = changed >= 500;
    std::cout << (moved ? "ok   " : "FAIL ") << changed << " colour bytes changed in the later screenshot\n";
    if (!moved) ++failures;
    return failures ? 1 : 0;
}
