// Proxy over the file dialog's file system model that disables the entries the panel's options
// refuse, so they show greyed out and cannot be chosen.
#pragma once

#include <QHash>
#include <QSortFilterProxyModel>

#include "platform/ui/OpenPanel.h"

class QFileInfo;

class PanelFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit PanelFilterModel(const OpenPanelOptions &options, QObject *parent = nullptr);

    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Whether a refused folder may still be entered (an ordinary folder the filter did not refuse).
    bool canEnter(const QString &path) const;
    bool canEnter(const QFileInfo &entry) const;

private:
    // From the model's own look at the entry: flags() is asked on the GUI thread, where a look at
    // an entry of a share that stopped answering would wait for good.
    bool isEnabled(const QFileInfo &entry) const;

    OpenPanelOptions m_options;
    // flags() is asked for every visible row on every repaint, and the filter callback may be slow.
    mutable QHash<QString, bool> m_enabled;
};
