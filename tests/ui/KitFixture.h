// A headless screen and a simulated machine for the control kit's tests; Hebrew chosen or
// not, the Middle-East flag read afresh for each test.
#pragma once

#include <gtest/gtest.h>

#include "engine/SetupState.h"
#include "runtime/Forms.h"
#include "runtime/Resources.h"
#include "runtime/headless/HeadlessBackend.h"
#include "tests/common/SimMachine.h"
#include "ui/HebForm.h"
#include "ui/MsgDialog.h"

class KitTest : public ::testing::Test {
protected:
    void SetUp() override {
        BrevRegisterEmbeddedResources();
        RegisterKitClasses();
        rt::SetBackend(&backend);
        app = new rt::TApplication(nullptr);
        rt::SetApplication(app);
        SetupState() = TSetupState{};
        SetMsgDlgLanguage(0);
        ResetMiddleEastFlag();
    }
    void TearDown() override {
        SetupState() = TSetupState{};
        ResetMiddleEastFlag();
        rt::SetApplication(nullptr);
        app->Free();
        rt::SetBackend(nullptr);
    }
    // Hebrew as the setup language: the mirroring flag on.
    void ChooseHebrew() {
        SetupState().LanguageIndex = 1;
        SetupState().Hebrew = true;
        SetMsgDlgLanguage(1);
    }

    SimMachine machine;
    rt::THeadlessBackend backend;
    rt::TApplication* app = nullptr;
};
