// The preview pane of the results window: the 248 x 244 image of the record (shared with the grid
// through the record's imgThumbnail), a compact player for videos on this computer, the path bars
// of the pane and of the bottom bar, and the label shown when nothing is previewed. A picture not
// cached yet is read apart from the GUI thread (PreviewRead); a photo whose share does not answer
// shows its type's icon and a note naming the share.
#pragma once

#include <functional>
#include <memory>

#include <QImage>
#include <QObject>
#include <QPointer>

#include "app/GlobalObjects.h"
#include "controls/ITPathbar.h"
class ImageFileInfo;
#include <QLabel>
class QWidget;
#include "results/ui/VideoPreview.h"

class PreviewPane : public QObject
{
    Q_OBJECT
public:
    static constexpr int kImageWidth = 248;
    static constexpr int kImageHeight = 244;

    // Builds the pane inside `container` and the bottom path bar inside `bottomPathBarBox`.
    PreviewPane(QWidget *container, QWidget *bottomPathBarBox, QObject *parent = nullptr);
    ~PreviewPane() override;

    // Shows the record, or clears the pane for none.
    void changeAllComponents(const std::shared_ptr<ImageFileInfo> &record, ScanSource scanType);

    // The desktop's icon for files of the path's extension, at the preview's size.
    static QImage fileTypeIcon(const QString &path);

    QPointer<QLabel> imgPreview;
    QPointer<QWidget> previewForVideo;
    QPointer<ITPathbar> pathViewController;
    QPointer<ITPathbar> lblBottomPathBar;
    QPointer<QLabel> lblNoPhotoSelectedForPreview;
    // Names the share of the previewed photo when it does not answer; hidden otherwise.
    QPointer<QLabel> lblNotAnswering;
    // The current video view, replaced for every local video shown.
    QPointer<VideoPreview> previewQlVideo;

    // Shows the note naming `mount`, which holds the previewed record's file, as not answering;
    // hides it for "". A picture cached before the share fell silent stays up.
    void showNotAnswering(const QString &mount);

    // The image shown now (null when none).
    QImage shownImage() const { return m_shown; }
    // Reloads the metadata table at the end of every update.
    std::function<void()> reloadMetaData;

signals:
    // The picture read apart for the previewed record has come and is shown.
    void imageRead();

private:
    void showImage(const QImage &image);
    void chooseImage(const std::shared_ptr<ImageFileInfo> &record, bool cloud);
    void showLocalVideo(const QString &path);

    QImage m_shown;
    // Counts the records shown, so that a read answering late for an earlier one changes nothing.
    int m_requests = 0;
    // The path of the record previewed.
    QString m_path;
};
