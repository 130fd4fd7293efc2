// The wizard's test bench: the product's own install description packed with "*BUILD" on a
// simulated machine, and its distribution's setup started headless, every modal form
// answered by its class's handler as a user would answer it (keys, typing, clicks).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/Main.h"
#include "app/StringTable.h"
#include "engine/SetupState.h"
#include "engine/routines_Registry.h"
#include "runtime/ExtCtrls.h"
#include "runtime/Resources.h"
#include "runtime/StdCtrls.h"
#include "runtime/SysUtils.h"
#include "runtime/headless/HeadlessBackend.h"
#include "tests/common/SimMachine.h"
#include "ui/Button3D.h"
#include "ui/MsgDialog.h"

void BrevRegisterEmbeddedResources();

namespace wizard_kit {

using namespace rt;

inline const std::string kProductKey = "\\SOFTWARE\\Halvernock\\Brevanshaw\\1.0";

class WizardTest : public ::testing::Test {
protected:
    void SetUp() override {
        BrevRegisterEmbeddedResources();
        SetBackend(&backend);
        SetupState() = TSetupState{};
        backend.SetScreenSize(1024, 768);
        PackTheProduct();
    }
    void TearDown() override {
        SetupState() = TSetupState{};
        SetMsgDlgLanguage(0);
        SetBackend(nullptr);
    }

    // The developer's machine: every file the description takes, then "*BUILD".
    void PackTheProduct() {
        std::string from, file;
        for (const std::string& line : SplitLines(FindResource("MainSetupDlg.dfm"))) {
            const std::string t = Trim(line);
            auto value = [&t] { return t.substr(t.find('\'') + 1, t.rfind('\'') - t.find('\'') - 1); };
            if (t.rfind("IncludeFromDir = ", 0) == 0) from = value();
            else if (t.rfind("FileName = ", 0) == 0) file = value();
            else if (t == "end" && !file.empty()) {
                Put(from + "\\" + file, ProductFile(file));
                file.clear();
            }
        }
        // The default applications' source tree, which build mode ships beside setup.exe.
        for (const char* app : {"GFO", "GIO"}) {
            const std::string tree = std::string("C:\\BrevBuild\\APPS\\DEFAULT\\") + app;
            for (int n = 0; n < 5; ++n) Put(tree + "\\" + IntToStr(n) + "\\KAL1.MDB", std::string(app) + " database " + IntToStr(n));
            Put(tree + "\\Data\\Fields.dat", std::string(app) + " fields");
            Put(tree + "\\Data\\Images\\00000000.txt", std::string(app) + " picture");
        }
        Put("C:\\BrevBuild\\setup.exe", "MZ setup");
        Put("C:\\BrevBuild\\BUILD.INF", "C:\\BrevDist\\\r\n");
        machine->SetModuleFileName("C:\\BrevBuild\\setup.exe");
        machine->SetCommandLineArgs({"*BUILD"});
        // Build mode ends its program: its screen is not the installation's.
        THeadlessBackend buildScreen;
        SetBackend(&buildScreen);
        ASSERT_EQ(SetupMain(), 0);
        SetBackend(&backend);
        ASSERT_TRUE(machine->FileExists("C:\\BrevDist\\files.1"));
        machine->SetModuleFileName("C:\\BrevDist\\setup.exe");
        machine->SetCommandLineArgs({});
    }
    // What a product file holds here: the catalogues as the application page reads them,
    // anything else a line naming it.
    static std::string ProductFile(const std::string& name) {
        if (!(name.size() == 9 && StartsWithText(name, "apps"))) return "the product's " + name;
        return "[Tabs]\r\nNumOfTabs=2\r\nTab1=Home\r\nTab2=Business\r\n[Tab1]\r\nNumOfApps=2\r\nApp1Name=Photo album\r\n"
               "App2Name=Recipes\r\n[Tab2]\r\nNumOfApps=1\r\nApp1Name=Customers\r\n";
    }
    static bool StartsWithText(const std::string& s, const std::string& prefix) {
        return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
    }
    void Put(const std::string& path, const std::string& content) {
        std::string dir = ExtractFilePath(path);
        for (std::size_t i = 3; i <= dir.size(); ++i)
            if (i == dir.size() || dir[i] == '\\') machine->CreateDirectory(dir.substr(0, i));
        auto f = machine->OpenFile(path, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::None);
        ASSERT_TRUE(f) << path;
        f->Write(content.data(), content.size());
    }
    std::string Product(const std::string& name) {
        return ReadRegistryString(TRootKeys::hkLocalMachine, kProductKey, name, "<none>");
    }
    // A shortcut file of the given name anywhere on drive C.
    bool LinkExists(const std::string& fileName) {
        for (const auto& e : std::filesystem::recursive_directory_iterator(machine->HostPath("C:\\")))
            if (SameText(e.path().filename().string(), fileName)) return true;
        return false;
    }

