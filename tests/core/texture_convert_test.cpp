#include "core/texture_convert.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/gdi/bmp.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

// A source bitmap: headers, then `gap` bytes (masks, colour table, "FS70" block), then pixels.
Bytes Bitmap(int32_t w, int32_t h, uint16_t bits, uint32_t compression, uint32_t offset, std::size_t pixel_bytes) {
    Bytes b(offset + pixel_bytes, 0);
    b[0] = 'B', b[1] = 'M';
    plat::PutU32(&b[2], static_cast<uint32_t>(b.size()));
    plat::PutU32(&b[10], offset);
    plat::PutU32(&b[14], 40);
    plat::PutU32(&b[18], static_cast<uint32_t>(w));
    plat::PutU32(&b[22], static_cast<uint32_t>(h));
    plat::PutU16(&b[26], 1);
    plat::PutU16(&b[28], bits);
    plat::PutU32(&b[30], compression);
    return b;
}

void Fs70(Bytes& b, std::size_t at) { std::memcpy(&b[at], "FS70", 4); }

// Packs 9-bit codes most significant bit first.
Bytes Pack(const std::vector<uint16_t>& codes) {
    Bytes out((codes.size() * 9 + 7) / 8, 0);
    std::size_t bit = 0;
    for (uint16_t c : codes)
        for (int i = 8; i >= 0; --i, ++bit)
            if (c >> i & 1) out[bit / 8] |= static_cast<uint8_t>(0x80 >> (bit % 8));
    return out;
}
constexpr uint16_t Lit(uint8_t b) { return b; }
constexpr uint16_t Ref(uint8_t slot) { return static_cast<uint16_t>(0x100 | slot); }
constexpr uint16_t End = 511;

class TextureConversion : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        dir = testenv::ScratchDir("tex");
        dest = (dir / "out.bmp").string();
        for (int i = 0; i < 256; ++i) palette[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 7, 0};
    }
    void TearDown() override { testenv::ResetProgramState(); }

    int16_t Convert(const Bytes& src) {
        const fs::path p = dir / "src.bin";
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(src.data()), static_cast<std::streamsize>(src.size()));
        description = "unset";
        int16_t status = -1;
        Servitudes_Convert_Texture(p.string(), palette, dest, description, status);
        return status;
    }
    Bytes Out() {
        std::ifstream in(dest, std::ios::binary);
        Bytes b(static_cast<std::size_t>(fs::file_size(dest)));
        in.read(reinterpret_cast<char*>(b.data()), static_cast<std::streamsize>(b.size()));
        return b;
    }
    // Blue, green, red of the output pixel at stored row s, column x.
    std::array<uint8_t, 3> Px(const Bytes& out, int s, int x) {
        const int32_t w = plat::GetI32(&out[18]);
        const std::size_t row = (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4;
        const uint8_t* p = &out[54 + static_cast<std::size_t>(s) * row + static_cast<std::size_t>(x) * 3];
        return {p[0], p[1], p[2]};
    }

    fs::path dir;
    std::string dest;
    std::string description;
    Palette_Table palette{};
};

using Bgr = std::array<uint8_t, 3>;
const Bgr Background{245, 144, 0};

TEST_F(TextureConversion, FileLengthDecidesBeforeAnythingIsRead) {
    EXPECT_EQ(Convert(Bytes(53, 'B')), 2);
    EXPECT_EQ(description, "unset");
    Bytes bm(54, 0);
    bm[0] = 'B', bm[1] = 'M';
    EXPECT_EQ(Convert(bm), 1) << "54 bytes beginning BM are examined";
    EXPECT_FALSE(fs::exists(dest));
    int16_t status = 0;
    Servitudes_Convert_Texture((dir / "none.r8").string(), palette, dest, description, status);
    EXPECT_EQ(status, 1);
}

