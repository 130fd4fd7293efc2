// The DDE client conversation: a component that links to a server's service and topic,
// sends it macros to execute and requests data items as text. Program Manager's client is
// built on it.
#pragma once

#include <string>

#include "platform/Platform.h"
#include "runtime/Classes.h"

namespace rt {

// Automatic links open when the service and topic are set; manual ones on OpenLink.
enum class TDataMode { ddeAutomatic, ddeManual };

class TDdeClientConv : public TComponent {
    RT_CLASS(TDdeClientConv, TComponent)
public:
    explicit TDdeClientConv(TComponent* owner);
    ~TDdeClientConv() override;

    TDataMode ConnectMode() const { return FConnectMode; }
    void SetConnectMode(TDataMode v) { FConnectMode = v; }
    const std::string& DdeService() const { return FService; }
    const std::string& DdeTopic() const { return FTopic; }
    // Stores service and topic (closing a link to others); an automatic conversation then
    // opens the link, and the result says whether it is open.
    bool SetLink(const std::string& service, const std::string& topic);
    bool OpenLink();
    void CloseLink();
    bool Connected() const { return FConversation != 0; }

    // False when there is no link or the server did not process the command.
    bool ExecuteMacro(const std::string& command);
    // The item's text; false when there is no link or no reply.
    bool RequestData(const std::string& item, std::string& data);

private:
    TDataMode FConnectMode = TDataMode::ddeAutomatic;
    std::string FService;
    std::string FTopic;
    os::DdeConversation FConversation = 0;
};

}  // namespace rt
