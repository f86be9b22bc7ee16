// Google Drive files go to the Drive trash. A file is known by its Drive identifier, so one file
// listed through two folders is one file here.
#pragma once

#include "cloud/DriveTrash.h"
#include "removal/RemovalRoute.h"

class DriveService;

class DriveRoute : public RemovalRoute
{
public:
    // `service` null: no Drive controller, every removal fails at once.
    explicit DriveRoute(DriveService *service, int timeoutMs = DriveTrash::kDefaultTimeoutMs);

    QString identity(const ImageFileInfo &record) const override;
    RemovalOutcome remove(
        const std::shared_ptr<ImageFileInfo> &record, const std::atomic<bool> &stop) override;

private:
    DriveService *m_service;
    int m_timeoutMs;
};
