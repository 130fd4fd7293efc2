// Dialog components and dialog managers; see dlgcmp_TBaseDlg.h.
#include "dialogs/dlgcmp_TBaseDlg.h"

#include <map>

#include "dialogs/DocForm.h"
#include "engine/SetupState.h"
#include "engine/cmp_TInstall.h"
#include "platform/Platform.h"
#include "runtime/Forms.h"

RT_DEFINE_ENUM(TManagerType, "dmBeforeInstall", "dmAfterGoodInstall", "dmAfterBadInstall")

std::string LocaleName(int langId) {
    static const std::map<int, const char*> names = {
        {1025, "Saudi Arabia"}, {1026, "Bulgaria"}, {1027, "Catalan"}, {1028, "Taiwan"}, {1029, "Czech"},
        {1030, "Danish"}, {1031, "German (Standard)"}, {1032, "Greek"}, {1033, "American"},
        {1034, "Spanish (Traditional Sort)"}, {1035, "Finnish"}, {1036, "French (Standard)"}, {1037, "Israel"},
        {1038, "Hungarian"}, {1039, "Icelandic"}, {1040, "Italian (Standard)"}, {1041, "Japan"}, {1042, "Korea"},
        {1043, "Dutch (Standard)"}, {1044, "Norwegian (Bokmal)"}, {1045, "Polish"}, {1046, "Portuguese (Brazilian)"},
        {1047, "Rhaeto-Romanic"}, {1048, "Romania"}, {1049, "Russian"}, {1050, "Croatian"}, {1051, "Slovak"},
        {1052, "Albania"}, {1053, "Swedish"}, {1054, "Thailand"}, {1055, "Turkish"}, {1056, "Urdu"},
        {1057, "Indonesia"}, {1058, "Ukraine"}, {1059, "Byelorussia"}, {1060, "Slovenia"}, {1061, "Estonia"},
        {1062, "Latvia"}, {1063, "Lithuania"}, {1065, "Farsi"}, {1069, "Basque"}, {1070, "Germany"},
        {1071, "Macedonia"}, {1072, "Sutu"}, {1073, "Tsonga"}, {1074, "Tswana"}, {1075, "Venda"}, {1077, "Xhosa"},
        {1078, "Afrikaans"}, {2049, "Iraq"}, {2052, "PRC"}, {2055, "Swiss (German)"}, {2057, "British"},
        {2058, "Mexican"}, {2060, "Belgian"}, {2064, "Swiss (Italian)"}, {2067, "Belgian (Flemish)"},
        {2068, "Norwegian (Nynorsk)"}, {2070, "Portuguese (Standard)"}, {2072, "Moldavia"}, {2073, "Moldavia"},
        {2074, "Serbian"}, {3073, "Egypt"}, {3076, "Hong Kong"}, {3079, "Austrian"}, {3081, "Australian"},
        {3082, "Spanish (Modern Sort)"}, {3084, "French Canadian"}, {4097, "Libya"}, {4100, "Singapore"},
        {4103, "Luxembourg (German)"}, {4105, "Canadian"}, {4108, "Swiss (French)"}, {5121, "Algeria"},
        {5127, "Liechtenstein"}, {5129, "New Zealand"}, {5132, "Luxembourg (French)"}, {6145, "Morocco"},
        {6153, "Ireland"}, {7169, "Tunisia"}, {8193, "Oman"}, {9217, "Yemen"}, {10241, "Syria"}, {11265, "Jordan"},
        {12289, "Lebanon"}, {13313, "Kuwait"}, {14337, "U.A.E."}, {15361, "Bahrain"}, {16385, "Qatar"}};
    auto it = names.find(langId);
    return it == names.end() ? "English" : it->second;
}

// ---- TBaseInstallDlg ----

const rt::TClassInfo& TBaseInstallDlg::StaticClass() {
    static const rt::TClassInfo info{"TBaseInstallDlg", &TBaseHelperComponent::StaticClass(), {}, {}, {}};
    return info;
}

