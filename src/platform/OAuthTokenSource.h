// The token of an OAuthCodeFlow for HttpClient on any thread: a copy of the access token under a
// lock, and refreshes run on the flow's thread with every waiting caller answered once.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "platform/TokenSource.h"

class OAuthCodeFlow;
class ThreadMailbox;

class OAuthTokenSource : public TokenSource
{
public:
    OAuthTokenSource(OAuthCodeFlow *flow, QList<QUrl> apiBases);

    QString accessToken() const override;
    void refresh(std::function<void(bool ok)> done) override;

    // Called by the flow on its thread.
    void setToken(const QString &token);
    void refreshFinished(bool ok);
    // The flow is going: waiting callers hear "failed", later ones at once.
    void detach();

private:
    std::vector<std::function<void(bool)>> takeWaiting();

    mutable std::mutex m_mutex;
    QString m_token;
    std::shared_ptr<ThreadMailbox> m_mailbox;
    OAuthCodeFlow *m_flow;
    std::vector<std::function<void(bool)>> m_waiting;
    bool m_refreshing = false;
};
