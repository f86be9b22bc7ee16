#include "controls/CommonFuncUi.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>

#include "app/CommonFunc.h"
#include "app/OSVersionFlags.h"
#include "platform/ui/FrameGeometry.h"

namespace
{

void applyTitle(QAbstractButton *button, const AttributedTitle &title)
{
    button->setText(title.text);
    for (const AttributedTitleRun &run : title.runs) {
        if (run.start != 0)
            continue;
        if (run.font)
            button->setFont(*run.font);
        if (run.color) {
            QPalette palette = button->palette();
            palette.setColor(QPalette::ButtonText, *run.color);
            palette.setColor(QPalette::WindowText, *run.color);
            button->setPalette(palette);
        }
    }
    button->setProperty(CommonFuncUi::kAttributedTitleProperty, QVariant::fromValue(title));
    button->update();
}

} // namespace

void CommonFuncUi::setTextFontAndColorOn(QAbstractButton *button, const QString &title, int fontSize)
{
    if (button)
        applyTitle(button, CommonFunc::buttonTitle(title, fontSize));
}

void CommonFuncUi::setTextFontAndColorOnNew(
    QAbstractButton *button, const QString &title, const QString &completeText, int fontSize)
{
    if (button)
        applyTitle(button, CommonFunc::twoPartButtonTitle(title, completeText, fontSize));
}

double CommonFuncUi::fittingWidth(const QLineEdit *field)
{
    return field ? CommonFunc::fittingWidth(field->text(), field->font())
                 : CommonFunc::fittingWidth(QString(), {});
}

double CommonFuncUi::fittingWidth(const QLabel *label)
{
    return label ? CommonFunc::fittingWidth(label->text(), label->font())
                 : CommonFunc::fittingWidth(QString(), {});
}

double CommonFuncUi::fittingWidth(const QAbstractButton *button)
{
    return button ? CommonFunc::fittingWidth(button->text(), button->font())
                  : CommonFunc::fittingWidth(QString(), {});
}

void CommonFuncUi::centerWindow(QWidget *window, const QWidget *reference)
{
    if (!window || !reference)
        return;
    FrameGeometry::centerOver(window, reference, OSVersionFlags::isOS11OrLater ? 60 : 0);
    window->show();
}

void CommonFuncUi::setTableHeaders(const QString &title, int column, QAbstractItemView *view)
{
    if (!view || !view->model() || column < 0 || column >= view->model()->columnCount())
        return;
    QAbstractItemModel *model = view->model();
    model->setHeaderData(column, Qt::Horizontal, title, Qt::DisplayRole);
    model->setHeaderData(
        column, Qt::Horizontal, title.isNull() ? QVariant() : QVariant(title), Qt::ToolTipRole);
}
