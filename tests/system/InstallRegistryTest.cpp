// Registry entries: key forms, setter rules, the install step and the uninstall record,
// and the shared single-value functions, against a simulated machine.
#include <gtest/gtest.h>

#include "engine/cmp_TInstall.h"
#include "engine/routines_ExpandPaths.h"
#include "engine/routines_Registry.h"
#include "runtime/Forms.h"
#include "runtime/Registry.h"
#include "system/cmp_TInstallRegistry.h"
#include "tests/common/ProductRoot.h"
#include "tests/common/SimMachine.h"

namespace {

const std::string kU = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Brevanshaw";

class InstallRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitEngineDirectories();
        form = new rt::TForm(nullptr);
        root = NewProductRoot(form, "Brevanshaw", "C:\\Brevanshaw");
    }
    void TearDown() override {
        form->Free();
        DoneEngineDirectories();
    }
    TInstallRegistry* Make(const std::string& name, const std::string& key, std::initializer_list<std::string> entries = {}) {
        auto* r = new TInstallRegistry(form);
        r->SetName(name);
        r->SetContainer(root);
        r->SetKey(key);
        rt::TStringList lines(entries);
        r->SetEntries(lines);
        return r;
    }
    // The value as an independent reader sees it; "<none>" when absent.
    std::string Read(os::RootKey rootKey, const std::string& key, const std::string& name) {
        rt::TRegistry reg(rootKey);
        if (!reg.OpenKeyReadOnly(key) || !reg.ValueExists(name)) return "<none>";
        if (reg.GetDataType(name) == os::ValueType::DWord) return "dword:" + rt::IntToStr(reg.ReadInteger(name));
        return reg.ReadString(name);
    }
    std::vector<std::string> ValueNames(os::RootKey rootKey, const std::string& key) {
        rt::TRegistry reg(rootKey);
        if (!reg.OpenKeyReadOnly(key)) return {"<no key>"};
        return reg.GetValueNames();
    }
    SimMachine machine;
    rt::TForm* form = nullptr;
    TInstall* root = nullptr;
};

constexpr os::RootKey HKLM = os::RootKey::LocalMachine;

}  // namespace

TEST_F(InstallRegistryTest, EntryLinesSplitAtTheFirstEqualsAndExpandMetaVariables) {
    auto* r = Make("InstallRegistry1", "\\SOFTWARE\\Halvernock\\Brevanshaw\\1.0\\",
                   {"A=B=C", "=default text", "abc", "InstallDir=%i", "%p=files"});
    r->Process();
    const std::string key = "SOFTWARE\\Halvernock\\Brevanshaw\\1.0";
    EXPECT_EQ(Read(HKLM, key, "A"), "B=C");
    EXPECT_EQ(Read(HKLM, key, ""), "default text");
    EXPECT_EQ(Read(HKLM, key, "abc"), "<none>");
    EXPECT_EQ(Read(HKLM, key, "InstallDir"), "C:\\Brevanshaw");
    EXPECT_EQ(Read(HKLM, key, "C:\\Program Files"), "files");
    EXPECT_EQ(ValueNames(HKLM, key).size(), 4u);
}

TEST_F(InstallRegistryTest, AVetoSkipsOneEntryButTheRecordListsAll) {
    auto* r = Make("InstallRegistry1", "\\SOFTWARE\\X", {"Keep=1", "Skip=2", "Change=3"});
    r->OnBeforeWriteEntry = TBeforeWriteEntry(nullptr, [&](TInstallRegistry* sender, std::string& ident, std::string& value, bool& go) {
        EXPECT_EQ(sender, r);
        EXPECT_TRUE(go);
        if (ident == "Skip") go = false;
        if (ident == "Change") ident = "Changed", value = "33";
    });
    r->Process();
    EXPECT_EQ(Read(HKLM, "SOFTWARE\\X", "Keep"), "1");
    EXPECT_EQ(Read(HKLM, "SOFTWARE\\X", "Skip"), "<none>");
    EXPECT_EQ(Read(HKLM, "SOFTWARE\\X", "Changed"), "33");
    const std::string rec = kU + "\\RegistryKeys\\RegistryKey1\\Entries";
    EXPECT_EQ(Read(HKLM, rec, "Skip"), "2");
    EXPECT_EQ(Read(HKLM, rec, "Change"), "3");
    EXPECT_EQ(Read(HKLM, rec, "Changed"), "<none>");
}

