// A running browser sign-in flow that waits for its redirect to come back to the application.
#pragma once

#include <QUrl>

class ExternalUserAgentSession
{
public:
    virtual ~ExternalUserAgentSession() = default;
    // True when the flow recognised the redirect and took it.
    virtual bool resumeExternalUserAgentFlowWithURL(const QUrl &url) = 0;
};
