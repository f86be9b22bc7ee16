// quennary-decode-floor DIR SIDE: decodes every file under DIR with QImageReader scaled so its longer
// side is SIDE (the decoder's own quickest reduction, DCT scaling for JPEG), on all cores, and
// prints the files decoded and the wall-clock seconds as one JSON object. A scan's hashing of the
// same tree cannot be faster than this; its seconds.hash is compared with these seconds.
#include <atomic>
#include <cstdio>

#include <QDirIterator>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageReader>
#include <QtConcurrent>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 3 || a[2].toInt() <= 0) {
        std::fprintf(stderr, "usage: quennary-decode-floor DIR SIDE\n");
        return 2;
    }
    const int side = a[2].toInt();
    QStringList files;
    for (QDirIterator it(a[1], QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        files.append(it.next());
    std::atomic<int> decoded { 0 };
    QElapsedTimer timer;
    timer.start();
    QtConcurrent::blockingMap(files, [&](const QString &path) {
        QImageReader reader(path);
        const QSize stored = reader.size();
        if (stored.isEmpty())
            return;
        reader.setScaledSize(stored.scaled(side, side, Qt::KeepAspectRatio).boundedTo(stored));
        if (!reader.read().isNull())
            ++decoded;
    });
    std::printf("{ \"files\": %lld, \"decoded\": %d, \"threads\": %d, \"seconds\": %.3f }\n",
        qlonglong(files.size()), decoded.load(), QThreadPool::globalInstance()->maxThreadCount(),
        timer.nsecsElapsed() / 1e9);
    return 0;
}
