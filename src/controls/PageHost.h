// The window's content: its pages stand in one place, one shown at a time. A page of fixed size
// (the main view) stays centred in a larger window; any other page (the results) fills the window
// and re-flows with it.
#pragma once

#include <QWidget>

class PageHost : public QWidget
{
    Q_OBJECT
public:
    explicit PageHost(QWidget *parent = nullptr);

    // Places every page for the host's current size.
    void layoutPages();
    // Room for the largest page of fixed size.
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void childEvent(QChildEvent *event) override;
};
