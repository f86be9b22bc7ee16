// quennary-scan-screenshot OUTDIR FOLDER [--exact] [--all-sizes]: starts the application as a user
// would, adds FOLDER to the scan list, presses Scan and writes three screenshots of the screen to
// OUTDIR: the main window with its list (main.png), the adding sheet at the end of the comparison
// (sheet.png) and the results view (results.png). It also prints the longest time the window did
// not answer during the scan. --all-sizes scans files of any size. Settings, caches and the log go
// to a temporary home.
#include <algorithm>
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include "ScreenshotSupport.h"
#include "app/ui/AppDelegate.h"
#include "controls/CircularProgressBarView.h"
#include "platform/UserDefaults.h"
#include "results/ui/ResultViewController.h"
#include "scan/ui/MainViewController.h"
#include "scan/ui/ScanListController.h"
#include "scan/ui/ScanRunController.h"

namespace
{

constexpr int kSettleMs = 700;
constexpr int kGiveUpMs = 120000;
constexpr int kTickMs = 10;

bool grab(const QString &folder, const QString &name)
{
    return ScreenshotSupport::grabScreen(folder, name);
}

} // namespace

int main(int argc, char **argv)
{
    ScreenshotSupport::Session session(argc, argv);
    QApplication &app = session.app;
    if (!ScreenshotSupport::hasArguments(2, "quennary-scan-screenshot OUTDIR FOLDER [--exact] [--all-sizes]"))
        return 2;
    const QStringList arguments = QApplication::arguments();
    const QString out = ScreenshotSupport::outputFolder(arguments.at(1));
    const QString folder = QDir(arguments.at(2)).absolutePath();
    if (arguments.contains(QStringLiteral("--all-sizes")))
        UserDefaults::standard().setObject(QStringLiteral("minimumFileSize"), 0);

    AppDelegate delegate;
    delegate.launch();
    delegate.window->show();
    MainViewController &main = *delegate.mainVC;
    if (arguments.contains(QStringLiteral("--exact")))
        main.selectComparisonMethod(main.btnExactMatch.data());
    main.addPathNode(folder, GlobalObjects::NodeType::nodeTypefolder);
    main.scanList().reloadPathTable();

    // The window answers when a short timer keeps firing on time.
    QElapsedTimer sinceTick;
    qint64 longestStallMs = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &app,
        [&] { longestStallMs = std::max(longestStallMs, sinceTick.restart()); });

    int status = 0;
    ScanRunController &scan = main.scanRun();
    QObject::connect(&scan, &ScanRunController::scanEnded, &app, [&](ScanEngine::Outcome outcome) {
        ticker.stop();
        std::printf("longest stall of the window during the scan: %lld ms\n", qlonglong(longestStallMs));
        if (outcome != ScanEngine::Outcome::Results) {
            std::fprintf(stderr, "the scan ended without results\n");
            status = 1;
        }
        // The scan-complete sheet opens over the results half a second later.
        QTimer::singleShot(kSettleMs * 2, &app, [&] {
            if (!grab(out, QStringLiteral("results.png")))
                status = 1;
            QCoreApplication::exit(status);
        });
    });
    // The sheet stays up, ring full, for the three seconds before the results view.
    auto *poll = new QTimer(&app);
    QObject::connect(poll, &QTimer::timeout, &app, [&, poll] {
        if (main.progressCircular->progress < 100.0)
            return;
        poll->stop();
        QTimer::singleShot(kSettleMs, &app, [&] { grab(out, QStringLiteral("sheet.png")); });
    });
    QTimer::singleShot(kSettleMs, &app, [&, poll] {
        grab(out, QStringLiteral("main.png"));
        sinceTick.start();
        ticker.start(kTickMs);
        main.btnStartScanTapped();
        poll->start(20);
    });
    QTimer::singleShot(kGiveUpMs, &app, [] {
        std::fprintf(stderr, "gave up waiting for the scan\n");
        QCoreApplication::exit(1);
    });
    return app.exec();
}
