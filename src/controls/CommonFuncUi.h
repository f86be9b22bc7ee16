// The control and window rules of CommonFunc applied to widgets (GUI thread only).
#pragma once

#include <QColor>
#include <QString>

class QAbstractButton;
class QAbstractItemView;
class QLabel;
class QLineEdit;
class QWidget;

class CommonFuncUi
{
public:
    // The dynamic property under which a button keeps its full AttributedTitle, for buttons that
    // paint colour runs themselves.
    static constexpr const char *kAttributedTitleProperty = "attributedTitle";

    static void setTextFontAndColorOn(QAbstractButton *button, const QString &title, int fontSize);
    static void setTextFontAndColorOnNew(
        QAbstractButton *button, const QString &title, const QString &completeText, int fontSize);

    static double fittingWidth(const QLineEdit *field);
    static double fittingWidth(const QLabel *label);
    static double fittingWidth(const QAbstractButton *button);

    // Centres `window` over `reference` (60 points lower under the newer-system profile) and
    // shows it; nothing when either is null.
    static void centerWindow(QWidget *window, const QWidget *reference);
    // Header title and tool tip of one column; nothing for a null view or a column out of range.
    static void setTableHeaders(const QString &title, int column, QAbstractItemView *view);
};
