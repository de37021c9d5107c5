#include "platform/gdi/bmp.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>

#include "support/test_env.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A bitmap file with a 40-byte (or longer) information header; fields patched by the tests.
struct Sample {
    Bytes bytes;
    void U16(std::size_t at, uint16_t v) { plat::PutU16(&bytes[at], v); }
    void U32(std::size_t at, uint32_t v) { plat::PutU32(&bytes[at], v); }
};

Sample Make(int32_t w, int32_t h, uint16_t bits, uint32_t info_size = 40, uint32_t table_entries = 0,
            uint32_t compression = 0, std::size_t extra = 0) {
    const std::size_t row = (static_cast<std::size_t>(w) * bits + 31) / 32 * 4;
    const std::size_t rows = static_cast<std::size_t>(h < 0 ? -h : h);
    const std::size_t offset = 14 + info_size + 4 * table_entries + extra;
    Sample s;
    s.bytes.assign(offset + row * rows, 0);
    s.bytes[0] = 'B', s.bytes[1] = 'M';
    s.U32(2, static_cast<uint32_t>(s.bytes.size()));
    s.U32(10, static_cast<uint32_t>(offset));
    s.U32(14, info_size);
    s.U32(18, static_cast<uint32_t>(w));
    s.U32(22, static_cast<uint32_t>(h));
    s.U16(26, 1);
    s.U16(28, bits);
    s.U32(30, compression);
    s.U32(46, table_entries);
    return s;
}

std::array<uint8_t, 3> Rgb(const plat::BmpImage& im, int x, int y) {
    const uint8_t* p = &im.rgb[(static_cast<std::size_t>(y) * im.width + x) * 3];
    return {p[0], p[1], p[2]};
}

TEST(BmpHeaders, TileHeadersAreLaidOutAsTheTileFilesNeedThem) {
    plat::BmpFileHeader f;
    plat::BmpInfoHeader i;
    plat::MakeBmpHeaders(2000, 2000, 8, 2834, f, i);
    auto b = plat::EncodeBmpHeaders(f, i);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(plat::GetU32(&b[2]), 4001078u);
    EXPECT_EQ(plat::GetU32(&b[6]), 0u);
    EXPECT_EQ(plat::GetU32(&b[10]), 1078u);
    EXPECT_EQ(plat::GetU32(&b[14]), 40u);
    EXPECT_EQ(plat::GetI32(&b[18]), 2000);
    EXPECT_EQ(plat::GetI32(&b[22]), 2000);
    EXPECT_EQ(plat::GetU16(&b[26]), 1);
    EXPECT_EQ(plat::GetU16(&b[28]), 8);
    EXPECT_EQ(plat::GetU32(&b[30]), 0u);
    EXPECT_EQ(plat::GetU32(&b[34]), 4000000u);
    EXPECT_EQ(plat::GetI32(&b[38]), 2834);
    EXPECT_EQ(plat::GetI32(&b[42]), 2834);
    EXPECT_EQ(plat::GetU32(&b[46]), 256u);
    EXPECT_EQ(plat::GetU32(&b[50]), 256u);

    plat::MakeBmpHeaders(2000, 2000, 24, 2834, f, i);
    b = plat::EncodeBmpHeaders(f, i);
    EXPECT_EQ(plat::GetU32(&b[2]), 12000054u);
    EXPECT_EQ(plat::GetU32(&b[10]), 54u);
    EXPECT_EQ(plat::GetU16(&b[28]), 24);
    EXPECT_EQ(plat::GetU32(&b[34]), 12000000u);
    EXPECT_EQ(plat::GetU32(&b[46]), 0u);
    EXPECT_EQ(plat::GetU32(&b[50]), 0u);

    plat::BmpFileHeader f2;
    plat::BmpInfoHeader i2;
    ASSERT_TRUE(plat::ParseBmpHeaders(b.data(), b.size(), f2, i2));
    EXPECT_EQ(f2, f);
    EXPECT_EQ(i2, i);
    EXPECT_FALSE(plat::ParseBmpHeaders(b.data(), 53, f2, i2));
}

TEST(BmpHeaders, RowsArePaddedToWholeWords) {
    EXPECT_EQ(plat::BmpRowBytes(1, 24), 4u);
    EXPECT_EQ(plat::BmpRowBytes(3, 24), 12u);
    EXPECT_EQ(plat::BmpRowBytes(4, 24), 12u);
    EXPECT_EQ(plat::BmpRowBytes(5, 8), 8u);
    EXPECT_EQ(plat::BmpRowBytes(3, 16), 8u);
    EXPECT_EQ(plat::BmpRowBytes(2000, 8), 2000u);
}

