// Metadata table of the results window.
#include "results/ui/MetadataTable.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QTableWidget>

#include "controls/ControlStyles.h"
#include "controls/RowKeys.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "platform/OutsideText.h"
#include "results/PreviewRead.h"

MetadataTable::MetadataTable(QWidget *container, QObject *parent)
    : QObject(parent)
{
    auto *column = qobject_cast<QBoxLayout *>(container->layout());
    if (!column)
        column = new QVBoxLayout(container);
    tvMetaData = new QTableWidget(0, 2, container);
    tvMetaData->setObjectName(QStringLiteral("tvMetaData"));
    tvMetaData->setHorizontalHeaderLabels({ QStringLiteral("idFieldName"), QStringLiteral("idFieldInfo") });
    tvMetaData->horizontalHeader()->hide();
    tvMetaData->verticalHeader()->hide();
    tvMetaData->horizontalHeader()->setStretchLastSection(true);
    tvMetaData->setColumnWidth(0, 120);
    tvMetaData->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvMetaData->setSelectionMode(QAbstractItemView::NoSelection);
    tvMetaData->setShowGrid(false);
    // One stop of the Tab key, never a walk over its cells.
    tvMetaData->setTabKeyNavigation(false);
    // Nothing in it is selected, so its keys scroll it.
    RowKeys::install(tvMetaData);
    // The focus frames the table; unfocused, the frame is there unseen, so the rows never move.
    tvMetaData->setStyleSheet(
        QStringLiteral("QTableWidget { background: rgb(30, 36, 51); color: rgb(208, 210, 213);"
                       " border: 2px solid transparent; border-radius: 4px; }"
                       "QTableWidget:focus { border-color: %1; }")
            .arg(ControlStyles::focusMarkColor().name()));
    column->addWidget(tvMetaData, 1);
}

void MetadataTable::fillMetaDataTable(const std::shared_ptr<ImageFileInfo> &record, ScanSource scanType)
{
    const int request = ++m_requests;
    const QString file = record ? MetadataRows::fileToRead(*record, scanType) : QString();
    if (file.isEmpty()) {
        arrMetaData = MetadataRows::fillMetaDataTable(record.get(), scanType);
        return;
    }
    // What the scan already knows shows at once; the file's own facts once read apart, never on this
    // thread: the file may lie on a share that has stopped answering.
    arrMetaData = MetadataRows::rowsFor(*record, ExifInfo(), scanType);
    QPointer<MetadataTable> self(this);
    std::weak_ptr<ImageFileInfo> weak = record;
    PreviewRead::start(
        { file, true, {} }, [self, weak, request, scanType](const PreviewRead::Answer &answer) {
            const std::shared_ptr<ImageFileInfo> shown = weak.lock();
            if (self && shown && self->m_requests == request && !answer.silentMount.isEmpty())
                emit self->fileNotAnswering(answer.silentMount);
            if (!self || !shown || !answer.exif)
                return;
            // Kept on the record even when another photo is shown by now: the next refill reads nothing.
            shown->takeExifInfo(answer.exif);
            if (self->m_requests != request)
                return;
            self->arrMetaData = MetadataRows::rowsKeepingExif(*shown, scanType);
            self->reloadData();
            emit self->rowsRead();
        });
}

void MetadataTable::reloadData()
{
    tvMetaData->setRowCount(int(arrMetaData.size()));
    for (int row = 0; row < arrMetaData.size(); ++row) {
        const MetadataRow &entry = arrMetaData.at(row);
        // Titles and values come from the file's own metadata.
        auto *title = new QTableWidgetItem(OutsideText::name(entry.title.value_or(QString())));
        title->setToolTip(OutsideText::toolTip(title->text()));
        auto *value = new QTableWidgetItem(OutsideText::name(entry.value));
        value->setToolTip(OutsideText::toolTip(value->text()));
        tvMetaData->setItem(row, 0, title);
        tvMetaData->setItem(row, 1, value);
    }
    tvMetaData->viewport()->update();
}
