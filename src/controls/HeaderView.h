// The section header of the results grid: a box with the group's title and its image count. The
// results window fills the title and the count; the outlets are held weakly.
#pragma once

#include <QLabel>
#include <QPointer>
#include <QWidget>

class HeaderView : public QWidget
{
    Q_OBJECT

public:
    explicit HeaderView(QWidget *parent = nullptr);

    QWidget *boxCollectionViewHeader() const { return m_boxCollectionViewHeader; }
    QLabel *sectionTitle() const { return m_sectionTitle; }
    QLabel *imageCount() const { return m_imageCount; }
    void setBoxCollectionViewHeader(QWidget *box) { m_boxCollectionViewHeader = box; }
    void setSectionTitle(QLabel *label) { m_sectionTitle = label; }
    void setImageCount(QLabel *label) { m_imageCount = label; }

private:
    QPointer<QWidget> m_boxCollectionViewHeader;
    QPointer<QLabel> m_sectionTitle;
    QPointer<QLabel> m_imageCount;
};
