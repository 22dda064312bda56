#include "ico_file.h"

#include <cstdint>
#include <stdexcept>

#include "record/atomic_file.h"

namespace gm {

namespace {

void put16(std::vector<unsigned char>& out, std::uint32_t value)
{
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

void put32(std::vector<unsigned char>& out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// The directory of every image, then the images: an empty result for an
// image that an .ico cannot hold.
std::vector<unsigned char> ico_bytes(const std::vector<IconImage>& images)
{
    constexpr std::uint32_t header_size = 6;
    constexpr std::uint32_t entry_size = 16;
    std::vector<unsigned char> out;
    put16(out, 0); // reserved
    put16(out, 1); // an icon, not a cursor
    put16(out, static_cast<std::uint32_t>(images.size()));

    auto offset = static_cast<std::uint32_t>(header_size + entry_size * images.size());
    for (const IconImage& image : images) {
        if (image.size < 1 || image.size > 256 || image.png.empty()) return {};
        // The one-byte size field holds 256 as 0.
        const auto side = static_cast<unsigned char>(image.size == 256 ? 0 : image.size);
        out.push_back(side);
        out.push_back(side);
        out.push_back(0); // no palette
        out.push_back(0); // reserved
        put16(out, 1);    // colour planes
        put16(out, 32);   // bits per pixel
        put32(out, static_cast<std::uint32_t>(image.png.size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(image.png.size());
    }
    for (const IconImage& image : images) out.insert(out.end(), image.png.begin(), image.png.end());
    return out;
}

} // namespace

bool write_ico_file(const std::string& path, const std::vector<IconImage>& images)
{
    const std::vector<unsigned char> bytes = ico_bytes(images);
    if (bytes.empty()) return false;
    try {
        AtomicFile file(path);
        file.write(bytes.data(), bytes.size());
        file.commit();
        return true;
    } catch (const std::runtime_error&) {
        return false;
    }
}

} // namespace gm
