// The Dropbox client side that the application core talks to: sign-in redirects and sign-out at
// quit. The cloud subsystem installs the implementation; without one every call does nothing.
#pragma once

#include <functional>
#include <optional>

#include <QString>
#include <QUrl>

struct DropboxOAuthResult {
    enum class Kind { success, error, cancel };
    Kind kind = Kind::success;
    QString errorDescription;
};

class DropboxClientsManager
{
public:
    using Completion = std::function<void(const std::optional<DropboxOAuthResult> &)>;

    virtual ~DropboxClientsManager() = default;

    // Hands a redirect to the sign-in; `completion` gets its result, or nothing when the URL did
    // not belong to a Dropbox sign-in.
    virtual void handleRedirectURL(const QUrl &url, Completion completion) = 0;
    // A sign-in has opened the browser and waits for its redirect.
    virtual bool isWaitingForRedirect() const = 0;
    virtual void unlinkClients() = 0;
    virtual void resetClients() = 0;

    // The installed implementation, or null.
    static DropboxClientsManager *shared();
    // Installs `manager` (not owned); null removes it.
    static void setShared(DropboxClientsManager *manager);
};
