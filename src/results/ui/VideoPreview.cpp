// Compact video player of the preview pane.
#include "results/ui/VideoPreview.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#ifdef QNY_HAVE_MULTIMEDIA
#include <QAudioOutput>
#include <QMediaPlayer>
#include <QVideoWidget>
#endif

namespace
{

// Debian's Qt Multimedia defaults to GStreamer, which plays little without extra plugin packages;
// the FFmpeg backend decodes the common camera formats with the libraries already installed. A
// choice made in the environment is kept. Read once, when the first player is made.
void preferFfmpegBackend()
{
#ifdef QNY_HAVE_MULTIMEDIA
    static const bool chosen = [] {
        if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
            qputenv("QT_MEDIA_BACKEND", "ffmpeg");
        return true;
    }();
    Q_UNUSED(chosen);
#endif
}

} // namespace

VideoPreview::VideoPreview(Style style, QWidget *parent)
    : QWidget(parent)
    , m_style(style)
{
    setObjectName(QStringLiteral("previewQlVideo"));
    m_column = new QVBoxLayout(this);
    m_column->setContentsMargins(0, 0, 0, 0);
    m_column->setSpacing(2);
#ifdef QNY_HAVE_MULTIMEDIA
    auto *controls = new QHBoxLayout;
    m_play = new QPushButton(QStringLiteral("▶"), this);
    m_play->setFixedWidth(28);
    m_position = new QSlider(Qt::Horizontal, this);
    controls->addWidget(m_play);
    controls->addWidget(m_position, 1);
    m_column->addStretch(1);
    m_column->addLayout(controls);
    connect(m_play, &QPushButton::clicked, this, [this] { isPlaying() ? pause() : play(); });
    // The normal style has no controls; the compact one is what the pane shows.
    m_play->setVisible(style == Style::Compact);
    m_position->setVisible(style == Style::Compact);
#endif
}

// The media libraries and their decoders load with the first player, so the results of a scan
// without videos open without them.
void VideoPreview::ensurePlayer()
{
#ifdef QNY_HAVE_MULTIMEDIA
    if (m_player)
        return;
    preferFfmpegBackend();
    auto *video = new QVideoWidget(this);
    m_player = new QMediaPlayer(this);
    m_player->setAudioOutput(new QAudioOutput(m_player));
    m_player->setVideoOutput(video);
    // The video takes the stretch's place above the controls.
    delete m_column->takeAt(0);
    m_column->insertWidget(0, video, 1);
    connect(m_player, &QMediaPlayer::durationChanged, m_position,
        [this](qint64 d) { m_position->setRange(0, int(d)); });
    connect(m_player, &QMediaPlayer::positionChanged, this, [this](qint64 p) {
        m_position->setValue(int(p));
        emit positionChanged(p);
    });
    connect(m_position, &QSlider::sliderMoved, m_player, [this](int p) { m_player->setPosition(p); });
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState s) {
        m_play->setText(s == QMediaPlayer::PlayingState ? "❚❚" : "▶");
    });
    connect(m_player, &QMediaPlayer::errorOccurred, this,
        [this](QMediaPlayer::Error, const QString &reason) { emit failed(reason); });
#endif
}

VideoPreview::~VideoPreview() = default;

bool VideoPreview::hasPlayer()
{
#ifdef QNY_HAVE_MULTIMEDIA
    return true;
#else
    return false;
#endif
}

void VideoPreview::setPreviewItemURL(const QUrl &url)
{
    m_url = url;
    refreshPreviewItem();
}

void VideoPreview::refreshPreviewItem()
{
#ifdef QNY_HAVE_MULTIMEDIA
    if (m_url.isEmpty() && !m_player)
        return;
    ensurePlayer();
    m_player->setSource(m_url);
#endif
}

void VideoPreview::play()
{
#ifdef QNY_HAVE_MULTIMEDIA
    ensurePlayer();
    m_player->play();
#endif
}

void VideoPreview::pause()
{
#ifdef QNY_HAVE_MULTIMEDIA
    if (m_player)
        m_player->pause();
#endif
}

bool VideoPreview::isPlaying() const
{
#ifdef QNY_HAVE_MULTIMEDIA
    return m_player && m_player->playbackState() == QMediaPlayer::PlayingState;
#else
    return false;
#endif
}

qint64 VideoPreview::position() const
{
#ifdef QNY_HAVE_MULTIMEDIA
    return m_player ? m_player->position() : 0;
#else
    return 0;
#endif
}

QString VideoPreview::errorString() const
{
#ifdef QNY_HAVE_MULTIMEDIA
    return m_player ? m_player->errorString() : QString();
#else
    return QStringLiteral("built without Qt Multimedia");
#endif
}
