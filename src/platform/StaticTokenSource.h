// A fixed bearer token (the headless runner's): a refused token stays refused.
#pragma once

#include <utility>

#include "platform/TokenSource.h"

class StaticTokenSource : public TokenSource
{
public:
    StaticTokenSource(QString token, QList<QUrl> apiBases)
        : TokenSource(std::move(apiBases))
        , m_token(std::move(token))
    {
    }
    QString accessToken() const override { return m_token; }
    void refresh(std::function<void(bool ok)> done) override { done(false); }

private:
    QString m_token;
};
