#include "platform/OAuthTokenSource.h"

#include "platform/OAuthCodeFlow.h"
#include "platform/ThreadMailbox.h"

OAuthTokenSource::OAuthTokenSource(OAuthCodeFlow *flow, QList<QUrl> apiBases)
    : TokenSource(std::move(apiBases))
    , m_mailbox(ThreadMailbox::create(flow))
    , m_flow(flow)
{
}

QString OAuthTokenSource::accessToken() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_token;
}

void OAuthTokenSource::setToken(const QString &token)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_token = token;
}

void OAuthTokenSource::refresh(std::function<void(bool ok)> done)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_flow) {
            m_waiting.push_back(std::move(done));
            if (m_refreshing)
                return;
            m_refreshing = true;
            OAuthCodeFlow *flow = m_flow;
            if (m_mailbox->post([flow] { flow->refreshForSource(); }))
                return;
            done = std::move(m_waiting.back());
            m_waiting.pop_back();
            m_refreshing = false;
        }
    }
    done(false);
}

std::vector<std::function<void(bool)>> OAuthTokenSource::takeWaiting()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_refreshing = false;
    std::vector<std::function<void(bool)>> waiting;
    waiting.swap(m_waiting);
    return waiting;
}

void OAuthTokenSource::refreshFinished(bool ok)
{
    for (const auto &done : takeWaiting())
        done(ok);
}

void OAuthTokenSource::detach()
{
    m_mailbox->close();
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_flow = nullptr;
    }
    refreshFinished(false);
}
