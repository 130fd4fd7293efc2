// The loading form; see LoadFormUnit.h.
#include "app/LoadFormUnit.h"

#include "engine/SetupState.h"
#include "platform/Platform.h"

TfrmLoad* frmLoad = nullptr;

const rt::TClassInfo& TfrmLoad::StaticClass() {
    static const rt::TClassInfo info{"TfrmLoad", &rt::TForm::StaticClass(), rt::Factory<TfrmLoad>(), {}, {}};
    return info;
}

TfrmLoad::TfrmLoad(rt::TComponent* owner) : rt::TForm(owner) {
    LoadDescription("frmLoad.dfm");
    SetupState().StartTime = os::Current().TimeOfDayMs();
    DoCreate();
}
