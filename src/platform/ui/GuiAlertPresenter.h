// Alerts and sheets as window-modal Qt windows centred over their parent window.
#pragma once

#include <vector>

#include <QPointer>

#include "platform/ui/AlertPresenter.h"

class QEventLoop;

class GuiAlertPresenter : public AlertPresenter
{
public:
    int runAlert(const AlertSpec &alert, QWidget *over) override;
    void beginSheet(QWidget *sheet, QWidget *parent, Blocking blocking = Blocking::Window) override;
    void endSheet(QWidget *sheet) override;
    bool isSheetOpen(const QWidget *sheet) const override;
    int runModalForWindow(QWidget *window) override;
    void stopModal(int code = kModalResponseStop) override;

private:
    // The open sheet over `window`, or `window` itself when it is an open sheet; null if none.
    QWidget *sheetOver(QWidget *window) const;
    // Blocking::Content: `content` takes no input while `sheet` is open, and gets back the
    // keyboard it had when the sheet ends.
    void holdContent(QWidget *sheet, QWidget *content);
    void releaseContent(const QWidget *sheet);

    struct ModalRun {
        QPointer<QWidget> window;
        QEventLoop *loop;
    };
    struct HeldContent {
        QPointer<QWidget> sheet;
        QPointer<QWidget> content;
        QPointer<QWidget> focus;
    };
    std::vector<QPointer<QWidget>> m_sheets;
    std::vector<ModalRun> m_modalRuns;
    std::vector<HeldContent> m_held;
};
