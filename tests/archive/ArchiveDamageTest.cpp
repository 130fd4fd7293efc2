// Damaged archives fail fast with the format's own exceptions: impossible counts, misplaced or
// looping headers, length bytes and fields out of range, volumes that end early or hold
// nothing. Never a loop, a read outside a buffer, or a prompt for a disk that cannot exist.
// Also the header record's field-by-field coding and the date conversion.
#include "tests/archive/ArchiveKit.h"

namespace {

constexpr std::size_t H = 5;

class DamageTest : public ArchiveTest {
protected:
    void SetUp() override {
        ArchiveTest::SetUp();
        Put("C:\\src\\a.txt", "alpha");
        Put("C:\\src\\b.bin", Pattern(20000, 2));
        Build("C:\\arc\\files.1", {"C:\\src\\a.txt", "C:\\src\\b.bin"});
        Original = Get("C:\\arc\\files.1");
        H2 = static_cast<std::size_t>(I32(Original, H + 124));
    }
    // Loading the damaged archive must fail with exactly the format's exception.
    void ExpectUnreadable(const char* what) {
        kc->SetCompressedFile("C:\\arc\\other.1");
        kc->SetCompressedFile("C:\\arc\\files.1");
        EXPECT_THROW(kc->FileCount(), EKCFHCannotReadHeaders) << what;
        EXPECT_FALSE(kc->HeadersLoaded()) << what;
        Put("C:\\arc\\files.1", Original);
    }
    std::string Original;
    std::size_t H2 = 0;
};

TEST_F(DamageTest, Counts_ShortNegativeOrImpossible) {
    Put("C:\\arc\\files.1", Original.substr(0, 3));
    ExpectUnreadable("short preamble");
    PutI32("C:\\arc\\files.1", 0, -1);
    ExpectUnreadable("negative count");
    PutI32("C:\\arc\\files.1", 0, 0x7FFFFFFF);
    ExpectUnreadable("more headers than volume 1 can hold");
    PutI32("C:\\arc\\files.1", 0, 3);
    ExpectUnreadable("a header past the end");

    // Appending reads the list itself and passes the finer exception on.
    PutI32("C:\\arc\\files.1", 0, -5);
    EXPECT_THROW(Build("C:\\arc\\files.1", {"C:\\src\\a.txt"}, TlzhCommand::lzcOnlyAdd), EKCFHCannotReadHeaderCount);
    EXPECT_EQ(Get("C:\\arc\\files.1").substr(4), Original.substr(4)) << "nothing was written";
}

TEST_F(DamageTest, HeaderOffsets_OutsideVolumeOneOrNotIncreasing) {
    PutI32("C:\\arc\\files.1", H + 124, 1'000'000'000);
    ExpectUnreadable("next header far outside");
    PutI32("C:\\arc\\files.1", H + 124, static_cast<std::int32_t>(Original.size() - 100));
    ExpectUnreadable("next header cut by the end");
    PutI32("C:\\arc\\files.1", H + 124, static_cast<std::int32_t>(H));
    ExpectUnreadable("next header pointing back at itself");
    PutI32("C:\\arc\\files.1", H + 124, static_cast<std::int32_t>(H + 100));
    ExpectUnreadable("next header overlapping the one before");
    PutI32("C:\\arc\\files.1", H + 124, -7);
    ExpectUnreadable("negative offset");
}

TEST_F(DamageTest, Fields_LengthBytesSizesOffsetsAndVolumesOutOfRange) {
    PutU8("C:\\arc\\files.1", H + 20, 101);
    ExpectUnreadable("name length over 100");
    PutU8("C:\\arc\\files.1", H + 141, 21);
    ExpectUnreadable("version length over 20");
    PutU8("C:\\arc\\files.1", H + 20, 0);
    ExpectUnreadable("blank name");
    PutI32("C:\\arc\\files.1", H2 + 128, -1);
    ExpectUnreadable("negative file size");
    PutI32("C:\\arc\\files.1", H2 + 136, -20000);
    ExpectUnreadable("negative stored size");
    PutI32("C:\\arc\\files.1", H2 + 132, -5);
    ExpectUnreadable("negative data offset");
    PutI32("C:\\arc\\files.1", H2 + 16, 5);
    ExpectUnreadable("end position before the data");
    PutU8("C:\\arc\\files.1", H2 + 140, 3);
    PutU8("C:\\arc\\files.1", H2 + 12, 2);
    ExpectUnreadable("first volume after last volume");
    PutU8("C:\\arc\\files.1", H2 + 12, 2);
    ExpectUnreadable("volume 0 with a later last volume");
}

TEST_F(DamageTest, Volumes_EndingEarlyOrEmptyFailTheFileWithoutAskingOn) {
    kc->SetVolumeSize(10000);
    Build("C:\\arc\\cut.1", {"C:\\src\\b.bin", "C:\\src\\a.txt"});
    const std::string v2 = Get("C:\\arc\\cut.2"), v3 = Get("C:\\arc\\cut.3");
    EventLog log(*kc);

    Put("C:\\arc\\cut.2", "");
    EXPECT_THROW(Extract("C:\\arc\\cut.1", "C:\\out", {"C:\\src\\b.bin"}), EKCWrongDecompressedSize) << "an empty continuation volume";
    Put("C:\\arc\\cut.2", v2);
    Put("C:\\arc\\cut.3", v3.substr(0, 10));
    EXPECT_THROW(Extract("C:\\arc\\cut.1", "C:\\out", {"C:\\src\\b.bin"}), EKCWrongDecompressedSize) << "a last volume ending early";
    EXPECT_TRUE(std::none_of(log.Lines.begin(), log.Lines.end(), [](const std::string& l) { return l.rfind("NewDisk", 0) == 0; }))
        << "no volume past LastVolume is ever asked for";
    EXPECT_EQ(Get("C:\\out\\b.bin"), "<missing>");

    // A single volume that ends before EndPosition.
    Put("C:\\arc\\files.1", Original.substr(0, Original.size() - 1));
    EXPECT_THROW(Extract("C:\\arc\\files.1", "C:\\out", {"C:\\src\\b.bin"}), EKCWrongDecompressedSize);
    // A date no file time can hold.
    Put("C:\\arc\\files.1", Original);
    std::string bad = Original;
    for (int i = 0; i < 8; ++i) bad[H + 4 + static_cast<std::size_t>(i)] = static_cast<char>(0xFF);
    Put("C:\\arc\\files.1", bad);
    kc->SetCompressedFile("C:\\arc\\x.1");
    try {
        Extract("C:\\arc\\files.1", "C:\\out", {"C:\\src\\a.txt"});
        ADD_FAILURE();
    } catch (const rt::Exception& e) {
        EXPECT_STREQ(e.what(), "Cannot set the date of the file just extracted.");
    }
    EXPECT_EQ(Get("C:\\out\\a.txt"), "<missing>");
}

TEST_F(DamageTest, MissingVolumeOne_IsReportedWithItsPath) {
    kc->SetCompressedFile("C:\\arc\\none.1");
    try {
        kc->ReadHeaders();
        ADD_FAILURE();
    } catch (const EKCCouldNotOpenCompressedFile& e) {
        EXPECT_STREQ(e.what(),
                     "Could not open the compressed file. The following value is the current value of the CompressedFile "
                     "property: C:\\arc\\none.1");
        EXPECT_EQ(e.FileName, "C:\\arc\\none.1");
    }
    EXPECT_THROW(kc->FileCount(), EKCCouldNotOpenFile) << "one family with the files that cannot be opened";
}

TEST(FileHeaders, Record_EveryFieldRoundTripsAtItsOffset) {
    SimMachine machine;  // text goes in its code page, 1252 unless set
    TFileHeaderRecord h;
    h.Sequence = -2;
    h.FileDate = 36925.170208333335;
    h.LastVolume = 200;
    h.EndPosition = 0x12345678;
    h.StoredName = "C:\\A\\\xc3\xa9";
    h.NextHeader = 0x7FFFFFFF;
    h.FileSize = 77;
    h.DataOffset = 1000;
    h.StoredSize = 76;
    h.FirstVolume = 9;
    h.FileVersion = "1.2.3.4";
    h.UserByte1 = 0xAB;
    h.UserByte2 = 0xCD;
    THeaderBytes bytes;
    EncodeFileHeader(h, bytes);
    EXPECT_EQ(bytes[16], 0x78);
    EXPECT_EQ(bytes[19], 0x12);
    EXPECT_EQ(bytes[20], 6);
    EXPECT_EQ(bytes[26], 0xE9) << "code page 1252";
    EXPECT_EQ(bytes[127], 0x7F);
    EXPECT_EQ(bytes[140], 9);
    EXPECT_EQ(bytes[141], 7);
    EXPECT_EQ(bytes[142], '1');
    EXPECT_EQ(bytes[162], 0xAB);
    EXPECT_EQ(bytes[163], 0xCD);
    TFileHeaderRecord back;
    DecodeFileHeader(bytes, back);
    EXPECT_EQ(back.Sequence, h.Sequence);
    EXPECT_EQ(back.FileDate, h.FileDate);
    EXPECT_EQ(back.LastVolume, h.LastVolume);
    EXPECT_EQ(back.EndPosition, h.EndPosition);
    EXPECT_EQ(back.StoredName, h.StoredName);
    EXPECT_EQ(back.NextHeader, h.NextHeader);
    EXPECT_EQ(back.FileSize, h.FileSize);
    EXPECT_EQ(back.DataOffset, h.DataOffset);
    EXPECT_EQ(back.StoredSize, h.StoredSize);
    EXPECT_EQ(back.FirstVolume, h.FirstVolume);
    EXPECT_EQ(back.FileVersion, h.FileVersion);
    EXPECT_EQ(back.UserByte1, h.UserByte1);
    EXPECT_EQ(back.UserByte2, h.UserByte2);
}

TEST(FileHeaders, Dates_TwoSecondStepsSinceDecember1899) {
    // 1899-12-30 00:00 is day 0; file times count from 1601 (109205 days earlier).
    const os::FileTime epoch = 109205ull * 86400 * 10'000'000;
    EXPECT_EQ(FileTimeToArchiveDate(epoch), 0.0);
    EXPECT_EQ(FileTimeToArchiveDate(epoch + 86400ull * 10'000'000 / 2), 0.5);
    EXPECT_EQ(FileTimeToArchiveDate(epoch + 30'000'000), FileTimeToArchiveDate(epoch + 20'000'000)) << "odd seconds fall to the even";
    EXPECT_LT(FileTimeToArchiveDate(epoch - 20'000'000), 0.0);
    os::FileTime back = 0;
    ASSERT_TRUE(ArchiveDateToFileTime(FileTimeToArchiveDate(ArchiveTest::kDefaultTime), back));
    EXPECT_EQ(back, ArchiveTest::kDefaultTime);
    EXPECT_EQ(FileTimeToArchiveDate(ArchiveTest::kDefaultTime), ArchiveTest::kDefaultDate);
    for (double bad : {-109206.0, 3e6, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()})
        EXPECT_FALSE(ArchiveDateToFileTime(bad, back)) << bad;
}

TEST(FileHeaders, List_ItemsAddAndIndexOf) {
    TFileHeaders list;
    EXPECT_THROW(list.Add(std::make_unique<TFileHeader>()), EKCFHInvalidNewFileHeader);
    auto blank = std::make_unique<TFileHeader>();
    blank->StoredName = "   ";
    EXPECT_THROW(list.Add(std::move(blank)), EKCFHInvalidNewFileHeader);
    auto one = std::make_unique<TFileHeader>();
    one->StoredName = "C:\\Dir\\One.txt";
    one->FileSize = 3;
    list.Add(std::move(one));
    EXPECT_EQ(list.IndexOf("c:\\dir\\ONE.TXT"), 0);
    EXPECT_EQ(list.IndexOf("C:\\Dir\\Two.txt"), -1);
    EXPECT_EQ(list.TotalFileSize(), 3);
    try {
        list.Items(1);
        ADD_FAILURE();
    } catch (const EKCFH& e) {
        EXPECT_STREQ(e.what(), "GetFileHeaders--module cmp_TFileHeaders--Create constructor");
    }
}

// Names that begin as earlier ones are kept as that beginning and their rest: every name, source
// and version reads back whole, and lookups without case cross the cut, also where it falls
// inside a character.
TEST(FileHeaders, List_NamesSharingBeginningsReadBackWhole) {
    const std::vector<std::string> names = {
        "C:\\Product\\Folder 1\\Document 1.data", "C:\\Product\\Folder 1\\Document 12.data", "C:\\Product\\Folder 1\\Größe.txt",
        "C:\\Product\\Folder 1\\Grüße.txt",      "C:\\Product\\Folder 1\\Document 1",       "D:\\Other.txt",
        "C:\\Product\\Folder 2\\Document 2.data", "D:\\Gross\\Größe.txt", "D:\\Gross\\Grüße.txt"};
    TFileHeaders list;
    for (const auto& name : names) {
        auto h = std::make_unique<TFileHeader>();
        h->StoredName = name;
        h->SourcePath = name == "D:\\Other.txt" ? "C:\\Source\\Other.txt" : name;
        if (name.find("Grüße") != std::string::npos) h->FileVersion = "1.2.3.4";
        list.Add(std::move(h));
    }
    TFileHeader changed = list.Get(1);
    changed.StoredName = "C:\\Product\\Folder 1\\Document 13.data";
    changed.SourcePath = "C:\\Product\\Folder 1\\Document 12.old";
    list.Update(1, changed);
    for (int i = 0; i < list.Count(); ++i) {
        const std::string& name = names[static_cast<std::size_t>(i)];
        EXPECT_EQ(list.Get(i).StoredName, name) << "an update keeps the name the item was added with";
        EXPECT_EQ(list.IndexOf(rt::UpperCase(name)), i) << name;
    }
    EXPECT_EQ(list.Get(1).SourcePath, changed.SourcePath);
    EXPECT_EQ(list.Get(5).SourcePath, "C:\\Source\\Other.txt");
    EXPECT_EQ(list.Get(3).FileVersion, "1.2.3.4");
    EXPECT_EQ(list.Get(2).FileVersion, "");
    EXPECT_EQ(list.IndexOf("C:\\Product\\Folder 1\\Größe.tx"), -1);
    EXPECT_EQ(list.IndexOf("C:\\Product\\Folder 1\\Document 13.data"), -1);
}

// Lines leave the list as their headers are made; the ones after a file that cannot be
// opened stay.
TEST_F(ArchiveTest, HeaderList_TakesEachLineAsItsHeaderIsMade) {
    Put("C:\\src\\a.txt", "a");
    Put("C:\\src\\b.txt", "bb");
    rt::TStringList lines{"C:\\src\\a.txt;1;2", "C:\\src\\missing.txt", "C:\\src\\b.txt"};
    TFileHeaders list;
    EXPECT_THROW(list.TakeFromList(lines, false), EKCCouldNotOpenFile);
    EXPECT_EQ(lines.Text(), "C:\\src\\missing.txt\r\nC:\\src\\b.txt\r\n");
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Get(0).UserByte2, 2);
    lines.Delete(0);
    list.TakeFromList(lines, true);
    EXPECT_EQ(lines.Count(), 0);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(1).FileSize, 2);
    EXPECT_EQ(list.Get(1).Sequence, 1) << "numbered within the lines it was given with";
}

}  // namespace
