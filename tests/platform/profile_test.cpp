#include "platform/profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/test_env.h"

using namespace plat;
namespace fs = std::filesystem;

namespace {
void Put(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }
std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

TEST(ProfileRead, SectionAndKeyIgnoreCaseAndValuesAreTrimmedAndUnquoted) {
    const fs::path f = testenv::ScratchDir("read") / "s.ini";
    Put(f, "[Tessaline]\r\n Language = US \r\nDirFS=\"C:\\Sim\\\"\r\nQuote='a'\r\nHalf=\"a\r\n");
    EXPECT_EQ(GetPrivateProfileString("TESSALINE", "language", "FR", f.string()), "US");
    EXPECT_EQ(GetPrivateProfileString("Tessaline", "DirFS", "", f.string()), "C:\\Sim\\");
    EXPECT_EQ(GetPrivateProfileString("Tessaline", "Quote", "", f.string()), "a");
    EXPECT_EQ(GetPrivateProfileString("Tessaline", "Half", "", f.string()), "\"a");
}

TEST(ProfileRead, MissingFileSectionOrKeyGivesTheDefault) {
    const fs::path dir = testenv::ScratchDir("missing");
    Put(dir / "s.ini", "[A]\r\nk=1\r\n");
    EXPECT_EQ(GetPrivateProfileString("ERR", "00014", "48 00 ????", (dir / "none.ini").string()), "48 00 ????");
    EXPECT_EQ(GetPrivateProfileString("B", "k", "def  ", (dir / "s.ini").string()), "def");
    EXPECT_EQ(GetPrivateProfileString("A", "x", "", (dir / "s.ini").string()), "");
}

TEST(ProfileRead, OddLineEndsBlankAndDuplicateSections) {
    const fs::path f = testenv::ScratchDir("odd") / "s.ini";
    // LF and lone CR line ends, no final newline, a blank section, a repeated section and key.
    Put(f, "[]\nx=0\r[A]\rk=first\nk=second\n\n[a]\nk=third\nonly=here\n[B]\nv=Fin\xE9");
    EXPECT_EQ(GetPrivateProfileString("A", "k", "", f.string()), "first");
    EXPECT_EQ(GetPrivateProfileString("A", "only", "none", f.string()), "none");
    EXPECT_EQ(GetPrivateProfileString("", "x", "", f.string()), "0");
    EXPECT_EQ(GetPrivateProfileString("B", "v", "", f.string()), "Finé");
}

TEST(ProfileRead, ValueIsCutToTheBufferSize) {
    const fs::path f = testenv::ScratchDir("cut") / "s.ini";
    Put(f, "[A]\r\nk=" + std::string(300, 'z') + "\r\n");
    EXPECT_EQ(GetPrivateProfileString("A", "k", "", f.string(), 256).size(), 255u);
    EXPECT_EQ(GetPrivateProfileString("A", "k", "", f.string(), 4), "zzz");
}

TEST(ProfileWrite, CreatesFileSectionAndKey) {
    const fs::path f = testenv::ScratchDir("create") / "s.ini";
    ASSERT_TRUE(WritePrivateProfileString("Tessaline", "Language", "FR", f.string()));
    EXPECT_EQ(Slurp(f), "[Tessaline]\r\nLanguage=FR\r\n");
    ASSERT_TRUE(WritePrivateProfileString("Tessaline", "DirFS", "C:\\Simulé\\", f.string()));
    ASSERT_TRUE(WritePrivateProfileString("Other", "a", "1", f.string()));
    EXPECT_EQ(Slurp(f), "[Tessaline]\r\nLanguage=FR\r\nDirFS=C:\\Simul\xE9\\\r\n[Other]\r\na=1\r\n");
    EXPECT_EQ(GetPrivateProfileString("Tessaline", "DirFS", "", f.string()), "C:\\Simulé\\");
}

TEST(ProfileWrite, RewritesInPlaceAndKeepsOtherLines) {
    const fs::path f = testenv::ScratchDir("inplace") / "s.ini";
    Put(f, "; comment\n[Tessaline]\nDerApt1=a.lwm\nlanguage=FR\n\n[Next]\nLanguage=keep\n");
    ASSERT_TRUE(WritePrivateProfileString("TESSALINE", "Language", "US", f.string()));
    ASSERT_TRUE(WritePrivateProfileString("Tessaline", "Fl1Fois", "1", f.string()));
    EXPECT_EQ(Slurp(f),
              "; comment\r\n[Tessaline]\r\nDerApt1=a.lwm\r\nLanguage=US\r\nFl1Fois=1\r\n\r\n[Next]\r\nLanguage=keep\r\n");
    EXPECT_EQ(GetPrivateProfileString("Next", "Language", "", f.string()), "keep");
}

TEST(ProfileWrite, AnUnwritableFileIsReportedAndNotCreated) {
    const fs::path dir = testenv::ScratchDir("bad");
    EXPECT_FALSE(WritePrivateProfileString("A", "k", "v", (dir / "no" / "s.ini").string()));
    EXPECT_FALSE(fs::exists(dir / "no"));
}
