// The DDE client conversation; see DdeMan.h.
#include "runtime/DdeMan.h"

#include "runtime/TypInfo.h"

namespace rt {

const TClassInfo& TDdeClientConv::StaticClass() {
    static const TClassInfo info{"TDdeClientConv", &TComponent::StaticClass(), Factory<TDdeClientConv>(), {}, {}};
    return info;
}

TDdeClientConv::TDdeClientConv(TComponent* owner) : TComponent(owner) {}

TDdeClientConv::~TDdeClientConv() { CloseLink(); }

bool TDdeClientConv::SetLink(const std::string& service, const std::string& topic) {
    if (!SameText(service, FService) || !SameText(topic, FTopic)) CloseLink();
    FService = service;
    FTopic = topic;
    if (FConnectMode == TDataMode::ddeAutomatic) return OpenLink();
    return Connected();
}

bool TDdeClientConv::OpenLink() {
    if (Connected()) return true;
    if (FService.empty()) return false;
    FConversation = os::Current().DdeConnect(FService, FTopic);
    return Connected();
}

void TDdeClientConv::CloseLink() {
    if (!Connected()) return;
    // The conversation may belong to a platform that has gone (a test's machine); the
    // platform in force then simply refuses the handle.
    if (os::IPlatform* platform = os::ScopedPlatform::TryCurrent()) platform->DdeDisconnect(FConversation);
    FConversation = 0;
}

bool TDdeClientConv::ExecuteMacro(const std::string& command) {
    return Connected() && os::Current().DdeExecute(FConversation, command);
}

bool TDdeClientConv::RequestData(const std::string& item, std::string& data) {
    data.clear();
    return Connected() && os::Current().DdeRequest(FConversation, item, data);
}

}  // namespace rt
