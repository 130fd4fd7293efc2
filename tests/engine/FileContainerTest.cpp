// File containers and groups: archive paths, the three operations over a tree, progress
// passed up level by level, the sums, member lookup, and the checks on members' notices.
#include <algorithm>
#include <cctype>
#include <functional>
#include <limits>

#include "tests/engine/InstallKit.h"

std::vector<std::string> gHeard;

const rt::TClassInfo& TStageRecorder::StaticClass() {
    static const rt::TClassInfo info{"TStageRecorder", &TBaseHelperComponent::StaticClass(), {}, {}, {}};
    return info;
}

namespace {

using Lines = std::vector<std::string>;

std::vector<std::string> StoredNames(TKembCompress& kc, const std::string& archive) {
    kc.SetCompressedFile(archive);
    kc.ReadHeaders();
    std::vector<std::string> names;
    for (int i = 0; i < kc.FileCount(); ++i) names.push_back(kc.FileHeaders().Items(i)->StoredName);
    return names;
}

class FileContainerTest : public InstallTest {};

}  // namespace

TEST_F(FileContainerTest, ArchivePath_FollowsItsSpecifierAndNamesWhatIsMissing) {
    auto* group = Group("FileGroup1", root, "\\Data");
    auto* file = File("a.dll", group, "a");
    // A container of its own: the container's archive, blank text.
    EXPECT_EQ(file->ArchiveFileType(), TPathSpecifiers::ddContainerArchiveFile);
    EXPECT_EQ(file->GetArchivePath(), "C:\\dist\\files.1");
    file->SetArchiveFileType(TPathSpecifiers::ddContainerDestDir);
    file->SetArchiveFile("\\pack\\files.1\\");
    EXPECT_EQ(file->GetArchivePath(), "C:\\App\\Data\\pack\\files.1");
    file->SetArchiveFileType(TPathSpecifiers::ddWindows);
    file->SetArchiveFile("\\arc.1");
    EXPECT_EQ(file->GetArchivePath(), "C:\\WINNT\\arc.1");
    root->SetSourceDirectory("D:\\CD\\");
    file->SetArchiveFileType(TPathSpecifiers::ddLoading);
    file->SetArchiveFile("\\files.1");
    EXPECT_EQ(file->GetArchivePath(), "D:\\CD\\files.1");

    // Refused settings keep the old value.
    EXPECT_EQ(Message([&] { file->SetArchiveFileType(TPathSpecifiers::ddObjectLink); }),
              "That path specifier is not allowed for the ArchiveFile property for F_a_dll");
    EXPECT_EQ(file->ArchiveFileType(), TPathSpecifiers::ddLoading);
    file->SetContainer(nullptr);
    EXPECT_EQ(file->ArchiveFileType(), TPathSpecifiers::ddAbsolute);
    EXPECT_EQ(Message([&] { file->SetArchiveFileType(TPathSpecifiers::ddContainerArchiveFile); }),
              "Cannot set the ArchiveFile property of F_a_dll because the Container property is Nil");
    EXPECT_EQ(Message([&] { file->SetArchiveFileType(TPathSpecifiers::ddContainerDestDir); }),
              "Cannot set the ArchiveFile property of F_a_dll because the Container property is Nil");

    // Values loaded from a description are expanded as they are, and fail there instead.
    file->BeginLoading();
    file->SetArchiveFileType(TPathSpecifiers::ddContainerArchiveFile);
    file->EndLoading();
    EXPECT_EQ(Message([&] { file->GetArchivePath(); }), "Cannot expand the ArchiveFile of F_a_dll because the Container is Nil");
    file->BeginLoading();
    file->SetArchiveFileType(TPathSpecifiers::ddContainerDestDir);
    file->EndLoading();
    EXPECT_EQ(Message([&] { file->GetArchivePath(); }), "Cannot expand the ArchiveFile property of F_a_dll because the Container is Nil");
    file->BeginLoading();
    file->SetArchiveFileType(TPathSpecifiers::ddMainInstallDir);
    file->EndLoading();
    EXPECT_EQ(Message([&] { file->GetArchivePath(); }), "That path specifier is not allowed for the ArchiveFile property for F_a_dll");
    auto* helper = new TStageRecorder(form);
    helper->SetName("Plain");
    file->BeginLoading();
    file->SetContainer(helper);
    file->SetArchiveFileType(TPathSpecifiers::ddContainerArchiveFile);
    file->EndLoading();
    EXPECT_EQ(Message([&] { file->GetArchivePath(); }), "Cannot expand the ArchiveFile of F_a_dll because the Container is not TFileRelated");

    root->Free();
    root = nullptr;
    auto* orphan = new TInstallFile(form);
    orphan->SetName("Orphan");
    EXPECT_EQ(Message([&] { orphan->SetArchiveFileType(TPathSpecifiers::ddLoading); }),
              "Cannot set the ArchiveFile property of Orphan because there is not TInstall");
    orphan->BeginLoading();
    orphan->SetArchiveFileType(TPathSpecifiers::ddLoading);
    orphan->EndLoading();
    EXPECT_EQ(Message([&] { orphan->GetArchivePath(); }), "Cannot expand the ArchiveFile property of Orphan because there is no TInstall");
}

