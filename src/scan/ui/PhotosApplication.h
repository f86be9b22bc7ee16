// The photo-library application of the desktop, as far as a scan needs it: whether it runs, and
// asking it to quit before its library is read. No such application runs on this platform; tests
// install a double that does.
#pragma once

class PhotosApplication
{
public:
    virtual ~PhotosApplication() = default;

    virtual bool isRunning() const = 0;
    // Asks the application to quit and gives it time to close.
    virtual void quit() = 0;

    static PhotosApplication &current();
    // Installs `application` (not owned); null restores the platform's.
    static void setCurrent(PhotosApplication *application);
};
