// The cell view of the scan list, the results list and the preference tables: a row widget with
// up to eleven parts, each given by the table that makes the cell and owned by the cell.
#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QWidget>

class CustomCell : public QWidget
{
    Q_OBJECT

public:
    // A model whose rows a delegate draws as such cells, with no widget of their own, answers true
    // for this role in their first column: they take a right click as a cell's row does.
    static constexpr int DrawnRole = Qt::UserRole + 100;

    explicit CustomCell(QWidget *parent = nullptr);

    QLabel *lblTextField() const { return m_lblTextField; }
    QLabel *lblFilePath() const { return m_lblFilePath; }
    QLabel *imgView() const { return m_imgView; }
    QAbstractButton *btnDelete() const { return m_btnDelete; }
    QCheckBox *btnCheckBox() const { return m_btnCheckBox; }
    QComboBox *cmbBox() const { return m_cmbBox; }
    QLabel *lblSize() const { return m_lblSize; }
    QLabel *lblCretedDate() const { return m_lblCretedDate; }
    QLabel *lblExt() const { return m_lblExt; }
    QLabel *lblCount() const { return m_lblCount; }
    QLabel *imgViewLock() const { return m_imgViewLock; }

    // Each setter makes the cell the part's parent, so the part lives as long as the cell.
    void setLblTextField(QLabel *w) { m_lblTextField = adopt(w); }
    void setLblFilePath(QLabel *w) { m_lblFilePath = adopt(w); }
    void setImgView(QLabel *w) { m_imgView = adopt(w); }
    void setBtnDelete(QAbstractButton *w) { m_btnDelete = adopt(w); }
    void setBtnCheckBox(QCheckBox *w) { m_btnCheckBox = adopt(w); }
    void setCmbBox(QComboBox *w) { m_cmbBox = adopt(w); }
    void setLblSize(QLabel *w) { m_lblSize = adopt(w); }
    void setLblCretedDate(QLabel *w) { m_lblCretedDate = adopt(w); }
    void setLblExt(QLabel *w) { m_lblExt = adopt(w); }
    void setLblCount(QLabel *w) { m_lblCount = adopt(w); }
    void setImgViewLock(QLabel *w) { m_imgViewLock = adopt(w); }

private:
    template <typename T> T *adopt(T *widget)
    {
        if (widget && widget->parent() != this) {
            // Reparenting hides a widget; only one hidden on purpose stays hidden.
            const bool hiddenOnPurpose
                = widget->testAttribute(Qt::WA_WState_ExplicitShowHide) && widget->isHidden();
            widget->setParent(this);
            widget->setVisible(!hiddenOnPurpose);
        }
        return widget;
    }

    QPointer<QLabel> m_lblTextField;
    QPointer<QLabel> m_lblFilePath;
    QPointer<QLabel> m_imgView;
    QPointer<QAbstractButton> m_btnDelete;
    QPointer<QCheckBox> m_btnCheckBox;
    QPointer<QComboBox> m_cmbBox;
    QPointer<QLabel> m_lblSize;
    QPointer<QLabel> m_lblCretedDate;
    QPointer<QLabel> m_lblExt;
    QPointer<QLabel> m_lblCount;
    QPointer<QLabel> m_imgViewLock;
};