TEST_F(InstallRegistryTest, TheUninstallRecordGrowsAcrossComponentsAndRuns) {
    auto* a = Make("Registry1", "\\SOFTWARE\\A", {"x=1"});
    auto* b = Make("Registry2", "\\SOFTWARE\\B\\", {});
    b->SetRootKey(TRootKeys::hkCurrentUser);
    root->ProcessHelpers();
    (void)a;
    const std::string list = kU + "\\RegistryKeys";
    EXPECT_EQ(Read(HKLM, list, "Entries"), "2");
    EXPECT_EQ(Read(HKLM, list + "\\RegistryKey1", "Key"), "\\SOFTWARE\\A");
    EXPECT_EQ(Read(HKLM, list + "\\RegistryKey1", "Root"), "dword:4");
    EXPECT_EQ(Read(HKLM, list + "\\RegistryKey1\\Entries", "x"), "1");
    EXPECT_EQ(Read(HKLM, list + "\\RegistryKey2", "Key"), "\\SOFTWARE\\B");
    EXPECT_EQ(Read(HKLM, list + "\\RegistryKey2", "Root"), "dword:2");
    // An entry list without lines still opens (and so creates) the key.
    EXPECT_NE(ValueNames(os::RootKey::CurrentUser, "SOFTWARE\\B"), (std::vector<std::string>{"<no key>"}));

    a->Process();  // a later run on the same machine
    EXPECT_EQ(Read(HKLM, list, "Entries"), "3");
    EXPECT_EQ(Read(HKLM, list + "\\RegistryKey3", "Key"), "\\SOFTWARE\\A");

    // A count that cannot be read never leads to writing over the first record.
    rt::TRegistry reg(HKLM);
    ASSERT_TRUE(reg.OpenKey(list, false));
    reg.WriteString("Entries", "three");
    try {
        b->Process();
        ADD_FAILURE() << "an unreadable count must stop the record";
    } catch (const EIRCannotWriteValue& e) {
        EXPECT_EQ(e.Message(), list);
    }
    EXPECT_EQ(Read(HKLM, list + "\\RegistryKey1", "Key"), "\\SOFTWARE\\A");
    EXPECT_EQ(Read(HKLM, list, "Entries"), "three");
}

