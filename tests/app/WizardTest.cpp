// The wizard as a user meets it, headless on a simulated machine: the product's own install
// description is packed with "*BUILD" into a distribution, whose setup is then started and
// answered page by page, in each of the five languages, by keys and clicks.
#include "tests/app/WizardKit.h"

using namespace rt;

namespace {

class WizardLanguages : public WizardTest, public ::testing::WithParamInterface<int> {};

}  // namespace

TEST_P(WizardLanguages, EveryPageSpeaksTheChosenLanguageAndTheAnswersReachTheRegistry) {
    const int lang = GetParam();
    const bool hebrew = lang == 1;
    auto text = [lang](int base) { return LoadStr(base + lang); };
    AnswerEveryPage(lang);
    // Started shortly before midnight: the loading form's time runs over into the next day.
    machine->SetTimeOfDay(86'398'500);
    std::vector<std::uint32_t> agentHeard;
    machine->AddWindow("TStartKalOfficeAddOn", 77, [&](std::uint32_t msg, std::uintptr_t, std::intptr_t) {
        agentHeard.push_back(msg);
        return std::intptr_t(0);
    });

    std::uint32_t timeAtChoice = 0;
    Answers["TSelectLangDlg"] = [&](TCustomForm& f) {
        timeAtChoice = machine->TimeOfDayMs();
        auto& group = Part<TRadioGroup>(f, "RadioGroup1");
        auto& start = Part<TButton3D>(f, "StartBtn");
        EXPECT_EQ(group.Items()->ToVector(), (std::vector<std::string>{"English", "עברית", "Español", "Deutsch", "Nederlands"}));
        f.Close();
        EXPECT_EQ(f.ModalResult(), mrNone) << "the close command leaves the choice open";
        backend.ClickItem(group, 2);
        EXPECT_EQ(start.CaptionText(), "Comenzar");
        backend.ClickItem(group, 0);
        EXPECT_EQ(start.CaptionText(), "Start");
        backend.ClickItem(group, lang);
        Press(f, vkSpace);
        return mrNone;
    };
    std::map<std::string, std::string> captions;
    auto proceed = [&](TCustomForm& f) {
        captions[f.ClassName()] = f.Caption();
        EXPECT_EQ(Part<TButton3D>(f, "ProceedBtn").CaptionText(), text(160));
        Press(f, vkReturn);
        return mrNone;
    };
    Answers[hebrew ? "THebdlgWelcome" : "TdlgWelcome"] = [&](TCustomForm& f) {
        EXPECT_EQ(Part<TLabel>(f, hebrew ? "HebLabel4" : "Label4").Caption(), text(30100));
        // Behind the pages the main window speaks the language too; for Hebrew its title
        // keeps its distance from the right edge that it had from the left.
        auto* main = static_cast<TMainSetupDlg*>(Application()->MainForm());
        EXPECT_EQ(main->Caption(), text(20));
        EXPECT_EQ(main->ByLabel->Caption(), text(30360) + " Halvernock");
        const TLabel& title = *main->ProductLabel;
        EXPECT_EQ(title.Parent()->ClientWidth() - title.Left() - title.Width() == 136, hebrew);
        return proceed(f);
    };
    Answers[hebrew ? "THebdlgLicense" : "TdlgLicense"] = [&](TCustomForm& f) {
        if (!hebrew) {
            for (int n : {0, 2, 3, 4})
                EXPECT_EQ(Part<TMemo>(f, "Agreement" + IntToStr(n)).Visible(), n == lang) << "Agreement" << n;
        }
        return proceed(f);
    };
    int notices = 0;
    Answers["TMessageForm"] = [&](TCustomForm& f) {
        ++notices;
        EXPECT_EQ(f.Caption(), text(30240));
        EXPECT_EQ(Part<TButton>(f, "OK").Caption(), LoadStr(60040 + lang));
        return mrOk;
    };
    const std::string name = "Zoë 100% ", organisation = "שלום & Co %P";
    Answers["TfrmUserInformation"] = [&](TCustomForm& f) {
        auto& nameEdit = Part<TEdit>(f, "HebEdit1");
        auto& orgEdit = Part<TEdit>(f, "HebEdit2");
        auto& nameLabel = Part<TLabel>(f, "HebLabel3");
        EXPECT_EQ(nameLabel.Caption(), text(30180));
        // Mirrored for Hebrew: the label has moved to the other side of its box.
        EXPECT_EQ(nameLabel.Left() > Part<TGroupBox>(f, "GroupBox1").Width() / 2, hebrew);
        backend.Type(nameEdit, "   ");
        Press(f, vkReturn);
        EXPECT_EQ(f.ActiveControl(), &nameEdit) << "a name of blanks is refused";
        nameEdit.SetText("");
        backend.Type(nameEdit, name + std::string(60, 'x'));
        EXPECT_EQ(nameEdit.TextLength(), 50);
        nameEdit.SetText(name);
        Press(f, vkReturn);
        EXPECT_EQ(f.ActiveControl(), &orgEdit) << "then the blank organisation";
        backend.Type(orgEdit, organisation);
        return proceed(f);
    };
    Answers[hebrew ? "THebdlgGI" : "TdlgGI"] = [&](TCustomForm& f) {
        captions[f.ClassName()] = f.Caption();
        EXPECT_EQ(Part<TLabel>(f, hebrew ? "HebLabel3" : "Label3").Caption(), "");
        backend.ClickControl(Part<TButton3D>(f, "CloseBtn"));
        return mrNone;
    };

    Install();

    const std::string prefix = hebrew ? "THeb" : "T";
    EXPECT_EQ(Shown, (std::vector<std::string>{"TSelectLangDlg", prefix + "dlgWelcome", "TfrmUserInformation", "TMessageForm",
                                                "TMessageForm", prefix + "dlgLicense", prefix + "dlgFG", prefix + "dlgSF",
                                                "TfrmSelectBrevanshawApplication", "TfrmInstallDll", prefix + "dlgGI"}));
    EXPECT_EQ(notices, 2);
    EXPECT_EQ(captions[hebrew ? "THebdlgWelcome" : "TdlgWelcome"], text(80));
    EXPECT_EQ(captions[hebrew ? "THebdlgGI" : "TdlgGI"], text(580));
    if (lang == 3) {
        EXPECT_EQ(captions["TdlgWelcome"], "Willkommen...");
    }
    // The Hebrew licence page carries captions of its own; the others read the table.
    if (!hebrew) {
        EXPECT_EQ(captions["TdlgLicense"], text(30540));
    }

    EXPECT_GE(timeAtChoice, 2500u) << "the wait ended about 4 s after the start, in the next day";
    EXPECT_LT(timeAtChoice, 60'000u);
    EXPECT_EQ(agentHeard, (std::vector<std::uint32_t>{1190}));
    EXPECT_EQ(Product("LID"), IntToStr(lang));
    EXPECT_EQ(Product("UserName"), name);
    EXPECT_EQ(Product("Organization"), organisation);
    EXPECT_TRUE(machine->FileExists("C:\\Brevanshaw\\Uninstall.exe"));
    EXPECT_FALSE(machine->FileExists("C:\\Brevanshaw\\Tutorial.exe")) << "the tutorial is left out";
    EXPECT_FALSE(LinkExists("Brevanshaw Interactive Tutorial.LNK"));
    EXPECT_TRUE(LinkExists(text(40000) + ".LNK")) << "the shortcuts carry the language's names";
    EXPECT_FALSE(LinkExists("Brevanshaw Windows Add-On Agent.LNK")) << "without the add-on its agent does not start";
}

INSTANTIATE_TEST_SUITE_P(FiveLanguages, WizardLanguages, ::testing::Range(0, 5));

TEST_F(WizardTest, CancelOnTheWelcomePage_NoKeepsItThenYesEndsOnTheBadPage) {
    // An agent that hangs: setup waits for it only so long.
    const os::WindowHandle agent = machine->AddWindow("TStartKalOfficeAddOn", 77, [](std::uint32_t, std::uintptr_t, std::intptr_t) {
        ADD_FAILURE() << "a hung agent answered";
        return std::intptr_t(0);
    });
    machine->SetWindowHung(agent, true);
    AnswerEveryPage(3);
    std::vector<std::string> questions;
    Answers["TMessageForm"] = [&](TCustomForm& f) {
        questions.push_back(f.Caption());
        return questions.size() == 1 ? mrNo : mrYes;
    };
    int welcomes = 0;
    Answers["TdlgWelcome"] = [&](TCustomForm& f) {
        ++welcomes;
        auto& cancel = Part<TButton3D>(f, "CancelBtn");
        backend.ClickControl(cancel);
        EXPECT_EQ(f.ModalResult(), mrNone) << "No keeps the page";
        // Escape reaches the cancel button while a button has the focus.
        Press(f, vkEscape);
        return mrNone;
    };
    std::string badCaption;
    Answers["TdlgBI"] = [&](TCustomForm& f) {
        badCaption = f.Caption();
        Press(f, vkReturn);
        return mrNone;
    };
    Install(kExitCancelled);
    EXPECT_EQ(welcomes, 1);
    EXPECT_EQ(questions, (std::vector<std::string>{LoadStr(1283), LoadStr(1283)}));
    EXPECT_EQ(badCaption, LoadStr(683));
    EXPECT_TRUE(SetupState().UserCancelled);
    EXPECT_FALSE(machine->FileExists("C:\\Brevanshaw\\Uninstall.exe"));
    EXPECT_EQ(Product("LID"), "<none>");
}

TEST_F(WizardTest, AFileInUse_HebrewRestartPageRestartLaterEndsWithoutRestart) {
    Put("C:\\Brevanshaw\\KALADDON.DLL", "held");
    machine->SetFileInUse("C:\\Brevanshaw\\KALADDON.DLL", true);
    AnswerEveryPage(1);
    Answers["TfrmUserInformation"] = [this](TCustomForm& f) {
        Part<TEdit>(f, "HebEdit1").SetText("דנה");
        Part<TEdit>(f, "HebEdit2").SetText("חלברנוק");
        backend.ClickControl(Part<TButton3D>(f, "ProceedBtn"));
        return mrNone;
    };
    std::vector<std::string> options;
    Answers["THebdlgShutdown"] = [&](TCustomForm& f) {
        auto& group = Part<TRadioGroup>(f, "RG");
        options = group.Items()->ToVector();
        EXPECT_EQ(f.ActiveControl(), &group);
        Press(f, vkEscape);
        EXPECT_EQ(f.ModalResult(), mrNone) << "the restart page has no Cancel";
        backend.ClickItem(group, 1);
        Press(f, vkReturn);
        return mrNone;
    };
    Install(kExitRestartNeeded);
    EXPECT_EQ(options, (std::vector<std::string>{LoadStr(2081), LoadStr(2101)}));
    EXPECT_EQ(std::count(Shown.begin(), Shown.end(), "THebdlgShutdown"), 1);
    EXPECT_EQ(std::count(Shown.begin(), Shown.end(), "THebdlgGI"), 0) << "files wait for the restart: no good page";
    EXPECT_FALSE(SetupState().RebootNeeded);
    EXPECT_TRUE(machine->RestartRequests().empty());
    EXPECT_EQ(Product("UserName"), "דנה");
}
