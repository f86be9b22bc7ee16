// A button that looks like a hyperlink: underlined, coloured title and the pointing-hand cursor.
// Every title setter applies the link style. The title keeps a few pixels' room on each side, where
// the focus mark goes.
#pragma once

#include <QAbstractButton>
#include <QColor>

class LinkButton : public QAbstractButton
{
    Q_OBJECT

public:
    // Text alignments as the title setters number them.
    enum Alignment { AlignLeftValue = 0, AlignRightValue = 1, AlignCenterValue = 2 };

    explicit LinkButton(QWidget *parent = nullptr);

    // The link colour (51, 138, 218); font and alignment unchanged.
    void setTitle(const QString &title);
    // Blue; the given alignment.
    void setTitle(const QString &title, int alignment);
    // Blue, right aligned.
    void setTitleWithAlignment(const QString &title);
    // Blue, right aligned, the system font (its bold when `bold`) at `fontSize`.
    void setTitleWithAlignment(const QString &title, float fontSize, bool bold);
    // The current title in the link colour with the system font (its bold) at `fontSize`.
    void setfontSize(float fontSize, bool bold);
    // Blue, the system font (its bold) at `fontSize`, alignment unchanged.
    void setTitle(const QString &title, float fontSize, bool bold);
    // The given colour (blue when invalid), the system font (its bold) at `fontSize`, left aligned.
    void setTitle(const QString &title, float fontSize, bool bold, const QColor &color);

    // Recolours the whole title.
    void setTitleColor(const QColor &color);
    QColor titleColor() const { return m_color; }
    Qt::Alignment titleAlignment() const { return m_alignment; }
    // The font the title is drawn in (always underlined).
    QFont titleFont() const;

    static QColor linkColor() { return QColor(51, 138, 218); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void applyFont(float fontSize, bool bold);
    static Qt::Alignment toQt(int alignment);

    QColor m_color = linkColor();
    Qt::Alignment m_alignment = Qt::AlignHCenter;
};