TEST_F(TextureConversion, RawTextureGoesThroughThePalette) {
    Bytes raw(65536);
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<uint8_t>(i * 3 + 1);
    ASSERT_EQ(Convert(raw), 0);
    EXPECT_EQ(description, "Texture type .R8 256x256");
    const Bytes out = Out();
    ASSERT_EQ(out.size(), 196662u);
    EXPECT_EQ(plat::GetU32(&out[2]), 196662u);
    EXPECT_EQ(plat::GetU32(&out[34]), 196608u);
    EXPECT_EQ(plat::GetI32(&out[38]), 0) << "raw textures carry no resolution";
    EXPECT_EQ(plat::GetI32(&out[22]), 256);
    // The first 256 indices are the first stored row.
    EXPECT_EQ(Px(out, 0, 0), (Bgr{1, 254, 7}));
    EXPECT_EQ(Px(out, 1, 2), (Bgr{static_cast<uint8_t>(258 * 3 + 1), static_cast<uint8_t>(255 - static_cast<uint8_t>(258 * 3 + 1)), 7}));

    EXPECT_EQ(Convert(Bytes(65537, 1)), 1);
    Bytes bm(65536, 0);
    bm[0] = 'B', bm[1] = 'M';
    EXPECT_EQ(Convert(bm), 1) << "a 65536-byte file beginning BM is a bitmap, not a raw texture";
}

TEST_F(TextureConversion, CompressedRawTextureExpandsThroughItsDictionaryAndRuns) {
    // Runs of 127 fives, 516 of them, then a run of 4: 65536 bytes. The second pair repeats
    // slot 0 ("127 5") through a dictionary reference.
    std::vector<uint16_t> codes{Lit(127), Lit(5), Ref(0), Lit(127)};
    for (int i = 0; i < 513; ++i) codes.insert(codes.end(), {Lit(5), Lit(127)});
    codes.insert(codes.end(), {Lit(5), Lit(4), Lit(5), End});
    const Bytes packed = Pack(codes);
    std::vector<uint8_t> raw;
    ASSERT_TRUE(Servitudes_Expand_R8(packed, raw));
    ASSERT_EQ(raw.size(), 65536u);
    EXPECT_TRUE(std::all_of(raw.begin(), raw.end(), [](uint8_t v) { return v == 5; }));

    ASSERT_EQ(Convert(packed), 0);
    EXPECT_EQ(description, "Texture type .R8 compressée 256x256");
    EXPECT_EQ(Px(Out(), 255, 255), (Bgr{5, 250, 7}));
}

TEST_F(TextureConversion, BrokenCompressedStreamsFailWithStatusOne) {
    std::vector<uint8_t> raw;
    EXPECT_FALSE(Servitudes_Expand_R8(Pack({End, Lit(1), Lit(2)}), raw)) << "first code ends: 0 bytes";
    EXPECT_TRUE(raw.empty());
    EXPECT_FALSE(Servitudes_Expand_R8(Pack({Lit(127), Ref(3), End}), raw)) << "second code is a reference";
    EXPECT_FALSE(Servitudes_Expand_R8(Pack({Lit(127), Lit(5), End}), raw)) << "127 bytes, not 65536";
    // Too many bytes: stop at the limit instead of running past it.
    std::vector<uint16_t> many;
    for (int i = 0; i < 600; ++i) many.insert(many.end(), {Lit(127), Lit(9)});
    many.push_back(End);
    EXPECT_FALSE(Servitudes_Expand_R8(Pack(many), raw));
    // A literal stretch whose bytes are missing.
    EXPECT_FALSE(Servitudes_Expand_R8(Pack({Lit(255), Lit(1), End}), raw));
    // Self-referencing slots grow the strings to 7 bytes, where they are dropped again; it
    // must stay inside the dictionary.
    std::vector<uint16_t> grow{Lit(1), Lit(2)};
    for (int i = 0; i < 2000; ++i) grow.insert(grow.end(), {Ref(static_cast<uint8_t>(i % 256)), Lit(3)});
    EXPECT_FALSE(Servitudes_Expand_R8(Pack(grow), raw));
    Bytes garbage(60000);
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 37 + 11);
    garbage[0] = 0;
    EXPECT_EQ(Convert(garbage), 1);
    EXPECT_FALSE(fs::exists(dest));
}

