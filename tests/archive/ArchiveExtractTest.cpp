// Extraction: lookup, destination names, the overwrite rules at their ties, the event order,
// status accounting, cancellation (including a Cancel in a file's last buffer), clean-up of
// half-written files, full disks, and plain copies under the same rules.
#include "archive/BlockIO.h"
#include "runtime/Forms.h"
#include "runtime/headless/HeadlessBackend.h"
#include "tests/archive/ArchiveKit.h"
#include "tests/system/PeImageBuilder.h"

namespace {

class ExtractTest : public ArchiveTest {
protected:
    void SetUp() override {
        ArchiveTest::SetUp();
        Put("C:\\src\\a.txt", "alpha");
        Put("C:\\src\\b.bin", Pattern(20000, 2));
        Build("C:\\arc\\files.1", {"C:\\src\\a.txt", "C:\\src\\b.bin"});
        kc->SetExtractDirectory("C:\\out");
    }
    void Run(std::vector<std::string> lines) {
        Files(std::move(lines));
        kc->ExtractFiles();
    }
    // An archive whose files carry versions (lib.dll 2.0.0.0) for the version rules.
    void VersionArchive() {
        const auto v2 = testpe::VersionedImage(2, 0, 0, 0);
        Put("C:\\src\\lib.dll", std::string(v2.begin(), v2.end()));
        Build("C:\\arc\\lib.1", {"C:\\src\\lib.dll"});
    }
    void Existing(const std::string& path, std::uint16_t major, os::FileTime time) {
        const auto v = testpe::VersionedImage(major, 0, 0, 0);
        // Trailing bytes tell the copy apart from the archived one; the image reads the same.
        Put(path, std::string(v.begin(), v.end()) + "existing", time);
    }
};

TEST_F(ExtractTest, Lookup_IgnoresCaseAndEverythingAfterTheFirstSemicolon) {
    Run({"c:\\SRC\\A.TXT;17;x", "C:\\src\\b.bin"});
    EXPECT_EQ(Get("C:\\out\\a.txt"), "alpha");
    EXPECT_EQ(Get("C:\\out\\b.bin"), Pattern(20000, 2));
    EXPECT_EQ(TimeOf("C:\\out\\a.txt"), kDefaultTime);

    // The same name twice: the first in list order wins.
    Put("C:\\src\\a.txt", "second alpha");
    Build("C:\\arc\\files.1", {"C:\\src\\a.txt"}, TlzhCommand::lzcOnlyAdd);
    P().DeleteFile("C:\\out\\a.txt");
    Run({"C:\\src\\a.txt"});
    EXPECT_EQ(Get("C:\\out\\a.txt"), "alpha");
}

TEST_F(ExtractTest, DestFileName_SetBeforeOrDuringExtractionKeepsOnlyItsLastPart) {
    kc->SetDestFileName("..\\elsewhere\\renamed.txt");
    Run({"C:\\src\\a.txt"});
    EXPECT_EQ(Get("C:\\out\\renamed.txt"), "alpha");
    EXPECT_EQ(kc->DestFileName(), "");

    kc->OnBeforeExtracting = TlzhFileStatsEvent(nullptr, [this](TKembCompress* k, TlzhFileStats&) { k->SetDestFileName("x/../../up.txt"); });
    Run({"C:\\src\\a.txt"});
    EXPECT_EQ(Get("C:\\out\\up.txt"), "alpha") << "'/' separates too, so nothing leaves the directory";
    EXPECT_EQ(Get("C:\\up.txt"), "<missing>");
}

TEST_F(ExtractTest, Events_FollowTheFileInOrder) {
    EventLog log(*kc);
    Put("C:\\out\\a.txt", "old");
    Run({"C:\\src\\a.txt", "C:\\src\\b.bin"});
    EXPECT_EQ(log.Lines, (Lines{"BeforeExtracting C:\\src\\a.txt", "Replace C:\\src\\a.txt", "Finished C:\\src\\a.txt",
                               "AfterExtracting C:\\src\\a.txt", "BeforeExtracting C:\\src\\b.bin",
                               "Finished C:\\src\\b.bin", "AfterExtracting C:\\src\\b.bin"}));
    // Status per write (each made once the next byte is read), and each file counted once at its end.
    std::vector<std::string> seen;
    for (const auto& r : log.Records)
        seen.push_back(std::to_string(r.FileBytesDone) + "/" + std::to_string(r.FilePercentDone) + "/" +
                       std::to_string(r.TotalBytesDone) + "/" + std::to_string(r.TotalPercentDone) + (r.FileFinished ? "F" : ""));
    const auto pct = [](std::int64_t a) { return std::to_string(rt::PercentOf(a, 20005)); };
    EXPECT_EQ(seen, (std::vector<std::string>{"5/100/5/" + pct(5), "5/100/5/" + pct(5) + "F",
                                              std::string("16384/") + std::to_string(rt::PercentOf(16384, 20000)) + "/16389/" + pct(16389),
                                              "20000/100/20005/100", "20000/100/20005/100", "20000/100/20005/100F"}));
}

TEST_F(ExtractTest, OverwriteRules_DecideAtTheirTies) {
    const os::FileTime archived = kDefaultTime;
    const os::FileTime twoSecondsOlder = archived - 20'000'000, oneSecondNewer = archived + 10'000'000;
    struct Case {
        TOverwriteType Rule;
        std::uint16_t ExistingMajor;  // archived is 2
        os::FileTime ExistingTime;
        bool Written;
        const char* Why;
    };
    const Case cases[] = {
        {TOverwriteType::owAlways, 9, oneSecondNewer, true, "always"},
        {TOverwriteType::owNever, 1, twoSecondsOlder, false, "never"},
        {TOverwriteType::owVersion, 1, oneSecondNewer, true, "newer version"},
        {TOverwriteType::owVersion, 2, twoSecondsOlder, false, "equal versions keep the file"},
        {TOverwriteType::owVersion, 3, twoSecondsOlder, false, "older version"},
        {TOverwriteType::owDate, 9, twoSecondsOlder, true, "existing strictly older"},
        {TOverwriteType::owDate, 9, archived, false, "equal times keep the file"},
        {TOverwriteType::owDate, 9, archived + 10'000'000, false, "same two-second stamp is equal"},
        {TOverwriteType::owVersionDate, 1, oneSecondNewer, true, "newer version, whatever the date"},
        {TOverwriteType::owVersionDate, 2, twoSecondsOlder, true, "equal versions fall back to the date"},
        {TOverwriteType::owVersionDate, 2, archived, false, "equal versions and times"},
        {TOverwriteType::owVersionDate, 3, twoSecondsOlder, false, "older archived version"},
    };
    VersionArchive();
    EventLog log(*kc);
    for (const Case& c : cases) {
        Existing("C:\\out\\lib.dll", c.ExistingMajor, c.ExistingTime);
        const std::string before = Get("C:\\out\\lib.dll");
        kc->SetOverwrite(c.Rule);
        log.Lines.clear();
        Run({"C:\\src\\lib.dll"});
        EXPECT_EQ(Get("C:\\out\\lib.dll") != before, c.Written) << c.Why;
        const bool replaced = std::find(log.Lines.begin(), log.Lines.end(), "Replace C:\\src\\lib.dll") != log.Lines.end();
        EXPECT_EQ(replaced, c.Written) << c.Why << ": OnReplace only when the rule writes";
        EXPECT_EQ(log.Lines.back(), "AfterExtracting C:\\src\\lib.dll") << c.Why << ": a file left in place still ends";
    }
    kc->SetOverwrite(static_cast<TOverwriteType>(7));
    try {
        Run({"C:\\src\\lib.dll"});
        ADD_FAILURE();
    } catch (const rt::Exception& e) {
        EXPECT_STREQ(e.what(), "Overwrite flag is not in [owNever,owAlways,owVersion,owDate,owVersionDate]");
    }
}

TEST_F(ExtractTest, SkipFile_FromAHandlerLeavesTheTargetAloneAndEndsSilently) {
    Put("C:\\out\\a.txt", "old");
    EventLog log(*kc);
    kc->OnReplace = TlzhFileStatsEvent(nullptr, [](TKembCompress* k, TlzhFileStats&) { k->SetSkipFile(true); });
    Run({"C:\\src\\a.txt", "C:\\src\\b.bin"});
    EXPECT_EQ(Get("C:\\out\\a.txt"), "old");
    EXPECT_EQ(log.Lines, (Lines{"BeforeExtracting C:\\src\\a.txt", "BeforeExtracting C:\\src\\b.bin", "Finished C:\\src\\b.bin",
                               "AfterExtracting C:\\src\\b.bin"}));
    EXPECT_EQ(Get("C:\\out\\b.bin"), Pattern(20000, 2)) << "SkipFile is cleared for the next file";
}

TEST_F(ExtractTest, Cancel_RaisesOnAbortedOnceRemovesThePartialFileAndReturns) {
    EventLog log(*kc);
    kc->OnStatus = TlzhFileStatsEvent(nullptr, [](TKembCompress* k, TlzhFileStats&) { k->SetAbort(true); });
    Run({"C:\\src\\b.bin", "C:\\src\\a.txt"});
    EXPECT_EQ(std::count(log.Lines.begin(), log.Lines.end(), "Aborted"), 1);
    EXPECT_EQ(Get("C:\\out\\b.bin"), "<missing>") << "a cancelled file does not stay half written";
    EXPECT_EQ(Get("C:\\out\\a.txt"), "<missing>");
    EXPECT_TRUE(kc->Abort());
    EXPECT_EQ(kc->FilesToProcess()->Count(), 0);

    // The silent exception ends the run quietly: no OnAborted, Abort untouched.
    log.Lines.clear();
    kc->OnStatus = TlzhFileStatsEvent(nullptr, [](TKembCompress*, TlzhFileStats&) { rt::Abort(); });
    Files({"C:\\src\\b.bin"});
    EXPECT_THROW(kc->ExtractFiles(), rt::EAbort);
    EXPECT_EQ(log.Lines, (Lines{"BeforeExtracting C:\\src\\b.bin"}));
    EXPECT_FALSE(kc->Abort());
    EXPECT_EQ(Get("C:\\out\\b.bin"), "<missing>");
}

// Counts the component's message pumping and can run a Cancel inside a chosen round.
class CountingBackend : public rt::THeadlessBackend {
public:
    void ProcessMessages() override {
        ++Calls;
        if (Calls == CancelAt && Cancel) Cancel();
        rt::THeadlessBackend::ProcessMessages();
    }
    int Calls = 0;
    int CancelAt = -1;
    std::function<void()> Cancel;
};

class CancelTest : public ExtractTest {
protected:
    void SetUp() override {
        ExtractTest::SetUp();
        rt::SetBackend(&backend);
        app = new rt::TApplication(nullptr);
        rt::SetApplication(app);
    }
    void TearDown() override {
        app->Free();
        rt::SetBackend(nullptr);
        ExtractTest::TearDown();
    }
    CountingBackend backend;
    rt::TApplication* app = nullptr;
};

TEST_F(CancelTest, Cancel_InTheLastBuffersMessagesIsNotLost) {
    Run({"C:\\src\\b.bin"});
    const int rounds = backend.Calls;  // the last one lets messages through for the last write
    ASSERT_GT(rounds, 2);
    P().DeleteFile("C:\\out\\b.bin");

    EventLog log(*kc);
    backend.Calls = 0;
    backend.CancelAt = rounds;
    backend.Cancel = [this] { kc->SetAbort(true); };
    Run({"C:\\src\\b.bin", "C:\\src\\a.txt"});
    EXPECT_EQ(log.Lines, (Lines{"BeforeExtracting C:\\src\\b.bin", "Aborted"}));
    EXPECT_EQ(Get("C:\\out\\b.bin"), "<missing>");
    EXPECT_EQ(Get("C:\\out\\a.txt"), "<missing>") << "the next file does not clear the Cancel";
}

TEST_F(CancelTest, SharedComponent_IsOwnedByTheApplicationAndPublishesItsProperties) {
    TKembCompress& shared = SharedKembCompress();
    EXPECT_EQ(&shared, &SharedKembCompress());
    EXPECT_EQ(shared.Owner(), app);
    rt::SetPropValue(shared, "CompressedFile", std::string("C:\\arc\\files.3"));
    EXPECT_EQ(std::get<std::string>(rt::GetPropValue(shared, "CompressedFile")), "C:\\arc\\files.1");
    rt::SetPropValue(shared, "Overwrite", std::int64_t(static_cast<int>(TOverwriteType::owVersionDate)));
    EXPECT_EQ(shared.Overwrite(), TOverwriteType::owVersionDate);
    rt::SetPropValue(shared, "FilesToProcess", std::vector<std::string>{"", "C:\\src\\a.txt"});
    EXPECT_EQ(shared.FilesToProcess()->Count(), 1);
    EXPECT_EQ(shared.FileCount(), 2);
    // Freed with the application; the next use makes a new one.
    app->Free();
    app = new rt::TApplication(nullptr);
    rt::SetApplication(app);
    EXPECT_EQ(SharedKembCompress().Owner(), app);
    EXPECT_EQ(SharedKembCompress().FilesToProcess()->Count(), 0);
}

TEST_F(ExtractTest, Cancel_AfterTheLastWriteStopsAtTheEndOfTheFile) {
    EventLog log(*kc);
    kc->OnStatus = TlzhFileStatsEvent(nullptr, [](TKembCompress* k, TlzhFileStats& s) {
        if (s.FileFinished) k->SetAbort(true);
    });
    kc->OnAborted = rt::TNotifyEvent(nullptr, [&log](rt::TObject*) { log.Lines.push_back("Aborted"); });
    Run({"C:\\src\\a.txt", "C:\\src\\b.bin"});
    EXPECT_EQ(log.Lines, (Lines{"BeforeExtracting C:\\src\\a.txt", "AfterExtracting C:\\src\\a.txt", "Aborted"}));
    EXPECT_EQ(Get("C:\\out\\a.txt"), "alpha") << "a file written in full stays";
    EXPECT_EQ(Get("C:\\out\\b.bin"), "<missing>");
}

TEST_F(ExtractTest, Failure_SetsAbortDeletesThePartialTargetAndReRaises) {
    // The archive lost its last bytes: b.bin comes out short.
    std::string b = Get("C:\\arc\\files.1");
    b.resize(b.size() - 100);
    Put("C:\\arc\\files.1", b);
    Put("C:\\out\\b.bin", "an older copy");
    try {
        Run({"C:\\src\\b.bin"});
        ADD_FAILURE();
    } catch (const EKCWrongDecompressedSize& e) {
        EXPECT_STREQ(e.what(),
                     "The decompressed file's size does not match with the actual size the file.  The file is C:\\src\\b.bin");
    }
    EXPECT_TRUE(kc->Abort());
    EXPECT_EQ(Get("C:\\out\\b.bin"), "<missing>") << "no half-written file with a fresh date";
    EXPECT_EQ(kc->DestFileName(), "");
    EXPECT_EQ(kc->FilesToProcess()->Count(), 0);
}

TEST_F(ExtractTest, DiskFull_CallsOnFullDiskOrRaises) {
    machine->AddDrive('E', 1 << 20, 10000);
    kc->SetExtractDirectory("E:\\");
    try {
        Run({"C:\\src\\b.bin"});
        ADD_FAILURE();
    } catch (const EKCDiskFull& e) {
        EXPECT_STREQ(e.what(), "Disk is full");
    }
    EXPECT_EQ(Get("E:\\b.bin"), "<missing>");

    int calls = 0;
    kc->OnFullDisk = rt::TNotifyEvent(nullptr, [&calls](rt::TObject*) { ++calls; });
    // The handler returns: the operation goes on without the bytes that did not fit.
    EXPECT_THROW(Run({"C:\\src\\b.bin"}), EKCWrongDecompressedSize);
    EXPECT_EQ(calls, 1);
}

TEST_F(ExtractTest, CopyFile_AppliesTheRuleAndCopiesWithTheSourceDate) {
    const std::string data = Pattern(3 * 8192, 9);
    Put("C:\\src\\c.bin", data, kDefaultTime + 10'000'000);
    EventLog log(*kc);
    kc->CopyFile("C:\\src\\c.bin", "C:\\copy\\c.bin");
    EXPECT_EQ(Get("C:\\copy\\c.bin"), data);
    EXPECT_EQ(TimeOf("C:\\copy\\c.bin"), kDefaultTime + 10'000'000);
    EXPECT_EQ(kc->ExtractDirectory(), "C:\\copy\\");
    // A status per block, the last block short (here empty), then the end.
    std::vector<int> done;
    for (const auto& r : log.Records) done.push_back(r.FileBytesDone * (r.FileFinished ? -1 : 1));
    EXPECT_EQ(done, (std::vector<int>{8192, 16384, 24576, 24576, -24576}));
    EXPECT_EQ(log.Lines, (Lines{"Finished C:\\src\\c.bin"}));

    kc->SetOverwrite(TOverwriteType::owDate);
    Put("C:\\copy\\c.bin", "newer", kDefaultTime + 20'000'000);
    kc->CopyFile("C:\\src\\c.bin", "C:\\copy\\c.bin");
    EXPECT_EQ(Get("C:\\copy\\c.bin"), "newer");

    // Replace may rename; a Cancel stops without an exception and leaves nothing half done.
    Put("C:\\copy\\c.bin", "older", kDefaultTime - 20'000'000);
    kc->OnReplace = TlzhFileStatsEvent(nullptr, [](TKembCompress* k, TlzhFileStats& s) {
        EXPECT_EQ(s.Name, "");
        EXPECT_EQ(s.FileSize, 0);
        k->SetDestFileName("d.bin");
    });
    kc->OnStatus = TlzhFileStatsEvent(nullptr, [](TKembCompress* k, TlzhFileStats&) { k->SetAbort(true); });
    kc->CopyFile("C:\\src\\c.bin", "C:\\copy\\c.bin");
    EXPECT_EQ(Get("C:\\copy\\d.bin"), "<missing>");
    EXPECT_EQ(Get("C:\\copy\\c.bin"), "older");
    kc->OnStatus.Clear();
    kc->CopyFile("C:\\src\\c.bin", "C:\\copy\\c.bin");
    EXPECT_EQ(Get("C:\\copy\\d.bin"), data);

    EXPECT_THROW(kc->CopyFile("C:\\src\\none.bin", "C:\\copy\\none.bin"), EKCCouldNotOpenFile);
}

}  // namespace
