// The product pages' copy window; see frmCopyFileUnit.h.
#include "app/frmCopyFileUnit.h"

#include <cmath>
#include <vector>

#include "app/StringTable.h"
#include "engine/SetupLog.h"
#include "platform/Platform.h"
#include "runtime/StdCtrls.h"

using namespace rt;

namespace {
constexpr std::size_t kBlock = 2048;
constexpr int kAttempts = 3;
}  // namespace

const TClassInfo& TfrmFileCopy::StaticClass() {
    static const TClassInfo info{"TfrmFileCopy", &TDocForm::StaticClass(), {}, {}, {}};
    return info;
}

TfrmFileCopy::TfrmFileCopy(TComponent* owner) : TDocForm(owner) {
    LoadDescription("frmFileCopy.dfm");
    SetRealWidth(446);
    SetRealHeight(158);
    SetCaption(LocalisedString(20000));
    // Only the program closes it.
    OnCloseQuery = TEvent<TObject*, bool&>(this, [](TObject*, bool& canClose) { canClose = false; });
    DoCreate();
}

TfrmFileCopy::~TfrmFileCopy() = default;

void TfrmFileCopy::BeforeDestruction() {
    FOthers.Enable();
    TDocForm::BeforeDestruction();
}

void TfrmFileCopy::SetVisible(bool v) {
    if (v && !Visible() && !IsLoading()) FOthers.Disable(*this);
    TDocForm::SetVisible(v);
    if (!v) FOthers.Enable();
}

void TfrmFileCopy::Start() {
    SetPosition(TPosition::poScreenCenter);
    ShowForm();
    FormPart<TAnimate>(*this, "Animate1")->SetActive(true);
    Update();
}

bool TfrmFileCopy::TryCopy(const std::string& source, const std::string& target) {
    os::IPlatform& platform = os::Current();
    FormPart<TLabel>(*this, "lbl1")->SetCaption(source + " " + LocalisedString(380));
    auto in = platform.OpenFile(source, os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::Read);
    if (!in) return false;
    auto out = platform.OpenFile(target, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::None);
    if (!out) return false;
    TProgressBar* bar = FormPart<TProgressBar>(*this, "ProgressBar1");
    bar->SetPosition(0);
    bar->SetMax(static_cast<int>(std::lround(static_cast<double>(in->Size()) / kBlock)));
    std::vector<char> block(kBlock);
    for (;;) {
        const std::int64_t got = in->Read(block.data(), block.size());
        if (got < 0) return false;
        if (got > 0 && out->Write(block.data(), static_cast<std::size_t>(got)) != got) return false;
        bar->StepBy(1);
        if (TApplication* app = Application()) app->ProcessMessages();
        if (got < static_cast<std::int64_t>(block.size())) return true;
    }
}

void TfrmFileCopy::CopyFileWithProgress(const std::string& source, const std::string& target) {
    for (int attempt = 0; attempt < kAttempts; ++attempt)
        if (TryCopy(source, target)) {
            LogLine("Copied " + source + " to " + target);
            return;
        }
    // A failing disk must not hold the run for ever.
    LogLine("Error: cannot copy " + source + " to " + target);
    throw Exception("Cannot copy " + source + " to " + target);
}