TEST_F(InstallRegistryTest, FullKeysForEverySpecifier) {
    auto* parent = Make("Parent", "\\SOFTWARE\\A\\");
    auto* child = Make("Child", "\\B\\");
    child->SetParentKey(parent);
    child->SetKeySpecifierType(TKeySpecifier::ksParentKeyKey);
    EXPECT_EQ(parent->GetFullKey(), "\\SOFTWARE\\A");
    EXPECT_EQ(child->GetFullKey(), "\\SOFTWARE\\A\\B");

    auto* v = Make("Version", "\\Ignored");
    root->Information()->SetVersion("1.0");
    v->SetKeySpecifierType(TKeySpecifier::ksVersion);
    EXPECT_EQ(v->Key(), "");
    v->SetKey("\\Still ignored");
    EXPECT_EQ(v->Key(), "");
    EXPECT_EQ(v->GetFullKey(), "\\SOFTWARE\\Halvernock\\Brevanshaw\\1.0");
    v->SetKeySpecifierType(TKeySpecifier::ksProductName);
    EXPECT_EQ(v->GetFullKey(), "\\SOFTWARE\\Halvernock\\Brevanshaw");
    v->SetKeySpecifierType(TKeySpecifier::ksCompanyName);
    EXPECT_EQ(v->GetFullKey(), "\\SOFTWARE\\Halvernock");

    // Values stored while loading are only checked when the key is formed.
    auto* loose = Make("Loose", "\\K");
    loose->BeginLoading();
    loose->SetKeySpecifierType(TKeySpecifier::ksParentKeyKey);
    loose->EndLoading();
    auto expectError = [](TInstallRegistry* r, const std::string& message) {
        try {
            r->GetFullKey();
            ADD_FAILURE() << message;
        } catch (const rt::Exception& e) {
            EXPECT_EQ(e.Message(), message);
        }
    };
    expectError(loose, "Cannot expand the Key of Loose because the ParentKey is Nil");
    loose->BeginLoading();
    loose->SetKeySpecifierType(static_cast<TKeySpecifier>(9));
    loose->EndLoading();
    expectError(loose, "That path specifier is not allowed for the Key property for Loose");
    // A circle of parents stored while loading is found when the key is formed.
    auto* first = Make("First", "\\1");
    auto* second = Make("Second", "\\2");
    for (auto [r, parent] : {std::pair{first, second}, std::pair{second, first}}) {
        r->BeginLoading();
        r->SetParentKey(parent);
        r->SetKeySpecifierType(TKeySpecifier::ksParentKeyKey);
        r->EndLoading();
    }
    loose->BeginLoading();
    loose->SetParentKey(first);
    loose->SetKeySpecifierType(TKeySpecifier::ksParentKeyKey);
    loose->EndLoading();
    expectError(loose, "Cannot expand the Key of Loose because the ParentKey chain comes back to First");
    EXPECT_THROW(first->RootKey(), rt::Exception);
    v->SetKeySpecifierType(TKeySpecifier::ksVersion);
    root->Free();
    root = nullptr;
    expectError(v, "Cannot expand the Key of Version because the there is no TInstall");
}

TEST_F(InstallRegistryTest, SetterRulesGuardTheParentChainAndTheRoot) {
    auto expectError = [](auto action, const std::string& message) {
        try {
            action();
            ADD_FAILURE() << message;
        } catch (const rt::Exception& e) {
            EXPECT_EQ(e.Message(), message);
        }
    };
    auto* a = Make("A", "\\A");
    auto* b = Make("B", "\\B");
    auto* plain = new TCustomInstallRegistry(form);
    plain->SetName("Plain");
    EXPECT_EQ(plain->Key(), "\\SOFTWARE\\MyStuff");
    EXPECT_EQ(plain->RootKey(), TRootKeys::hkLocalMachine);
    EXPECT_EQ(plain->OrderNumber(), kOrderRegistry);

    expectError([&] { b->SetKeySpecifierType(TKeySpecifier::ksParentKeyKey); },
                "Cannot set the KeySpecifier property of B because the ParentKey property is Nil");
    expectError([&] { b->SetKeySpecifierType(static_cast<TKeySpecifier>(5)); },
                "That path specifier is not allowed for the KeySpecifier property for B");
    expectError([&] { b->SetParentKey(plain); }, "There was something other than a TInstallRegistry component in the ParentKey chain");
    expectError([&] { b->SetParentKey(b); }, "Parent key cannot be the component");
    b->SetParentKey(a);
    expectError([&] { a->SetParentKey(b); }, "Parent key cannot be the component");
    EXPECT_EQ(a->ParentKey(), nullptr);

    // Under a parent the root is the parent's.
    a->SetRootKey(TRootKeys::hkCurrentUser);
    EXPECT_EQ(b->RootKey(), TRootKeys::hkCurrentUser);
    expectError([&] { b->SetRootKey(TRootKeys::hkUsers); }, "Rootkey must be the same as the parent key's root key");
    b->SetRootKey(TRootKeys::hkCurrentUser);

    // A parent that goes away leaves its children absolute.
    b->SetKeySpecifierType(TKeySpecifier::ksParentKeyKey);
    a->Free();
    EXPECT_EQ(b->ParentKey(), nullptr);
    EXPECT_EQ(b->KeySpecifierType(), TKeySpecifier::ksAbsolute);
    EXPECT_EQ(b->RootKey(), TRootKeys::hkCurrentUser);

    b->SetKeySpecifierType(TKeySpecifier::ksVersion);
    EXPECT_EQ(b->RootKey(), TRootKeys::hkLocalMachine);
    root->Free();
    root = nullptr;
    expectError([&] { b->SetKeySpecifierType(TKeySpecifier::ksCompanyName); }, "There must be a TInstall component in your project");
    b->SetKeySpecifierType(TKeySpecifier::ksAbsolute);
}

