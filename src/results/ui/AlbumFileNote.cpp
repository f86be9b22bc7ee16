#include "results/ui/AlbumFileNote.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "app/LocalizedString.h"
#include "platform/LocalAlbumStore.h"
#include "platform/TextFormat.h"
#include "results/ui/ResultFileActions.h"

AlbumFileNote::AlbumFileNote(QWidget *parent)
    : QFrame(parent)
    , revealUrl([](const QUrl &url) { ResultFileActions::defaultRevealUrl(url, {}); })
{
    setObjectName(QStringLiteral("boxAlbumFile"));
    setFrameShape(QFrame::StyledPanel);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(10, 6, 10, 6);
    lblAlbumFile = new QLabel(this);
    lblAlbumFile->setWordWrap(true);
    lblAlbumFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    btnShowAlbumFile = new QPushButton(localizedString(QStringLiteral("ID_REVEAL_IN_FINDER")), this);
    row->addWidget(lblAlbumFile, 1);
    row->addWidget(btnShowAlbumFile);
    connect(btnShowAlbumFile, &QPushButton::clicked, this, [this] {
        if (revealUrl)
            revealUrl(QUrl::fromLocalFile(m_path));
    });
    setPath(LocalAlbumStore::defaultFilePath());
}

void AlbumFileNote::setPath(const QString &path)
{
    m_path = path;
    showPath();
}

void AlbumFileNote::keepPathOnOneLine(int widthLimit)
{
    m_widthLimit = widthLimit;
    lblAlbumFile->setWordWrap(false);
    showPath();
}

void AlbumFileNote::fitSheetToScreen(QWidget *sheet, const QScreen *screen, int leastWidth)
{
    // Room left between the sheet and the screen's edges.
    constexpr int kScreenMargin = 24;
    QLayout *column = sheet ? sheet->layout() : nullptr;
    if (!column || !screen)
        return;
    const QRect area = screen->availableGeometry();
    const int widest = area.width() - 2 * kScreenMargin;
    const QMargins margins = column->contentsMargins();
    keepPathOnOneLine(widest - margins.left() - margins.right());
    column->invalidate();
    column->activate();
    const int width = std::min(std::max(leastWidth, column->totalMinimumSize().width()), widest);
    const int height
        = column->hasHeightForWidth() ? column->totalHeightForWidth(width) : column->totalSizeHint().height();
    sheet->resize(width, std::min(height, area.height() - 2 * kScreenMargin));
}

void AlbumFileNote::showPath()
{
    const QString caption = localizedString(QStringLiteral("ID_ALBUM_FILE_IS_AT"));
    QString shown = m_path;
    if (m_widthLimit > 0) {
        const QFontMetrics metrics = lblAlbumFile->fontMetrics();
        const QMargins margins = layout()->contentsMargins();
        // What the note needs besides the path: its frame, margins, the button and the caption.
        const int around = 2 * frameWidth() + margins.left() + margins.right() + layout()->spacing()
            + btnShowAlbumFile->sizeHint().width() + 2 * lblAlbumFile->margin()
            + metrics.horizontalAdvance(formatText(caption, QString()));
        shown = metrics.elidedText(m_path, Qt::ElideMiddle, std::max(0, m_widthLimit - around));
    }
    lblAlbumFile->setText(formatText(caption, shown));
    lblAlbumFile->setToolTip(shown == m_path ? QString() : m_path);
}
