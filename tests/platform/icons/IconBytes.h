#pragma once

// Icon files and Windows programs written byte by byte, and what their icons look like.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace icontest {

inline const QRgb kRed = qRgb(220, 0, 0), kGreen = qRgb(0, 200, 0), kBlue = qRgb(0, 0, 210), kGrey = qRgb(90, 90, 90);

// The icon's colour in its middle, or 0 when there is no icon; fails on an icon of the wrong size.
inline QRgb Centre(const std::optional<QImage>& icon)
{
    if (!icon)
        return 0;
    EXPECT_EQ(icon->size(), QSize(32, 32));
    return icon->pixel(16, 16);
}

inline void Put(std::string& bytes, std::size_t at, std::uint64_t value, int width)
{
    if (bytes.size() < at + width)
        bytes.resize(at + width, '\0');
    for (int i = 0; i < width; ++i)
        bytes[at + i] = char(value >> (8 * i) & 0xff);
}

inline std::string Le(std::uint64_t value, int width)
{
    std::string bytes;
    Put(bytes, 0, value, width);
    return bytes;
}

inline std::string Png(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return data.toStdString();
}

// A square bitmap of one colour but for its bottom-left pixel, which is black; below 24 bpp the
// colour is palette index 1 and black index 0. With masked, the mask hides the top-left pixel;
// alpha applies to 32 bpp pictures.
inline std::string Dib(int side, int bitCount, QRgb colour, bool masked = true, int alpha = 255)
{
    std::string bytes = Le(40, 4) + Le(side, 4) + Le(2 * side, 4) + Le(1, 2) + Le(bitCount, 2) + std::string(24, '\0');
    if (bitCount <= 8) {
        bytes += std::string(4, '\0'); // index 0: black
        bytes += std::string{char(qBlue(colour)), char(qGreen(colour)), char(qRed(colour)), 0};
        bytes += std::string(((1u << bitCount) - 2) * 4, '\0');
    }
    const int stride = (side * bitCount + 31) / 32 * 4;
    for (int y = 0; y < side; ++y) {
        std::string row;
        const QRgb first = y == 0 ? qRgb(0, 0, 0) : colour; // rows are stored bottom-up
        for (int x = 0; x < side; ++x) {
            const QRgb pixel = x == 0 ? first : colour;
            if (bitCount == 24 || bitCount == 32)
                row += std::string{char(qBlue(pixel)), char(qGreen(pixel)), char(qRed(pixel))};
            if (bitCount == 32)
                row += char(alpha);
        }
        row.resize(stride, '\0');
        for (int x = y == 0 ? 1 : 0; bitCount <= 8 && x < side; ++x) {
            const int bit = x * bitCount;
            row[bit / 8] = char(row[bit / 8] | 1 << (8 - bitCount - bit % 8));
        }
        bytes += row;
    }
    const int maskStride = (side + 31) / 32 * 4;
    for (int y = 0; y < side; ++y) {
        std::string row(maskStride, '\0');
        if (masked && y == side - 1) // rows are stored bottom-up
            row[0] = char(0x80);
        bytes += row;
    }
    return bytes;
}

struct Picture {
    int side;
    int bitCount;
    std::string payload;
};

// The description of a picture that icon files and icon groups share; they add its place.
inline std::string Entry(const Picture& picture)
{
    return Le(picture.side % 256, 1) + Le(picture.side % 256, 1) + Le(0, 2) + Le(1, 2) + Le(picture.bitCount, 2)
        + Le(picture.payload.size(), 4);
}

inline std::string Ico(const std::vector<Picture>& pictures)
{
    std::string bytes = Le(0, 2) + Le(1, 2) + Le(pictures.size(), 2), data;
    for (const Picture& picture : pictures) {
        bytes += Entry(picture) + Le(6 + 16 * pictures.size() + data.size(), 4);
        data += picture.payload;
    }
    return bytes + data;
}

