#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

#include "support/test_env.h"

using namespace plat;
namespace fs = std::filesystem;

namespace {
void Touch(const fs::path& p, const std::string& bytes = "x") {
    std::ofstream(p, std::ios::binary) << bytes;
}
std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

TEST(FilesPaths, BackslashPathsFindFilesWhateverTheirCase) {
    const fs::path dir = testenv::ScratchDir("paths");
    fs::create_directories(dir / "temp");
    Touch(dir / "temp" / "Terrain.cfg");
    const std::string windows = dir.string() + "\\Temp\\TERRAIN.CFG";
    EXPECT_TRUE(FileExists(windows));
    EXPECT_EQ(MapPath(windows), (dir / "temp" / "Terrain.cfg").string());
    EXPECT_TRUE(FolderExists(dir.string() + "\\TEMP"));
    EXPECT_FALSE(FileExists(dir.string() + "\\TEMP"));
    EXPECT_FALSE(FolderExists(windows));
    EXPECT_TRUE(PathExists(windows));
    EXPECT_TRUE(PathExists(dir.string() + "\\Temp\\"));
    EXPECT_FALSE(PathExists(dir.string() + "\\Temp\\missing.txt"));
    EXPECT_FALSE(PathExists(""));
}

TEST(FilesPaths, AMissingPartKeepsItsSpellingSoNewFilesGoWhereAsked) {
    const fs::path dir = testenv::ScratchDir("newfile");
    fs::create_directories(dir / "temp");
    const std::string windows = dir.string() + "\\TEMP\\New\\$$$_1.bmp";
    EXPECT_EQ(MapPath(windows), (dir / "temp" / "New" / "$$$_1.bmp").string());
    EXPECT_TRUE(MakeFolder(dir.string() + "\\Temp\\New"));
    EXPECT_TRUE(fs::is_directory(dir / "temp" / "New"));
    EXPECT_EQ(MapPath("C:\\x\\y"), "/x/y");
}

TEST(FilesOperations, DeleteLengthAndListing) {
    const fs::path dir = testenv::ScratchDir("ops");
    Touch(dir / "a.bin", "12345");
    EXPECT_EQ(FileLength((dir / "A.BIN").string()), 5);
    EXPECT_EQ(FileLength((dir / "none").string()), -1);
    Touch(dir / "b.bin", "zz");
    fs::create_directories(dir / "sub");
    EXPECT_EQ(ListFolder(dir.string()), (std::vector<std::string>{"a.bin", "b.bin", "sub"}));
    EXPECT_EQ(ListFolder(dir.string(), true), (std::vector<std::string>{"sub"}));
    EXPECT_TRUE(ListFolder((dir / "none").string()).empty());
    EXPECT_TRUE(DeleteFile((dir / "B.bin").string()));
    EXPECT_FALSE(fs::exists(dir / "b.bin"));
    EXPECT_TRUE(DeleteFile((dir / "b.bin").string()));     // already gone counts as gone
    EXPECT_FALSE(DeleteFile((dir / "sub").string()));      // never a folder
}

TEST(FilesBinary, ShortReadsAreReported) {
    const fs::path dir = testenv::ScratchDir("bin");
    WriteBinary((dir / "h.bmp").string(), {'B', 'M', 1, 2, 3, 4});
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadBinary((dir / "h.bmp").string(), bytes));
    EXPECT_EQ(bytes.size(), 6u);
    EXPECT_TRUE(ReadBinaryRange((dir / "h.bmp").string(), 2, 4, bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_FALSE(ReadBinaryRange((dir / "h.bmp").string(), 4, 40, bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{3, 4}));
    EXPECT_FALSE(ReadBinaryRange((dir / "h.bmp").string(), 100, 2, bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(ReadBinary((dir / "none").string(), bytes));
}

TEST(FilesText, LinesEndInCrLfLfOrCr) {
    const fs::path dir = testenv::ScratchDir("text");
    Touch(dir / "t.txt", "un\r\ndeux\nTroisi\xE8me\rquatre\r\n\r\nlast");
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines((dir / "t.txt").string(), lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"un", "deux", "Troisième", "quatre", "", "last"}));
    Touch(dir / "empty.txt", "");
    ASSERT_TRUE(ReadTextLines((dir / "empty.txt").string(), lines));
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(ReadTextLines((dir / "none.txt").string(), lines));
}

TEST(FilesText, WritingGivesWindows1252AndCrLf) {
    const fs::path dir = testenv::ScratchDir("write");
    ASSERT_TRUE(WriteTextLines((dir / "o.txt").string(), {"Fichier écrit", "", "fin"}));
    EXPECT_EQ(Slurp(dir / "o.txt"), "Fichier \xE9" "crit\r\n\r\nfin\r\n");
}

TEST(FilesText, AtomicReplaceLeavesNoWorkFileAndKeepsTheOldOneOnFailure) {
    const fs::path dir = testenv::ScratchDir("atomic");
    Touch(dir / "p.lwm", "old");
    ASSERT_TRUE(ReplaceFileAtomically((dir / "p.lwm").string(), "new"));
    EXPECT_EQ(Slurp(dir / "p.lwm"), "new");
    EXPECT_EQ(ListFolder(dir.string()), (std::vector<std::string>{"p.lwm"}));
    // The target is a folder: the rename fails, nothing is lost, nothing is left behind.
    fs::create_directories(dir / "d.lwm" / "inside");
    EXPECT_FALSE(ReplaceFileAtomically((dir / "d.lwm").string(), "x"));
    EXPECT_TRUE(fs::is_directory(dir / "d.lwm" / "inside"));
    EXPECT_EQ(ListFolder(dir.string()), (std::vector<std::string>{"d.lwm", "p.lwm"}));
    EXPECT_FALSE(ReplaceFileAtomically((dir / "nofolder" / "x.txt").string(), "x"));
}

TEST(FilesText, APieceByPieceReplacementShowsOnlyWhenCommitted) {
    const fs::path dir = testenv::ScratchDir("pieces");
    Touch(dir / "p.lwm", "old");
    {
        FileReplacement file((dir / "p.lwm").string());
        ASSERT_TRUE(file.Write("new "));
        ASSERT_TRUE(file.Write(""));
        ASSERT_TRUE(file.Write("text"));
        EXPECT_EQ(Slurp(dir / "p.lwm"), "old");  // not yet in place
        ASSERT_TRUE(file.Commit());
    }
    EXPECT_EQ(Slurp(dir / "p.lwm"), "new text");
    {
        // Dropped half-way (a failed save): the old file stays, the new one is gone.
        FileReplacement file((dir / "p.lwm").string());
        ASSERT_TRUE(file.Write("half"));
    }
    EXPECT_EQ(Slurp(dir / "p.lwm"), "new text");
    EXPECT_EQ(ListFolder(dir.string()), (std::vector<std::string>{"p.lwm"}));
    FileReplacement nowhere((dir / "nofolder" / "x.txt").string());
    EXPECT_FALSE(nowhere.Write("x"));
    EXPECT_FALSE(nowhere.Commit());
}

namespace {
// What the target held each time something was flushed, and whether that was its folder.
std::string flush_target;
std::vector<std::pair<bool, std::string>> flushes;
int RecordFlush(int fd) {
    struct stat st {};
    ::fstat(fd, &st);
    flushes.emplace_back(S_ISDIR(st.st_mode), Slurp(flush_target));
    return ::fsync(fd);
}
int FailFlush(int) { return -1; }
}  // namespace

TEST(FilesText, AReplacementIsOnDiskBeforeItsRenameAndItsFolderAfter) {
    const fs::path dir = testenv::ScratchDir("durable");
    flush_target = (dir / "p.lwm").string();
    Touch(dir / "p.lwm", "old");
    flushes.clear();
    SetFileFlush(RecordFlush);
    const bool saved = ReplaceFileAtomically(flush_target, "new");
    // A disk that fails the flush: the save fails and the old file stays, alone.
    SetFileFlush(FailFlush);
    const bool failed_save = ReplaceFileAtomically(flush_target, "lost");
    SetFileFlush(nullptr);
    EXPECT_TRUE(saved);
    EXPECT_EQ(flushes, (std::vector<std::pair<bool, std::string>>{{false, "old"}, {true, "new"}}));
    EXPECT_FALSE(failed_save);
    EXPECT_EQ(Slurp(dir / "p.lwm"), "new");
    EXPECT_EQ(ListFolder(dir.string()), (std::vector<std::string>{"p.lwm"}));
}

TEST(FilesBinary, AFolderIsNoFileToRead) {
    const fs::path dir = testenv::ScratchDir("folder_read");
    fs::create_directories(dir / "sub.ref");
    std::vector<uint8_t> bytes{1};
    EXPECT_FALSE(ReadBinary((dir / "sub.ref").string(), bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(ReadBinaryRange((dir / "sub.ref").string(), 0, 4, bytes));
    std::vector<std::string> lines{"x"};
    EXPECT_FALSE(ReadTextLines((dir / "sub.ref").string(), lines));
    EXPECT_TRUE(lines.empty());
}