TEST(BmpDecode, EightBitBottomUpWithPaddedRowsAndItsOwnColourTable) {
    Sample s = Make(3, 2, 8, 40, 256);
    // Entry 1 blue-green-red = 10, 20, 30; entry 2 = 40, 50, 60.
    s.bytes[54 + 4] = 10, s.bytes[55 + 4] = 20, s.bytes[56 + 4] = 30;
    s.bytes[54 + 8] = 40, s.bytes[55 + 8] = 50, s.bytes[56 + 8] = 60;
    const std::size_t px = 1078;
    s.bytes[px + 0] = 1;      // stored row 0 = bottom row
    s.bytes[px + 4 + 2] = 2;  // stored row 1 = top row, third pixel
    plat::BmpImage im;
    ASSERT_EQ(plat::DecodeBmp(s.bytes, im), plat::BmpStatus::Ok);
    EXPECT_EQ(im.width, 3);
    EXPECT_EQ(im.height, 2);
    EXPECT_EQ(Rgb(im, 0, 1), (std::array<uint8_t, 3>{30, 20, 10}));
    EXPECT_EQ(Rgb(im, 2, 0), (std::array<uint8_t, 3>{60, 50, 40}));
    EXPECT_EQ(Rgb(im, 0, 0), (std::array<uint8_t, 3>{0, 0, 0}));
}

TEST(BmpDecode, ColourTableFollowsALongerInfoHeaderAndHoldsOnlyTheColoursUsed) {
    // 108-byte header, two colours: the table starts at 14 + 108; index 2 has no entry: black.
    Sample s = Make(3, 1, 8, 108, 2);
    const std::size_t table = 14 + 108;
    s.bytes[table + 4] = 7, s.bytes[table + 5] = 8, s.bytes[table + 6] = 9;
    const std::size_t px = table + 8;
    s.bytes[px] = 1, s.bytes[px + 1] = 2, s.bytes[px + 2] = 0;
    plat::BmpImage im;
    ASSERT_EQ(plat::DecodeBmp(s.bytes, im), plat::BmpStatus::Ok);
    EXPECT_EQ(Rgb(im, 0, 0), (std::array<uint8_t, 3>{9, 8, 7}));
    EXPECT_EQ(Rgb(im, 1, 0), (std::array<uint8_t, 3>{0, 0, 0}));

    plat::BmpFileHeader f;
    plat::BmpInfoHeader i;
    ASSERT_TRUE(plat::ParseBmpHeaders(s.bytes.data(), s.bytes.size(), f, i));
    plat::BmpPalette pal;
    ASSERT_EQ(plat::BmpReadPalette(s.bytes.data(), s.bytes.size(), i, pal), plat::BmpStatus::Ok);
    EXPECT_EQ(pal[4], 7);
    EXPECT_EQ(pal[8], 0);
    // A table that runs past the end of the file is refused.
    EXPECT_EQ(plat::BmpReadPalette(s.bytes.data(), table + 5, i, pal), plat::BmpStatus::Truncated);
}

TEST(BmpDecode, TopDownRowsComeOutTopFirst) {
    Sample s = Make(1, -2, 24);
    s.bytes[54 + 2] = 200;  // first stored row is the top row: red 200
    s.bytes[58 + 0] = 100;  // second: blue 100
    plat::BmpImage im;
    ASSERT_EQ(plat::DecodeBmp(s.bytes, im), plat::BmpStatus::Ok);
    EXPECT_EQ(im.height, 2);
    EXPECT_EQ(Rgb(im, 0, 0), (std::array<uint8_t, 3>{200, 0, 0}));
    EXPECT_EQ(Rgb(im, 0, 1), (std::array<uint8_t, 3>{0, 0, 100}));
}

TEST(BmpDecode, SixteenAndThirtyTwoBitPixels) {
    Sample s = Make(2, 1, 16);
    s.U16(54, 0x7C00);  // 5-5-5 full red
    s.U16(56, 0x001F);  // full blue
    plat::BmpImage im;
    ASSERT_EQ(plat::DecodeBmp(s.bytes, im), plat::BmpStatus::Ok);
    EXPECT_EQ(Rgb(im, 0, 0), (std::array<uint8_t, 3>{255, 0, 0}));
    EXPECT_EQ(Rgb(im, 1, 0), (std::array<uint8_t, 3>{0, 0, 255}));

    Sample m = Make(1, 1, 16, 40, 0, plat::BI_BITFIELDS, 12);
    m.U32(54, 0xF800), m.U32(58, 0x7E0), m.U32(62, 0x1F);
    m.U16(66, 0x07E0);  // 5-6-5 full green
    ASSERT_EQ(plat::DecodeBmp(m.bytes, im), plat::BmpStatus::Ok);
    EXPECT_EQ(Rgb(im, 0, 0), (std::array<uint8_t, 3>{0, 255, 0}));

    Sample t = Make(1, 1, 32);
    t.bytes[54] = 1, t.bytes[55] = 2, t.bytes[56] = 3, t.bytes[57] = 99;
    ASSERT_EQ(plat::DecodeBmp(t.bytes, im), plat::BmpStatus::Ok);
    EXPECT_EQ(Rgb(im, 0, 0), (std::array<uint8_t, 3>{3, 2, 1}));
}