// A Windows program with one resource section holding icon groups, and where its fields are.
struct Pe {
    std::string bytes;
    std::size_t sectionHeader = 0;
    std::size_t resources = 0; // the root of the resource directory
    std::size_t groupTypeEntry = 0; // the root's entry of the icon group type
    std::size_t firstGroupLanguages = 0;
    std::size_t firstGroupData = 0; // its data entry
    std::size_t firstGroup = 0; // its group directory
};

inline Pe MakePe(const std::vector<std::vector<Picture>>& groups, bool plus = false)
{
    constexpr std::uint32_t kRva = 0x1000, kRaw = 0x200, kSub = 0x80000000u;
    const std::size_t optionalSize = plus ? 240 : 224, directories = 88 + (plus ? 112 : 96);
    Pe pe{.bytes = {}, .sectionHeader = 88 + optionalSize, .resources = kRaw, .groupTypeEntry = kRaw + 24};
    std::string& b = pe.bytes;
    for (auto [at, value, width] :
         std::vector<std::tuple<std::size_t, std::uint64_t, int>>{{0, 0x5a4d, 2},
                                                                  {0x3c, 64, 4},
                                                                  {64, 0x4550, 4},
                                                                  {64 + 4, 0x14c, 2},
                                                                  {64 + 6, 1, 2},
                                                                  {64 + 20, optionalSize, 2},
                                                                  {88, plus ? 0x20b : 0x10b, 2},
                                                                  {directories - 4, 16, 4},
                                                                  {directories + 16, kRva, 4},
                                                                  {pe.sectionHeader + 12, kRva, 4},
                                                                  {pe.sectionHeader + 20, kRaw, 4}})
        Put(b, at, value, width);
    b.resize(kRaw, '\0');

    std::vector<std::string> payloads; // the icons, then the groups
    for (const auto& group : groups)
        for (const Picture& picture : group)
            payloads.push_back(picture.payload);
    const std::size_t icons = payloads.size();
    std::size_t id = 0; // icons are numbered from 1 in order
    for (const auto& group : groups) {
        std::string data = Le(0, 2) + Le(1, 2) + Le(group.size(), 2);
        for (const Picture& picture : group)
            data += Entry(picture) + Le(++id, 2);
        payloads.push_back(data);
    }
    // Root, the two type directories, a language directory per resource, data entries, data.
    const std::size_t iconType = 32, groupType = iconType + 16 + 8 * icons;
    const std::size_t languages = groupType + 16 + 8 * groups.size(), entries = languages + 24 * payloads.size();
    std::string r(entries + 16 * payloads.size(), '\0');
    const auto directory = [&](std::size_t at, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& list) {
        Put(r, at + 14, list.size(), 2);
        for (std::size_t i = 0; i < list.size(); ++i)
            Put(r, at + 16 + 8 * i, list[i].first, 4), Put(r, at + 20 + 8 * i, list[i].second, 4);
    };
    directory(0, {{3, kSub | iconType}, {14, kSub | groupType}});
    std::vector<std::pair<std::uint32_t, std::uint32_t>> names[2];
    for (std::size_t i = 0; i < payloads.size(); ++i) {
        const std::size_t language = languages + 24 * i, entry = entries + 16 * i;
        names[i >= icons].push_back({i < icons ? i + 1 : i - icons + 1, kSub | language});
        directory(language, {{0x409, entry}});
        if (i == icons)
            pe.firstGroupLanguages = kRaw + language, pe.firstGroupData = kRaw + entry, pe.firstGroup = kRaw + r.size();
        Put(r, entry, kRva + r.size(), 4);
        Put(r, entry + 4, payloads[i].size(), 4);
        r += payloads[i];
    }
    directory(iconType, names[0]);
    directory(groupType, names[1]);
    for (std::size_t at : {directories + 20, pe.sectionHeader + 8, pe.sectionHeader + 16})
        Put(b, at, r.size(), 4);
    b.replace(pe.sectionHeader, 5, ".rsrc");
    b += r;
    return pe;
}

} // namespace icontest
