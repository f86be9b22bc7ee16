// The slot behind a replaceable service (alert presenter, open panel): code asks for the current
// one, which is the installed one or else the program's own; tests install their doubles.
#pragma once

template <typename Interface, typename Default> class InstalledService
{
public:
    static Interface &current()
    {
        if (s_installed)
            return *s_installed;
        static Default fallback;
        return fallback;
    }
    // Installs `service` (not owned); null restores the default.
    static void setCurrent(Interface *service) { s_installed = service; }
    static Interface *installed() { return s_installed; }

private:
    static inline Interface *s_installed = nullptr;
};

// Installs a service for as long as it lives, then puts back the one installed before it, unless
// another has been installed since (that one stays).
template <typename Interface> class ScopedInstall
{
public:
    explicit ScopedInstall(Interface *service)
        : m_service(service)
        , m_previous(Interface::installed())
    {
        Interface::setCurrent(service);
    }
    ~ScopedInstall()
    {
        if (Interface::installed() == m_service)
            Interface::setCurrent(m_previous);
    }
    ScopedInstall(const ScopedInstall &) = delete;
    ScopedInstall &operator=(const ScopedInstall &) = delete;

private:
    Interface *m_service;
    Interface *m_previous;
};
