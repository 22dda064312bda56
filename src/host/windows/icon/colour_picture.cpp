#include "colour_picture.h"

#include <algorithm>
#include <cmath>

namespace gm {

void enlarge_into(ColourPicture& to, const ColourPicture& from, int left, int top, int times)
{
    for (int y = 0; y < from.height * times; ++y)
        for (int x = 0; x < from.width * times; ++x) to.at(left + x, top + y) = from.at(x / times, y / times);
}

namespace {

Colour colour_from(double red, double green, double blue)
{
    return static_cast<Colour>(red) | static_cast<Colour>(green) << 8 | static_cast<Colour>(blue) << 16;
}

// How much of source pixel `s` lies in [begin, end).
double overlap(int s, double begin, double end)
{
    return std::max(0.0, std::min<double>(s + 1, end) - std::max<double>(s, begin));
}

} // namespace

void shrink_into(ColourPicture& to, const ColourPicture& from, int left, int top, int width, int height)
{
    const double across = static_cast<double>(from.width) / width, down = static_cast<double>(from.height) / height;
    for (int y = 0; y < height; ++y) {
        const double y0 = y * down, y1 = (y + 1) * down;
        for (int x = 0; x < width; ++x) {
            const double x0 = x * across, x1 = (x + 1) * across;
            double red = 0, green = 0, blue = 0, area = 0;
            const int y_end = std::min(from.height, static_cast<int>(std::ceil(y1)));
            const int x_end = std::min(from.width, static_cast<int>(std::ceil(x1)));
            for (int sy = static_cast<int>(y0); sy < y_end; ++sy) {
                for (int sx = static_cast<int>(x0); sx < x_end; ++sx) {
                    const double weight = overlap(sx, x0, x1) * overlap(sy, y0, y1);
                    const Colour c = from.at(sx, sy);
                    red += red_of(c) * weight;
                    green += green_of(c) * weight;
                    blue += blue_of(c) * weight;
                    area += weight;
                }
            }
            if (area > 0) to.at(left + x, top + y) = colour_from(red / area, green / area, blue / area);
        }
    }
}

std::vector<unsigned char> rgba_bytes(const ColourPicture& picture)
{
    std::vector<unsigned char> bytes;
    bytes.reserve(picture.pixels.size() * 4);
    for (Colour c : picture.pixels) {
        bytes.push_back(static_cast<unsigned char>(red_of(c)));
        bytes.push_back(static_cast<unsigned char>(green_of(c)));
        bytes.push_back(static_cast<unsigned char>(blue_of(c)));
        bytes.push_back(255);
    }
    return bytes;
}

} // namespace gm
