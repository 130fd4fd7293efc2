// The install engine's exception family. Messages are fixed texts built from literal
// pieces and the component's name or a path; users and support staff read them.
#pragma once

#include <string>

#include "runtime/SysUtils.h"
#include "runtime/TypInfo.h"

class EAI : public rt::Exception {
public:
    using rt::Exception::Exception;
};

// Errors of install containers.
class EAIIC : public EAI {
public:
    using EAI::EAI;
};

// Errors of install files.
class EAIIF : public EAI {
public:
    using EAI::EAI;
};

class TInstallContainer;

class EAIICBadCompCall : public EAIIC {
public:
    EAIICBadCompCall(int index, rt::TClass classType)
        : EAIIC("Bad call to the Comp procedure which returns a TBaseHelperComponent for a TInstallContainer component. "
                "The parameters are probably reversed."),
          Index(index),
          ClassType(classType) {}
    int Index;
    rt::TClass ClassType;
};

class EAIICAddingNilHelperComponent : public EAIIC {
public:
    EAIICAddingNilHelperComponent(TInstallContainer* container, const std::string& containerName)
        : EAIIC("Tried to add a NIL helper component to the following container: " + containerName), Container(container) {}
    TInstallContainer* Container;
};

class EAIICNotValidHelperInOrder : public EAIIC {
public:
    EAIICNotValidHelperInOrder() : EAIIC("There is an invalid value in the InstallOrder property") {}
};

class EAIICCircularInstallContainer : public EAIIC {
public:
    using EAIIC::EAIIC;
};

class EAITwoInstallComponents : public EAI {
public:
    EAITwoInstallComponents()
        : EAI("The TInstall component does not currently support the use of 2 TInstall components in the same project") {}
};

// Raised while the component is being made, which is then taken apart again: the error
// names the owner that was wrong, which outlives it, never the component itself.
class EAIParentNotForm : public EAI {
public:
    explicit EAIParentNotForm(rt::TComponent* owner) : EAI("The component must be put onto a form"), Owner(owner) {}
    rt::TComponent* Owner;
};

// The user left setup. Raising it also drops any pending restart request.
class EAIUserAbort : public EAI {
public:
    EAIUserAbort();
};

// A run without a person met a page that would not take its answer (no room on the drive, a
// name too long, a disk that is not there): the message says which, and the run fails.
class EAIUnattendedRefusal : public EAI {
public:
    explicit EAIUnattendedRefusal(const std::string& reason) : EAI(reason) {}
};
