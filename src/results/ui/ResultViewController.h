// The results window's controller: receives the groups of a finished scan and shows them in the
// main window in place of the scan view.
#pragma once

#include <memory>
#include <vector>

#include <QObject>
#include <QPointer>

class DuplicatesGroup;
class ScanWrapper;
class QWidget;

class ResultViewController : public QObject
{
    Q_OBJECT
public:
    explicit ResultViewController(QObject *parent = nullptr);
    ~ResultViewController() override;

    // The results view, made on first use.
    QWidget *view();

    std::vector<std::shared_ptr<DuplicatesGroup>> arrGroups;
    std::shared_ptr<ScanWrapper> scanWrapper;
    bool isShowingThumbView = true;

    // The entry after a scan.
    void invokeCollectionView(const std::vector<std::shared_ptr<DuplicatesGroup>> &groups);
    void showListingTypeView(bool thumbnails);

private:
    QPointer<QWidget> m_view;
};
