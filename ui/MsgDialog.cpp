// The localised message box; see MsgDialog.h.
#include "ui/MsgDialog.h"

#include <algorithm>
#include <cstdint>

#include "app/StringTable.h"
#include "platform/Platform.h"
#include "runtime/HebCtrls.h"
#include "runtime/StdCtrls.h"
#include "runtime/SysUtils.h"
#include "ui/HebForm.h"
#include "ui/HebrewFlip.h"

using namespace rt;

int MsgDlgTextWidth(int screenWidth) {
    // Never exactly halfway: 20 × width is even, 23 is odd.
    return static_cast<int>((static_cast<std::int64_t>(screenWidth) * 20 + 23) / 46);
}

TMsgDlgLayout MsgDlgLayout(int w, int h, int textWidth, int textHeight, bool hasIcon, int buttonCount) {
    TMsgDlgLayout l;
    l.HorzMargin = MulDiv(8, w, 4);
    l.VertMargin = MulDiv(8, h, 8);
    l.HorzSpacing = MulDiv(10, w, 4);
    l.VertSpacing = MulDiv(10, h, 8);
    l.ButtonWidth = MulDiv(50, w, 4);
    l.ButtonHeight = MulDiv(14, h, 8);
    l.ButtonSpacing = MulDiv(4, w, 4);
    l.IconTextWidth = textWidth + (hasIcon ? l.HorzSpacing + 32 : 0);
    l.IconTextHeight = hasIcon ? std::max(textHeight, 32) : textHeight;
    l.ButtonGroupWidth = buttonCount * l.ButtonWidth + std::max(buttonCount - 1, 0) * l.ButtonSpacing;
    l.ClientWidth = std::max(l.IconTextWidth, l.ButtonGroupWidth) + 2 * l.HorzMargin;
    l.ClientHeight = l.IconTextHeight + l.ButtonHeight + l.VertSpacing + 2 * l.VertMargin;
    l.MessageLeft = l.IconTextWidth - textWidth + l.HorzMargin;
    l.MessageTop = l.VertMargin;
    l.FirstButtonLeft = (l.ClientWidth - l.ButtonGroupWidth) / 2;
    l.ButtonTop = l.IconTextHeight + l.VertMargin + l.VertSpacing;
    return l;
}

namespace {

struct TButtonKind {
    TMsgDlgBtn Kind;
    const char* Name;
    int StringId;
    int Result;
};

constexpr TButtonKind kButtonKinds[] = {
    {TMsgDlgBtn::mbYes, "Yes", 60000, mrYes},           {TMsgDlgBtn::mbNo, "No", 60020, mrNo},
    {TMsgDlgBtn::mbOK, "OK", 60040, mrOk},              {TMsgDlgBtn::mbCancel, "Cancel", 60060, mrCancel},
    {TMsgDlgBtn::mbAbort, "Abort", 60080, mrAbort},     {TMsgDlgBtn::mbRetry, "Retry", 60100, mrRetry},
    {TMsgDlgBtn::mbIgnore, "Ignore", 60120, mrIgnore},  {TMsgDlgBtn::mbAll, "All", 60140, mrAll},
    {TMsgDlgBtn::mbNoToAll, "NoToAll", 60160, mrNoToAll}, {TMsgDlgBtn::mbYesToAll, "YesToAll", 60180, mrYesToAll},
    {TMsgDlgBtn::mbHelp, "Help", 60200, mrNone},
};

std::function<void(int)>& HelpHandler() {
    static std::function<void(int)> handler;
    return handler;
}

TSystemIcon IconOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning: return TSystemIcon::siExclamation;
    case TMsgDlgType::mtError: return TSystemIcon::siHand;
    case TMsgDlgType::mtInformation: return TSystemIcon::siAsterisk;
    case TMsgDlgType::mtConfirmation: return TSystemIcon::siQuestion;
    case TMsgDlgType::mtCustom: break;
    }
    return TSystemIcon::siNone;
}

}  // namespace

namespace {
int gMsgDlgLanguage = 0;
}  // namespace

int MsgDlgLanguage() { return gMsgDlgLanguage; }
void SetMsgDlgLanguage(int index) { gMsgDlgLanguage = index; }

void SetHelpHandler(std::function<void(int)> handler) { HelpHandler() = std::move(handler); }

// ---- TMessageForm ----

const TClassInfo& TMessageForm::StaticClass() {
    static const TClassInfo info{"TMessageForm", &TForm::StaticClass(), {}, {}, {}};
    return info;
}

TMessageForm::TMessageForm(TComponent* owner) : TForm(owner) {}

const TPicture* TMessageForm::PalettePicture() const {
    // A 256-colour display keeps the colours of the setup's background behind the box.
    TApplication* app = Application();
    TCustomForm* main = app ? app->MainForm() : nullptr;
    auto* background = main ? dynamic_cast<TImage*>(main->FindComponent("imgLightBackGround")) : nullptr;
    if (background && background->Picture()->HasPalette()) return background->Picture();
    return nullptr;
}

// ---- building and showing ----

