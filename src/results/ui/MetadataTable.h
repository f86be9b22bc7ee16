// The two-column metadata table under the preview: a label and a text per fact of the previewed
// record. Its rows (arrMetaData) are rebuilt before every preview update; the update reloads it. Facts
// that must be read from the file are read apart from the GUI thread (PreviewRead), and the table
// reloads itself when they come, while it still shows that record.
#pragma once

#include <cstdint>
#include <memory>

#include <QList>
#include <QObject>
#include <QPointer>

#include "app/GlobalObjects.h"
#include "results/MetadataRows.h"

class ImageFileInfo;
#include <QTableWidget>
class QWidget;

class MetadataTable : public QObject
{
    Q_OBJECT
public:
    MetadataTable(QWidget *container, QObject *parent = nullptr);

    // Rebuilds the rows for the record, starting the read of its EXIF when needed; none empties them.
    void fillMetaDataTable(const std::shared_ptr<ImageFileInfo> &record, ScanSource scanType);
    // Shows the current rows.
    void reloadData();

    QList<MetadataRow> arrMetaData;
    QPointer<QTableWidget> tvMetaData;

signals:
    // The EXIF read apart for the shown record has come and is shown.
    void rowsRead();
    // The shown record's file lies on the mount `mount`, which did not answer its read.
    void fileNotAnswering(const QString &mount);

private:
    // Counts fills, so that a read answering late for an earlier record leaves the rows alone.
    int m_requests = 0;
};
