// The Exclusions pane: the folders every scan leaves out. Adding refuses trash folders and folders
// that would hide part of the main window's scan list; every change is stored at once.
#pragma once

#include <functional>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>

#include "preferences/ui/PreferencePane.h"

class ExcludeViewController : public PreferencePane
{
    Q_OBJECT
public:
    static constexpr int kViewWidth = 540;
    static constexpr int kViewHeight = 330;

    explicit ExcludeViewController(QObject *parent = nullptr);

    // The paths on the main window's scan list; its owner sets it (none: an empty list).
    void setScanListProvider(std::function<QStringList()> provider) { m_scanListPaths = std::move(provider); }

    QPointer<QLabel> lblMangaeFolderToexclude;
    QPointer<QTableWidget> tvExclude;
    QPointer<QPushButton> btnAdd;
    QPointer<QPushButton> btnRemove;
    // The pane's copy of the stored list, in stored order.
    QStringList arrExclude;

    void btnAddFolderToExclusion();
    void btnRemoveFolderFromExclusion();
    void resetFromDefaults();
    void reloadTableView_main();

protected:
    void viewDidLoad() override;

private:
    void addChosenFolders(int response, const QStringList &paths);
    void showAlert(const QString &messageKey, const QString &informativeKey, const QString &buttonKey);
    void storeExclusions();
    void loadExclusions();

    std::function<QStringList()> m_scanListPaths;
};
