// The install root most tests and probes stand on: "Install1", the product of Halvernock,
// installed into an absolute folder.
#pragma once

#include <string>

#include "engine/cmp_TInstall.h"
#include "runtime/Forms.h"

inline TInstall* NewProductRoot(rt::TForm* form, const std::string& product, const std::string& destDir) {
    auto* root = new TInstall(form);
    root->SetName("Install1");
    root->Information()->SetCompanyName("Halvernock");
    root->Information()->SetProductName(product);
    root->SetDestDirType(TPathSpecifiers::ddAbsolute);
    root->SetDestDir(destDir);
    return root;
}
