// A scriptable photo-library application for the tests: it can be closed, refuse the permission
// (-1743), fail a batch, lack some items; it records the libraries opened, the scripts and the
// batches handed to it.
#pragma once

#include <functional>
#include <vector>

#include <QSet>

#include "platform/PhotosLibraryBridge.h"

class FakePhotosBridge : public PhotosLibraryBridge
{
public:
    bool isRunning() const override { return running; }
    bool openLibrary(const QString &path) override
    {
        opened.append(path);
        return running;
    }
    std::optional<QStringList> containerNames() const override { return containers; }
    AlbumScriptResult createAlbum(const QString &name, const QString &script) override
    {
        scripts.append(script);
        if (createError)
            return { false, createError };
        if (containers)
            containers->append(name);
        return { true, std::nullopt };
    }
    QString mediaItemReference(const QString &id) const override
    {
        if (onLookup)
            onLookup();
        return missing.contains(id) ? QString() : QStringLiteral("ref-") + id;
    }
    QStringList addToAlbum(const QString &, const QStringList &references, const QString &script) override
    {
        scripts.append(script);
        batches.push_back(references);
        return int(batches.size()) - 1 == failingBatch ? QStringList() : references;
    }

    bool running = true;
    std::optional<QStringList> containers = QStringList();
    std::optional<int> createError;
    int failingBatch = -1;
    QSet<QString> missing;
    std::function<void()> onLookup;

    QStringList opened;
    QStringList scripts;
    std::vector<QStringList> batches;
};