TEST_F(FileContainerTest, Compress_OneArchiveForTheTreeNestedContainersFirstSettingsLentOnlyWhileRunning) {
    auto* group = Group("FileGroup1", root);
    auto* nested = Group("FileGroup2", group);
    File("c.txt", root, "root file");
    File("a.txt", group, "group file a");
    auto* b = File("b.txt", group, "group file b");
    File("d.txt", nested, "nested file");
    // With Force, a file naming another archive still goes into the root's.
    b->SetArchiveFileType(TPathSpecifiers::ddAbsolute);
    b->SetArchiveFile("C:\\elsewhere\\other.1");
    b->SetInclude(false);
    Put("C:\\dist\\files.1", "an old archive that must go");
    Recorder(root);
    std::vector<TlzhCommand> seen;
    b->OnBeforeCompress = TInstallFileNotifyEvent(nullptr, [&](TInstallFile* f) {
        seen.push_back(f->AddToArchive());
        EXPECT_EQ(f->GetArchivePath(), "C:\\dist\\files.1");
        EXPECT_TRUE(f->Include());
    });

    BuildArchive();

    EXPECT_EQ(StoredNames(SharedKembCompress(), "C:\\dist\\files.1"),
              (Lines{"C:\\src\\d.txt", "C:\\src\\a.txt", "C:\\src\\b.txt", "C:\\src\\c.txt"}));
    EXPECT_EQ(seen, (std::vector<TlzhCommand>{TlzhCommand::lzcOnlyAdd}));
    EXPECT_EQ(b->AddToArchive(), TlzhCommand::lzcOverwrite);
    EXPECT_EQ(b->ArchiveFileType(), TPathSpecifiers::ddAbsolute);
    EXPECT_EQ(b->ArchiveFile(), "C:\\elsewhere\\other.1");
    EXPECT_FALSE(b->Include());
    EXPECT_EQ(group->AddToArchive(), TlzhCommand::lzcOverwrite);
    EXPECT_EQ(root->State(), TFileContainerState::fcsNone);
    EXPECT_EQ(gHeard.back(), "DoneCopyingFiles Install1");
}

TEST_F(FileContainerTest, Compress_GivesSettingsBackAndEndsInNoneWhenAFileFails) {
    auto* group = Group("FileGroup1", root);
    auto* a = File("a.txt", group, "a");
    a->SetArchiveFileType(TPathSpecifiers::ddAbsolute);
    a->SetArchiveFile("C:\\own.1");
    // The source goes after the facts were read: the archive component cannot open it.
    a->OnBeforeCompress = TInstallFileNotifyEvent(nullptr, [&](TInstallFile*) { machine->DeleteFile("C:\\src\\a.txt"); });
    Recorder(group);
    EXPECT_THROW(root->CompressFiles(true), rt::Exception);
    EXPECT_EQ(a->ArchiveFileType(), TPathSpecifiers::ddAbsolute);
    EXPECT_EQ(a->ArchiveFile(), "C:\\own.1");
    EXPECT_EQ(a->AddToArchive(), TlzhCommand::lzcOverwrite);
    EXPECT_EQ(group->State(), TFileContainerState::fcsNone);
    EXPECT_EQ(root->State(), TFileContainerState::fcsNone);
    EXPECT_EQ(gHeard, (Lines{"DoneCopyingFiles FileGroup1"}));
}

