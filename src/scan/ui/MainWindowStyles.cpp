#include "scan/ui/MainWindowStyles.h"

#include <QPalette>

#include "cloud/ui/CloudSheetStyles.h"

void MainWindowStyles::styleScanButtonTitle(IMGButton *button)
{
    button->setMakeBoldFont(true);
    button->setFontSizeForButton(18);
    button->setMarginBottom(7);
}

void MainWindowStyles::styleScanButtonImages(IMGButton *button)
{
    const QString bl = QStringLiteral("blue_left_btn"), bm = QStringLiteral("blue_mid_btn"),
                  br = QStringLiteral("blue_right_btn");
    const QString gl = QStringLiteral("grey_left_btn"), gm = QStringLiteral("grey_mid_btn"),
                  gr = QStringLiteral("grey_right_btn");
    button->setButtonImages(bl, bm, br, bl, bm, br, bl, bm, br, gl, gm, gr, gl, gm, gr, gl, gm, gr);
    button->setColorOnState(Qt::white);
    const QColor disabled = QColor::fromRgbF(210 / 255.0, 211 / 255.0, 218 / 255.0);
    button->setColorOnStateDis(disabled);
    button->setColorOffStateDis(disabled);
}

void MainWindowStyles::setCornerRadius(QWidget *box, double radius)
{
    // A style sheet makes the frame's labels fall back to the application palette (dark text), so
    // the light text of the window palette is restated for them.
    if (qobject_cast<QFrame *>(box))
        box->setStyleSheet(
            QStringLiteral("QFrame#%1 { border-radius: %2px; } QFrame#%1 QLabel { color: white; }")
                .arg(box->objectName())
                .arg(radius));
}

void MainWindowStyles::setBackgroundImages(
    GradientBox *box, const QString &start, const QString &middle, const QString &end)
{
    box->setBackgroundImages(start, middle, end);
}

void MainWindowStyles::setBackgroundImage(GradientBox *box, const QString &name)
{
    box->setBackgroundImage(name);
}

void MainWindowStyles::setWhiteTitle(QAbstractButton *button, const QString &title)
{
    button->setText(title);
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::white);
    button->setPalette(palette);
}

FlatButtonStyle MainWindowStyles::scanComputerStyle()
{
    return CloudSheetStyles::scanComputerStyle();
}

FlatButtonStyle MainWindowStyles::allowPermissionStyle()
{
    return CloudSheetStyles::allowPermissionStyle();
}

FlatButtonStyle MainWindowStyles::addFolderCloudScanStyle()
{
    return CloudSheetStyles::addFolderStyle();
}

FlatButtonStyle MainWindowStyles::cancelCloudFolderScanStyle()
{
    return CloudSheetStyles::cancelFolderStyle();
}

void MainWindowStyles::setLinkTitle(LinkButton *button, const QString &title, int fontSize, bool bold)
{
    // Shown on the dark options panel, so the link is drawn in white.
    button->setTitle(title, float(fontSize), bold, Qt::white);
}
