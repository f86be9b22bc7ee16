// The scripted presenter that every window test installs, and the current-presenter switch.
#include <gtest/gtest.h>

#include <functional>

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "platform/ui/GuiAlertPresenter.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "platform/ui/WindowFocus.h"
#include "support/TestEvents.h"

TEST(AlertPresenter, ScriptedPresenterInstallsItselfAndRestoresThePreviousOne)
{
    EXPECT_NE(dynamic_cast<GuiAlertPresenter *>(&AlertPresenter::current()), nullptr);
    {
        ScriptedAlertPresenter outer;
        EXPECT_EQ(&AlertPresenter::current(), &outer);
        {
            ScriptedAlertPresenter inner;
            EXPECT_EQ(&AlertPresenter::current(), &inner);
        }
        EXPECT_EQ(&AlertPresenter::current(), &outer);
    }
    EXPECT_EQ(AlertPresenter::installed(), nullptr);
}

TEST(AlertPresenter, AlertsAnswerQueuedCodesThenTheFirstButton)
{
    ScriptedAlertPresenter presenter;
    presenter.queueAnswer(1001);
    AlertSpec alert { QStringLiteral("message"), QStringLiteral("info"),
        { QStringLiteral("No"), QStringLiteral("Yes") } };
    EXPECT_EQ(AlertPresenter::current().runAlert(alert, nullptr), 1001);
    EXPECT_EQ(AlertPresenter::current().runAlert(alert, nullptr), AlertPresenter::kFirstButton);
    ASSERT_EQ(presenter.alerts().size(), 2u);
    EXPECT_EQ(presenter.alerts()[0].buttons, (QStringList { "No", "Yes" }));
    EXPECT_EQ(presenter.alerts()[0].informativeText, QStringLiteral("info"));
}

TEST(AlertPresenter, SheetsAreRecordedWithoutShowingAndModalRunsNeverBlock)
{
    ScriptedAlertPresenter presenter;
    QWidget main;
    QWidget sheet(nullptr, Qt::Dialog);
    presenter.beginSheet(&sheet, &main);
    EXPECT_TRUE(presenter.isSheetOpen(&sheet));
    EXPECT_FALSE(sheet.isVisible());

    // A button of the sheet stops the modal run with its code.
    presenter.setModalHandler([&](QWidget *window) {
        EXPECT_EQ(window, &sheet);
        presenter.stopModal(7);
    });
    EXPECT_EQ(presenter.runModalForWindow(&sheet), 7);

    // Ending the sheet during the run stops it without a code.
    presenter.setModalHandler([&](QWidget *window) { presenter.endSheet(window); });
    presenter.beginSheet(&sheet, &main);
    EXPECT_EQ(presenter.runModalForWindow(&sheet), AlertPresenter::kModalResponseStop);
    EXPECT_FALSE(presenter.isSheetOpen(&sheet));
    EXPECT_EQ(presenter.sheetsBegun().size(), 2u);
    EXPECT_EQ(presenter.modalRunCount(), 2);

    // stopModal outside a modal run is ignored; without a handler the run answers the queue.
    presenter.setModalHandler({});
    presenter.stopModal(5);
    presenter.queueAnswer(1002);
    EXPECT_EQ(presenter.runModalForWindow(&sheet), 1002);
}

TEST(AlertPresenter, GuiSheetIsWindowModalOverItsParentAndEndsAModalRun)
{
    GuiAlertPresenter gui;
    QWidget main;
    main.resize(600, 400);
    main.show();
    QWidget sheet(nullptr, Qt::Dialog);
    sheet.resize(200, 100);
    gui.beginSheet(&sheet, &main);
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(sheet.parentWidget(), &main);
    EXPECT_EQ(sheet.windowModality(), Qt::WindowModal);
    EXPECT_TRUE(gui.isSheetOpen(&sheet));

    QMetaObject::invokeMethod(
        &sheet, [&] { gui.stopModal(1001); }, Qt::QueuedConnection);
    EXPECT_EQ(gui.runModalForWindow(&sheet), 1001);
    QMetaObject::invokeMethod(
        &sheet, [&] { gui.endSheet(&sheet); }, Qt::QueuedConnection);
    EXPECT_EQ(gui.runModalForWindow(&sheet), AlertPresenter::kModalResponseStop);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_FALSE(gui.isSheetOpen(&sheet));
}

// A wide alert (a long note, a word longer than a line: a long file name, a server's token) stands
// centred over its window and on the screen, every label as wide as its longest word.
TEST(AlertPresenter, GuiAlertIsCentredOverItsWindowWhateverItsWidth)
{
    const QString name = QStringLiteral("Holiday").repeated(43) + QStringLiteral(".jpg");
    GuiAlertPresenter gui;
    QWidget main;
    main.setGeometry(40, 30, 720, 540);
    main.show();
    for (const QString &note : { QStringLiteral("word ").repeated(80),
             QStringLiteral("The file \"/home/me/%1\" is locked.").arg(name), QString(600, u'W') }) {
        QPoint offset;
        const auto check = [&](QMessageBox *box) {
            offset = box->frameGeometry().center() - main.frameGeometry().center();
            EXPECT_TRUE(box->screen()->availableGeometry().contains(box->frameGeometry()));
            for (const QLabel *label : box->findChildren<QLabel *>()) {
                EXPECT_LE(label->minimumSizeHint().width(), label->width());
                EXPECT_GE(label->height(), label->heightForWidth(label->width()));
            }
            box->buttons().front()->click();
        };
        std::function<void()> whenShown = [&] {
            auto *box = main.findChild<QMessageBox *>();
            const bool shown = box && box->isVisible();
            QTimer::singleShot(0, shown ? std::function<void()>([&check, box] { check(box); }) : whenShown);
        };
        QTimer::singleShot(0, whenShown);
        gui.runAlert({ name, note, {} }, &main);
        EXPECT_LE(offset.manhattanLength(), 2);
    }
}

// A sheet asking for the keys leaves them with another window the user picked meanwhile.
TEST(WindowFocus, LeavesTheKeysWithAWindowPickedMeanwhile)
{
    QWidget behind, other;
    QWidget sheet(&behind, Qt::Window);
    const auto active = [](QWidget *window) {
        return TestEvents::waitFor([window] { return window->isActiveWindow(); }, 2000);
    };
    for (QWidget *window : { &sheet, &other, &behind })
        window->show(), window->activateWindow();
    ASSERT_TRUE(active(&behind));
    WindowFocus::take(&sheet);
    other.activateWindow();
    ASSERT_TRUE(active(&other));
    EXPECT_FALSE(active(&sheet));
}
