// Archive location of files and file containers; see cmp_TFileRelated.h.
#include "engine/cmp_TFileRelated.h"

const rt::TClassInfo& TFileRelated::StaticClass() {
    static const rt::TClassInfo info{"TFileRelated", &TBaseHelperComponent::StaticClass(), {}, {}, {}};
    return info;
}

TFileRelated::TFileRelated(rt::TComponent* owner) : TBaseHelperComponent(owner) {}

void TFileRelated::SetArchiveFile(const std::string& value) { FArchiveFile = value; }
void TFileRelated::SetArchiveFileType(TPathSpecifiers value) { FArchiveFileType = value; }
