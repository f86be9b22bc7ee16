// The preview pane of the results window.
#include "results/ui/PreviewPane.h"

#include <QBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>

#include "app/LocalizedString.h"
#include "controls/ITPathbar.h"
#include "model/ImageFileInfo.h"
#include "platform/OutsideText.h"
#include "platform/PathLook.h"
#include "platform/TextFormat.h"
#include "platform/ui/Workspace.h"
#include "results/PreviewRead.h"
#include "results/ui/VideoPreview.h"

PreviewPane::PreviewPane(QWidget *container, QWidget *bottomPathBarBox, QObject *parent)
    : QObject(parent)
{
    auto *column = qobject_cast<QBoxLayout *>(container->layout());
    if (!column)
        column = new QVBoxLayout(container);
    imgPreview = new QLabel(container);
    imgPreview->setObjectName(QStringLiteral("imgPreview"));
    imgPreview->setFixedSize(kImageWidth, kImageHeight);
    imgPreview->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    previewForVideo = new QWidget(container);
    previewForVideo->setObjectName(QStringLiteral("previewForVideo"));
    previewForVideo->setFixedSize(kImageWidth, kImageHeight);
    new QVBoxLayout(previewForVideo);
    previewForVideo->layout()->setContentsMargins(0, 0, 0, 0);
    // The construction's first video view, in the normal style; the first local video replaces it.
    previewQlVideo = new VideoPreview(VideoPreview::Style::Normal, previewForVideo);
    previewForVideo->layout()->addWidget(previewQlVideo);
    previewForVideo->hide();
    lblNoPhotoSelectedForPreview = new QLabel(container);
    lblNoPhotoSelectedForPreview->setObjectName(QStringLiteral("lblNoPhotoSelectedForPreview"));
    lblNoPhotoSelectedForPreview->setAlignment(Qt::AlignCenter);
    lblNoPhotoSelectedForPreview->setStyleSheet(QStringLiteral("color: rgb(208, 210, 213);"));
    lblNotAnswering = new QLabel(container);
    lblNotAnswering->setObjectName(QStringLiteral("lblNotAnswering"));
    lblNotAnswering->setAlignment(Qt::AlignCenter);
    lblNotAnswering->setWordWrap(true);
    lblNotAnswering->setTextFormat(Qt::PlainText);
    lblNotAnswering->setFixedWidth(kImageWidth);
    lblNotAnswering->setStyleSheet(QStringLiteral("color: rgb(208, 210, 213);"));
    lblNotAnswering->hide();
    pathViewController = new ITPathbar(container);
    pathViewController->setFixedHeight(22);
    column->addWidget(imgPreview, 0, Qt::AlignHCenter);
    column->addWidget(previewForVideo, 0, Qt::AlignHCenter);
    column->addWidget(lblNotAnswering, 0, Qt::AlignHCenter);
    column->addWidget(lblNoPhotoSelectedForPreview);
    column->addWidget(pathViewController);
    lblBottomPathBar = new ITPathbar(bottomPathBarBox);
    lblBottomPathBar->setFixedHeight(22);
    if (auto *row = bottomPathBarBox->layout())
        row->addWidget(lblBottomPathBar);
}

PreviewPane::~PreviewPane() = default;

QImage PreviewPane::fileTypeIcon(const QString &path)
{
    // The icon of the file's type, not of the file: a cloud path names no file here.
    const QPixmap pixmap = Workspace::iconForFileName(path).pixmap(QSize(kImageWidth, kImageHeight));
    return pixmap.toImage().scaled(kImageWidth, kImageHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void PreviewPane::showImage(const QImage &image)
{
    m_shown = image;
    if (image.isNull())
        imgPreview->clear();
    else
        imgPreview->setPixmap(QPixmap::fromImage(image));
}

void PreviewPane::changeAllComponents(const std::shared_ptr<ImageFileInfo> &record, ScanSource scanType)
{
    if (!record) {
        ++m_requests;
        showNotAnswering(QString());
        previewForVideo->hide();
        previewQlVideo->pause();
        pathViewController->removePath();
        lblBottomPathBar->removePath();
        lblNoPhotoSelectedForPreview->show();
        showImage(QImage());
    } else {
        const bool cloud = isCloudSource(scanType);
        imgPreview->setVisible(cloud || !record->isVideo);
        previewForVideo->setVisible(!cloud && record->isVideo);
        if (!previewForVideo->isVisible())
            previewQlVideo->pause();
        // The path bars end in the name the list shows.
        pathViewController->setPathToPathController(record->filePath, record->fileName);
        lblBottomPathBar->setPathToPathController(record->filePath, record->fileName);
        lblBottomPathBar->setToolTip(OutsideText::toolTip(OutsideText::name(record->filePath)));
        chooseImage(record, cloud);
        lblNoPhotoSelectedForPreview->hide();
    }
    if (reloadMetaData)
        reloadMetaData();
}

void PreviewPane::chooseImage(const std::shared_ptr<ImageFileInfo> &record, bool cloud)
{
    const int request = ++m_requests;
    m_path = record->filePath;
    showNotAnswering(QString());
    if (!record->imgThumbnail.isNull() && !record->isVideo) {
        showImage(record->imgThumbnail);
        return;
    }
    if (record->isVideo) {
        const QString silent = cloud ? QString() : PathLook::current().silentMountOf(record->filePath);
        if (cloud || !silent.isEmpty()) {
            showImage(fileTypeIcon(record->filePath));
            showNotAnswering(silent);
        } else {
            showLocalVideo(record->filePath);
        }
        return;
    }
    const QString source = cloud ? record->localThumbPath : record->filePath;
    if (source.isEmpty()) {
        showImage(fileTypeIcon(record->filePath));
        return;
    }
    // Read apart, never on this thread: the file may lie on a share that has stopped answering.
    showImage(QImage());
    QPointer<PreviewPane> self(this);
    std::weak_ptr<ImageFileInfo> weak = record;
    PreviewRead::start({ source, false, QSize(kImageWidth, kImageHeight) },
        [self, weak, request, source](const PreviewRead::Answer &answer) {
            const std::shared_ptr<ImageFileInfo> shown = weak.lock();
            if (shown && !answer.image.isNull())
                shown->imgThumbnail = answer.image;
            if (!self || self->m_requests != request)
                return;
            // Never leave the previous file's picture up: the file's type icon stands in (not cached).
            self->showImage(answer.image.isNull() ? fileTypeIcon(source) : answer.image);
            self->showNotAnswering(answer.silentMount);
            emit self->imageRead();
        });
}

void PreviewPane::showNotAnswering(const QString &mount)
{
    lblNotAnswering->setText(mount.isEmpty()
            ? QString()
            : formatText(
                localizedString(QStringLiteral("ID_PHOTO_NOT_ANSWERING")), OutsideText::name(mount)));
    lblNotAnswering->setToolTip(mount.isEmpty() ? QString() : OutsideText::toolTip(OutsideText::name(mount)));
    lblNotAnswering->setVisible(!mount.isEmpty());
    // The picture's own read, if still under way, can only find the same: its type's icon stands in.
    if (!mount.isEmpty() && m_shown.isNull())
        showImage(fileTypeIcon(m_path));
}

void PreviewPane::showLocalVideo(const QString &path)
{
    if (previewQlVideo) {
        previewQlVideo->hide();
        previewQlVideo->deleteLater();
    }
    previewQlVideo = new VideoPreview(VideoPreview::Style::Compact, previewForVideo);
    previewForVideo->layout()->addWidget(previewQlVideo);
    previewQlVideo->setPreviewItemURL(QUrl::fromLocalFile(path));
    showImage(QImage());
}
