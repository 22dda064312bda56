#pragma once
#include <string>
#include <vector>

namespace gm {

// One square picture of an icon, already encoded as a PNG file.
struct IconImage {
    int size = 0; // width and height in pixels, 1 to 256
    std::vector<unsigned char> png;
};

// Writes the images as one .ico file; Windows picks the size it needs.
// Returns false, leaving no file behind, when the file cannot be written.
bool write_ico_file(const std::string& path, const std::vector<IconImage>& images);

} // namespace gm
