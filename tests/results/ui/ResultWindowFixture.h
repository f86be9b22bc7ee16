// The results window as the controller finishes it (list, preview, metadata, hints, sheets), with
// the grid fixture's scripted presenter and generated photos, and a choice of interface language
// made before the window is built.
#pragma once

#include <functional>

#include <QElapsedTimer>

#include "app/LocalizedString.h"
#include "platform/PropertyList.h"
#include "results/ui/MetadataTable.h"
#include "results/ui/OutlineList.h"
#include "results/ui/PreviewPane.h"
#include "results/ui/ResultFileActions.h"
#include "results/ui/ResultGridFixture.h"
#include "results/ui/ResultWindowBuilder.h"

class ResultWindowFixture : public ResultGridFixture
{
protected:
    void SetUp() override
    {
        ResultGridFixture::SetUp();
        // Every test opens its own window, after choosing its language.
        controller.reset();
    }

    void TearDown() override
    {
        ResultGridFixture::TearDown();
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
        QObject::connect(
            controller.get(), &ResultViewController::returnToMainRequested, [this] { ++returnedToMain; });
        controller->view()->resize(1300, 900);
        builder = controller->findChild<ResultWindowBuilder *>();
        ASSERT_TRUE(builder);
        controller->view()->show();
    }

    std::shared_ptr<ImageFileInfo> video(const QString &name) { return photo(name, 1.0f, true); }

    std::shared_ptr<DuplicatesGroup> photos(const QString &prefix, int count)
    {
        return ResultGridFixture::photos(prefix, std::vector<float>(size_t(count), 1.0f));
    }

    // Runs the event loop until `done` holds, for at most `milliseconds`.
    static bool waitUntil(const std::function<bool()> &done, int milliseconds = 5000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > milliseconds)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        return true;
    }

    QTemporaryDir tables;
    ResultWindowBuilder *builder = nullptr;
};