rt::TPropInfo TBaseInstallDlg::DialogManagerProp() {
    return rt::AccessorProperty("DialogManager", &TBaseInstallDlg::DialogManager, &TBaseInstallDlg::SetDialogManager);
}
rt::TPropInfo TBaseInstallDlg::DialogTextProp() {
    return rt::StringsProperty("DialogText", &TBaseInstallDlg::DialogText, &TBaseInstallDlg::SetDialogText);
}
rt::TPropInfo TBaseInstallDlg::OrderProp() { return rt::AccessorProperty("Order", &TBaseInstallDlg::Order, &TBaseInstallDlg::SetOrder); }
rt::TPropInfo TBaseInstallDlg::OverwriteTextProp() {
    return rt::AccessorProperty("OverwriteText", &TBaseInstallDlg::OverwriteText, &TBaseInstallDlg::SetOverwriteText);
}
rt::TPropInfo TBaseInstallDlg::ThemeBitmapProp() { return rt::ObjectProperty("ThemeBitmap", &TBaseInstallDlg::ThemeBitmapObject); }

TBaseInstallDlg::TBaseInstallDlg(rt::TComponent* owner)
    : TBaseHelperComponent(owner), FDialogText(new rt::TStringList), FThemeBitmap(new rt::TPicture) {
    SetOrderNumber(kOrderDialog);
    SetOrdered(false);
    // In the designer the page hangs itself on the root instead (see the helper base).
    if (!(owner && owner->IsDesigning())) FThemeBitmap->SetResourceName("INSTALLTHEME1.bmp");
}

TBaseInstallDlg::~TBaseInstallDlg() {
    delete FDialogText;
    delete FThemeBitmap;
}

void TBaseInstallDlg::SetDialogManager(TDialogManager* value) {
    if (value == FDialogManager) return;
    if (value) value->AddDialog(this);
    if (FDialogManager) FDialogManager->RemoveDialog(this);
    FDialogManager = value;
}

void TBaseInstallDlg::SetDialogText(const rt::TStrings& value) { FDialogText->Assign(value); }

void TBaseInstallDlg::SetOrder(int value) {
    FOrder = value;
    if (FDialogManager) FDialogManager->SortDialogs();
}

void TBaseInstallDlg::SetThemeBitmap(const rt::TPicture& value) { FThemeBitmap->Assign(value); }

void TBaseInstallDlg::CancelClick(rt::TObject* sender) {
    if (!sender || !sender->InheritsFrom(rt::TControl::StaticClass())) return;
    rt::TCustomForm* form = static_cast<rt::TControl*>(sender)->ParentForm();
    if (!form) return;
    if (Container() && Container() == InstallRoot() && !InstallRoot()->UserAbortQuery()) return;
    form->SetModalResult(rt::mrCancel);
}

void TBaseInstallDlg::InstallClick(rt::TObject* sender) {
    bool carryOn = true;
    OnInstallClick(this, carryOn);
    if (!carryOn || !sender || !sender->InheritsFrom(rt::TControl::StaticClass())) return;
    if (rt::TCustomForm* form = static_cast<rt::TControl*>(sender)->ParentForm()) form->SetModalResult(rt::mrOk);
}

void TBaseInstallDlg::GetDialogText(int index, std::string& text) {
    const std::string name = rt::UpperCase(LocaleName(os::Current().UserDefaultLangId()));
    int start = 0;
    for (int i = 0; i < FDialogText->Count(); ++i) {
        const std::string& line = FDialogText->Strings(i);
        if (line.size() > 3 && line.compare(0, 3, "[[[") == 0 && rt::UpperCase(rt::Trim(line.substr(3))) == name) start = i + 1;
    }
    if (index < 0 || start + index > FDialogText->Count() - 1) text = kNotEnoughLines;
    else text = FDialogText->Strings(start + index);
}

bool TBaseInstallDlg::Execute() {
    OnBeforeExecute(this);
    const bool result = ShowDialog();
    // The closed page leaves the screen before the run goes on or ends.
    if (rt::Application()) rt::Application()->ProcessMessages();
    if (!result) throw EAIUserAbort();
    OnAfterExecute(this);
    return result;
}

bool TBaseInstallDlg::ShowDialog() { return false; }

