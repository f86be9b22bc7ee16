// The help popover of the scan-period options, shown beside its button and closed by a click
// anywhere else. Below them it says which dates the time interval compares.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRectF>

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
    QPointer<QLabel> txtHeading, txtImportedPhotos, txtCreated, txtCapturedInfo, txtFileDates;
    QPointer<QLabel> arrowCapturedInfo, arrowCreatedInfo;

private:
    void layoutForLanguage(const QString &language);
    void place(QWidget *widget, const QRectF &frame);

    QPointer<QWidget> m_view;
    double m_viewHeight = 0.0;
};
