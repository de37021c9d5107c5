#include "platform/text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

using namespace plat;

TEST(TextEncoding, AccentedFrenchRoundTripsThroughWindows1252) {
    const std::string french = "Création de la carte : élément à supprimer, cœur, 20 €";
    const std::string disk = Utf8ToCp1252(french);
    EXPECT_EQ(disk.find("\xC3"), std::string::npos);          // no UTF-8 lead bytes on disk
    EXPECT_NE(disk.find('\xE9'), std::string::npos);          // é is one byte
    EXPECT_NE(disk.find('\x9C'), std::string::npos);          // œ lives in the 0x80..0x9F range
    EXPECT_NE(disk.find('\x80'), std::string::npos);          // €
    EXPECT_EQ(Cp1252ToUtf8(disk), french);
}

TEST(TextEncoding, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(TextEncoding, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1252("a\xE2\x82\xAC" "b\xE4\xB8\xAD"), "a\x80" "b?");
    EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");   // cut UTF-8 sequence
}

TEST(TextHelpers, MidRightCountFromOne) {
    EXPECT_EQ(Mid("48 00 texte", 7), "texte");
    EXPECT_EQ(Mid("48 00 texte", 1, 2), "48");
    EXPECT_EQ(Mid("48 00 texte", 4, 2), "00");
    EXPECT_EQ(Mid("abc", 5), "");
    EXPECT_EQ(Mid("abc", 2, 10), "bc");
    EXPECT_EQ(Right("file.bgl", 4), ".bgl");
    EXPECT_EQ(Right("ab", 0), "");
}

TEST(TextHelpers, InStrGivesOneBasedPositionsOrZero) {
    EXPECT_EQ(InStr("a.b.c", "."), 2);
    EXPECT_EQ(InStr("a.b.c", ".", 3), 4);
    EXPECT_EQ(InStr("abc", "x"), 0);
    EXPECT_EQ(InStr("abc", "c", 10), 0);
}

TEST(TextHelpers, TrimRemovesBlanksOnly) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(LTrim("  a "), "a ");
    EXPECT_EQ(RTrim("  a "), "  a");
    EXPECT_EQ(Trim("\ta\t"), "\ta\t");
    EXPECT_EQ(Trim("   "), "");
}

TEST(TextHelpers, CaseChangesAccentedLetters) {
    EXPECT_EQ(UCase("terrain.cfg é à œ ÿ"), "TERRAIN.CFG É À Œ Ÿ");
    EXPECT_TRUE(EqualsNoCase("Terrain.CFG", "terrain.cfg"));
    EXPECT_FALSE(EqualsNoCase("Terrain", "Terrains"));
    EXPECT_LT(CompareNoCase("abc", "ABD"), 0);
}

TEST(TextNumbers, ValReadsTheNumericPrefix) {
    EXPECT_DOUBLE_EQ(Val("48 00 ????"), 4800);        // blanks do not end a number
    EXPECT_DOUBLE_EQ(Val("48"), 48);
    EXPECT_DOUBLE_EQ(Val(" -12.5abc"), -12.5);
    EXPECT_DOUBLE_EQ(Val("1.5E3x"), 1500);
    EXPECT_DOUBLE_EQ(Val("&H1F"), 31);
    EXPECT_DOUBLE_EQ(Val("abc"), 0);
    EXPECT_DOUBLE_EQ(Val(""), 0);
    EXPECT_DOUBLE_EQ(Val("1,5"), 1);                  // the comma is never a separator here
    EXPECT_DOUBLE_EQ(Val("2e"), 2);
    EXPECT_DOUBLE_EQ(Val("1e999"), 0);                // overflow gives no infinity
}

TEST(TextNumbers, StrHasTheLeadingBlankAndCStrHasNot) {
    EXPECT_EQ(Str(45.5), " 45.5");
    EXPECT_EQ(Str(-3), "-3");
    EXPECT_EQ(Str(0), " 0");
    EXPECT_EQ(Str(0.5), " .5");
    EXPECT_EQ(Str(-0.25), "-.25");
    EXPECT_EQ(CStr(0.5), "0.5");
    EXPECT_EQ(CStr(-2.25), "-2.25");
    EXPECT_EQ(CStr(3.0), "3");
    EXPECT_EQ(CStr(123456789012345.0), "123456789012345");
    EXPECT_EQ(CStr(1e15), "1E+15");
    EXPECT_EQ(CStr(1e-7), "1E-07");
    EXPECT_EQ(CStr(0.0001), "0.0001");
    EXPECT_EQ(CStr(0.1 + 0.2), "0.3");                // 15 significant digits
    // Str$ keeps 1E-05 fixed, where the project file's numbers take the exponent form.
    EXPECT_EQ(Str(0.00001), " .00001");
    EXPECT_EQ(CStr(-0.000015), "-0.000015");
    EXPECT_EQ(CStr(9.99999999999999e-6), "9.99999999999999E-06");
    EXPECT_EQ(ShortestNumber(1.0 / 3), "0.333333333333333");
}

TEST(TextNumbers, FormatPadsAndRounds) {
    EXPECT_EQ(Format(14, "00000"), "00014");
    EXPECT_EQ(Format(514, "00000"), "00514");
    EXPECT_EQ(Format(7, "00"), "07");
    EXPECT_EQ(Format(123, "00"), "123");
    EXPECT_EQ(Format(5, "000"), "005");
    EXPECT_EQ(Format(3.14159, "00.0000"), "03.1416");
    EXPECT_EQ(Format(5, "#0"), "5");
    EXPECT_EQ(Format(0, "#0"), "0");
    EXPECT_EQ(Format(0, "##0"), "0");
    EXPECT_EQ(Format(42.6, "##0"), "43");
    EXPECT_EQ(Format(2.5, "#0"), "3");                // half away from zero
    EXPECT_EQ(Format(0.25, "#0.0000"), "0.2500");
    EXPECT_EQ(Format(-1.5, "00.0000"), "-01.5000");
    EXPECT_EQ(Format(-0.00001, "#0.0000"), "0.0000"); // no "-0"
}

TEST(TextLines, AreFoundInPlaceWhateverTheirEndAndCountWhatIsLeft) {
    // CR LF, LF, a lone CR (so an empty line after "b"), and a last line without its end.
    TextLines text("a\r\nb\n\rc\rd");
    EXPECT_EQ(text.Left(), 5u);
    std::vector<std::string> lines;
    for (std::string_view line; text.Next(line);) {
        lines.emplace_back(line);
        EXPECT_EQ(text.Left(), 5 - lines.size());
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "", "c", "d"}));
    EXPECT_EQ(TextLines("").Left(), 0u);
    EXPECT_EQ(TextLines("\r\n").Left(), 1u);
    EXPECT_EQ(TextLines("x\r").Left(), 1u);
}