TEST_F(TextureConversion, EightBitBitmapsUseTheirOwnColourTable) {
    Bytes b = Bitmap(3, 2, 8, 0, 1078, 8);
    b[54 + 4 * 9] = 11, b[55 + 4 * 9] = 22, b[56 + 4 * 9] = 33;
    b[1078 + 2] = 9;      // stored row 0, third pixel
    b[1078 + 4 + 0] = 9;  // stored row 1, first pixel
    ASSERT_EQ(Convert(b), 0);
    EXPECT_EQ(description, "Bmp 8 Bits 3x2");
    const Bytes out = Out();
    EXPECT_EQ(out.size(), 54u + 12 * 2);
    EXPECT_EQ(plat::GetU32(&out[2]), 54u + 24);
    EXPECT_EQ(plat::GetU32(&out[34]), 24u);
    EXPECT_EQ(plat::GetI32(&out[38]), 2834);
    EXPECT_EQ(Px(out, 0, 2), (Bgr{11, 22, 33}));
    EXPECT_EQ(Px(out, 1, 0), (Bgr{11, 22, 33}));
    EXPECT_EQ(Px(out, 0, 0), (Bgr{0, 0, 0}));

    Bytes ext = Bitmap(3, 2, 8, 0, 1098, 8);
    Fs70(ext, 1078);
    ASSERT_EQ(Convert(ext), 0);
    EXPECT_EQ(description, "Bmp 8 Bits 3x2 étendu");
    Bytes no_block = Bitmap(3, 2, 8, 0, 1098, 8);
    EXPECT_EQ(Convert(no_block), 1);
}

TEST_F(TextureConversion, SixteenBitKindsAreToldApartAndExpanded) {
    Bytes b555 = Bitmap(2, 1, 16, 0, 54, 4);
    plat::PutU16(&b555[54], 0x7C00);
    plat::PutU16(&b555[56], 0x03E0 | 0x1F);
    ASSERT_EQ(Convert(b555), 0);
    EXPECT_EQ(description, "Bmp 16 Bits 2x1 5-5-5");
    EXPECT_EQ(Px(Out(), 0, 0), (Bgr{0, 0, 248}));
    EXPECT_EQ(Px(Out(), 0, 1), (Bgr{248, 248, 0}));

    Bytes b565 = Bitmap(1, 1, 16, 3, 66, 4);
    plat::PutU32(&b565[54], 0xF800), plat::PutU32(&b565[58], 0x7E0), plat::PutU32(&b565[62], 0x1F);
    plat::PutU16(&b565[66], 0xFFFF);
    ASSERT_EQ(Convert(b565), 0);
    EXPECT_EQ(description, "Bmp 16 Bits 1x1 5-6-5");
    EXPECT_EQ(Px(Out(), 0, 0), (Bgr{248, 252, 248}));

    Bytes b444 = Bitmap(2, 1, 16, 3, 86, 4);
    plat::PutU32(&b444[54], 0xF00), plat::PutU32(&b444[58], 0xF0), plat::PutU32(&b444[62], 0xF);
    Fs70(b444, 66);
    plat::PutU16(&b444[86], 0x0ABC);  // alpha 0: the background
    plat::PutU16(&b444[88], 0xF123);  // opaque: each nibble x 16
    ASSERT_EQ(Convert(b444), 0);
    EXPECT_EQ(description, "Bmp 16 Bits 2x1 étendu 4-4-4");
    EXPECT_EQ(Px(Out(), 0, 0), Background);
    EXPECT_EQ(Px(Out(), 0, 1), (Bgr{0x30, 0x20, 0x10}));
    // Half alpha (8 of 15) blends with the background.
    EXPECT_EQ(Servitudes_Word_To_Rgb(0x8000, Word_Kind::Argb4444, 0xF00, 0xF0, 0xF),
              (Bgr{114, 67, 0}));
}

