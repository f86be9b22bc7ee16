// Every sheet of the results window closes on Escape, and Return presses the focused button or
// else the default one; a sheet opens at its default button, wherever a click left the focus.
#include <QKeyEvent>

#include "controls/CustomWindowNag.h"
#include "removal/ui/AutoMarkSheets.h"
#include "removal/ui/RemovalSheets.h"
#include "removal/ui/ResultWindowMarking.h"
#include "results/ui/AfterTrashSummaryWindow.h"
#include "results/ui/ResultSheets.h"
#include "results/ui/ResultWindowFixture.h"

namespace
{

void press(QWidget *window, Qt::Key key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &event);
}

class SheetKeysTest : public ResultWindowFixture
{
protected:
    void SetUp() override
    {
        ResultWindowFixture::SetUp();
        open();
        marking = std::make_unique<ResultWindowMarking>(*controller);
        removal = RemovalSheets::install(*controller);
        removal->ensureSheets();
    }

    void TearDown() override
    {
        marking.reset();
        ResultWindowFixture::TearDown();
    }

    std::unique_ptr<ResultWindowMarking> marking;
    RemovalSheets *removal = nullptr;
};

TEST_F(SheetKeysTest, EverySheetClosesOnEscape)
{
    enter({ photos(QStringLiteral("a"), 2) });
    ResultSheets &sheets = builder->sheets();
    const std::pair<const char *, CustomWindowNag *> all[] = { { "scan complete", controller->windowScanComplete },
        { "back", controller->windowOnMovesBack }, { "auto-mark", marking->autoMarkSheets()->windowAutoMark },
        { "auto-marking", marking->autoMarkSheets()->windowAutoMarking },
        { "confirm", removal->windowConfirmTrash }, { "authorization", sheets.windowAuthorization },
        { "library guide", sheets.windowForPhotosApp }, { "library check", sheets.windowiPhotoCheck },
        { "summary", builder->afterTrash().windowAfterTrashFolderFIles },
        { "library summary", builder->afterTrash().windowAfterTrash } };
    for (const auto &[name, sheet] : all) {
        ASSERT_TRUE(sheet) << name;
        presenter.beginSheet(sheet, controller->view());
        press(sheet, Qt::Key_Escape);
        EXPECT_FALSE(presenter.isSheetOpen(sheet)) << name;
    }
}

TEST_F(SheetKeysTest, ReturnPressesTheFocusedButtonOrElseTheDefault)
{
    enter({ photos(QStringLiteral("a"), 2) });
    CustomWindowNag *back = controller->windowOnMovesBack;
    presenter.beginSheet(back, controller->view());
    controller->btnDontShowAgainOnMoveBackWindow->setFocus();
    press(back, Qt::Key_Return);
    EXPECT_EQ(returnedToMain, 1) << "a check box leaves Return to the default button";
    presenter.beginSheet(back, controller->view());
    controller->btnCanelOnMoveBackWindow->setFocus();
    press(back, Qt::Key_Return);
    EXPECT_FALSE(presenter.isSheetOpen(back));
    EXPECT_EQ(returnedToMain, 1);
}

TEST_F(SheetKeysTest, ASheetOpensAtItsDefaultButtonWhereverTheFocusWasLeft)
{
    enter({ photos(QStringLiteral("a"), 2) });
    AutoMarkSheets &sheets = *marking->autoMarkSheets();
    sheets.windowAutoMark->show();
    EXPECT_EQ(sheets.btnShowPrefrencesAutoMark->focusPolicy(), Qt::TabFocus) << "a click takes no focus";
    sheets.btnShowPrefrencesAutoMark->setFocus(Qt::TabFocusReason);
    sheets.windowAutoMark->hide();
    presenter.beginSheet(sheets.windowAutoMark, controller->view());
    sheets.windowAutoMark->show();
    press(sheets.windowAutoMark, Qt::Key_Return);
    EXPECT_TRUE(presenter.isSheetOpen(sheets.windowAutoMarking)) << "Return pressed Continue";
}

} // namespace