TEST_F(FileContainerTest, Compress_WithoutForceBeginsAMembersOwnArchiveAfresh) {
    auto* group = Group("FileGroup1", root);
    group->SetArchiveFileType(TPathSpecifiers::ddAbsolute);
    group->SetArchiveFile("C:\\dist\\group.1");
    File("a.txt", group, "first a");
    auto* b = File("b.txt", group, "b");
    // A file of the group that goes into the root's archive, which the group must not begin.
    b->SetArchiveFileType(TPathSpecifiers::ddAbsolute);
    b->SetArchiveFile("C:\\dist\\files.1");
    File("c.txt", root, "c");
    root->CompressFiles(false);
    Put("C:\\src\\a.txt", "second a");
    root->CompressFiles(false);
    EXPECT_EQ(StoredNames(SharedKembCompress(), "C:\\dist\\group.1"), (Lines{"C:\\src\\a.txt"}));
    EXPECT_EQ(StoredNames(SharedKembCompress(), "C:\\dist\\files.1"), (Lines{"C:\\src\\b.txt", "C:\\src\\c.txt"}));
    SharedKembCompress().SetCompressedFile("C:\\dist\\group.1");
    SharedKembCompress().ReadHeaders();
    EXPECT_EQ(SharedKembCompress().FileHeaders().Items(0)->FileSize, 8);
}

TEST_F(FileContainerTest, ExcludedContainer_DoesNothingButStillClosesItsOperation) {
    auto* group = Group("FileGroup1", root, "\\G");
    File("a.txt", group, "a");
    group->SetInclude(false);
    Recorder(group);
    int before = 0;
    group->OnBeforeProcess = TInstallContainerNotifyEvent(nullptr, [&](TInstallContainer*) { ++before; });
    group->SetState(TFileContainerState::fcsCopy);
    group->SetState(TFileContainerState::fcsCompress);
    EXPECT_EQ(before, 2);
    EXPECT_FALSE(machine->FileExists("C:\\App\\G\\a.txt"));
    EXPECT_FALSE(machine->FileExists("C:\\dist\\files.1"));
    EXPECT_EQ(gHeard, (Lines{"DoneCopyingFiles FileGroup1", "DoneCopyingFiles FileGroup1"}));
    EXPECT_EQ(group->State(), TFileContainerState::fcsNone);
}

TEST_F(FileContainerTest, Install_ExtractsTheTreeAndTheRootSeesTheWholeRunsProgress) {
    auto* group = Group("FileGroup1", root, "\\Bin");
    auto* nested = Group("FileGroup2", group, "\\Sub");
    File("a.txt", group, std::string(1000, 'a'));
    File("b.txt", nested, std::string(3000, 'b'));
    BuildArchive();
    Recorder(group);
    std::vector<int> rootTotals;
    root->OnStatus = TInstallFileStatusEvent(nullptr, [&](TInstallFile*, int, int total) { rootTotals.push_back(total); });
    TFileContainerState during = TFileContainerState::fcsNone;
    group->OnShowCopyFileDlg = TInstallContainerNotifyEvent(nullptr, [&](TInstallContainer*) { during = group->State(); });

    root->SetState(TFileContainerState::fcsInstall);

    EXPECT_EQ(Get("C:\\App\\Bin\\a.txt"), std::string(1000, 'a'));
    EXPECT_EQ(Get("C:\\App\\Bin\\Sub\\b.txt"), std::string(3000, 'b'));
    EXPECT_EQ(during, TFileContainerState::fcsInstall);
    EXPECT_EQ(root->State(), TFileContainerState::fcsNone);
    ASSERT_FALSE(rootTotals.empty());
    EXPECT_EQ(rootTotals.back(), 100);
    // The group's own dialogs hear the stages of its operation; it closes with the copy page.
    EXPECT_EQ(gHeard.front(), "eccBeforeProcess FileGroup1");
    EXPECT_NE(std::find(gHeard.begin(), gHeard.end(), "eccBeforeInstallFileGroup FileGroup1"), gHeard.end());
    EXPECT_EQ(gHeard.back(), "eccAfterProcess FileGroup1");
    EXPECT_TRUE(SharedKembCompress().Abort());
}

