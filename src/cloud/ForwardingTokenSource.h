// The bearer token of the Dropbox source: a fixed source given by the caller (the headless
// runner, tests), else whatever the application's sign-in holds at the moment of the call.
#pragma once

#include <memory>

#include "platform/TokenSource.h"

class ForwardingTokenSource : public TokenSource
{
public:
    ForwardingTokenSource(std::shared_ptr<TokenSource> fixed, QList<QUrl> apiBases);

    QString accessToken() const override;
    void refresh(std::function<void(bool ok)> done) override;

private:
    std::shared_ptr<TokenSource> current() const;

    std::shared_ptr<TokenSource> m_fixed;
};