    // Runs the distribution's setup; each modal form is answered by its class's handler (and
    // noted), any other ends as cancelled. The run's exit code must be the one expected.
    void Install(int expectedExit = kExitSuccess) {
        backend.ModalScript = [this](TCustomForm& form) {
            Shown.push_back(form.ClassName());
            auto it = Answers.find(form.ClassName());
            return it == Answers.end() ? mrCancel : it->second(form);
        };
        backend.OnIdle = [this] { backend.PostQuit(); };
        EXPECT_EQ(SetupMain(), expectedExit);
    }
    template <class C>
    static C& Part(TCustomForm& form, const std::string& name) {
        auto* c = dynamic_cast<C*>(form.FindComponent(name));
        if (!c) throw Exception("no " + name + " on " + form.ClassName());
        return *c;
    }
    void Press(TCustomForm& form, std::uint16_t key) {
        backend.SendKey(form.ActiveControl() ? *form.ActiveControl() : static_cast<TWinControl&>(form), key);
    }
    // The language choice answered: the item of lang clicked, then the space bar.
    void ChooseLanguage(int lang) {
        Answers["TSelectLangDlg"] = [this, lang](TCustomForm& f) {
            backend.ClickItem(Part<TRadioGroup>(f, "RadioGroup1"), lang);
            Press(f, vkSpace);
            return mrNone;
        };
    }
    // Every page of a plain installation answered in language lang: Enter wherever the
    // defaults do, a name and organisation typed, the last page closed.
    void AnswerEveryPage(int lang) {
        ChooseLanguage(lang);
        const std::string twin = lang == 1 ? "THeb" : "T";
        for (std::string page : {twin + "dlgWelcome", twin + "dlgLicense", twin + "dlgFG", twin + "dlgSF", twin + "dlgGI",
                                 twin + "dlgBI", std::string("TfrmSelectBrevanshawApplication")})
            Answers[page] = [this](TCustomForm& f) {
                Press(f, vkReturn);
                return mrNone;
            };
        // Without the add-on: no restart, the good installation page.
        Answers["TfrmInstallDll"] = [this](TCustomForm& f) {
            backend.ClickControl(Part<TRadioButton>(f, "optDontInstall"));
            Press(f, vkReturn);
            return mrNone;
        };
        Answers["TfrmUserInformation"] = [this](TCustomForm& f) {
            Part<TEdit>(f, "HebEdit1").SetText("Dana");
            Part<TEdit>(f, "HebEdit2").SetText("Halvernock QA");
            Press(f, vkReturn);
            return mrNone;
        };
    }

    SimMachine machine;
    THeadlessBackend backend;
    std::map<std::string, std::function<TModalResult(TCustomForm&)>> Answers;
    std::vector<std::string> Shown;
};

}  // namespace wizard_kit

using wizard_kit::kProductKey;
using wizard_kit::WizardTest;