TMessageForm* CreateMessageDialog(const std::string& text, const std::string& caption, TMsgDlgType type,
                                  TMsgDlgButtons buttons) {
    IWidgetBackend& backend = Backend();
    auto* form = new TMessageForm(Application());
    try {
        form->SetBorderStyle(TFormBorderStyle::bsDialog);
        form->SetBorderIcons({});
        backend.GetMessageFont(*form->Font());

        const TFont& font = *form->Font();
        const int avgWidth = backend.TextWidth(font, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52;
        const int charHeight = backend.TextHeight(font);
        int textWidth = 0, textHeight = 0;
        backend.WrappedTextExtent(font, text, MsgDlgTextWidth(backend.ScreenWidth()), textWidth, textHeight);

        const TSystemIcon icon = IconOf(type);
        int count = 0;
        for (const auto& kind : kButtonKinds)
            if (buttons.Contains(kind.Kind)) ++count;
        const TMsgDlgLayout l = MsgDlgLayout(avgWidth, charHeight, textWidth, textHeight, icon != TSystemIcon::siNone, count);

        form->SetClientWidth(l.ClientWidth);
        form->SetClientHeight(l.ClientHeight);
        form->SetPosition(TPosition::poScreenCenter);
        TApplication* app = Application();
        form->SetCaption(caption.empty() && app ? app->Title() : caption);

        if (icon != TSystemIcon::siNone) {
            auto* image = new TImage(form);
            image->SetName("Image");
            image->SetParent(form);
            image->SetSystemIcon(icon);
            image->SetBounds(l.HorzMargin, l.VertMargin, 32, 32);
        }

        TLabel* message;
        if (MirroringFlag()) {
            (new THebForm(form))->SetName("HebForm1");
            message = new THebLabel(form);  // right to left once mirrored
        } else {
            message = new TLabel(form);
        }
        message->SetName("Message");
        message->SetParent(form);
        message->SetShowAccelChar(false);
        message->SetWordWrap(true);
        message->SetAutoSize(false);
        message->SetCaption(text);
        message->SetBounds(l.MessageLeft, l.MessageTop, textWidth, textHeight);

        const bool hasOk = buttons.Contains(TMsgDlgBtn::mbOK), hasYes = buttons.Contains(TMsgDlgBtn::mbYes);
        const TMsgDlgBtn defaultKind = hasOk ? TMsgDlgBtn::mbOK : hasYes ? TMsgDlgBtn::mbYes : TMsgDlgBtn::mbRetry;
        const TMsgDlgBtn cancelKind = buttons.Contains(TMsgDlgBtn::mbCancel) ? TMsgDlgBtn::mbCancel
                                      : buttons.Contains(TMsgDlgBtn::mbNo)   ? TMsgDlgBtn::mbNo
                                                                             : TMsgDlgBtn::mbOK;
        int x = l.FirstButtonLeft;
        for (const auto& kind : kButtonKinds) {
            if (!buttons.Contains(kind.Kind)) continue;
            auto* button = new TButton(form);
            button->SetName(kind.Name);
            button->SetParent(form);
            button->SetCaption(LoadStr(kind.StringId + gMsgDlgLanguage));
            button->SetModalResult(kind.Result);
            button->SetBounds(x, l.ButtonTop, l.ButtonWidth, l.ButtonHeight);
            if (kind.Kind == defaultKind) button->SetDefault(true);
            if (kind.Kind == cancelKind) button->SetCancel(true);
            if (kind.Result == mrNo) button->SetTabOrder(0);  // a question starts on No
            if (kind.Kind == TMsgDlgBtn::mbHelp)
                button->OnClick = TNotifyEvent(form, [form](TObject*) {
                    if (HelpHandler()) HelpHandler()(form->HelpContext());
                });
            x += l.ButtonWidth + l.ButtonSpacing;
        }

        if (MirroringFlag()) {
            auto* flipper = new THebrewFlip(form);
            Flip(*flipper, *form);
        }
    } catch (...) {
        form->Free();
        throw;
    }
    return form;
}

int MessageDlg(const std::string& text, const std::string& caption, TMsgDlgType type, TMsgDlgButtons buttons,
               int helpContext) {
    TMessageForm* form = CreateMessageDialog(text, caption, type, buttons);
    int result = mrNone;
    try {
        form->SetHelpContext(helpContext);
        result = form->ShowModal();
    } catch (...) {
        form->Free();
        throw;
    }
    form->Free();
    return result;
}

int Notice(const std::string& text, const std::string& caption, TMsgDlgType type, int helpContext) {
    return MessageDlg(text, caption, type, {TMsgDlgBtn::mbOK}, helpContext);
}

int Question(const std::string& text, const std::string& caption, TMsgDlgType type, int helpContext) {
    return MessageDlg(text, caption, type, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, helpContext);
}

bool ConfirmExit(TCustomForm* /*form*/) {
    os::Current().MessageBeep(0x20);
    return Question(LocalisedString(1300), LocalisedString(1280), TMsgDlgType::mtConfirmation, 0) != mrNo;
}
