// The image-drawn push and toggle button: its face comes from three part images chosen by state,
// enabled flag and press, and its title is drawn in the largest size that fits, on one line or two.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QRectF>
#include <QSizeF>

#include "platform/ui/BundleImage.h"

class IMGButton : public QAbstractButton
{
    Q_OBJECT

public:
    enum State { MixedState = -1, OffState = 0, OnState = 1 };

    explicit IMGButton(QWidget *parent = nullptr);
    ~IMGButton() override;

    // Eighteen names: on state normal, pressed, disabled; then off state normal, pressed, disabled;
    // each as start, middle, end. Clears the press under way.
    void setButtonImages(const QString &imgOnState_St, const QString &imgOnState_Md,
        const QString &imgOnState_En, const QString &imgOnStateDwn_St, const QString &imgOnStateDwn_Md,
        const QString &imgOnStateDwn_En, const QString &imgOnStateDis_St, const QString &imgOnStateDis_Md,
        const QString &imgOnStateDis_En, const QString &imgOffState_St, const QString &imgOffState_Md,
        const QString &imgOffState_En, const QString &imgOffStateDwn_St, const QString &imgOffStateDwn_Md,
        const QString &imgOffStateDwn_En, const QString &imgOffStateDis_St, const QString &imgOffStateDis_Md,
        const QString &imgOffStateDis_En);
    // Nine names (normal, pressed, disabled; each start, middle, end) for both states alike.
    void setButtonsImages(const QString &imgState_St, const QString &imgState_Md, const QString &imgState_En,
        const QString &imgStateDwn_St, const QString &imgStateDwn_Md, const QString &imgStateDwn_En,
        const QString &imgStateDis_St, const QString &imgStateDis_Md, const QString &imgStateDis_En);

    int state() const { return m_state; }
    void setState(int state);

    void setColorOnState(const QColor &c)
    {
        colorOnState = c;
        update();
    }
    void setColorOnStateDis(const QColor &c)
    {
        colorOnStateDis = c;
        update();
    }
    void setColorOffState(const QColor &c)
    {
        colorOffState = c;
        update();
    }
    void setColorOffStateDis(const QColor &c)
    {
        colorOffStateDis = c;
        update();
    }
    void setMarginLeft(int v)
    {
        marginLeft = v;
        update();
    }
    void setMarginRight(int v)
    {
        marginRight = v;
        update();
    }
    void setMarginTop(int v)
    {
        marginTop = v;
        update();
    }
    void setMarginBottom(int v)
    {
        marginBottom = v;
        update();
    }
    void setMarginTopML(int v)
    {
        marginTopML = v;
        update();
    }
    void setMarginBottomML(int v)
    {
        marginBottomML = v;
        update();
    }
    void setMultiLineStr(const QString &s)
    {
        multiLineStr = s;
        update();
    }
    void setEnableImmediately(bool v) { enableImmediately = v; }
    void setMakeBoldFont(bool v)
    {
        makeBoldFont = v;
        update();
    }
    void setFontSizeForButton(int v)
    {
        fontSizeForButton = v;
        update();
    }
    bool getEnableImmediately() const { return enableImmediately; }
    bool getMakeBoldFont() const { return makeBoldFont; }
    int getFontSizeForButton() const { return fontSizeForButton; }
    bool getIsMouseDown() const { return isMouseDown; }
    qreal alphaValue() const { return m_alpha; }

    // One layout of the title in `rect` (single line, or two lines when `multi`), kept in the
    // layout fields below.
    void getAttributesForRect(const QRectF &rect, bool multi);

    // What the last drawing used: the title colour, the text rectangle, whether the two-line layout
    // won, the drawn title and its font.
    QColor drawnTextColor() const { return colorText; }
    QRectF drawnTextRect() const { return rectText; }
    bool drewTwoLines() const { return m_drewTwoLines; }
    QString drawnTitle() const { return m_drawnTitle; }
    QFont drawnFont() const { return m_drawnFont; }
    // The part image names the last drawing chose (start, middle, end).
    QStringList drawnImageNames() const { return m_patternNames; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    // The images and the title, without the focus mark.
    void paintFace(QPainter &painter);
    // The colours of the face the last drawing chose, top to bottom; what the focus mark is drawn on.
    QList<QColor> faceColors() const;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Layout {
        QSizeF size;
        QFont font;
        QRectF rect;
        bool valid = false;
    };
    // Everything the title layout depends on besides the system font.
    struct LayoutInputs {
        QString title;
        QSizeF size;
        QString separator;
        int fontCap = 0;
        bool bold = false;
        int margins[6] = {};
        bool operator==(const LayoutInputs &) const = default;
    };

    void chooseImagesAndColor();
    void drawTitle(
        QPainter &painter, const QString &title, const Layout &layout, bool multi, bool followPress);
    void mouseUp(const QPointF &globalPos);
    void setHoverAlpha(qreal alpha);
    QFont layoutFont(int fittedSize) const;
    static QString splitInTwoLines(const QString &title, const QString &separator);

    QString imgOffState_Md, imgOffState_St, imgOffState_En;
    QString imgOffStateDwn_Md, imgOffStateDwn_St, imgOffStateDwn_En;
    QString imgOffStateDis_Md, imgOffStateDis_St, imgOffStateDis_En;
    QString imgOnState_Md, imgOnState_St, imgOnState_En;
    QString imgOnStateDwn_Md, imgOnStateDwn_St, imgOnStateDwn_En;
    QString imgOnStateDis_Md, imgOnStateDis_St, imgOnStateDis_En;
    BundleImage pattern_St, pattern_Mdl, pattern_En;
    QStringList m_patternNames;
    QColor colorOnState, colorOnStateDis, colorOffState, colorOffStateDis;
    QColor colorText;
    bool isMouseDown = false;
    int marginLeft = 5, marginRight = 5, marginTop = 5, marginBottom = 5;
    int marginTopML = 2, marginBottomML = 2;
    Layout layoutM, layoutNoM;
    LayoutInputs m_layoutInputs;
    QString oTitle;
    QString mTitle;
    QString multiLineStr = QStringLiteral(" ");
    QRectF rectText;
    bool enableImmediately = true;
    bool makeBoldFont = false;
    int fontSizeForButton = 0;

    int m_state = OffState;
    qreal m_alpha = 1.0;
    bool m_drewTwoLines = false;
    QString m_drawnTitle;
    QFont m_drawnFont;
};
