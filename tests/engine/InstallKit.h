// The install tests' fixture: a simulated machine with an install root on a form, source
// files with known content, archives built through the engine itself, and readers for what
// an installation leaves behind (files, registry values, the stages dialogs heard).
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "archive/BlockIO.h"
#include "archive/cmp_TKembCompress.h"
#include "engine/SetupState.h"
#include "engine/cmp_TInstall.h"
#include "engine/cmp_TInstallFile.h"
#include "engine/cmp_TInstallFileGroup.h"
#include "engine/routines_ExpandPaths.h"
#include "engine/routines_Registry.h"
#include "runtime/Forms.h"
#include "runtime/Registry.h"
#include "tests/common/SimMachine.h"

extern std::vector<std::string> gHeard;

// The message of the framework exception an action raises, or "<no exception>".
inline std::string Message(const std::function<void()>& action) {
    try {
        action();
    } catch (const rt::Exception& e) {
        return e.Message();
    }
    return "<no exception>";
}

// A dialog helper that notes every stage it hears: "stage sender".
class TStageRecorder : public TBaseHelperComponent {
    RT_CLASS(TStageRecorder, TBaseHelperComponent)
public:
    explicit TStageRecorder(rt::TComponent* owner) : TBaseHelperComponent(owner) { SetOrderNumber(kOrderDialog); }
    void DoStage(TInstallContainer* sender, const std::string& stage, rt::TObject*) override {
        gHeard.push_back(stage + " " + sender->Name());
    }
};

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        gHeard.clear();
        SetupState().RebootNeeded = false;
        SetupState().UserCancelled = false;
        DoneEngineDirectories();
        // The shared archive component outlives machines; it must not trust headers read
        // from another test's archive of the same name.
        SharedKembCompress().SetCompressedFile("");
        // The loader's parameter: where the installation sources are.
        machine->SetCommandLineArgs({"C:\\dist"});
        form = new rt::TForm(nullptr);
        root = new TInstall(form);
        root->SetName("Install1");
        root->Information()->SetProductName("Brevanshaw");
        root->SetDestDirType(TPathSpecifiers::ddAbsolute);
        root->SetDestDir("C:\\App");
        root->SetArchiveFileType(TPathSpecifiers::ddAbsolute);
        root->SetArchiveFile("C:\\dist\\files.1");
    }
    void TearDown() override {
        SetupState().UserCancelled = false;
        form->Free();
        DoneEngineDirectories();
        SharedKembCompress().SetCompressedFile("");
    }

    // Switches the machine to another Windows and forgets the directories read so far.
    void Become(os::SimWindowsKind kind) {
        machine->Format(kind);
        DoneEngineDirectories();
    }

    void Put(const std::string& path, const std::string& content) {
        ForceDirectories(*machine, rt::ExtractFilePath(path));
        auto file = machine->OpenFile(path, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::None);
        ASSERT_TRUE(file) << path;
        ASSERT_EQ(file->Write(content.data(), content.size()), static_cast<std::int64_t>(content.size()));
    }
    void PutBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) { Put(path, std::string(bytes.begin(), bytes.end())); }
    std::string Get(const std::string& path) { return ReadWholeFile(*machine, path); }

    TInstallFileGroup* Group(const std::string& name, TInstallContainer* container, const std::string& destDir = "") {
        auto* g = new TInstallFileGroup(form);
        g->SetName(name);
        g->SetContainer(container);
        g->SetDestDir(destDir);
        return g;
    }
    // A file whose source C:\src\<name> holds content; installed into its container's folder.
    TInstallFile* File(const std::string& name, TInstallContainer* container, const std::string& content) {
        Put("C:\\src\\" + name, content);
        auto* f = new TInstallFile(form);
        f->SetName(ComponentName(name));
        f->SetIncludeFromDir("C:\\src");
        f->SetFileName(name);
        f->SetContainer(container);
        return f;
    }
    TStageRecorder* Recorder(TInstallContainer* container) {
        auto* r = new TStageRecorder(form);
        r->SetContainer(container);
        return r;
    }
    // Packs the whole tree into the root's archive, as build mode does.
    void BuildArchive() { root->CompressFiles(true); }

    std::string RegString(const std::string& key, const std::string& name) {
        return ReadRegistryString(TRootKeys::hkLocalMachine, key, name, "<none>");
    }
    std::int64_t RegDWord(const std::string& key, const std::string& name) {
        rt::TRegistry reg(os::RootKey::LocalMachine);
        if (!reg.OpenKeyReadOnly(key) || !reg.ValueExists(name)) return -1;
        return reg.ReadInteger(name);
    }
    void SetRegDWord(const std::string& key, const std::string& name, std::int32_t value) {
        WriteRegistryInteger(TRootKeys::hkLocalMachine, key, name, value);
    }
    std::string UninstallKey() const { return kUninstallKeyPrefix + "Brevanshaw"; }

    SimMachine machine;
    rt::TForm* form = nullptr;
    TInstall* root = nullptr;

private:
    static std::string ComponentName(const std::string& fileName) {
        std::string name = "F_";
        for (char c : fileName) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    }
};
