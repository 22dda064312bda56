#include "ico_file.h"

#include <cstdint>
#include <cstdio>
#include <fstream>

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

} // namespace

bool write_ico_file(const std::string& path, const std::vector<IconImage>& images)
{
    constexpr std::uint32_t header_size = 6;
    constexpr std::uint32_t entry_size = 16;
    std::vector<unsigned char> out;
    put16(out, 0); // reserved
    put16(out, 1); // an icon, not a cursor
    put16(out, static_cast<std::uint32_t>(images.size()));

    auto offset = static_cast<std::uint32_t>(header_size + entry_size * images.size());
    for (const IconImage& image : images) {
        if (image.size < 1 || image.size > 256 || image.png.empty()) return false;
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

    const std::string partial = path + ".part";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
        if (!file.flush()) {
            file.close();
            std::remove(partial.c_str());
            return false;
        }
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0) {
        std::remove(partial.c_str());
        return false;
    }
    return true;
}

} // namespace gm