TEST_F(FileContainerTest, Progress_EachLevelWritesItsOwnTotalsAndTiesGoToTheEvenNeighbour) {
    auto* group = Group("FileGroup1", root, "\\Bin");
    auto* first = File("first.bin", group, std::string(1000, '1'));
    File("second.bin", group, std::string(3000, '2'));
    BuildArchive();
    std::vector<int> groupTotals, rootTotals;
    group->OnStatus = TInstallFileStatusEvent(nullptr, [&](TInstallFile*, int, int total) { groupTotals.push_back(total); });
    root->OnStatus = TInstallFileStatusEvent(nullptr, [&](TInstallFile*, int, int total) { rootTotals.push_back(total); });
    std::vector<std::int32_t> seen;
    group->OnShowCopyFileDlg = TInstallContainerNotifyEvent(nullptr, [&](TInstallContainer*) {
        TFileStatusParameter done;
        done.FileBytesDone = 1000;
        done.FileStats.FileFinished = 1;
        done.FileStats.StoredSize = 1000;
        rt::TList finished{first, &done};
        group->DoInformationEventControl(first, "EIEINSTALLINGFILE", &finished);
        TFileStatusParameter half;
        half.FileBytesDone = 1500;
        rt::TList midway{first, &half};
        group->DoInformationEventControl(first, "eieInstallingFile", &midway);
        seen = {done.TotalBytesDone, half.TotalBytesDone, half.TotalPercentDone};
        rt::Abort();
    });
    group->SetState(TFileContainerState::fcsInstall);
    // 2500 of 4000 is 62.5: the tie goes to the even neighbour.
    EXPECT_EQ(seen, (std::vector<std::int32_t>{1000, 2500, 62}));
    EXPECT_EQ(groupTotals, (std::vector<int>{25, 62}));
    // The root is not running an operation: it neither counts nor passes anything on.
    EXPECT_TRUE(rootTotals.empty());
    EXPECT_EQ(group->State(), TFileContainerState::fcsNone);

    // Through the root, each level overwrites the totals with its own.
    auto* other = Group("FileGroup2", root, "\\Other");
    File("third.bin", other, std::string(4000, '3'));
    BuildArchive();
    group->OnShowCopyFileDlg.Clear();
    std::vector<std::pair<int, int>> levels;
    group->OnStatus = TInstallFileStatusEvent(nullptr, [&](TInstallFile*, int, int total) { levels.push_back({1, total}); });
    root->OnStatus = TInstallFileStatusEvent(nullptr, [&](TInstallFile*, int, int total) { levels.push_back({0, total}); });
    root->ProcessHelpers();
    ASSERT_GE(levels.size(), 2u);
    // The last file of the group ends it at 100 there, while the root has half the run done.
    const auto lastOfGroup = std::find(levels.rbegin(), levels.rend(), std::pair<int, int>{1, 100});
    ASSERT_NE(lastOfGroup, levels.rend());
    const auto rootThen = lastOfGroup.base();
    ASSERT_NE(rootThen, levels.end());
    EXPECT_EQ(*rootThen, (std::pair<int, int>{0, 50}));
    EXPECT_EQ(levels.back(), (std::pair<int, int>{0, 100}));
}

