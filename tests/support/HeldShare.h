// A network share whose server answers every look and read at once but holds every change (a file
// made or written, a rename, a removal) until it is let go: a FUSE file system, served by a thread of
// the test, that shows a folder of the test's own. Mounted only from a test run beside a silent share
// (DeadMount::runTestBeside), whose private mount namespace keeps the machine's mounts untouched.
#pragma once

#include <memory>

#include <QString>

class HeldShare
{
public:
    // Shows the folder `backing` at the empty folder `point`; changes pass until hold() is called.
    HeldShare(const QString &backing, const QString &point);
    // Lets go of what is held and takes the share away.
    ~HeldShare();
    HeldShare(const HeldShare &) = delete;
    HeldShare &operator=(const HeldShare &) = delete;

    bool isMounted() const;
    // From now on, every change waits.
    void hold();
    // The changes held so far are made and answered, in the order they came; later ones pass.
    void release();
    // Changes waiting now.
    int held() const;

    struct Server;

private:
    std::shared_ptr<Server> m_server;
    QString m_point;
};
