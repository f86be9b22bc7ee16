// Names and error texts chosen by a file's owner or a server show as written: plain text, one
// line, bounded, in every window, alert and log line that quotes them.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QScreen>
#include <QTextDocument>
#include <QThreadPool>
#include <QTimer>

#include "cloud/ui/SignInFailureAlert.h"
#include "controls/CustomCell.h"
#include "controls/CustomTableView.h"
#include "controls/ElidingLabel.h"
#include "controls/ITPathbar.h"
#include "platform/AppFolders.h"
#include "platform/Log.h"
#include "platform/ui/GuiAlertPresenter.h"
#include "results/ui/AfterTrashSummaryWindow.h"
#include "results/ui/ResultWindowFixture.h"
#include "scan/NoPhotosMessage.h"
#include "scan/ui/ScanListTable.h"

namespace
{

const QString kForged = QStringLiteral("Removed /home/me/forged.jpg");

// A text, and the markup in it that must be seen as written.
const std::pair<QString, QString> kHostile[] = {
    { "<a href=\"https://example.invalid/signin\">Your Drive session expired: sign in again</a>.jpg",
        "<a href=" },
    { "<font size=6 color=red><b>HUGE.jpg", "<font size=6" },
    { "<img src=\"file:///usr/share/pixmaps/debian-logo.png\">.jpg", "<img src=" },
    { "quota exceeded\n" + kForged + "\r" + kForged + "\x1b[2J\u202Egpj.live", "" },
    { QString(1000000, QLatin1Char('w')), "" },
};

// What the user reads: markup in text not shown as plain is rendered.
QString read(const QString &text, bool plain = false)
{
    QTextDocument document;
    if (!plain && Qt::mightBeRichText(text))
        document.setHtml(text);
    // Paths and addresses in alerts hold word joiners and no-break spaces, to wrap at separators only.
    QString shown = document.isEmpty() ? text : document.toPlainText();
    return shown.remove(u'\u2060').replace(u'\u00A0', u' ');
}

QString read(const QLabel *label)
{
    return read(label->text(), label->textFormat() == Qt::PlainText);
}

class HostileTextTest : public ResultWindowFixture, public ::testing::WithParamInterface<int>
{
protected:
    void SetUp() override { ResultWindowFixture::SetUp(), open(); }

    // The real alert box's texts; `onScreen` turns false when the box does not fit on the screen.
    QStringList alertBox(const AlertSpec &alert)
    {
        QStringList shown;
        std::function<void()> whenShown = [&] {
            auto *box = controller->view()->window()->findChild<QMessageBox *>();
            if (!box || !box->isVisible())
                return QTimer::singleShot(10, whenShown);
            shown << read(box->findChild<QLabel *>("qt_msgbox_informativelabel"));
            const QSize room = box->screen()->availableGeometry().size();
            onScreen = room.expandedTo(box->size()) == room;
            box->buttons().front()->click();
        };
        QTimer::singleShot(0, whenShown);
        GuiAlertPresenter().runAlert(alert, controller->view());
        return shown;
    }

    bool onScreen = true;
};

TEST_P(HostileTextTest, ShowsAsPlainTextOnOneBoundedLineEverywhere)
{
    const auto &[text, markup] = kHostile[GetParam()];
    const auto record = ResultsTestRecords::record(text, 1.0f);
    PreviewPane &preview = builder->previewPane();
    AfterTrashSummaryWindow &summary = builder->afterTrash();
    const std::pair<const char *, std::function<QStringList()>> places[] = {
        { "grid caption",
            [&] {
                enter({ ResultsTestRecords::group({ record, ResultsTestRecords::record("b.jpg", 0.9f) }) });
                return QStringList { read(cell(0, 0)->lblName->wholeText(), true) };
            } },
        { "list cell",
            [&] {
                std::unique_ptr<CustomCell> cell(OutlineList::makeFileCell(*record, 700));
                return QStringList { read(cell->lblTextField()), read(cell->lblTextField()->toolTip()) };
            } },
        { "path bar",
            [&] {
                preview.changeAllComponents(record, ScanSource::googleDrive);
                const ITPathbar &bar = *preview.lblBottomPathBar;
                return QStringList { read(bar.toolTip()), bar.mutablePathComponentCells().last().title() };
            } },
        { "scan list",
            [&] {
                CustomTableView table;
                FilePathNode node;
                node.filePath = "/media/" + text;
                ScanListTable::reload(&table, { node }, ScanSource::thisComputer, {}, {});
                const QModelIndex row = table.model()->index(0, 0);
                return QStringList { read(row.data().toString(), true),
                    read(row.data(Qt::ToolTipRole).toString()) };
            } },
        { "after-Trash summary",
            [&] {
                controller->countTrashed = 1;
                controller->removalLeftInPlace = { { "/photos/" + text, text } };
                summary.showWindowAfterTrash_Main();
                // The reason's line, and the file on a line of its own: read whole where it is shortened.
                QStringList shown;
                for (const QLabel *line : summary.boxLeftInPlace->findChildren<QLabel *>()) {
                    const auto *file = qobject_cast<const ElidingLabel *>(line);
                    shown << (file ? read(file->wholeText(), line->textFormat() == Qt::PlainText)
                                   : read(line));
                }
                return shown;
            } },
        { "not compared alert",
            [&] {
                WalkReport report;
                std::tie(report.notFetched, report.firstNotFetched, report.firstNotFetchedReason)
                    = std::tuple(2, text, text);
                return alertBox({ NoPhotosMessage::skippedTitle(report),
                    NoPhotosMessage::skippedFoldersText(report), {} });
            } },
        { "sign-in alert", [&] { return alertBox(SignInFailureAlert::spec("Google Drive", text)); } },
        { "log",
            [&] {
                // The reads the window made apart for the places above log what they could not open:
                // they end first, so that the log holds the one line written here.
                settle();
                QThreadPool::globalInstance()->waitForDone(30000);
                QFile::remove(AppFolders::logFilePath());
                Log::line("Cloud listing failed: " + text);
                QFile log(AppFolders::logFilePath());
                return QStringList {
                    log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()).chopped(1) : ""
                };
            } },
    };
    for (const auto &[place, show] : places) {
        onScreen = true;
        for (const QString &shown : show()) {
            EXPECT_TRUE(shown.contains(markup) && shown.size() <= 2100) << place;
            EXPECT_TRUE(std::none_of(shown.begin(), shown.end(), [](QChar c) {
                return (c < u' ' && c != u'\n') || c == u'\u202E';
            })) << place;
            EXPECT_FALSE(("\n" + shown).contains("\n" + kForged)) << place;
        }
        EXPECT_TRUE(onScreen) << place;
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, HostileTextTest, ::testing::Range(0, int(std::size(kHostile))));

} // namespace
