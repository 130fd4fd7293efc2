// What AddFiles writes, byte by byte: the preamble, the 164-byte header fields, the chain of
// headers and data, appending, the 100-character name cut, user bytes, the status record
// while adding, and the refusals for files and archives past the format's limits.
#include "tests/archive/ArchiveKit.h"
#include "tests/system/PeImageBuilder.h"

namespace {

constexpr std::size_t H = 5;  // first header

TEST_F(ArchiveTest, Layout_OneEmptyFile_HeaderFieldsAndExtraction) {
    Put("C:\\src\\empty.txt", "");
    Build("C:\\arc\\files.1", {"C:\\src\\empty.txt"});
    const std::string b = Get("C:\\arc\\files.1");
    ASSERT_EQ(b.size(), 169u);
    EXPECT_EQ(I32(b, 0), 1) << "count";
    EXPECT_EQ(U8(b, 4), 0) << "HeaderTableFlag";
    EXPECT_EQ(I32(b, H + 0), 1) << "Sequence";
    EXPECT_EQ(F64(b, H + 4), kDefaultDate) << "FileDate";
    EXPECT_EQ(U8(b, H + 12), 0) << "LastVolume";
    EXPECT_EQ(I32(b, H + 16), 168) << "EndPosition";
    EXPECT_EQ(U8(b, H + 20), 16) << "StoredName length";
    EXPECT_EQ(b.substr(H + 21, 16), "C:\\src\\empty.txt");
    EXPECT_EQ(I32(b, H + 124), 169) << "NextHeader";
    EXPECT_EQ(I32(b, H + 128), 0) << "FileSize";
    EXPECT_EQ(I32(b, H + 132), 169) << "DataOffset";
    EXPECT_EQ(I32(b, H + 136), 0) << "StoredSize";
    EXPECT_EQ(U8(b, H + 140), 0) << "FirstVolume";
    EXPECT_EQ(U8(b, H + 141), 0) << "FileVersion length";
    EXPECT_EQ(U8(b, H + 162), 0);
    EXPECT_EQ(U8(b, H + 163), 0);
    // Padding and the unused parts of both strings are zero.
    for (std::size_t i : {13u, 14u, 15u, 121u, 122u, 123u}) EXPECT_EQ(U8(b, H + i), 0) << "padding at " << i;
    for (std::size_t i = H + 21 + 16; i < H + 121; ++i) ASSERT_EQ(U8(b, i), 0) << i;
    for (std::size_t i = H + 142; i < H + 162; ++i) ASSERT_EQ(U8(b, i), 0) << i;

    P().DeleteFile("C:\\src\\empty.txt");
    Extract("C:\\arc\\files.1", "C:\\out", {"C:\\src\\empty.txt"});
    EXPECT_EQ(Get("C:\\out\\empty.txt"), "");
    EXPECT_EQ(TimeOf("C:\\out\\empty.txt"), kDefaultTime);
}

TEST_F(ArchiveTest, Layout_TwoFiles_ChainOfHeadersAndData) {
    const std::string one = Pattern(10, 1), two = Pattern(20000, 2);
    Put("C:\\src\\one.bin", one);
    Put("C:\\src\\two.bin", two);
    Build("C:\\arc\\files.1", {"C:\\src\\one.bin", "C:\\src\\two.bin"});
    const std::string b = Get("C:\\arc\\files.1");
    const std::size_t h2 = 169 + one.size();
    ASSERT_EQ(b.size(), h2 + 164 + two.size());
    EXPECT_EQ(I32(b, 0), 2);
    EXPECT_EQ(U8(b, 4), 0);
    EXPECT_EQ(I32(b, H), 1);
    EXPECT_EQ(I32(b, H + 124), static_cast<std::int32_t>(h2)) << "header 1 points at header 2";
    EXPECT_EQ(I32(b, H + 132), 169);
    EXPECT_EQ(I32(b, H + 16), static_cast<std::int32_t>(169 + one.size() - 1));
    EXPECT_EQ(b.substr(169, one.size()), one);
    EXPECT_EQ(I32(b, h2), 2) << "Sequence of file 2";
    EXPECT_EQ(I32(b, h2 + 128), 20000);
    EXPECT_EQ(I32(b, h2 + 136), 20000);
    EXPECT_EQ(I32(b, h2 + 132), static_cast<std::int32_t>(h2 + 164));
    EXPECT_EQ(I32(b, h2 + 124), static_cast<std::int32_t>(b.size())) << "the last header points at the end";
    EXPECT_EQ(I32(b, h2 + 16), static_cast<std::int32_t>(b.size() - 1));
    EXPECT_EQ(b.substr(h2 + 164), two);

    EXPECT_EQ(kc->FileCount(), 2);
    TlzhFileStats stats;
    kc->GetFileStats(1, stats);
    EXPECT_EQ(stats.Name, "C:\\src\\two.bin");
    EXPECT_EQ(stats.FileSize, 20000);
    EXPECT_EQ(stats.TotalFileSize, 20010);
    EXPECT_EQ(stats.Ratio, 100);
    EXPECT_THROW(kc->GetFileStats(2, stats), rt::Exception);
    try {
        kc->GetFileStats(-1, stats);
    } catch (const rt::Exception& e) {
        EXPECT_STREQ(e.what(), "Tried to access the -1th file. This file is not defined");
    }
}

TEST_F(ArchiveTest, Append_OnlyAddKeepsOldBytesAndChainsTheNewFile) {
    Put("C:\\src\\one.bin", Pattern(10, 1));
    Put("C:\\src\\two.bin", Pattern(300, 2));
    Build("C:\\arc\\files.1", {"C:\\src\\one.bin", "C:\\src\\two.bin"});
    const std::string before = Get("C:\\arc\\files.1");
    Put("C:\\src\\three.bin", Pattern(5000, 3));
    Build("C:\\arc\\files.1", {"C:\\src\\three.bin;7"}, TlzhCommand::lzcOnlyAdd);
    const std::string after = Get("C:\\arc\\files.1");
    EXPECT_EQ(I32(after, 0), 3);
    EXPECT_EQ(after.substr(4, before.size() - 4), before.substr(4)) << "old headers and data unchanged";
    const std::size_t h3 = before.size();
    EXPECT_EQ(I32(after, h3), 1) << "Sequence counts within the batch";
    EXPECT_EQ(U8(after, h3 + 162), 7);
    EXPECT_EQ(after.substr(h3 + 164), Pattern(5000, 3));

    P().CreateDirectory("C:\\out");
    Extract("C:\\arc\\files.1", "C:\\out", {"C:\\src\\one.bin", "C:\\src\\three.bin"});
    EXPECT_EQ(Get("C:\\out\\one.bin"), Pattern(10, 1));
    EXPECT_EQ(Get("C:\\out\\three.bin"), Pattern(5000, 3));
}

TEST_F(ArchiveTest, Append_OnlyAddWithoutVolumeOneWritesANewArchive) {
    Put("C:\\src\\a.txt", "alpha");
    Build("C:\\arc\\new.1", {"C:\\src\\a.txt"}, TlzhCommand::lzcOnlyAdd);
    Build("C:\\arc\\ref.1", {"C:\\src\\a.txt"}, TlzhCommand::lzcOverwrite);
    EXPECT_EQ(Get("C:\\arc\\new.1"), Get("C:\\arc\\ref.1"));
    // Overwrite empties an existing archive.
    Build("C:\\arc\\ref.1", {"C:\\src\\a.txt"}, TlzhCommand::lzcOverwrite);
    EXPECT_EQ(Get("C:\\arc\\new.1"), Get("C:\\arc\\ref.1"));
}

TEST_F(ArchiveTest, StoredName_CutTo100CharactersAndLookedUpOnlyByTheCut) {
    const std::string dir = "C:\\src\\" + std::string(60, 'd');
    P().CreateDirectory(dir);
    const std::string path = dir + "\\" + std::string(50, 'f') + ".txt";
    ASSERT_GT(path.size(), 100u);
    Put(path, "long");
    Build("C:\\arc\\files.1", {path});
    const std::string b = Get("C:\\arc\\files.1");
    EXPECT_EQ(U8(b, H + 20), 100);
    EXPECT_EQ(b.substr(H + 21, 100), path.substr(0, 100));
    EXPECT_EQ(kc->IndexOfFile(path), -1);
    EXPECT_EQ(kc->IndexOfFile(path.substr(0, 100)), 0);
    try {
        Extract("C:\\arc\\files.1", "C:\\out", {path});
        ADD_FAILURE() << "the full path was found";
    } catch (const EKCFHFileNotInArchive& e) {
        EXPECT_EQ(std::string(e.what()), "The following file was not found in the archive: " + path);
        EXPECT_EQ(e.FileName, path);
    }
    EXPECT_TRUE(kc->Abort()) << "a failed extraction sets Abort";
    EXPECT_EQ(kc->FilesToProcess()->Count(), 0);
}

TEST_F(ArchiveTest, StoredName_InTheMachinesCodePageAndRefusedWhereItHasNoPlace) {
    const std::string hebrew = "C:\\src\\\xD7\x91\xD7\xA8.txt";  // two Hebrew letters
    Put(hebrew, "shalom");
    machine->SetAnsiCodePage(1255);
    Build("C:\\arc\\files.1", {hebrew});
    const std::string b = Get("C:\\arc\\files.1");
    EXPECT_EQ(U8(b, H + 20), 13);
    EXPECT_EQ(b.substr(H + 21, 13), "C:\\src\\\xE1\xF8.txt");
    Extract("C:\\arc\\files.1", "C:\\out", {hebrew});
    EXPECT_EQ(Get("C:\\out\\\xD7\x91\xD7\xA8.txt"), "shalom");

    // A Western machine has no place for the letters: the file is refused by name and no
    // archive is written, rather than one whose name nobody finds again.
    machine->SetAnsiCodePage(1252);
    Put("C:\\src\\a.txt", "a");
    try {
        Build("C:\\arc\\western.1", {"C:\\src\\a.txt", hebrew});
        ADD_FAILURE() << "the name was stored damaged";
    } catch (const EKCNameOutsideCodePage& e) {
        EXPECT_EQ(e.FileName, hebrew);
    }
    EXPECT_FALSE(P().FileExists("C:\\arc\\western.1"));
}

// (The code page of names is checked on the record itself: hosts under test may not hold
// such names on disk.)
TEST_F(ArchiveTest, Lines_UserBytesKeepTheirLowEightBits) {
    Put("C:\\src\\a.txt", "a");
    Put("C:\\src\\b.txt", "b");
    Build("C:\\arc\\files.1", {"C:\\src\\a.txt;300;-1", "C:\\src\\b.txt;5"});
    const std::string b = Get("C:\\arc\\files.1");
    EXPECT_EQ(U8(b, H + 162), 300 & 0xFF);
    EXPECT_EQ(U8(b, H + 163), 0xFF);
    const std::size_t h2 = static_cast<std::size_t>(I32(b, H + 124));
    EXPECT_EQ(U8(b, h2 + 20), 12) << "the name without the values";
    EXPECT_EQ(b.substr(h2 + 21, 12), "C:\\src\\b.txt");
    EXPECT_EQ(U8(b, h2 + 162), 5);
    EXPECT_EQ(U8(b, h2 + 163), 0);
    EXPECT_EQ(kc->IndexOfFile("c:\\SRC\\B.TXT"), 1);

    Files({"C:\\src\\a.txt;x"});
    EXPECT_THROW(kc->AddFiles(TlzhCommand::lzcOverwrite), rt::EConvertError);
    // Blank lines are dropped when the list is set.
    Files({"", "  ", "C:\\src\\a.txt"});
    EXPECT_EQ(kc->FilesToProcess()->Count(), 1);
}

TEST_F(ArchiveTest, FileVersion_ComesFromTheVersionResourceCutTo20Characters) {
    const auto image = testpe::VersionedImage(4, 0, 0, 950);
    Put("C:\\src\\lib.dll", std::string(image.begin(), image.end()));
    const auto wide = testpe::VersionedImage(65535, 65535, 65535, 65535);
    Put("C:\\src\\wide.dll", std::string(wide.begin(), wide.end()));
    Put("C:\\src\\plain.txt", "no resource");
    Build("C:\\arc\\files.1", {"C:\\src\\lib.dll", "C:\\src\\wide.dll", "C:\\src\\plain.txt"});
    TlzhFileStats s;
    kc->GetFileStats(0, s);
    EXPECT_EQ(s.Header.FileVersion, "4.0.0.950");
    kc->GetFileStats(1, s);
    EXPECT_EQ(s.Header.FileVersion, std::string("65535.65535.65535.65535").substr(0, 20));
    kc->GetFileStats(2, s);
    EXPECT_EQ(s.Header.FileVersion, "");
}

TEST_F(ArchiveTest, Adding_EventsAndStatusFollowTheFile) {
    const std::string data = Pattern(3 * 8192 + 5, 4);
    Put("C:\\src\\a.bin", data);
    Put("C:\\src\\b.bin", "tiny");
    EventLog log(*kc, true);
    Build("C:\\arc\\files.1", {"C:\\src\\a.bin", "C:\\src\\b.bin"});
    EXPECT_EQ(log.Lines, (Lines{"BeforeAdding C:\\src\\a.bin", "Status 16384", "Status 24576", "Status 24581",
                               "Status 24581", "Finished C:\\src\\a.bin", "AfterAdding C:\\src\\a.bin",
                               "BeforeAdding C:\\src\\b.bin", "Status 4", "Finished C:\\src\\b.bin",
                               "AfterAdding C:\\src\\b.bin"}));
    // Stored bytes count up while the file is written; totals run over the whole batch.
    const TlzhFileStats& last = log.Records.back();
    EXPECT_EQ(last.TotalFileSize, static_cast<std::int32_t>(data.size() + 4));
    EXPECT_EQ(last.TotalStoredSize, static_cast<std::int32_t>(data.size() + 4));
    EXPECT_EQ(last.TotalBytesDone, static_cast<std::int32_t>(data.size() + 4));
    EXPECT_EQ(last.TotalPercentDone, 100);
    EXPECT_EQ(log.Records[0].StoredSize, 8192);
    EXPECT_EQ(log.Records[0].FilePercentDone, rt::PercentOf(16384, static_cast<std::int64_t>(data.size())));
    EXPECT_EQ(kc->FileStats().Ratio, 100);
    EXPECT_FALSE(kc->HeadersLoaded()) << "the next query reads the archive again";
    EXPECT_EQ(kc->FilesToProcess()->Count(), 0);
}

TEST_F(ArchiveTest, Adding_MissingSourceFailsThroughTheExceptionAndKeepsTheOldArchive) {
    Put("C:\\src\\a.txt", "a");
    Build("C:\\arc\\files.1", {"C:\\src\\a.txt"});
    const std::string before = Get("C:\\arc\\files.1");
    try {
        Build("C:\\arc\\files.1", {"C:\\src\\a.txt", "C:\\src\\missing.txt"});
        ADD_FAILURE();
    } catch (const EKCCouldNotOpenFile& e) {
        EXPECT_STREQ(e.what(), "Could not open the following file: C:\\src\\missing.txt");
        EXPECT_EQ(e.FileName, "C:\\src\\missing.txt");
    }
    EXPECT_TRUE(kc->Abort());
    EXPECT_EQ(Get("C:\\arc\\files.1"), before) << "every source is opened before the archive is emptied";
    EXPECT_EQ(kc->FilesToProcess()->Count(), 0);
}

TEST_F(ArchiveTest, Adding_WritesStraightToTheArchiveWithoutATemporaryFile) {
    // Longer than the window the writes are gathered in, so its header is written apart
    // from the gathered bytes; the next file's header and data are gathered together.
    Put("C:\\src\\a.bin", Pattern(300000, 1));
    Put("C:\\src\\b.bin", Pattern(10, 2));
    ASSERT_TRUE(P().RemoveDirectory("C:\\TEMP"));
    EventLog log(*kc);
    Build("C:\\arc\\files.1", {"C:\\src\\a.bin", "C:\\src\\b.bin"});
    EXPECT_FALSE(P().DirectoryExists("C:\\TEMP"));
    const std::string b = Get("C:\\arc\\files.1");
    ASSERT_EQ(b.size(), 5u + 164u + 300000u + 164u + 10u);
    EXPECT_EQ(I32(b, 0), 2);
    EXPECT_EQ(b.substr(169, 300000), Pattern(300000, 1));
    const std::size_t h2 = 169 + 300000;
    EXPECT_EQ(I32(b, 5 + 124), static_cast<std::int32_t>(h2)) << "the first header, written after the window went out";
    EXPECT_EQ(I32(b, 5 + 16), static_cast<std::int32_t>(h2 - 1));
    EXPECT_EQ(I32(b, h2 + 124), static_cast<std::int32_t>(b.size())) << "the second, replaced while still gathered";
    EXPECT_EQ(I32(b, h2 + 132), static_cast<std::int32_t>(h2 + 164));
    EXPECT_EQ(b.substr(h2 + 164), Pattern(10, 2));
    const std::vector<std::string> expected{"BeforeAdding C:\\src\\a.bin", "Finished C:\\src\\a.bin", "AfterAdding C:\\src\\a.bin",
                                            "BeforeAdding C:\\src\\b.bin", "Finished C:\\src\\b.bin", "AfterAdding C:\\src\\b.bin"};
    EXPECT_EQ(log.Lines, expected);
}

TEST_F(ArchiveTest, Limits_FilesOf2GBAndDataPast32BitOffsetsAreRefused) {
    machine->AddDrive('D', 8ull << 30, 8ull << 30);
    // Sparse on the host: only the last byte is written.
    const auto sparse = [this](const std::string& path, std::int64_t size) {
        auto f = P().OpenFile(path, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::None);
        ASSERT_TRUE(f);
        f->Seek(size - 1, os::SeekOrigin::Begin);
        ASSERT_EQ(f->Write("x", 1), 1);
    };
    sparse("D:\\two-gb.bin", 0x80000000ll);
    try {
        Build("D:\\files.1", {"D:\\two-gb.bin"});
        ADD_FAILURE();
    } catch (const EKCArchiveTooLarge& e) {
        EXPECT_EQ(e.FileName, "D:\\two-gb.bin");
    }
    EXPECT_FALSE(P().FileExists("D:\\files.1"));

    // Each file fits, together they would not: refused before anything is written.
    sparse("D:\\big1.bin", 0x50000000ll);
    sparse("D:\\big2.bin", 0x30000000ll);
    try {
        Build("D:\\files.1", {"D:\\big1.bin", "D:\\big2.bin"});
        ADD_FAILURE();
    } catch (const EKCArchiveTooLarge& e) {
        EXPECT_EQ(e.FileName, "D:\\files.1");
    }
    EXPECT_FALSE(P().FileExists("D:\\files.1"));
}

TEST_F(ArchiveTest, Totals_StayIn64BitsAndSaturateTheRecord) {
    // Headers that claim 1 GB each: files left in place count without a byte being read.
    Put("C:\\src\\a.txt", "a");
    Build("C:\\arc\\files.1", {"C:\\src\\a.txt;1", "C:\\src\\a.txt;2", "C:\\src\\a.txt;3"});
    const std::string b = Get("C:\\arc\\files.1");
    const std::int32_t gb = 1 << 30;
    for (std::size_t h = H; h < b.size(); h = static_cast<std::size_t>(I32(b, h + 124))) {
        PutI32("C:\\arc\\files.1", h + 128, gb);
        PutI32("C:\\arc\\files.1", h + 136, gb);
        PutI32("C:\\arc\\files.1", h + 16, I32(b, h + 132) + gb - 1);
    }
    Put("C:\\out\\a.txt", "already here");
    kc->SetOverwrite(TOverwriteType::owNever);
    EventLog log(*kc);
    kc->SetCompressedFile("C:\\arc\\other.1");
    Extract("C:\\arc\\files.1", "C:\\out", {"C:\\src\\a.txt", "C:\\src\\a.txt", "C:\\src\\a.txt"});
    ASSERT_EQ(log.Records.size(), 3u);
    std::vector<int> percents, done;
    for (const auto& r : log.Records) {
        percents.push_back(r.TotalPercentDone);
        done.push_back(r.TotalBytesDone);
        EXPECT_EQ(r.TotalStoredSize, 0x7FFFFFFF);
        EXPECT_EQ(r.TotalFileSize, 0x7FFFFFFF);
        EXPECT_EQ(r.TotalRatio, 100);
    }
    EXPECT_EQ(percents, (std::vector<int>{33, 67, 100})) << "from the 64-bit totals, not the saturated fields";
    EXPECT_EQ(done, (std::vector<int>{gb, 0x7FFFFFFF, 0x7FFFFFFF}));
    EXPECT_EQ(kc->Totals().BytesDone, 3ll << 30);
    EXPECT_EQ(kc->Totals().StoredSize, 3ll << 30);
    EXPECT_EQ(Get("C:\\out\\a.txt"), "already here");
}

}  // namespace
