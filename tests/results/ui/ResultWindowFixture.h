// A results window with its finished parts (list, preview, metadata, hints, sheets), scripted
// sheets and alerts, and groups of real generated photos in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/PropertyList.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "results/ResultsTestRecords.h"
#include "results/ui/MetadataTable.h"
#include "results/ui/OutlineList.h"
#include "results/ui/PreviewPane.h"
#include "results/ui/ResultFileActions.h"
#include "results/ui/ResultViewController.h"
#include "results/ui/ResultWindowBuilder.h"
#include "results/ui/ResultsGridView.h"
#include "results/ui/ThumbnailLoader.h"

class ResultWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ScanGlobals::resetToInitialValues();
        ScanGlobals::compareType = GlobalObjects::CompareType::ctHash;
        ScanGlobals::matchThreshold = 0.90;
        ScanGlobals::minimumMatchThreshold = 0.85;
    }

    void TearDown() override
    {
        settle();
        controller.reset();
        ownBuilder.reset();
        Localization::setPreferredLanguagesOverride({});
        Localization::setTableFolderOverride(QString());
        Localization::reset();
    }

    // A language whose table holds `texts` (keys not listed have no text in it).
    void useLanguage(const QString &code, const QVariantMap &texts)
    {
        ASSERT_TRUE(tables.isValid());
        ASSERT_TRUE(
            PropertyList::writeFile(tables.filePath(QStringLiteral("QNY_%1.plist").arg(code)), texts));
        Localization::setTableFolderOverride(tables.path());
        Localization::setPreferredLanguagesOverride({ code });
        Localization::reset();
    }

    void open()
    {
        controller = std::make_unique<ResultViewController>();
        controller->returnToMainHandler = [this] { ++returnedToMain; };
        controller->view()->resize(1300, 900);
        builder = &ResultWindowFixture::builderOf(*controller, ownBuilder);
        controller->view()->show();
    }

    // The controller's own builder when it hosts one, else one made here.
    static ResultWindowBuilder &builderOf(ResultViewController &c, std::unique_ptr<ResultWindowBuilder> &own)
    {
        if (ResultWindowBuilder *hosted = c.findChild<ResultWindowBuilder *>())
            return *hosted;
        own = std::make_unique<ResultWindowBuilder>(c);
        own->build();
        return *own;
    }

    std::shared_ptr<ImageFileInfo> photo(const QString &name, float match)
    {
        const QString path = dir.filePath(name + QStringLiteral(".jpg"));
        QImage image(640, 480, QImage::Format_RGB32);
        image.fill(QColor::fromHsv(int(qHash(name) % 360), 200, 200));
        EXPECT_TRUE(image.save(path, "JPG"));
        auto record = ImageFileInfo::initWithPathForFile(path);
        EXPECT_TRUE(record);
        record->match = match;
        return record;
    }

    std::shared_ptr<ImageFileInfo> video(const QString &name, float match)
    {
        const QString path = dir.filePath(name + QStringLiteral(".mov"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(70000, 'v'));
        file.close();
        auto record = ImageFileInfo::initWithPathForFile(path);
        EXPECT_TRUE(record);
        record->match = match;
        record->isVideo = true;
        return record;
    }

    std::shared_ptr<DuplicatesGroup> photos(const QString &prefix, int count)
    {
        std::vector<std::shared_ptr<ImageFileInfo>> members;
        for (int i = 0; i < count; ++i)
            members.push_back(photo(prefix + QString::number(i), 1.0f));
        return ResultsTestRecords::group(members);
    }

    void enter(const std::vector<std::shared_ptr<DuplicatesGroup>> &groups)
    {
        int reloads = 0;
        const auto connection = QObject::connect(
            controller.get(), &ResultViewController::collectionViewReloaded, [&reloads] { ++reloads; });
        controller->invokeCollectionView(groups);
        ASSERT_TRUE(waitUntil([&] { return reloads > 0; }));
        QObject::disconnect(connection);
        QCoreApplication::processEvents();
    }

    // Runs the event loop until `done` holds, for at most five seconds.
    static bool waitUntil(const std::function<bool()> &done)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > 5000)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        return true;
    }

    void settle()
    {
        if (!controller)
            return;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 10000) {
            controller->thumbnailLoader().waitForWorkers();
            QCoreApplication::processEvents();
            if (controller->thumbnailLoader().pendingLoads() == 0)
                return;
        }
    }

    QTemporaryDir dir;
    QTemporaryDir tables;
    ScriptedAlertPresenter presenter;
    std::unique_ptr<ResultViewController> controller;
    std::unique_ptr<ResultWindowBuilder> ownBuilder;
    ResultWindowBuilder *builder = nullptr;
    int returnedToMain = 0;
};
