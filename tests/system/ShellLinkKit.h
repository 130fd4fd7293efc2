// A product tree on a simulated machine for the shortcut tests: the root installs into
// C:\Brevanshaw, with a file group holding the main program and the uninstaller.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "engine/cmp_TInstall.h"
#include "engine/cmp_TInstallFile.h"
#include "engine/cmp_TInstallFileGroup.h"
#include "engine/routines_ExpandPaths.h"
#include "platform/sim/ShellLinkFile.h"
#include "runtime/Forms.h"
#include "runtime/Registry.h"
#include "system/cmp_TInstallShellLink.h"
#include "system/cmp_TProgramManager.h"
#include "system/cmp_TUninstallEXE.h"
#include "tests/common/ProductRoot.h"
#include "tests/common/SimMachine.h"

// A dialog helper that writes down the stages its container announces.
class TStageRecorder : public TBaseHelperComponent {
    RT_CLASS(TStageRecorder, TBaseHelperComponent)
public:
    explicit TStageRecorder(rt::TComponent* owner) : TBaseHelperComponent(owner) { SetOrderNumber(kOrderDialog); }
    void DoStage(TInstallContainer*, const std::string& stage, rt::TObject*) override { Stages.push_back(stage); }
    std::vector<std::string> Stages;
};

inline const rt::TClassInfo& TStageRecorder::StaticClass() {
    static const rt::TClassInfo info{"TStageRecorder", &TBaseHelperComponent::StaticClass(), {}, {}, {}};
    return info;
}

class ShellLinkTestBase : public ::testing::Test {
protected:
    static constexpr const char* kU = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Brevanshaw";

    void SetUp() override {
        InitEngineDirectories();
        form = new rt::TForm(nullptr);
        root = NewProductRoot(form, "Brevanshaw", "C:\\Brevanshaw");
        group = new TInstallFileGroup(form);
        group->SetName("FileGroup2");
        group->SetGroupName("Brevanshaw_FILES");
        group->SetContainer(root);
        program = File("File1", "Brevanshaw.exe");
        uninstaller = new TUninstallEXE(form);
        uninstaller->SetName("UninstallEXE1");
        uninstaller->SetDestName("Uninstall.exe");
        uninstaller->SetContainer(root);
    }
    void TearDown() override {
        ReleaseProgramManager();
        form->Free();
        DoneEngineDirectories();
    }

    TInstallFile* File(const std::string& name, const std::string& destName) {
        auto* f = new TInstallFile(form);
        f->SetName(name);
        f->SetFileName(destName);  // two nameless files of one group would be duplicates
        f->SetDestName(destName);
        f->SetContainer(group);
        return f;
    }
    TShellLinkGroup* Folder(const std::string& name, TShellGroupKind kind = TShellGroupKind::gkCustom) {
        auto* g = new TShellLinkGroup(form);
        g->SetName(name);
        g->SetContainer(root);
        if (kind != TShellGroupKind::gkCustom) g->SetGroupKind(kind);
        return g;
    }
    TInstallShellLink* Link(const std::string& name, TInstallContainer* container, TInstallContainer* target = nullptr) {
        auto* l = new TInstallShellLink(form);
        l->SetName(name);
        if (container) l->SetContainer(container);
        if (target) l->SetObjectLink(target);
        return l;
    }
    // The shortcut file as the machine holds it, read back; empty when it is not a link.
    std::optional<os::ShellLinkData> ReadLink(const std::string& path) {
        auto file = machine->OpenFile(path, os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::Read);
        if (!file) return std::nullopt;
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file->Size()));
        file->Read(bytes.data(), bytes.size());
        return os::ReadShellLinkFile(bytes);
    }
    std::string Read(const std::string& key, const std::string& name) {
        rt::TRegistry reg(os::RootKey::LocalMachine);
        if (!reg.OpenKeyReadOnly(key) || !reg.ValueExists(name)) return "<none>";
        return reg.ReadString(name);
    }
    void Write(const std::string& key, const std::string& name, const std::string& value) {
        rt::TRegistry reg(os::RootKey::LocalMachine);
        ASSERT_TRUE(reg.OpenKey(key, true));
        reg.WriteString(name, value);
    }
    // The message of what f raises, or "<no exception>".
    template <class F>
    static std::string MessageOf(F f) {
        try {
            f();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "<no exception>";
    }

    SimMachine machine;
    rt::TForm* form = nullptr;
    TInstall* root = nullptr;
    TInstallFileGroup* group = nullptr;
    TInstallFile* program = nullptr;
    TUninstallEXE* uninstaller = nullptr;
};
