// Checks a screenshot of a full-screen run: the four water lines in dark
// cyan on the pixel rows of grid rows 5 to 8, and fish, castle and visitors
// in several distinct colours. Reads a binary PPM (ImageMagick's "ppm:").
//   windows_screenshot_check SHOT.ppm CELL_HEIGHT
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

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
// (0,170,170) shows as (0,g,g) with g up to 170.
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

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: windows_screenshot_check SHOT.ppm CELL_HEIGHT\n";
        return 2;
    }
    Image image;
    const int cell_height = std::atoi(argv[2]);
    if (!read_ppm(argv[1], image) || cell_height <= 0 || image.height < 10 * cell_height) {
        std::cerr << "cannot read the screenshot or the cell height\n";
        return 2;
    }

    // A water line repeats across the whole width; nothing else on those rows
    // does. Rows 4 and 9 border the water and must not look like it, which
    // pins the lines to the pixel rows the cell height gives.
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
        const bool ok = water_row ? spread >= 12 && brightest >= 120 : spread < 12;
        std::cout << (ok ? "ok   " : "FAIL ") << "grid row " << row << " (pixel rows " << row * cell_height << "-"
                  << (row + 1) * cell_height - 1 << "): " << shades << " dark cyan pixels in " << spread << " of "
                  << segments << " sixteenths, brightest " << brightest << (water_row ? " (water)" : "") << "\n";
        if (!ok) ++failures;
    }

    int counts[8] = {};
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const int hue = hue_of(image.at(x, y));
            if (hue >= 0) ++counts[hue];
        }
    }
    int distinct = 0;
    std::string listed;
    const char* names[8] = {"none", "red", "green", "yellow", "blue", "magenta", "cyan", "white"};
    for (int hue = 1; hue < 8; ++hue) {
        if (counts[hue] >= 20) {
            ++distinct;
            listed += std::string(" ") + names[hue] + "=" + std::to_string(counts[hue]);
        }
    }
    const bool colourful = distinct >= 4;
    std::cout << (colourful ? "ok   " : "FAIL ") << distinct << " distinct colours:" << listed << "\n";
    if (!colourful) ++failures;
    return failures ? 1 : 0;
}
