// The two-column metadata table under the preview: a label and a text per fact of the previewed
// record. Its rows (arrMetaData) are rebuilt before every preview update; the update reloads it.
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

    // Rebuilds the rows for the record (loading its EXIF when needed); none empties them.
    void fillMetaDataTable(const std::shared_ptr<ImageFileInfo> &record, ScanSource scanType);
    // Shows the current rows.
    void reloadData();

    QList<MetadataRow> arrMetaData;
    QPointer<QTableWidget> tvMetaData;
};