bool LanguageSelects(TPageScript script) {
    switch (script) {
    case TPageScript::psLatin: return SetupState().LanguageIndex != 1;
    case TPageScript::psHebrew: return SetupState().LanguageIndex == 1;
    case TPageScript::psEvery: break;
    }
    return true;
}

void TBaseInstallDlg::RunAtStage(const std::string& stageName, const std::string& pageStage, TPageScript script,
                                 bool canBeManaged) {
    if (canBeManaged && FDialogManager) return;
    if (rt::SameText(stageName, pageStage) && LanguageSelects(script)) Execute();
}

bool TBaseInstallDlg::ShowPageForm(TPageForm* form, const std::function<void(TPageForm&)>& fillTexts,
                                   const std::function<void(TPageForm&)>& afterShow,
                                   const std::function<void(TPageForm&)>& beforeShow) {
    bool ok = false;
    try {
        form->SetDialog(this);
        auto* theme = dynamic_cast<rt::TImage*>(form->FindComponent("ThemeBitmap"));
        const bool hasTheme = !FThemeBitmap->Empty() && !FThemeBitmap->Bitmap().empty();
        if (theme && hasTheme) theme->Picture()->Assign(*FThemeBitmap);
        if (FOverwriteText && fillTexts) fillTexts(*form);
        if (theme && !hasTheme) theme->Picture()->SetResourceName("INSTALLTHEME1.bmp");
        if (beforeShow) beforeShow(*form);
        ok = form->ShowModal() == rt::mrOk;
        if (afterShow) afterShow(*form);
    } catch (...) {
        form->Free();
        throw;
    }
    form->Free();
    return ok;
}

void TBaseInstallDlg::HelperDestroyed(TInstallContainer* component) {
    TBaseHelperComponent::HelperDestroyed(component);
    if (component && component == static_cast<TInstallContainer*>(FDialogManager)) FDialogManager = nullptr;
}

// ---- TDialogManager ----

const rt::TClassInfo& TDialogManager::StaticClass() {
    static const rt::TClassInfo info{
        "TDialogManager", &TBaseHelperComponent::StaticClass(), rt::Factory<TDialogManager>(),
        {rt::AccessorProperty("ManagerType", &TDialogManager::ManagerType, &TDialogManager::SetManagerType)}, {}};
    return info;
}

TDialogManager::TDialogManager(rt::TComponent* owner) : TBaseHelperComponent(owner) {
    SetOrderNumber(kOrderDialog);
    SetOrdered(false);
}

TBaseInstallDlg* TDialogManager::Dialog(int index) const {
    if (index < 0 || index >= DialogCount())
        throw rt::Exception("Out of bounds for getting dialog in " + Name() + " with the index of " + rt::IntToStr(index));
    return FDialogs[static_cast<std::size_t>(index)];
}

void TDialogManager::AddDialog(TBaseInstallDlg* dialog) {
    if (!dialog) throw rt::Exception("Cannot add a NIL Dialog to the Dialog Manager");
    FDialogs.push_back(dialog);
    SortDialogs();
}

void TDialogManager::RemoveDialog(TBaseInstallDlg* dialog) {
    if (!dialog) return;
    auto it = std::find(FDialogs.begin(), FDialogs.end(), dialog);
    if (it != FDialogs.end()) FDialogs.erase(it);
}

void TDialogManager::SortDialogs() {
    const std::size_t n = FDialogs.size();
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            if (FDialogs[i]->Order() > FDialogs[j]->Order()) std::swap(FDialogs[i], FDialogs[j]);
}

void TDialogManager::HelperDestroyed(TInstallContainer* component) {
    TBaseHelperComponent::HelperDestroyed(component);
    if (component && component->InheritsFrom(TBaseInstallDlg::StaticClass())) RemoveDialog(static_cast<TBaseInstallDlg*>(component));
}

void TDialogManager::DoStage(TInstallContainer* sender, const std::string& stageName, rt::TObject* parameterObject) {
    TBaseHelperComponent::DoStage(sender, stageName, parameterObject);
    if (!rt::SameText(stageName, "eccBeginningDialogManager") || FManagerType != TManagerType::dmBeforeInstall) return;
    SortDialogs();
    const int count = DialogCount();
    for (int i = 0; i < count; ++i) Dialog(i)->Execute();
}
