// A results controller fed with groups of real generated photos, with scripted sheets and alerts,
// and helpers that run the queued refresh and the thumbnail loads to their end (bounded waits).
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QScrollBar>
#include <QTemporaryDir>

#include "app/ScanGlobals.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "results/ResultsTestRecords.h"
#include "results/ui/CollectionViewItem.h"
#include "controls/DoubleSlider.h"
#include "results/ui/ResultViewController.h"
#include "results/ui/ResultsGridView.h"
#include "results/ui/ThumbnailLoader.h"

class ResultGridFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        scan.compareType = GlobalObjects::CompareType::ctHash;
        scan.matchThreshold = 0.90;
        scan.minimumMatchThreshold = 0.85;
        controller = std::make_unique<ResultViewController>();
        QObject::connect(
            controller.get(), &ResultViewController::returnToMainRequested, [this] { ++returnedToMain; });
        QObject::connect(controller.get(), &ResultViewController::changeAllComponentsRequested,
            [this](const auto &record) { previewed.push_back(record); });
        controller->view()->resize(1300, 900);
        controller->view()->show();
    }

    void TearDown() override
    {
        settle();
        controller.reset();
    }

    // A photo file of its own picture; its record carries `match`.
    std::shared_ptr<ImageFileInfo> photo(const QString &name, float match, bool video = false)
    {
        const QString path = dir.filePath(name + (video ? QStringLiteral(".mov") : QStringLiteral(".jpg")));
        if (video) {
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, 'v'));
        } else {
            QImage image(640, 480, QImage::Format_RGB32);
            image.fill(QColor::fromHsv((qHash(name) % 360), 200, 200));
            EXPECT_TRUE(image.save(path, "JPG"));
        }
        auto record = ImageFileInfo::initWithPathForFile(path, RecordSettings {});
        EXPECT_TRUE(record);
        record->match = match;
        record->isVideo = video;
        return record;
    }

    std::shared_ptr<DuplicatesGroup> photos(const QString &prefix, const std::vector<float> &matches)
    {
        std::vector<std::shared_ptr<ImageFileInfo>> members;
        for (size_t i = 0; i < matches.size(); ++i)
            members.push_back(photo(prefix + QString::number(i), matches[i]));
        return ResultsTestRecords::group(members);
    }

    // Runs the queued refresh and the delayed reload of the grid.
    void reloadNow()
    {
        QEventLoop loop;
        bool reloaded = false;
        const auto connection = QObject::connect(controller.get(), &ResultViewController::collectionViewReloaded,
                                                 &loop, [&] {
                                                     reloaded = true;
                                                     loop.quit();
                                                 });
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        loop.exec();
        QObject::disconnect(connection);
        ASSERT_TRUE(reloaded) << "the grid was not reloaded";
        QCoreApplication::processEvents();
    }

    void enter(const std::vector<std::shared_ptr<DuplicatesGroup>> &groups)
    {
        controller->invokeCollectionView(groups, scan);
        reloadNow();
    }

    // Lets every queued load finish and hands its result to the GUI thread.
    void settle()
    {
        if (!controller)
            return;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 30000) {
            controller->thumbnailLoader().waitForWorkers();
            QCoreApplication::processEvents();
            if (controller->thumbnailLoader().pendingLoads() == 0)
                return;
        }
        ADD_FAILURE() << "thumbnail loads did not finish";
    }

    ResultsGridView &grid() { return *controller->collectionView; }
    CollectionViewItem *cell(int section, int item) { return grid().itemAtIndexPath(IndexPath{section, item}); }
    QPoint centreOf(int section, int item)
    {
        const QRectF frame = *grid().layoutAttributesForItemAtIndexPath(IndexPath{section, item});
        return frame.center().toPoint() - QPoint(0, grid().verticalScrollBar()->value());
    }

    QTemporaryDir dir;
    ScriptedAlertPresenter presenter;
    // The values of the scan the groups come from.
    ScanGlobalsSnapshot scan;
    std::unique_ptr<ResultViewController> controller;
    std::vector<std::shared_ptr<ImageFileInfo>> previewed;
    int returnedToMain = 0;
};
