// A one-line label of plain text that keeps its whole text and shows as much of it as its width
// holds, shortened with "…" where the mode says (in the middle, a file name keeps its start and its
// extension). Narrowing it never widens its parent: it asks for no width of its own.
#pragma once

#include <QLabel>

class ElidingLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ElidingLabel(Qt::TextElideMode mode = Qt::ElideMiddle, QWidget *parent = nullptr);

    // The text to show; its tool tip shows it whole, as plain text, when it does not fit.
    void setWholeText(const QString &text);
    const QString &wholeText() const { return m_whole; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void elide();

    Qt::TextElideMode m_mode;
    QString m_whole;
};
