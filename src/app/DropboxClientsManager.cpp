#include "app/DropboxClientsManager.h"

#include <atomic>

namespace
{

std::atomic<DropboxClientsManager *> &sharedManager()
{
    static std::atomic<DropboxClientsManager *> manager { nullptr };
    return manager;
}

} // namespace

DropboxClientsManager *DropboxClientsManager::shared()
{
    return sharedManager().load();
}

void DropboxClientsManager::setShared(DropboxClientsManager *manager)
{
    sharedManager().store(manager);
}
