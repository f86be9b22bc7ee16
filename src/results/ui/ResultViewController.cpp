#include "results/ui/ResultViewController.h"

#include <QWidget>

ResultViewController::ResultViewController(QObject *parent) : QObject(parent)
{
}

ResultViewController::~ResultViewController()
{
    delete m_view;
}

QWidget *ResultViewController::view()
{
    if (!m_view) {
        m_view = new QWidget;
        m_view->setObjectName(QStringLiteral("resultView"));
    }
    return m_view;
}

void ResultViewController::invokeCollectionView(const std::vector<std::shared_ptr<DuplicatesGroup>> &groups)
{
    arrGroups = groups;
}

void ResultViewController::showListingTypeView(bool thumbnails)
{
    isShowingThumbView = thumbnails;
}