TEST_F(TextureConversion, TwentyFourBitFilesAreCopiedAsTheyStand) {
    Bytes b = Bitmap(3, 2, 24, 0, 54, 24);  // rows of 9 bytes padded to 12
    for (std::size_t i = 54; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i);
    ASSERT_EQ(Convert(b), 0);
    EXPECT_EQ(description, "Bmp 24 Bits 3x2");
    EXPECT_EQ(Out(), b);
    EXPECT_EQ(Convert(Bitmap(3, 2, 24, 0, 74, 24)), 1) << "no 24-bit kind has a block";
    Bytes cut = Bitmap(300, 200, 24, 0, 54, 24);
    EXPECT_EQ(Convert(cut), 1) << "rows missing from the file";
}

TEST_F(TextureConversion, ThirtyTwoBitPixelsBlendTheirAlphaWithTheBackground) {
    Bytes b = Bitmap(2, 1, 32, 0, 74, 8);
    Fs70(b, 54);
    b[74] = 10, b[75] = 20, b[76] = 30, b[77] = 255;
    b[78] = 10, b[79] = 20, b[80] = 30, b[81] = 0;
    ASSERT_EQ(Convert(b), 0);
    EXPECT_EQ(description, "Bmp 32 Bits 2x1 étendu");
    EXPECT_EQ(Px(Out(), 0, 0), (Bgr{10, 20, 30}));
    EXPECT_EQ(Px(Out(), 0, 1), Background);
}

TEST_F(TextureConversion, DxtBlocksDecodeInBothColourModes) {
    // 8 x 4: two DXT1 blocks in one block row.
    Bytes b = Bitmap(8, 4, 16, 0x31545844, 74, 16);
    Fs70(b, 54);
    // Block 0: c0 > c1: white and black, indices 0,1,2,3 in the first row (bits 1-0 leftmost).
    plat::PutU16(&b[74], 0xFFFF), plat::PutU16(&b[76], 0x0000);
    b[78] = 0b11100100;
    // Block 1: c0 = c1: three colours, index 3 black.
    plat::PutU16(&b[82], 0xF800), plat::PutU16(&b[84], 0xF800);
    b[86 + 3] = 0b00001011;  // fourth row: 3, 2, 0, 0
    ASSERT_EQ(Convert(b), 0);
    EXPECT_EQ(description, "Bmp 16 Bits 8x4 étendu DXT1");
    const Bytes out = Out();
    EXPECT_EQ(Px(out, 0, 0), (Bgr{248, 252, 248}));
    EXPECT_EQ(Px(out, 0, 1), (Bgr{0, 0, 0}));
    EXPECT_EQ(Px(out, 0, 2), (Bgr{165, 168, 165}));  // (2 c0 + c1) / 3
    EXPECT_EQ(Px(out, 0, 3), (Bgr{83, 84, 83}));     // (c0 + 2 c1) / 3
    EXPECT_EQ(Px(out, 3, 4), (Bgr{0, 0, 0}));
    EXPECT_EQ(Px(out, 3, 5), (Bgr{0, 0, 248}));
    EXPECT_EQ(Px(out, 3, 6), (Bgr{0, 0, 248}));

    // DXT3: the alpha half is skipped, the pixels are opaque.
    Bytes d3 = Bitmap(4, 4, 16, 0x33545844, 74, 16);
    Fs70(d3, 54);
    std::fill(d3.begin() + 74, d3.begin() + 82, 0);
    plat::PutU16(&d3[82], 0x001F), plat::PutU16(&d3[84], 0x001F);
    ASSERT_EQ(Convert(d3), 0);
    EXPECT_EQ(description, "Bmp 16 Bits 4x4 étendu DXT3");
    EXPECT_EQ(Px(Out(), 2, 2), (Bgr{248, 0, 0}));

    Bytes lying = Bitmap(4, 4, 16, 0x31545844, 74, 8);
    Fs70(lying, 54);
    plat::PutU32(&lying[18], 1 << 30);
    plat::PutU32(&lying[22], 1 << 30);
    EXPECT_EQ(Convert(lying), 1) << "blocks the file does not hold";
    Bytes no_block = Bitmap(4, 4, 16, 0x31545844, 74, 8);
    EXPECT_EQ(Convert(no_block), 1);
}

