#include "cloud/ForwardingTokenSource.h"

#include "cloud/DropboxAuth.h"

ForwardingTokenSource::ForwardingTokenSource(std::shared_ptr<TokenSource> fixed, QList<QUrl> apiBases)
    : TokenSource(std::move(apiBases))
    , m_fixed(std::move(fixed))
{
}

std::shared_ptr<TokenSource> ForwardingTokenSource::current() const
{
    return m_fixed ? m_fixed : DropboxAuth::sharedAuthorizedClient();
}

QString ForwardingTokenSource::accessToken() const
{
    const std::shared_ptr<TokenSource> source = current();
    return source ? source->accessToken() : QString();
}

void ForwardingTokenSource::refresh(std::function<void(bool ok)> done)
{
    if (const std::shared_ptr<TokenSource> source = current())
        source->refresh(std::move(done));
    else
        done(false);
}
