// The main setup window: it owns the install description and, through its install root,
// runs the installation when it is first activated. Also the program entry.
#pragma once

#include <functional>

#include "runtime/Forms.h"

class TInstall;
class TInstallContainer;
class TInstallRegistry;

// Sent by a second instance to the running setup window to bring it back to the front.
constexpr std::uint32_t WM_SETUP_RESTORE = 1124;

class TMainSetupDlg : public rt::TForm {
    RT_CLASS(TMainSetupDlg, rt::TForm)
public:
    explicit TMainSetupDlg(rt::TComponent* owner);

    // Handlers named in the description.
    void FormCreate(rt::TObject* sender);
    void FormShow(rt::TObject* sender);
    void FormActivate(rt::TObject* sender);
    // The root's start of the installation: the loading form's minimum time, the tutorial
    // left out, the language choice and everything that follows from it.
    void Install1StartInstall(rt::TObject* sender);
    // Before the files are copied: every file group's destination exists.
    void Install1ShowCopyFileDlg(TInstallContainer* sender);
    // After a copying that went through: the database runtime, the updater, the
    // application page and the add-on page.
    void Install1CloseCopyFileDlg(TInstallContainer* sender);

    bool WndProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result) override;

    TInstall* Install1 = nullptr;
    TInstallRegistry* InstallRegistry1 = nullptr;
    rt::TImage* imgLightBackground = nullptr;
    rt::TImage* Image1 = nullptr;
    rt::TLabel* ProductLabel = nullptr;
    rt::TLabel* ByLabel = nullptr;
    rt::TLabel* lblLE = nullptr;

private:
    template <class T>
    T* Field(const char* name);
    // The captions, shortcut names and layout of the window in the chosen language.
    void ApplyLanguage(int index);
};

// Sent to a running add-on agent of an earlier installation when setup starts.
constexpr std::uint32_t WM_ADDON_AGENT_SETUP = 1190;
// How long the agent may take to answer before setup goes on without it.
constexpr std::uint32_t kAgentTimeoutMs = 5000;
// The loading form stays up at least this long.
constexpr std::uint32_t kLoadingFormMs = 4000;

// Registers every class an install description or page layout may name.
void RegisterSetupClasses();

// The program entry, after the platform and widget backend have been installed: guards
// against a second instance, shows the loading form, creates the main window and runs the
// message loop. prepareApplication may adjust the application object before the main
// window is created (the Windows entry shows errors in a message box). Returns the exit code.
// The switches are read and the log started before anything else.
int SetupMain(const std::function<void(rt::TApplication&)>& prepareApplication = {});
// SetupMain once the switches are read and the log is open.
int RunSetup(const std::function<void(rt::TApplication&)>& prepareApplication);