TEST_F(TextureConversion, HostileHeadersGiveStatusOneAndWriteNothing) {
    auto refused = [&](Bytes b, const char* what) {
        SCOPED_TRACE(what);
        fs::remove(dest);
        EXPECT_EQ(Convert(b), 1);
        EXPECT_FALSE(fs::exists(dest));
        EXPECT_EQ(description, "unset");
    };
    Bytes big = Bitmap(4, 4, 8, 0, 1078, 16);
    plat::PutU32(&big[18], 0x7FFFFFFF);
    plat::PutU32(&big[22], 0x7FFFFFFF);
    refused(big, "absurd size");
    Bytes neg = Bitmap(4, 4, 32, 0, 54, 64);
    plat::PutU32(&neg[18], static_cast<uint32_t>(-4));
    refused(neg, "negative width");
    Bytes rle = Bitmap(4, 4, 8, 1, 1078, 16);
    refused(rle, "run-length 8-bit");
    Bytes b4 = Bitmap(4, 4, 4, 0, 118, 8);
    refused(b4, "4 bits");
    Bytes short_table = Bitmap(4, 1, 8, 0, 1078, 4);
    plat::PutU32(&short_table[14], 2000);
    refused(short_table, "header longer than the file");
    // A top-down bitmap keeps its row order and its negative height.
    Bytes top = Bitmap(1, -2, 32, 0, 54, 8);
    top[54 + 3] = 255, top[58 + 3] = 255, top[58] = 77;
    ASSERT_EQ(Convert(top), 0);
    EXPECT_EQ(description, "Bmp 32 Bits 1x2");
    EXPECT_EQ(plat::GetI32(&Out()[22]), -2);
    EXPECT_EQ(Px(Out(), 1, 0), (Bgr{77, 0, 0}));
}

TEST_F(TextureConversion, ExistingDestinationIsReplaced) {
    std::ofstream(dest) << std::string(1000, 'x');
    ASSERT_EQ(Convert(Bitmap(1, 1, 24, 0, 54, 4)), 0);
    EXPECT_EQ(Out().size(), 58u);
}

TEST(TexturePalette, PaletteFileIsReadAsRedGreenBlueTriplets) {
    const fs::path dir = testenv::ScratchDir("pal");
    Bytes pal(768);
    for (std::size_t i = 0; i < pal.size(); ++i) pal[i] = static_cast<uint8_t>(i / 3 + i % 3);
    std::ofstream(dir / "Fs5.pal", std::ios::binary).write(reinterpret_cast<const char*>(pal.data()), 768);
    Palette_Table t{};
    ASSERT_TRUE(Servitudes_Read_Palette((dir / "Fs5.pal").string(), t));
    // Entry 10: red 10, green 11, blue 12.
    EXPECT_EQ(t[10], (std::array<uint8_t, 4>{12, 11, 10, 0}));

    // Without a palette file the raw textures show as a grey ramp.
    t[3] = {1, 2, 3, 4};
    EXPECT_FALSE(Servitudes_Read_Palette((dir / "missing.pal").string(), t));
    EXPECT_EQ(t[3], (std::array<uint8_t, 4>{3, 3, 3, 0}));
    EXPECT_EQ(t[255], (std::array<uint8_t, 4>{255, 255, 255, 0}));

    // A short file: the entries it holds, the grey ramp after them.
    std::ofstream(dir / "short.pal", std::ios::binary).write(reinterpret_cast<const char*>(pal.data()), 7);
    ASSERT_TRUE(Servitudes_Read_Palette((dir / "short.pal").string(), t));
    EXPECT_EQ(t[1], (std::array<uint8_t, 4>{3, 2, 1, 0}));
    EXPECT_EQ(t[2], (std::array<uint8_t, 4>{2, 2, 2, 0}));
}

}  // namespace
