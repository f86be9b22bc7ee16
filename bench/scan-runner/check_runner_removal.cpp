// quennary-check-runner-removal RUNNER: runs the headless runner with --auto-mark --trash-marked on a
// generated folder of duplicates in a private home and checks its JSON against the Trash folder:
// every file reported removed left its place and lies in the Trash with its .trashinfo, nothing
// else went there, and every group kept a copy. Exits 0 when all holds.
#include <cstdio>
#include <random>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

namespace
{

int failures = 0;

void check(bool ok, const QString &what)
{
    if (!ok) {
        std::fprintf(stderr, "check-runner-removal: %s\n", qPrintable(what));
        ++failures;
    }
}

// Noise keeps the JPEG above the scan's minimum file size.
bool writePicture(const QString &path, int seed)
{
    std::mt19937 random(std::uint32_t(seed) + 1u);
    QImage image(1000, 750, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x + seed * 40) & 255, (y * 2) & 255, int(random() % 256)));
    return image.save(path, "JPEG", 90);
}

// Three groups (three, two and two copies) and one file without a copy.
bool makeCorpus(const QString &dir)
{
    const QList<QStringList> groups { { "a.jpg", "a copy.jpg", "a copy 2.jpg" }, { "b.jpg", "b copy.jpg" },
        { "c.jpg", "sub/c.jpg" }, { "single.jpg" } };
    QDir().mkpath(dir + QStringLiteral("/sub"));
    for (int g = 0; g < groups.size(); ++g) {
        const QString first = dir + QLatin1Char('/') + groups[g].first();
        if (!writePicture(first, g))
            return false;
        for (qsizetype i = 1; i < groups[g].size(); ++i)
            if (!QFile::copy(first, dir + QLatin1Char('/') + groups[g][i]))
                return false;
    }
    return true;
}

QStringList strings(const QJsonValue &value)
{
    QStringList list;
    for (const QJsonValue &v : value.toArray())
        list.append(v.toString());
    return list;
}

void checkReport(const QJsonObject &json, const QString &trash)
{
    const QStringList marked = strings(json.value(QStringLiteral("marked")));
    const QStringList removed = strings(json.value(QStringLiteral("removed")));
    check(removed.size() == 4, QStringLiteral("removed %1 files, expected 4").arg(removed.size()));
    check(json.value(QStringLiteral("failed")).toArray().isEmpty(), QStringLiteral("failures reported"));
    check(json.value(QStringLiteral("skipped_groups")).toInt(-1) == 0, QStringLiteral("groups skipped"));
    for (const QString &path : removed) {
        check(marked.contains(path), QStringLiteral("removed but not marked: ") + path);
        check(!QFileInfo::exists(path), QStringLiteral("still in place: ") + path);
    }
    const QStringList inTrash = QDir(trash + QStringLiteral("/files")).entryList(QDir::Files);
    check(inTrash.size() == removed.size(),
        QStringLiteral("%1 files in the Trash for %2 removed").arg(inTrash.size()).arg(removed.size()));
    QStringList infoPaths;
    for (const QString &name : inTrash) {
        QFile info(trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo"));
        check(info.open(QIODevice::ReadOnly), QStringLiteral("no .trashinfo for ") + name);
        for (const QByteArray &line : info.readAll().split('\n'))
            if (line.startsWith("Path="))
                infoPaths.append(QUrl::fromPercentEncoding(line.mid(5)));
    }
    for (const QString &path : removed)
        check(infoPaths.contains(path), QStringLiteral("no .trashinfo names ") + path);
    for (const QJsonValue &group : json.value(QStringLiteral("shown")).toArray()) {
        const QStringList members = strings(group);
        const bool kept = std::any_of(
            members.begin(), members.end(), [](const QString &p) { return QFileInfo::exists(p); });
        check(kept, QStringLiteral("no copy left of ") + members.value(0));
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        std::fprintf(stderr, "usage: quennary-check-runner-removal RUNNER\n");
        return 2;
    }
    QTemporaryDir work;
    const QString corpus = work.filePath(QStringLiteral("photos")),
                  home = work.filePath(QStringLiteral("home"));
    if (!work.isValid() || !makeCorpus(corpus)) {
        std::fprintf(stderr, "check-runner-removal: cannot write the photos\n");
        return 1;
    }
    QProcess runner;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_DATA_HOME"));
    runner.setProcessEnvironment(environment);
    runner.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString out = work.filePath(QStringLiteral("report.json"));
    runner.start(app.arguments().at(1),
        { "--mode", "exact", "--auto-mark", "--trash-marked", "--home", home, "--json", out, corpus });
    if (!runner.waitForFinished(150000) || runner.exitStatus() != QProcess::NormalExit
        || runner.exitCode() != 0) {
        std::fprintf(stderr, "check-runner-removal: the runner failed (%d)\n", runner.exitCode());
        return 1;
    }
    QFile report(out);
    const QJsonObject json = report.open(QIODevice::ReadOnly)
        ? QJsonDocument::fromJson(report.readAll()).object()
        : QJsonObject();
    check(!json.isEmpty(), QStringLiteral("no report"));
    checkReport(json, home + QStringLiteral("/data/Trash"));
    return failures == 0 ? 0 : 1;
}
