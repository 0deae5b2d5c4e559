#include "support/Png.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <vector>

namespace dorvath::test {
namespace {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutChunk(std::ofstream& file, const char* type, const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> chunk;
    PutBigEndian(chunk, static_cast<std::uint32_t>(payload.size()));
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), payload.begin(), payload.end());
    PutBigEndian(chunk, Crc32(chunk.data() + 4, chunk.size() - 4));
    file.write(reinterpret_cast<const char*>(chunk.data()),
               static_cast<std::streamsize>(chunk.size()));
}

}  // namespace

bool WritePng(const Bitmap& bitmap, const std::string& path) {
    const auto w = static_cast<std::uint32_t>(bitmap.Width());
    const auto h = static_cast<std::uint32_t>(bitmap.Height());
    std::vector<std::uint8_t> raw;  // filter byte 0, then RGB, per row
    raw.reserve(static_cast<std::size_t>(h) * (1 + 3 * w));
    for (std::uint32_t y = 0; y < h; ++y) {
        raw.push_back(0);
        for (std::uint32_t x = 0; x < w; ++x) {
            const TColor c =
                bitmap.Pixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
            raw.push_back(RedOf(c));
            raw.push_back(GreenOf(c));
            raw.push_back(BlueOf(c));
        }
    }

    std::vector<std::uint8_t> zlib = {0x78, 0x01};
    constexpr std::size_t kBlock = 65535;
    for (std::size_t pos = 0; pos == 0 || pos < raw.size(); pos += kBlock) {
        const std::size_t len = std::min(kBlock, raw.size() - pos);
        zlib.push_back(pos + len >= raw.size() ? 1 : 0);
        zlib.push_back(static_cast<std::uint8_t>(len & 0xFF));
        zlib.push_back(static_cast<std::uint8_t>(len >> 8));
        zlib.push_back(static_cast<std::uint8_t>(~len & 0xFF));
        zlib.push_back(static_cast<std::uint8_t>((~len >> 8) & 0xFF));
        zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                    raw.begin() + static_cast<std::ptrdiff_t>(pos + len));
        if (raw.empty())
            break;
    }
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(zlib, (b << 16) | a);

    std::ofstream file(path, std::ios::binary);
    if (!file)
        return false;
    static const std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    file.write(reinterpret_cast<const char*>(kSignature), sizeof kSignature);
    std::vector<std::uint8_t> header;
    PutBigEndian(header, w);
    PutBigEndian(header, h);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", zlib);
    PutChunk(file, "IEND", {});
    return static_cast<bool>(file);
}

}  // namespace dorvath::test
