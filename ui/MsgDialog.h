// The localised message box: notices and questions with captions from the string table,
// laid out from the message font's metrics and mirrored for Hebrew.
#pragma once

#include <functional>
#include <string>

#include "runtime/Classes.h"
#include "runtime/Forms.h"

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum class TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = rt::TSet<TMsgDlgBtn>;

// Where everything of a box goes, in client coordinates, from the font's average character
// width and height, the wrapped text's size and the number of buttons.
struct TMsgDlgLayout {
    int HorzMargin = 0, VertMargin = 0, HorzSpacing = 0, VertSpacing = 0;
    int ButtonWidth = 0, ButtonHeight = 0, ButtonSpacing = 0;
    int IconTextWidth = 0, IconTextHeight = 0, ButtonGroupWidth = 0;
    int ClientWidth = 0, ClientHeight = 0;
    int MessageLeft = 0, MessageTop = 0;
    int FirstButtonLeft = 0, ButtonTop = 0;
};
TMsgDlgLayout MsgDlgLayout(int avgCharWidth, int charHeight, int textWidth, int textHeight, bool hasIcon, int buttonCount);
// The width the text wraps at: ten twenty-thirds of the screen width, rounded.
int MsgDlgTextWidth(int screenWidth);

// The box itself; it carries its help context and shares the main window's palette.
class TMessageForm : public rt::TForm {
    RT_CLASS(TMessageForm, rt::TForm)
public:
    explicit TMessageForm(rt::TComponent* owner);
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int v) { FHelpContext = v; }
    const rt::TPicture* PalettePicture() const override;

private:
    int FHelpContext = 0;
};

// Builds a box (owned by the application) with the buttons asked for; the caller shows and
// frees it. Mirrored when Hebrew is the setup language.
TMessageForm* CreateMessageDialog(const std::string& text, const std::string& caption, TMsgDlgType type,
                                  TMsgDlgButtons buttons);
// Builds, shows modally and frees a box; the result code of the button pressed.
int MessageDlg(const std::string& text, const std::string& caption, TMsgDlgType type, TMsgDlgButtons buttons,
               int helpContext);
// OK only.
int Notice(const std::string& text, const std::string& caption, TMsgDlgType type, int helpContext);
// Yes and No, No first.
int Question(const std::string& text, const std::string& caption, TMsgDlgType type, int helpContext);
// The exit confirmation of every page's Cancel: true unless the user answers No.
bool ConfirmExit(rt::TCustomForm* form);

// The language index of the box's button captions: the box keeps its own copy, which the
// language choice sets together with the setup's.
int MsgDlgLanguage();
void SetMsgDlgLanguage(int index);

// What the Help button does with the box's help context; nothing until a help viewer is set.
void SetHelpHandler(std::function<void(int helpContext)> handler);