TEST_F(FileContainerTest, Sums_LeaveOutWhatIsNotSelectedUnlessAllAndPassTwoGigabytes) {
    auto* group = Group("FileGroup1", root);
    auto* nested = Group("FileGroup2", group);
    File("a.bin", group, std::string(100, 'a'));
    auto* excluded = File("b.bin", group, std::string(20, 'b'));
    auto* otherType = File("c.bin", group, std::string(3, 'c'));
    File("d.bin", nested, std::string(4000, 'd'));
    group->ReadSourceInfo();
    EXPECT_EQ(group->FileBytes(false), 4123);
    excluded->SetInclude(false);
    otherType->SetInstallTypes({TInstallType::itFull});
    otherType->SetSelectedInstallType(TInstallType::itCompact);
    EXPECT_EQ(group->FileBytes(false), 4100);
    EXPECT_EQ(group->FileBytes(true), 4123);
    nested->SetInstallTypes({TInstallType::itCustom});
    nested->SetSelectedInstallType(TInstallType::itDefault);
    EXPECT_EQ(group->FileBytes(false), 100);
    // Selected as the chosen type, or meant for every type.
    otherType->SetSelectedInstallType(TInstallType::itFull);
    EXPECT_EQ(group->FileBytes(false), 103);
    otherType->SetInstallTypes({TInstallType::itAlways});
    otherType->SetSelectedInstallType(TInstallType::itCompact);
    EXPECT_EQ(group->FileBytes(false), 103);

    // Two files whose headers claim 2,000,000,000 bytes each, spread over volumes as such
    // files would be: the sum must not wrap.
    BuildArchive();
    auto patch = [&](const std::string& archive, int index, std::int32_t size) {
        TKembCompress& kc = SharedKembCompress();
        kc.SetCompressedFile(archive);
        kc.ReadHeaders();
        const std::int64_t at = kc.FileHeaders().Items(index)->Offset;
        auto f = machine->OpenFile(archive, os::OpenMode::ReadWrite, os::Disposition::OpenExisting, os::Share::None);
        for (std::int64_t field : {128, 136}) {
            f->Seek(at + field, os::SeekOrigin::Begin);
            f->Write(&size, 4);
        }
        const std::uint8_t firstVolume = 1, lastVolume = 2;
        f->Seek(at + 140, os::SeekOrigin::Begin);
        f->Write(&firstVolume, 1);
        f->Seek(at + 12, os::SeekOrigin::Begin);
        f->Write(&lastVolume, 1);
        kc.SetCompressedFile("");
    };
    patch("C:\\dist\\files.1", 0, 2'000'000'000);
    patch("C:\\dist\\files.1", 1, 2'000'000'000);
    group->ReadArchiveInfo();
    EXPECT_EQ(group->StoredBytes(true), 4'000'000'023);

    // Progress past 2 GB: the percentage from the full sums, the 32-bit field saturated.
    std::vector<std::int32_t> seen;
    auto* d = nested->FindFile("C:\\src\\d.bin");
    nested->SetInstallTypes({TInstallType::itAlways});
    group->OnShowCopyFileDlg = TInstallContainerNotifyEvent(nullptr, [&](TInstallContainer*) {
        TFileStatusParameter done;
        done.FileStats.FileFinished = 1;
        done.FileStats.StoredSize = 2'000'000'000;
        rt::TList one{d, &done};
        group->DoInformationEventControl(d, "eieInstallingFile", &one);
        TFileStatusParameter next;
        next.FileBytesDone = 1'000'000'000;
        rt::TList two{d, &next};
        group->DoInformationEventControl(d, "eieInstallingFile", &two);
        seen = {next.TotalBytesDone, next.TotalPercentDone};
        rt::Abort();
    });
    group->SetState(TFileContainerState::fcsInstall);
    EXPECT_EQ(group->TotalBytes(), 4'000'000'003);
    EXPECT_EQ(seen, (std::vector<std::int32_t>{std::numeric_limits<std::int32_t>::max(), 75}));
}

TEST_F(FileContainerTest, FindFile_MatchesSourcePathsWithoutRegardToCaseAmongDirectMembersOnly) {
    auto* group = Group("FileGroup1", root);
    auto* nested = Group("FileGroup2", group);
    Put("C:\\Setup Files\\DAO\\x.dll", "x");
    auto* x = new TInstallFile(form);
    x->SetName("X");
    x->SetIncludeFromDir("c:\\setup files\\dao");
    x->SetFileName("x.dll");
    x->SetContainer(group);
    File("deep.dll", nested, "d");
    EXPECT_EQ(group->FindFile("C:\\Setup Files\\DAO\\X.DLL"), x);
    EXPECT_EQ(group->FindFile("C:\\Setup Files\\DAO\\y.dll"), nullptr);
    EXPECT_EQ(group->FindFile("C:\\src\\deep.dll"), nullptr);
}

TEST_F(FileContainerTest, Notices_AreCheckedIgnoredBetweenOperationsAndPassedUp) {
    auto* group = Group("FileGroup1", root);
    auto* a = File("a.txt", group, "a");
    BuildArchive();
    TFileStatusParameter status;
    rt::TList good{a, &status};
    int runs = 0;
    std::vector<std::string> failures;
    std::vector<std::string> replaced, disks;
    root->OnReplacing = TInstallFileNotifyEvent(nullptr, [&](TInstallFile* f) { replaced.push_back("root " + f->Name()); });
    group->OnReplacing = TInstallFileNotifyEvent(nullptr, [&](TInstallFile* f) { replaced.push_back("group " + f->Name()); });
    group->OnNewDisk = TInstallFileNewDiskEvent(nullptr, [&](TInstallFile*, int disk, std::string& path) {
        disks.push_back(std::to_string(disk) + " " + path);
        path = "E:\\";
    });

    // Between operations: nothing is counted, nothing goes up, nothing is checked.
    group->DoInformationEventControl(a, "eieReplaceInstallFile", a);
    group->DoInformationEventControl(a, "eieInstallingFile", nullptr);
    EXPECT_TRUE(replaced.empty());

    group->OnShowCopyFileDlg = TInstallContainerNotifyEvent(nullptr, [&](TInstallContainer*) {
        if (runs++ > 0) return;
        rt::TList shortList{a};
        rt::TList wrongFirst{&status, &status};
        TDiskParameter disk;
        rt::TList wrongSecond{a, &disk};
        const std::vector<std::pair<std::string, rt::TObject*>> cases{
            {"eieInstallingFile", nullptr}, {"eieCopyingFile", &status}, {"eieCompressingFile", &shortList},
            {"eieInstallingFile", &wrongFirst}, {"eieInstallingFile", &wrongSecond}, {"eieChangeDisk", &good},
            {"eieReplaceInstallFile", nullptr}, {"eieReplaceInstallFile", &status}};
        for (const auto& [name, parameter] : cases)
            failures.push_back(Message([&] { group->DoInformationEventControl(a, name, parameter); }));
        group->DoInformationEventControl(a, "eieReplaceInstallFile", a);
        disk.NewDisk = 2;
        disk.Path = "D:";
        rt::TList diskList{a, &disk};
        a->SetTag(0);
        group->DoInformationEventControl(a, "EIECHANGEDISK", &diskList);
        disks.push_back("answered " + disk.Path + " tag " + std::to_string(a->Tag()));
        group->DoInformationEventControl(a, "eieSomethingElse", nullptr);
        rt::Abort();
    });
    Recorder(group);
    // The root runs too, so what the group passes up is acted on there as well.
    root->OnShowCopyFileDlg = TInstallContainerNotifyEvent(nullptr, [&](TInstallContainer*) { group->SetState(TFileContainerState::fcsInstall); });
    root->ProcessHelpers();

    EXPECT_EQ(failures, (Lines{"The ParameterObject is Nil in the DoInformationEventControl method of the TInstallFileGroup",
                               "DoInformationEventControl--PO is not a TList object",
                               "DoInformationEventControl--Not engouh parameters for status event",
                               "DoInformationEventControl says bad first parameter",
                               "DoInformationEventControl says bad second parameter",
                               "DoInformationEventControl says bad second parameter",
                               "The ParameterObject is Nil in the DoInformationEventControl method of the TFileContainer",
                               "DoInformationEventControl parameter is not TInstallFile"}));
    EXPECT_EQ(replaced, (Lines{"group F_a_txt", "root F_a_txt"}));
    EXPECT_EQ(disks, (Lines{"2 D:", "answered E:\\ tag 1"}));
    EXPECT_NE(std::find(gHeard.begin(), gHeard.end(), "ReplacingFile FileGroup1"), gHeard.end());
    EXPECT_NE(std::find(gHeard.begin(), gHeard.end(), "ChangeDisk FileGroup1"), gHeard.end());
}

TEST_F(FileContainerTest, Copy_TakesFilesBeforeNestedContainersWithoutTheArchive) {
    auto* group = Group("FileGroup1", root, "\\Copy");
    auto* nested = Group("FileGroup2", group, "\\Deep");
    File("a.txt", group, "copied a");
    File("b.txt", nested, "copied b");
    std::vector<std::string> order;
    for (TInstallContainer* c : {static_cast<TInstallContainer*>(group->Comp(0, TInstallFile::StaticClass())),
                                 static_cast<TInstallContainer*>(nested->Comp(0, TInstallFile::StaticClass()))})
        static_cast<TInstallFile*>(c)->OnBeforeCopy =
            TInstallFileNotifyEvent(nullptr, [&](TInstallFile* f) { order.push_back(f->FileName()); });
    std::vector<int> totals;
    group->OnStatus = TInstallFileStatusEvent(nullptr, [&](TInstallFile*, int, int total) { totals.push_back(total); });
    group->SetState(TFileContainerState::fcsCopy);
    EXPECT_EQ(order, (Lines{"a.txt", "b.txt"}));
    EXPECT_EQ(Get("C:\\App\\Copy\\a.txt"), "copied a");
    EXPECT_EQ(Get("C:\\App\\Copy\\Deep\\b.txt"), "copied b");
    EXPECT_FALSE(machine->FileExists("C:\\dist\\files.1"));
    ASSERT_FALSE(totals.empty());
    // The nested container's progress reaches the group too, which counts it in its own sum.
    EXPECT_EQ(totals.back(), 100);
}

TEST_F(FileContainerTest, Designer_PutsNewGroupsAndFilesIntoTheRootReadyToBeProcessed) {
    EXPECT_EQ(Group("Loose", nullptr)->GroupName(), "Unnamed File Group");
    // A designer puts new helpers into the root at once; the new group counts itself.
    auto* designer = new rt::TForm(nullptr);
    designer->SetDesigning(true);
    auto* first = new TInstallFileGroup(designer);
    auto* second = new TInstallFileGroup(designer);
    auto* file = new TInstallFile(designer);
    EXPECT_EQ(first->Container(), root);
    EXPECT_EQ(first->GroupName(), "Group #1");
    EXPECT_EQ(second->GroupName(), "Group #2");
    // Joined with their own order numbers and the root's archive, as if set by hand.
    EXPECT_EQ(root->InstallOrder()->ToVector(), (Lines{rt::IntToStr(kOrderFileGroup), rt::IntToStr(kOrderFile)}));
    for (TFileRelated* member : std::initializer_list<TFileRelated*>{first, second, file})
        EXPECT_EQ(member->ArchiveFileType(), TPathSpecifiers::ddContainerArchiveFile);
    designer->Free();
}

TEST_F(FileContainerTest, RemoveMissingFiles_DropsMembersWhoseSourceIsGone) {
    auto* group = Group("FileGroup1", root);
    File("keep.txt", group, "k");
    File("gone.txt", group, "g");
    File("also.txt", group, "a");
    machine->DeleteFile("C:\\src\\gone.txt");
    machine->DeleteFile("C:\\src\\also.txt");
    group->RemoveMissingFiles();
    ASSERT_EQ(group->HelperCount(), 1);
    EXPECT_EQ(static_cast<TInstallFile*>(group->Helpers(0))->FileName(), "keep.txt");
    EXPECT_EQ(FindInstallComponent("F_gone_txt"), nullptr);
    EXPECT_EQ(FindInstallComponent("F_also_txt"), nullptr);
}
