// Volumes: archives cut into volumes of a chosen size (header table in volume 1, files
// continuing at offset 0 of the next volume), reading across them, volumes asked for through
// OnNewDisk (four attempts, Cancel), the ".1" rule of CompressedFile, and the refusals of
// appending to a cut archive.
#include "tests/archive/ArchiveKit.h"

namespace {

// Where a file's data lies: first volume and offset, last volume and end position.
struct Where {
    int First, Offset, Last, End;
    bool operator==(const Where&) const = default;
};

void PrintTo(const Where& w, std::ostream* out) { *out << w.First << ":" << w.Offset << "-" << w.Last << ":" << w.End; }

class VolumeTest : public ArchiveTest {
protected:
    void SetUp() override {
        ArchiveTest::SetUp();
        machine->AddDrive('A', 1457664, 1457664);
        Put("C:\\src\\a.bin", Pattern(3000, 1));
        Put("C:\\src\\b.bin", Pattern(25000, 2));
        Put("C:\\src\\c.txt", "");
        Put("C:\\src\\d.bin", Pattern(7000, 4));
    }
    void BuildCut(std::int64_t volumeSize) {
        kc->SetVolumeSize(volumeSize);
        Build("C:\\arc\\files.1", {"C:\\src\\a.bin", "C:\\src\\b.bin", "C:\\src\\c.txt", "C:\\src\\d.bin"});
        kc->SetVolumeSize(0);
    }
    Where Header(int i) {
        TlzhFileStats s;
        kc->GetFileStats(i, s);
        return {s.Header.FirstVolume, s.Header.DataOffset, s.Header.LastVolume, s.Header.EndPosition};
    }
};

TEST_F(VolumeTest, Writer_CutsIntoVolumesWithTheHeaderTableInVolumeOne) {
    BuildCut(10000);
    const std::string v1 = Get("C:\\arc\\files.1");
    ASSERT_EQ(v1.size(), 10000u);
    EXPECT_EQ(Get("C:\\arc\\files.2").size(), 10000u);
    EXPECT_EQ(Get("C:\\arc\\files.3").size(), 10000u);
    EXPECT_EQ(Get("C:\\arc\\files.5"), "<missing>");
    EXPECT_EQ(I32(v1, 0), 4);
    EXPECT_NE(U8(v1, 4), 0) << "HeaderTableFlag";
    for (int i = 0; i < 4; ++i) EXPECT_EQ(I32(v1, 5 + 164 * i + 124), 5 + 164 * (i + 1)) << "table slot " << i;

    // Data follows the table and continues at offset 0 of each next volume.
    const int table = 5 + 4 * 164;
    EXPECT_EQ(Header(0), (Where{1, table, 1, table + 2999}));
    const int bIn1 = 10000 - (table + 3000);
    EXPECT_EQ(Header(1), (Where{1, table + 3000, 3, 25000 - bIn1 - 10000 - 1}));
    const int cAt = 25000 - bIn1 - 10000;
    EXPECT_EQ(Header(2), (Where{3, cAt, 3, cAt - 1})) << "an empty file stays where the data stands";
    EXPECT_EQ(Header(3), (Where{3, cAt, 4, 7000 - (10000 - cAt) - 1}));
    EXPECT_EQ(Get("C:\\arc\\files.4").size(), static_cast<std::size_t>(7000 - (10000 - cAt)));
    EXPECT_EQ(v1.substr(table, 3000), Pattern(3000, 1));
    EXPECT_EQ(Get("C:\\arc\\files.2"), Pattern(25000, 2).substr(bIn1, 10000));

    Extract("C:\\arc\\files.1", "C:\\out", {"C:\\src\\d.bin", "C:\\src\\b.bin", "C:\\src\\c.txt", "C:\\src\\a.bin"});
    EXPECT_EQ(Get("C:\\out\\a.bin"), Pattern(3000, 1));
    EXPECT_EQ(Get("C:\\out\\b.bin"), Pattern(25000, 2));
    EXPECT_EQ(Get("C:\\out\\c.txt"), "");
    EXPECT_EQ(Get("C:\\out\\d.bin"), Pattern(7000, 4));
    EXPECT_EQ(TimeOf("C:\\out\\b.bin"), kDefaultTime);
}

TEST_F(VolumeTest, Reader_FileSpanningVolumesOneAndTwoStopsAtEndPosition) {
    Put("C:\\src\\e.bin", Pattern(12000, 5));
    kc->SetVolumeSize(10000);
    Build("C:\\arc\\files.1", {"C:\\src\\e.bin", "C:\\src\\a.bin"});
    EXPECT_EQ(Header(0), (Where{1, 333, 2, 12000 - (10000 - 333) - 1}));
    EXPECT_EQ(Header(1).First, 2) << "the next file's bytes follow in volume 2";
    EventLog log(*kc, true);
    Extract("C:\\arc\\files.1", "C:\\out", {"C:\\src\\e.bin"});
    EXPECT_EQ(Get("C:\\out\\e.bin"), Pattern(12000, 5));
    EXPECT_EQ(kc->CompressedFile(), "C:\\arc\\files.2") << "later volumes are looked for next to the last one found";
    EXPECT_EQ(std::count(log.Lines.begin(), log.Lines.end(), "NewDisk 3 C:\\arc"), 0);
    // The next file starts in volume 1 again, found beside volume 2.
    Extract("C:\\arc\\files.2", "C:\\out", {"C:\\src\\a.bin"});
    EXPECT_EQ(Get("C:\\out\\a.bin"), Pattern(3000, 1));
}

TEST_F(VolumeTest, MissingVolume_WithoutOnNewDiskFailsAtOnce) {
    BuildCut(10000);
    P().DeleteFile("C:\\arc\\files.2");
    try {
        Extract("C:\\arc\\files.1", "C:\\out", {"C:\\src\\b.bin"});
        ADD_FAILURE();
    } catch (const rt::Exception& e) {
        EXPECT_STREQ(e.what(), "Could not open the correct disk file 2");
    }
    EXPECT_TRUE(kc->Abort());
    EXPECT_EQ(Get("C:\\out\\b.bin"), "<missing>");
    Extract("C:\\arc\\files.1", "C:\\out", {"C:\\src\\a.bin"});
    EXPECT_EQ(Get("C:\\out\\a.bin"), Pattern(3000, 1)) << "files of volume 1 still come out";
}

TEST_F(VolumeTest, MissingVolume_OnNewDiskPointsAtTheDiskOrGivesUpAfterFourAttempts) {
    BuildCut(10000);
    // The diskettes after the first all go into drive A:.
    for (const char* n : {"2", "3", "4"}) ASSERT_TRUE(P().MoveFile(std::string("C:\\arc\\files.") + n, std::string("A:\\files.") + n));
    EventLog log(*kc);
    log.NewDisk = [](int, std::string& path) { path = "A:"; };
    Extract("C:\\arc\\files.1", "C:\\out", {"C:\\src\\b.bin"});
    EXPECT_EQ(Get("C:\\out\\b.bin"), Pattern(25000, 2));
    EXPECT_EQ(log.Lines, (Lines{"BeforeExtracting C:\\src\\b.bin", "NewDisk 2 C:\\arc", "Finished C:\\src\\b.bin",
                               "AfterExtracting C:\\src\\b.bin"}))
        << "volume 3 is found beside volume 2";

    // A later file finds the volumes where they were found, with nobody asked again:
    // volume 3 on A:, and volume 1 where it always was.
    log.Lines.clear();
    Extract("C:\\arc\\files.1", "C:\\later", {"C:\\src\\d.bin", "C:\\src\\a.bin"});
    EXPECT_EQ(Get("C:\\later\\d.bin"), Pattern(7000, 4));
    EXPECT_EQ(Get("C:\\later\\a.bin"), Pattern(3000, 1));
    EXPECT_EQ(std::count_if(log.Lines.begin(), log.Lines.end(), [](const std::string& l) { return l.rfind("NewDisk", 0) == 0; }), 0);

    // A volume that turns up nowhere is asked for four times.
    log.Lines.clear();
    log.NewDisk = [](int, std::string&) {};
    ASSERT_TRUE(P().MoveFile("A:\\files.3", "A:\\lost.3"));
    try {
        Extract("C:\\arc\\files.1", "C:\\lost", {"C:\\src\\d.bin"});
        ADD_FAILURE();
    } catch (const rt::Exception& e) {
        EXPECT_STREQ(e.what(), "Could not open the correct disk file 3");
    }
    EXPECT_EQ(std::count(log.Lines.begin(), log.Lines.end(), "NewDisk 3 C:\\arc"), 4);

    // Cancel in the disk prompt: OnAborted, and no second prompt.
    log.Lines.clear();
    log.NewDisk = [this](int, std::string&) { kc->SetAbort(true); };
    kc->SetCompressedFile("C:\\arc\\files.1");
    Extract("C:\\arc\\files.1", "C:\\out", {"C:\\src\\d.bin"});
    EXPECT_EQ(log.Lines, (Lines{"BeforeExtracting C:\\src\\d.bin", "NewDisk 3 C:\\arc", "Aborted"})) << "d.bin starts in volume 3";
}

TEST_F(VolumeTest, CompressedFile_IsAlwaysVolumeOne) {
    kc->SetCompressedFile("C:\\arc\\files.3");
    EXPECT_EQ(kc->CompressedFile(), "C:\\arc\\files.1");
    kc->SetCompressedFile("C:\\arc\\files");
    EXPECT_EQ(kc->CompressedFile(), "C:\\arc\\files.1");
    BuildCut(10000);
    EXPECT_EQ(kc->FileCount(), 4);
    EXPECT_TRUE(kc->HeadersLoaded());
    kc->SetCompressedFile("c:\\ARC\\FILES.7");
    EXPECT_TRUE(kc->HeadersLoaded()) << "the same archive, spelled otherwise";
    kc->SetCompressedFile("C:\\arc\\other.1");
    EXPECT_FALSE(kc->HeadersLoaded());
}

TEST_F(VolumeTest, Append_ToACutArchiveIsRefusedAndLeavesItAlone) {
    BuildCut(10000);
    const std::string before = Get("C:\\arc\\files.1");
    try {
        Build("C:\\arc\\files.1", {"C:\\src\\a.bin"}, TlzhCommand::lzcOnlyAdd);
        ADD_FAILURE();
    } catch (const EKCCannotAppend& e) {
        EXPECT_EQ(e.FileName, "C:\\arc\\files.1");
    }
    EXPECT_EQ(Get("C:\\arc\\files.1"), before);

    // Nor may a single-volume archive be cut while appending.
    Build("C:\\arc\\one.1", {"C:\\src\\a.bin"});
    kc->SetVolumeSize(10000);
    EXPECT_THROW(Build("C:\\arc\\one.1", {"C:\\src\\b.bin"}, TlzhCommand::lzcOnlyAdd), EKCCannotAppend);
    kc->SetVolumeSize(0);
    // Trailing bytes after the last file would break the chain.
    Put("C:\\arc\\one.1", Get("C:\\arc\\one.1") + "junk");
    EXPECT_THROW(Build("C:\\arc\\one.1", {"C:\\src\\b.bin"}, TlzhCommand::lzcOnlyAdd), EKCCannotAppend);
}

TEST_F(VolumeTest, Rebuild_RemovesVolumesLeftFromALongerBuild) {
    BuildCut(10000);
    ASSERT_NE(Get("C:\\arc\\files.4"), "<missing>");
    kc->SetVolumeSize(20000);
    Build("C:\\arc\\files.1", {"C:\\src\\a.bin", "C:\\src\\b.bin"});
    EXPECT_NE(Get("C:\\arc\\files.2"), "<missing>");
    EXPECT_EQ(Get("C:\\arc\\files.3"), "<missing>");
    EXPECT_EQ(Get("C:\\arc\\files.4"), "<missing>");
}

TEST_F(VolumeTest, VolumeSize_LimitsAreChecked) {
    EXPECT_THROW(kc->SetVolumeSize(-1), EKC);
    EXPECT_THROW(kc->SetVolumeSize(169), EKC);
    EXPECT_THROW(kc->SetVolumeSize(0x80000000ll), EKC);
    kc->SetVolumeSize(1457664);
    EXPECT_EQ(kc->VolumeSize(), 1457664);
    // The table must fit into volume 1 with room to spare.
    kc->SetVolumeSize(400);
    EXPECT_THROW(Build("C:\\arc\\files.1", {"C:\\src\\a.bin", "C:\\src\\b.bin", "C:\\src\\c.txt"}), EKCArchiveTooLarge);
    // 255 volumes at most.
    kc->SetVolumeSize(200);
    EXPECT_THROW(Build("C:\\arc\\files.1", {"C:\\src\\b.bin", "C:\\src\\b.bin;2"}), EKCArchiveTooLarge);
}

}  // namespace
