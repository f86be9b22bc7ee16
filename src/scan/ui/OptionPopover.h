// The help popover of the scan-period options, shown beside its button and closed by a click
// anywhere else. Below them it says which dates the time interval compares.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QLabel;
class QWidget;

class OptionPopover : public QObject
{
    Q_OBJECT
public:
    explicit OptionPopover(QObject *parent = nullptr);
    ~OptionPopover() override;

    // The popover's content, made on first use.
    QWidget *view();
    void makePopoverIfNeeded();
    // Fills and lays out the texts for the interface language, then shows the popover to the right
    // of `anchor`.
    void showOptionInfo(QWidget *anchor);

    QPointer<QWidget> popover;
    QPointer<QLabel> txtHeading, txtImportedPhotos, txtCreated, txtCapturedInfo, txtBoth, txtFileDates;
    // The pointer beside each date kind's text, in the same order.
    QList<QPointer<QLabel>> pointers;

    // The date kinds' texts in the order of the pop-up: captured, created, added, both.
    QList<QLabel *> dateKindTexts() const;

private:
    void setFontsForLanguage(const QString &language);

    QPointer<QWidget> m_view;
};
