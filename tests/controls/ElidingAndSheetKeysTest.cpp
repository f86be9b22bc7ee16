// A one-line label shortened to its width, and the menu keys of a window passed on by a sheet that
// leaves the window free.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "controls/CustomWindowNag.h"
#include "controls/ElidingLabel.h"

namespace
{

// A text, the label's width, whether it shows whole.
struct ElideCase {
    const char *text;
    int width;
    bool whole;
};

class ElidingLabelTest : public ::testing::TestWithParam<ElideCase>
{
};

// Shortened, it keeps its start and its extension, fits its width, and its tip is the whole text;
// whole, it has no tip. It never asks its parent for the width of the whole text.
TEST_P(ElidingLabelTest, ShowsWhatFitsAndKeepsTheExtension)
{
    const ElideCase &c = GetParam();
    ElidingLabel label(Qt::ElideMiddle);
    label.setWholeText(QString::fromUtf8(c.text));
    label.resize(c.width, 20);
    label.show();
    EXPECT_EQ(label.wholeText(), QString::fromUtf8(c.text));
    EXPECT_EQ(label.minimumSizeHint().width(), 0);
    EXPECT_LE(label.fontMetrics().horizontalAdvance(label.text()), c.width);
    if (c.whole) {
        EXPECT_EQ(label.text(), label.wholeText());
        EXPECT_TRUE(label.toolTip().isEmpty());
        return;
    }
    EXPECT_TRUE(label.text().contains(QChar(0x2026))) << label.text().toStdString();
    EXPECT_TRUE(label.text().endsWith(QStringLiteral(".jpg"))) << label.text().toStdString();
    EXPECT_EQ(label.text().front(), label.wholeText().front());
    EXPECT_EQ(label.toolTip(), label.wholeText());
    // Wider again, it shows the whole text once more.
    label.resize(label.sizeHint().width() + 4, 20);
    EXPECT_EQ(label.text(), label.wholeText());
}

INSTANTIATE_TEST_SUITE_P(Widths, ElidingLabelTest,
    ::testing::Values(ElideCase { "beach.jpg", 240, true },
        ElideCase {
            "holiday-at-the-seaside-with-the-whole-family-summer-1-IMG_20190714_15301.jpg", 240, false },
        ElideCase { "/home/me/An_archive/and_a_second_level/IMG_0001.jpg", 120, false },
        ElideCase { "a-name-with-little-room.jpg", 80, false }));

// The owner window's menu titles, a sheet over it and what Alt and a letter do there.
class SheetMenuKeysTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QMenu *app = window.menuBar()->addMenu(QStringLiteral("&Quennary"));
        app->addAction(QStringLiteral("&About"));
        window.menuBar()->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("&Guide"));
        window.setCentralWidget(new QWidget);
        window.show();
        sheet = new CustomWindowNag(window.centralWidget());
        auto *button = new QPushButton(QStringLiteral("Back"), sheet);
        sheet->setKeyButtons(button, button);
    }
    void TearDown() override
    {
        if (QMenu *open = qobject_cast<QMenu *>(QApplication::activePopupWidget()))
            open->close();
    }

    QMainWindow window;
    CustomWindowNag *sheet = nullptr;
};

TEST_F(SheetMenuKeysTest, ASheetThatLeavesItsWindowFreePassesOnItsMenuKeys)
{
    // The sheet's modality, the key, and the menu title it opens (none: nothing opens).
    const std::tuple<Qt::WindowModality, QKeyCombination, const char *> cases[]
        = { { Qt::NonModal, Qt::ALT | Qt::Key_Q, "&Quennary" },
              { Qt::NonModal, Qt::ALT | Qt::Key_H, "&Help" }, { Qt::NonModal, Qt::ALT | Qt::Key_Z, nullptr },
              { Qt::NonModal, Qt::ControlModifier | Qt::Key_Q, nullptr },
              { Qt::WindowModal, Qt::ALT | Qt::Key_Q, nullptr } };
    for (const auto &[modality, keys, title] : cases) {
        window.menuBar()->setActiveAction(nullptr);
        sheet->setWindowModality(modality);
        QKeyEvent press(QEvent::KeyPress, keys.key(), keys.keyboardModifiers());
        QCoreApplication::sendEvent(sheet, &press);
        QAction *active = window.menuBar()->activeAction();
        EXPECT_EQ(active ? active->text() : QString(), title ? QString::fromLatin1(title) : QString())
            << QKeySequence(keys).toString().toStdString();
        if (QMenu *open = qobject_cast<QMenu *>(QApplication::activePopupWidget()))
            open->close();
    }
}

} // namespace