TEST(BmpDecode, LyingHeadersAreRefusedWithoutReadingPastTheFile) {
    plat::BmpImage im;
    Bytes tiny{'B', 'M', 1, 2};
    EXPECT_EQ(plat::DecodeBmp(tiny, im), plat::BmpStatus::Truncated);
    EXPECT_EQ(plat::DecodeBmp(Bytes{'X', 'Y', 0}, im), plat::BmpStatus::NotBmp);

    auto status_of = [&](auto patch) {
        Sample s = Make(3, 4, 24);  // rows of 9 bytes and 3 of padding
        patch(s);
        return plat::DecodeBmp(s.bytes, im);
    };
    EXPECT_EQ(status_of([](Sample&) {}), plat::BmpStatus::Ok);
    EXPECT_EQ(status_of([](Sample& s) { s.bytes.pop_back(); }), plat::BmpStatus::Ok)  // last padding only
        << "the last row's padding may be missing";
    EXPECT_EQ(status_of([](Sample& s) { s.bytes.resize(s.bytes.size() - 4); }), plat::BmpStatus::Truncated);
    EXPECT_EQ(status_of([](Sample& s) { s.U32(18, 0); }), plat::BmpStatus::BadHeader);
    EXPECT_EQ(status_of([](Sample& s) { s.U32(18, static_cast<uint32_t>(-3)); }), plat::BmpStatus::BadHeader);
    EXPECT_EQ(status_of([](Sample& s) { s.U32(22, 0); }), plat::BmpStatus::BadHeader);
    EXPECT_EQ(status_of([](Sample& s) { s.U32(22, static_cast<uint32_t>(INT32_MIN)); }), plat::BmpStatus::BadHeader);
    EXPECT_EQ(status_of([](Sample& s) { s.U32(18, 0x7FFFFFFF); s.U32(22, 0x7FFFFFFF); }),
              plat::BmpStatus::Truncated);
    EXPECT_EQ(status_of([](Sample& s) { s.U32(10, 0xFFFFFFF0u); }), plat::BmpStatus::Truncated);
    EXPECT_EQ(status_of([](Sample& s) { s.U32(10, 20); }), plat::BmpStatus::BadHeader);
    EXPECT_EQ(status_of([](Sample& s) { s.U32(14, 12); }), plat::BmpStatus::BadHeader);
    EXPECT_EQ(status_of([](Sample& s) { s.U32(14, 0xFFFFFF00u); }), plat::BmpStatus::Truncated);
    EXPECT_EQ(status_of([](Sample& s) { s.U16(28, 4); }), plat::BmpStatus::BadDepth);
    EXPECT_EQ(status_of([](Sample& s) { s.U32(30, plat::BI_RLE8); }), plat::BmpStatus::Compressed);
    // An 8-bit file claiming more colours than a table holds reads 256 at most.
    Sample s = Make(1, 1, 8, 40, 256);
    s.U32(46, 100000);
    EXPECT_EQ(plat::DecodeBmp(s.bytes, im), plat::BmpStatus::Ok);
    // Bit-field masks that are not in the file.
    Sample m = Make(1, 1, 16, 40, 0, plat::BI_BITFIELDS);
    m.U32(10, 54);
    m.bytes.resize(56);
    EXPECT_EQ(plat::DecodeBmp(m.bytes, im), plat::BmpStatus::Truncated);
}

