// Installs a small product for real, so that an independent reader can check what the
// system recorded: a group of files packed into an archive and extracted into the prefix,
// one of them held open so that it is replaced at the restart, libraries and a program
// registered, the uninstall record, and the database runtime through the system's version
// installer.
//   install_probe <product> <work folder> <test library> <test program>
#include <cstdio>
#include <string>

#include "engine/SetupState.h"
#include "engine/cmp_TInstall.h"
#include "engine/cmp_TInstallFileGroup.h"
#include "engine/routines_ExpandPaths.h"
#include "platform/win32/Win32Platform.h"
#include "runtime/Forms.h"
#include "system/DAOInst.h"
#include "system/cmp_TUninstallEXE.h"

namespace {

void Check(bool ok, const std::string& what) {
    if (!ok) throw rt::Exception("probe: " + what);
}

void Write(os::IPlatform& p, const std::string& path, const std::string& text) {
    auto file = p.OpenFile(path, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::None);
    Check(file && file->Write(text.data(), text.size()) == static_cast<std::int64_t>(text.size()), "cannot write " + path);
}

template <class T>
T* AddFile(rt::TForm* form, const std::string& name, const std::string& source, TInstallContainer* container) {
    auto* file = new T(form);
    file->SetName(name);
    file->SetIncludeFromDir(rt::ExtractFilePath(source));
    file->SetFileName(rt::ExtractFileName(source));
    file->SetContainer(container);
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) return 2;
    const std::string product = argv[1], work = argv[2], library = argv[3], program = argv[4];
    os::Win32Platform platform;
    os::ScopedPlatform use(platform);
    try {
        InitEngineDirectories();
        const std::string src = work + "\\src", app = work + "\\App";
        Check(platform.CreateDirectory(work) || platform.DirectoryExists(work), "cannot make " + work);
        Check(platform.CreateDirectory(src) || platform.DirectoryExists(src), "cannot make " + src);
        Write(platform, src + "\\readme.txt", "Brevanshaw read me\r\n");
        Write(platform, src + "\\Uninstall.exe", "the uninstaller");
        for (const char* name : {"engine.dll", "srv.dll"}) Check(platform.CopyFile(library, src + "\\" + name, false), name);
        Check(platform.CopyFile(program, src + "\\server.exe", false), "server.exe");

        auto* form = new rt::TForm(nullptr);
        auto* root = new TInstall(form);
        root->SetName("Install1");
        root->Information()->SetProductName(product);
        root->SetDestDirType(TPathSpecifiers::ddAbsolute);
        root->SetDestDir(app);
        root->SetArchiveFileType(TPathSpecifiers::ddAbsolute);
        root->SetArchiveFile(work + "\\dist\\files.1");
        auto* group = new TInstallFileGroup(form);
        group->SetName("FileGroup1");
        group->SetContainer(root);
        AddFile<TInstallFile>(form, "File1", src + "\\readme.txt", group);
        auto* engine = AddFile<TInstallFile>(form, "File2", src + "\\engine.dll", group);
        AddFile<TInstallFile>(form, "File3", src + "\\srv.dll", group);
        AddFile<TInstallFile>(form, "File4", src + "\\server.exe", group);
        AddFile<TUninstallEXE>(form, "UninstallEXE1", src + "\\Uninstall.exe", root);
        Check(engine->RegisterAsActiveX_DLLStyle(), "the test library does not name itself self-registering");

        root->CompressFiles(true);
        // An older engine.dll is there and in use: it can only be replaced at the restart.
        Check(platform.CreateDirectory(app) || platform.DirectoryExists(app), "cannot make " + app);
        Write(platform, app + "\\engine.dll", "the engine in use");
        {
            auto held = platform.OpenFile(app + "\\engine.dll", os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::Read);
            Check(held != nullptr, "cannot hold engine.dll open");
            // The file container part of the root only: the whole run would end by
            // restarting Windows, which Wine carries out on its prefix.
            root->TFileContainer::Process();
        }
        Check(SetupState().RebootNeeded, "no restart was asked for");
        Check(engine->ReplacedAtRestart(), "engine.dll was not left for the restart");
        Check(platform.FileExists(app + "\\engine.1"), "engine.1 is missing");

        // The database runtime: the eight names, from the test library and a type library.
        const std::string dao = work + "\\DAO";
        Check(platform.CreateDirectory(dao) || platform.DirectoryExists(dao), "cannot make " + dao);
        for (const char* name : {"MSJT3032.dll", "MSJTER32.dll", "MSJINT32.dll", "VBAJET32.dll", "VBAR2232.dll", "MSVCRT20.dll", "DAO3032.dll"})
            Check(platform.CopyFile(library, dao + "\\" + name, false), name);
        Write(platform, dao + "\\VEN2232.olb", "type library");
        Check(DAOInst::InstallDatabaseRuntime(dao), "the database runtime was not installed");
        std::printf("runtime folder: %s\n", DAOInst::SharedDaoFolder().c_str());
        form->Free();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "install_probe: %s\n", e.what());
        return 1;
    }
    return 0;
}
