// The compact video player of the preview pane: the picture with a play button and a position bar.
// Without Qt Multimedia it shows the file's icon and plays nothing.
#pragma once

#include <QUrl>
#include <QWidget>

class QMediaPlayer;
class QPushButton;
class QSlider;
class QVBoxLayout;

class VideoPreview : public QWidget
{
    Q_OBJECT
public:
    enum class Style { Normal = 0, Compact = 1 };

    explicit VideoPreview(Style style, QWidget *parent = nullptr);
    ~VideoPreview() override;

    Style style() const { return m_style; }
    void setPreviewItemURL(const QUrl &url);
    QUrl previewItemURL() const { return m_url; }
    void refreshPreviewItem();

    void play();
    void pause();
    bool isPlaying() const;
    // Milliseconds played; 0 without a player.
    qint64 position() const;
    // Why the file cannot play ("" when nothing went wrong so far).
    QString errorString() const;
    static bool hasPlayer();

signals:
    void positionChanged(qint64 position);
    void failed(const QString &reason);

private:
    void ensurePlayer();

    Style m_style;
    QVBoxLayout *m_column = nullptr;
    QUrl m_url;
    QMediaPlayer *m_player = nullptr;
    QPushButton *m_play = nullptr;
    QSlider *m_position = nullptr;
};
