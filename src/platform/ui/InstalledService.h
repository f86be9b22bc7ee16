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