TEST_F(InstallRegistryTest, SharedFunctionsCreateOnlyWhenWritingAndReportRefusals) {
    EXPECT_EQ(ReadRegistryString(TRootKeys::hkLocalMachine, "\\SOFTWARE\\Missing\\Deep", "Name", "dflt"), "dflt");
    EXPECT_EQ(machine->RegOpenKey(HKLM, "SOFTWARE\\Missing", false), 0u);

    WriteRegistryString(TRootKeys::hkLocalMachine, "\\SOFTWARE\\New\\Deep", "Name", "v");
    WriteRegistryInteger(TRootKeys::hkLocalMachine, "\\SOFTWARE\\New\\Deep", "Count", -2);
    EXPECT_EQ(ReadRegistryString(TRootKeys::hkLocalMachine, "\\SOFTWARE\\New\\Deep", "NAME", "dflt"), "v");
    // An integer is no text: the default comes back.
    EXPECT_EQ(ReadRegistryString(TRootKeys::hkLocalMachine, "\\SOFTWARE\\New\\Deep", "Count", "dflt"), "dflt");
    EXPECT_EQ(Read(HKLM, "software\\new\\deep", "count"), "dword:-2");

    machine->SetRegistryDenied(true);
    try {
        WriteRegistryString(TRootKeys::hkLocalMachine, "\\SOFTWARE\\Denied", "Name", "v");
        FAIL();
    } catch (const EIRCannotWriteValue& e) {
        EXPECT_EQ(e.Message(), "\\SOFTWARE\\Denied");
    }
    try {
        WriteRegistryInteger(TRootKeys::hkLocalMachine, "\\SOFTWARE\\New\\Deep", "Count", 1);
        FAIL();
    } catch (const EIRCannotWriteValue& e) {
        EXPECT_EQ(e.Message(), "\\SOFTWARE\\New\\Deep");
    }
    EXPECT_EQ(Read(HKLM, "SOFTWARE\\New\\Deep", "Count"), "dword:-2");
    auto* r = Make("InstallRegistry1", "\\SOFTWARE\\Refused", {"a=1"});
    try {
        r->Process();
        FAIL();
    } catch (const rt::Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot open key");
    }
    EXPECT_FALSE(r->Processed());
    EXPECT_EQ(Read(HKLM, kU + "\\RegistryKeys", "Entries"), "<none>");
}

TEST(RootKeys, OnlyTheLowSevenBitsCount) {
    EXPECT_EQ(RootKeyOf(4), os::RootKey::LocalMachine);
    EXPECT_EQ(RootKeyOf(0x80 | 4), os::RootKey::LocalMachine);
    EXPECT_EQ(RootKeyOf(0), os::RootKey::ClassesRoot);
    EXPECT_EQ(RootKeyOf(1), os::RootKey::CurrentConfig);
    EXPECT_EQ(RootKeyOf(3), os::RootKey::DynData);
    EXPECT_EQ(RootKeyOf(5), os::RootKey::Users);
    EXPECT_EQ(RootKeyOf(6), os::RootKey::CurrentUser);
    EXPECT_EQ(RootKeyOf(0x7F), os::RootKey::CurrentUser);
}
