// A one-line label shortened to its width, and the menu keys of a window passed on by a sheet that
// leaves the window free.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "controls/CustomWindowNag.h"
#include "controls/ElidingLabel.h"

namespace
{

// Shortened, a name keeps its start and its extension, fits its width, and its tip is the whole
// text; whole, it has no tip. It never asks its parent for the width of the whole text.
TEST(ElidingLabelTest, ShowsWhatFitsAndKeepsTheExtension)
{
    const std::pair<const char *, int> cases[] = { { "beach.jpg", 240 },
        { "holiday-at-the-seaside-with-the-whole-family-summer-1-IMG_20190714_15301.jpg", 240 },
        { "/home/me/An_archive/and_a_second_level/IMG_0001.jpg", 120 },
        { "a-name-with-little-room.jpg", 80 } };
    for (const auto &[text, width] : cases) {
        ElidingLabel label(Qt::ElideMiddle);
        label.setWholeText(QString::fromUtf8(text));
        label.resize(width, 20);
        label.show();
        EXPECT_EQ(label.minimumSizeHint().width(), 0);
        EXPECT_LE(label.fontMetrics().horizontalAdvance(label.text()), width) << text;
        const bool whole = label.fontMetrics().horizontalAdvance(label.wholeText()) <= width;
        EXPECT_EQ(label.text() == label.wholeText(), whole) << text;
        EXPECT_EQ(label.toolTip(), whole ? QString() : label.wholeText()) << text;
        EXPECT_TRUE(whole
            || (label.text().contains(QChar(0x2026)) && label.text().endsWith(QStringLiteral(".jpg"))
                && label.text().front() == label.wholeText().front()))
            << label.text().toStdString();
    }
}

// Alt and the letter of a menu title open that menu of the sheet's window, unless the sheet holds
// the window (window-modal) or no title has that letter.
TEST(SheetMenuKeysTest, ASheetThatLeavesItsWindowFreePassesOnItsMenuKeys)
{
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&Quennary"))->addAction(QStringLiteral("&About"));
    window.menuBar()->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("&Guide"));
    window.setCentralWidget(new QWidget);
    window.show();
    auto *sheet = new CustomWindowNag(window.centralWidget());
    const std::tuple<Qt::WindowModality, QKeyCombination, const char *> cases[]
        = { { Qt::NonModal, Qt::ALT | Qt::Key_Q, "&Quennary" },
              { Qt::NonModal, Qt::ALT | Qt::Key_H, "&Help" }, { Qt::NonModal, Qt::ALT | Qt::Key_Z, "" },
              { Qt::NonModal, Qt::ControlModifier | Qt::Key_Q, "" },
              { Qt::WindowModal, Qt::ALT | Qt::Key_Q, "" } };
    for (const auto &[modality, keys, title] : cases) {
        window.menuBar()->setActiveAction(nullptr);
        sheet->setWindowModality(modality);
        QKeyEvent press(QEvent::KeyPress, keys.key(), keys.keyboardModifiers());
        QCoreApplication::sendEvent(sheet, &press);
        const QAction *active = window.menuBar()->activeAction();
        EXPECT_EQ(active ? active->text() : QString(), QString::fromLatin1(title))
            << QKeySequence(keys).toString().toStdString();
        if (auto *open = qobject_cast<QMenu *>(QApplication::activePopupWidget()))
            open->close();
    }
}

} // namespace
