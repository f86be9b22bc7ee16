// The preview pane of the results window.
#include "results/ui/PreviewPane.h"

#include <QBoxLayout>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMimeDatabase>
#include <QPixmap>

#include "app/LocalizedString.h"
#include "controls/ITPathbar.h"
#include "model/ImageFileInfo.h"
#include "model/ImageProcessing.h"
#include "platform/OutsideText.h"
#include "platform/ui/Workspace.h"
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
    pathViewController = new ITPathbar(container);
    pathViewController->setFixedHeight(22);
    column->addWidget(imgPreview, 0, Qt::AlignHCenter);
    column->addWidget(previewForVideo, 0, Qt::AlignHCenter);
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
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    if (icon.isNull())
        icon = Workspace::iconForFile(path);
    const QPixmap pixmap = icon.pixmap(QSize(kImageWidth, kImageHeight));
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
        chooseImage(*record, cloud);
        lblNoPhotoSelectedForPreview->hide();
    }
    if (reloadMetaData)
        reloadMetaData();
}

void PreviewPane::chooseImage(ImageFileInfo &record, bool cloud)
{
    if (!record.imgThumbnail.isNull() && !record.isVideo) {
        showImage(record.imgThumbnail);
        return;
    }
    if (record.isVideo) {
        if (cloud)
            showImage(fileTypeIcon(record.filePath));
        else
            showLocalVideo(record.filePath);
        return;
    }
    const QString source = cloud ? record.localThumbPath : record.filePath;
    if (source.isEmpty()) {
        showImage(fileTypeIcon(record.filePath));
        return;
    }
    const QImage image = ImageProcessing::getImageFromFile(source, kImageWidth, kImageHeight);
    if (image.isNull()) {
        // Never leave the previous file's picture up: the file's type icon stands in (not cached).
        showImage(fileTypeIcon(source));
        return;
    }
    record.imgThumbnail = image;
    showImage(image);
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
