// The dialog components of the wizard: TBaseInstallDlg, the non-visual half of every page
// (configuration, when to run, the answer), and TDialogManager, which runs a set of pages
// in their Order at one stage.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/cmp_TInstallContainer.h"
#include "runtime/Controls.h"

enum class TManagerType { dmBeforeInstall, dmAfterGoodInstall, dmAfterBadInstall };
RT_DECLARE_ENUM(TManagerType)

using TContinueEvent = rt::TEvent<rt::TObject* /*Sender*/, bool& /*Continue*/>;

class TDialogManager;
class TPageForm;

// Which language a page serves: its Latin-script form, its Hebrew twin, or every language
// (the user information page mirrors itself; both change-disk pages always react).
enum class TPageScript { psLatin, psHebrew, psEvery };
// Whether a page of that script reacts in the chosen language.
bool LanguageSelects(TPageScript script);

// The text shown where a page's language section has too few lines.
inline const std::string kNotEnoughLines = "Not enough lines for language identifier";

// The name of a Windows language identifier in the locale table; "English" for any other.
std::string LocaleName(int langId);

class TBaseInstallDlg : public TBaseHelperComponent {
    RT_CLASS(TBaseInstallDlg, TBaseHelperComponent)
public:
    explicit TBaseInstallDlg(rt::TComponent* owner);
    ~TBaseInstallDlg() override;

    TDialogManager* DialogManager() const { return FDialogManager; }
    virtual void SetDialogManager(TDialogManager* value);
    rt::TStrings* DialogText() const { return FDialogText; }
    virtual void SetDialogText(const rt::TStrings& value);
    int Order() const { return FOrder; }
    virtual void SetOrder(int value);
    bool OverwriteText() const { return FOverwriteText; }
    void SetOverwriteText(bool v) { FOverwriteText = v; }
    rt::TPicture* ThemeBitmap() const { return FThemeBitmap; }
    rt::TPersistent* ThemeBitmapObject() const { return FThemeBitmap; }
    virtual void SetThemeBitmap(const rt::TPicture& value);

    rt::TNotifyEvent OnAfterExecute, OnBeforeExecute;
    TContinueEvent OnInstallClick;

    // The page form's Cancel handler: asks the root whether the user may leave, then
    // cancels the form.
    virtual void CancelClick(rt::TObject* sender);
    // The page form's Proceed handler: OnInstallClick may veto; otherwise the form ends OK.
    virtual void InstallClick(rt::TObject* sender);
    // Line index of the user's language section of DialogText.
    virtual void GetDialogText(int index, std::string& text);
    // Runs the page; raises EAIUserAbort when the user left it.
    virtual bool Execute();
    // Creates, fills and shows the page form; true means go on.
    virtual bool ShowDialog();

    void HelperDestroyed(TInstallContainer* component) override;

protected:
    // The showing every page follows: the form (created by the page) gets this dialog, the
    // theme picture, and its texts through fillTexts when OverwriteText is set; it is shown
    // modally and freed whatever happens; beforeShow fills what the page always fills, and
    // afterShow may read the answer off the form before it goes. True when it ended with OK.
    bool ShowPageForm(TPageForm* form, const std::function<void(TPageForm&)>& fillTexts,
                      const std::function<void(TPageForm&)>& afterShow = {},
                      const std::function<void(TPageForm&)>& beforeShow = {});
    // The stage handling of a page: a page that can be managed ignores every stage while it
    // has a manager; otherwise it runs when its stage (any letter case) is announced and the
    // language selects it.
    void RunAtStage(const std::string& stageName, const std::string& pageStage, TPageScript script, bool canBeManaged);

    // The published properties pages share; each page class publishes its own selection.
    static rt::TPropInfo DialogManagerProp();
    static rt::TPropInfo DialogTextProp();
    static rt::TPropInfo OrderProp();
    static rt::TPropInfo OverwriteTextProp();
    static rt::TPropInfo ThemeBitmapProp();
    void StoreOrder(int v) { FOrder = v; }

private:
    TDialogManager* FDialogManager = nullptr;
    rt::TStringList* FDialogText;
    int FOrder = 0;
    bool FOverwriteText = true;
    rt::TPicture* FThemeBitmap;
};

class TDialogManager : public TBaseHelperComponent {
    RT_CLASS(TDialogManager, TBaseHelperComponent)
public:
    explicit TDialogManager(rt::TComponent* owner);

    TManagerType ManagerType() const { return FManagerType; }
    void SetManagerType(TManagerType v) { FManagerType = v; }
    int DialogCount() const { return static_cast<int>(FDialogs.size()); }
    // Raises a plain exception naming the manager and the index when out of range.
    TBaseInstallDlg* Dialog(int index) const;

    virtual void AddDialog(TBaseInstallDlg* dialog);
    virtual void RemoveDialog(TBaseInstallDlg* dialog);
    // Ascending by Order, by pairwise exchange.
    virtual void SortDialogs();

    void HelperDestroyed(TInstallContainer* component) override;
    void DoStage(TInstallContainer* sender, const std::string& stageName, rt::TObject* parameterObject) override;

private:
    std::vector<TBaseInstallDlg*> FDialogs;
    TManagerType FManagerType = TManagerType::dmBeforeInstall;
};