class BmpFiles : public ::testing::Test {
protected:
    std::filesystem::path dir = testenv::ScratchDir("bmp");
    std::string Put(const std::string& name, const Bytes& b) {
        const auto p = dir / name;
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        return p.string();
    }
    Bytes Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(BmpFiles, ReaderGivesStoredRowsAndReadsOnlyWhatItIsAskedFor) {
    Sample s = Make(3, 3, 24);
    for (std::size_t i = 54; i < s.bytes.size(); ++i) s.bytes[i] = static_cast<uint8_t>(i);
    s.bytes.resize(s.bytes.size() - 3);  // the last row without its padding
    const std::string path = Put("rows.bmp", s.bytes);
    plat::BmpReader r;
    ASSERT_EQ(r.Open(path, {24}), plat::BmpStatus::Ok);
    EXPECT_EQ(r.Layout().row_bytes, 12u);
    EXPECT_FALSE(r.Layout().top_down);
    EXPECT_EQ(r.Layout().StoredIndex(0), 2);
    Bytes two(24, 0xEE);
    ASSERT_TRUE(r.ReadStoredRows(1, 2, two.data()));
    EXPECT_EQ(two[0], static_cast<uint8_t>(54 + 12));
    EXPECT_EQ(two[12 + 8], static_cast<uint8_t>(54 + 24 + 8));
    EXPECT_EQ(two[23], 0) << "missing padding reads as 0";
    const uint8_t* mapped = r.MapStoredRows(1, 2);
    ASSERT_NE(mapped, nullptr);
    EXPECT_TRUE(std::equal(two.begin(), two.begin() + 12 + 9, mapped)) << "mapped rows are the rows read";
    EXPECT_EQ(r.MapStoredRows(2, 2), nullptr);
    EXPECT_FALSE(r.ReadStoredRows(2, 2, two.data()));
    EXPECT_FALSE(r.ReadStoredRows(-1, 1, two.data()));

    EXPECT_EQ(r.Open(path, {8}), plat::BmpStatus::BadDepth);
    EXPECT_EQ(r.Open((dir / "none.bmp").string(), {24}), plat::BmpStatus::CannotOpen);
    EXPECT_EQ(r.Open(dir.string(), {24}), plat::BmpStatus::CannotOpen);
    EXPECT_EQ(r.Open(Put("short.bmp", Bytes{'B', 'M', 0, 0, 0}), {24}), plat::BmpStatus::Truncated);
    EXPECT_EQ(r.Open(Put("text.bmp", Bytes(60, 'a')), {24}), plat::BmpStatus::NotBmp);
}

TEST_F(BmpFiles, ReaderTakesTheColourTableOfAnEightBitFile) {
    Sample s = Make(2, 1, 8, 40, 3);
    s.bytes[54 + 8] = 1, s.bytes[54 + 9] = 2, s.bytes[54 + 10] = 3, s.bytes[54 + 11] = 4;
    plat::BmpReader r;
    ASSERT_EQ(r.Open(Put("pal.bmp", s.bytes), {8}), plat::BmpStatus::Ok);
    EXPECT_EQ(r.Palette()[8], 1);
    EXPECT_EQ(r.Palette()[10], 3);
    EXPECT_EQ(r.Palette()[11], 0) << "the fourth byte of an entry is 0";
    EXPECT_EQ(r.Palette()[12], 0) << "entries beyond the colours used are black";
}

TEST_F(BmpFiles, GatherWriterWritesPiecesAndZeroFillInOrderAndReplacesTheFile) {
    const std::string path = (dir / "out.bin").string();
    Put("out.bin", Bytes(100000, 0x55));
    const Bytes a{1, 2, 3};
    plat::GatherWriter w;
    ASSERT_TRUE(w.Open(path));
    // More pieces than one gathered write takes.
    for (int i = 0; i < 3000; ++i) {
        w.Append(a.data(), a.size());
        w.Append(nullptr, 2);
    }
    w.Append(nullptr, 200000);
    ASSERT_TRUE(w.Close());
    const Bytes got = Get(path);
    ASSERT_EQ(got.size(), 3000u * 5 + 200000);
    EXPECT_EQ(got[0], 1);
    EXPECT_EQ(got[3], 0);
    EXPECT_EQ(got[5 * 2999 + 2], 3);
    EXPECT_EQ(got.back(), 0);

    // A piece larger than one write goes out whole and in order, into a file of the length
    // reserved for it.
    Bytes big(1300001);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 7 + i / 251);
    ASSERT_TRUE(w.Open(path, 2 + big.size()));
    w.Append(a.data(), 2);
    w.Append(big.data(), big.size());
    ASSERT_TRUE(w.Close());
    const Bytes got_big = Get(path);
    ASSERT_EQ(got_big.size(), 2 + big.size());
    EXPECT_TRUE(std::equal(big.begin(), big.end(), got_big.begin() + 2));

    plat::GatherWriter bad;
    EXPECT_FALSE(bad.Open((dir / "missing" / "x.bin").string()));
    EXPECT_FALSE(bad.Close());
}

TEST_F(BmpFiles, LoadedFileMatchesTheDecodedBytes) {
    Sample s = Make(2, 2, 24);
    s.bytes[54] = 9;
    plat::BmpImage im;
    ASSERT_EQ(plat::LoadBmpFile(Put("a.bmp", s.bytes), im), plat::BmpStatus::Ok);
    EXPECT_EQ(Rgb(im, 0, 1), (std::array<uint8_t, 3>{0, 0, 9}));
    EXPECT_EQ(plat::LoadBmpFile((dir / "none.bmp").string(), im), plat::BmpStatus::CannotOpen);
}

}  // namespace
