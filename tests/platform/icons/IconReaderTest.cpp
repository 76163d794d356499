#include "IconBytes.h"

#include "platform/icons/IcoReader.h"
#include "platform/icons/PeIcons.h"

#include <gtest/gtest.h>

using namespace icontest;

namespace {

// 32 bpp pictures with all alpha zero come from before alpha channels and use the mask too.
TEST(IcoReader, EveryColourDepthWithItsMask)
{
    for (int bitCount : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE(bitCount);
        const auto icon = platform::IconFromIcoBytes(Ico({{32, bitCount, Dib(32, bitCount, kRed, true, 0)}}));
        EXPECT_EQ(Centre(icon), kRed);
        ASSERT_TRUE(icon);
        EXPECT_EQ(qAlpha(icon->pixel(0, 0)), 0) << "the mask hides the top-left pixel";
        EXPECT_EQ(qAlpha(icon->pixel(1, 0)), 255);
        EXPECT_EQ(icon->pixel(0, 31), qRgb(0, 0, 0)) << "the bottom-left pixel is black";
        EXPECT_EQ(icon->pixel(1, 31), kRed);
        EXPECT_EQ(icon->pixel(0, 30), kRed);
    }
    // With an alpha channel the mask is ignored.
    const auto icon = platform::IconFromIcoBytes(Ico({{32, 32, Dib(32, 32, kRed, true, 128)}}));
    EXPECT_EQ(qAlpha(icon.value_or(QImage()).pixel(0, 0)), 128);
}

TEST(IcoReader, ChoosesThe32PixelPictureWithMostColoursElseTheNearest)
{
    struct Case {
        const char* what;
        std::vector<Picture> pictures;
        QRgb expected;
    };
    const std::vector<Case> cases = {
        {"32 × 32 among others",
         {{16, 8, Dib(16, 8, kGreen)},
          {32, 4, Dib(32, 4, kGrey)},
          {32, 24, Dib(32, 24, kRed)},
          {48, 32, Png(48, 48, kBlue)}},
         kRed},
        {"depth unknown to the directory", {{32, 0, Dib(32, 4, kGrey)}, {32, 0, Dib(32, 32, kRed)}}, kRed},
        {"only 48 × 48 PNG, scaled down", {{48, 32, Png(48, 48, kBlue)}}, kBlue},
        {"16 and 48: the larger", {{16, 32, Dib(16, 32, kGreen)}, {48, 32, Png(48, 48, kBlue)}}, kBlue},
        {"only 16 × 16, scaled up", {{16, 8, Dib(16, 8, kGreen)}}, kGreen},
        {"broken best picture gives way", {{32, 32, "\x89PNG broken"}, {16, 8, Dib(16, 8, kGreen)}}, kGreen},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Centre(platform::IconFromIcoBytes(Ico(c.pictures))), c.expected) << c.what;
}

TEST(PeIcons, IconGroupsInDirectoryOrder)
{
    for (bool plus : {false, true}) {
        SCOPED_TRACE(plus ? "PE32+" : "PE32");
        const Pe pe =
            MakePe({{{16, 8, Dib(16, 8, kGreen)}, {32, 24, Dib(32, 24, kRed)}}, {{48, 32, Png(48, 48, kBlue)}}}, plus);
        EXPECT_TRUE(platform::IsPeImage(pe.bytes));
        EXPECT_EQ(Centre(platform::IconFromPeBytes(pe.bytes, 0)), kRed);
        EXPECT_EQ(Centre(platform::IconFromPeBytes(pe.bytes, 1)), kBlue);
        EXPECT_FALSE(platform::IconFromPeBytes(pe.bytes, 2));
        EXPECT_FALSE(platform::IconFromPeBytes(pe.bytes, -1));
    }
}

// Every prefix of a file lacks something the icon needs; none may crash.
TEST(IconReaders, TruncatedFilesGiveNothing)
{
    const std::string ico = Ico({{32, 24, Dib(32, 24, kRed)}});
    const std::string pe = MakePe({{{32, 24, Dib(32, 24, kRed)}}}).bytes;
    for (std::size_t length = 0; length < ico.size(); ++length)
        ASSERT_FALSE(platform::IconFromIcoBytes(ico.substr(0, length))) << length;
    for (std::size_t length = 0; length < pe.size(); ++length)
        ASSERT_FALSE(platform::IconFromPeBytes(pe.substr(0, length), 0)) << length;
    EXPECT_TRUE(platform::IconFromIcoBytes(ico));
    EXPECT_TRUE(platform::IconFromPeBytes(pe, 0));
}

struct Damage {
    const char* what;
    std::size_t at;
    std::uint64_t value;
    int width;
};

TEST(IcoReader, DamagedFieldsGiveNothing)
{
    const std::string good = Ico({{32, 24, Dib(32, 24, kRed)}});
    constexpr std::size_t kDib = 6 + 16;
    const std::vector<Damage> damages = {
        {"type cursor", 2, 2, 2},
        {"no pictures", 4, 0, 2},
        {"more pictures than stored", 4, 0xffff, 2},
        {"payload beyond the end", 6 + 12, 0xfffffff0, 4},
        {"huge payload", 6 + 8, 0xffffffff, 4},
        {"huge info header", kDib, 0x7fffffff, 4},
        {"huge width", kDib + 4, 0x7fffffff, 4},
        {"negative width", kDib + 4, 0xffffffff, 4},
        {"top-down rows", kDib + 8, 0xffffffc0, 4},
        {"less than one row", kDib + 8, 1, 4},
        {"unknown depth", kDib + 14, 7, 2},
        {"compressed", kDib + 16, 1, 4},
        {"taller than the data", kDib + 8, 2000, 4},
    };
    for (const Damage& damage : damages) {
        std::string bytes = good;
        Put(bytes, damage.at, damage.value, damage.width);
        EXPECT_FALSE(platform::IconFromIcoBytes(bytes)) << damage.what;
    }
    std::string colourOnly = Dib(32, 24, kRed);
    colourOnly.resize(colourOnly.size() - 32 * 4);
    EXPECT_FALSE(platform::IconFromIcoBytes(Ico({{32, 24, colourOnly}}))) << "no mask";
    std::string palette = Ico({{32, 8, Dib(32, 8, kRed)}});
    Put(palette, kDib + 32, 100000, 4);
    EXPECT_FALSE(platform::IconFromIcoBytes(palette)) << "colour table larger than the depth allows";
    std::string png = Ico({{32, 32, Png(32, 32, kRed)}});
    Put(png, kDib + 16, 30000, 4); // IHDR width
    EXPECT_FALSE(platform::IconFromIcoBytes(png)) << "PNG too large";
}

TEST(PeIcons, DamagedFieldsGiveNothing)
{
    const Pe pe = MakePe({{{32, 24, Dib(32, 24, kRed)}}});
    const std::vector<Damage> damages = {
        {"no DOS signature", 0, 0x5a4e, 2},
        {"PE header beyond the end", 0x3c, 0xfffffff0, 4},
        {"no PE signature", 64, 0x4551, 4},
        {"too many sections", 64 + 6, 0xffff, 2},
        {"optional header beyond the end", 64 + 20, 0xffff, 2},
        {"optional header too short", 64 + 20, 90, 2},
        {"unknown magic", 88, 0x999, 2},
        {"no resource directory entry", 88 + 92, 2, 4},
        {"no resources", 88 + 96 + 16, 0, 4},
        {"section data beyond the end", pe.sectionHeader + 20, 0xfffffff0, 4},
        {"section at the top of memory", pe.sectionHeader + 12, 0xffffffff, 4},
        {"section one byte short", pe.sectionHeader + 16, pe.bytes.size() - pe.resources - 1, 4},
        {"too many types", pe.resources + 12, 0xffff, 2},
        {"group type is the root again", pe.groupTypeEntry + 4, 0x80000000, 4},
        {"language directory holds itself", pe.firstGroupLanguages + 20,
         0x80000000u | (pe.firstGroupLanguages - pe.resources), 4},
        {"group data beyond the section", pe.firstGroupData, 0x7ffffff0, 4},
        {"huge group data", pe.firstGroupData + 4, 0xffffffff, 4},
        {"group of another type", pe.firstGroup + 2, 2, 2},
        {"more pictures than stored", pe.firstGroup + 4, 0xffff, 2},
        {"picture of a missing id", pe.firstGroup + 6 + 12, 77, 2},
    };
    ASSERT_TRUE(platform::IconFromPeBytes(pe.bytes, 0));
    for (const Damage& damage : damages) {
        std::string bytes = pe.bytes;
        Put(bytes, damage.at, damage.value, damage.width);
        EXPECT_FALSE(platform::IconFromPeBytes(bytes, 0)) << damage.what;
    }
}

} // namespace
