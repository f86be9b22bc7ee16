#include "results/ui/AlbumFileNote.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "app/LocalizedString.h"
#include "platform/LocalAlbumStore.h"
#include "platform/OutsideText.h"
#include "platform/TextFormat.h"
#include "platform/ui/FrameGeometry.h"
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
    lblAlbumFile->setTextFormat(Qt::PlainText);
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
    const QLayout *column = sheet ? sheet->layout() : nullptr;
    if (!column || !screen)
        return;
    const QMargins margins = column->contentsMargins();
    keepPathOnOneLine(FrameGeometry::widestSheet(*screen) - margins.left() - margins.right());
    FrameGeometry::fitToTexts(sheet, screen, leastWidth);
}

void AlbumFileNote::showPath()
{
    const QString caption = localizedString(QStringLiteral("ID_ALBUM_FILE_IS_AT"));
    const QString path = OutsideText::name(m_path);
    QString shown = path;
    if (m_widthLimit > 0) {
        const QFontMetrics metrics = lblAlbumFile->fontMetrics();
        const QMargins margins = layout()->contentsMargins();
        // What the note needs besides the path: its frame, margins, the button and the caption.
        const int around = 2 * frameWidth() + margins.left() + margins.right() + layout()->spacing()
            + btnShowAlbumFile->sizeHint().width() + 2 * lblAlbumFile->margin()
            + metrics.horizontalAdvance(formatText(caption, QString()));
        shown = metrics.elidedText(path, Qt::ElideMiddle, std::max(0, m_widthLimit - around));
    }
    lblAlbumFile->setText(formatText(caption, shown));
    lblAlbumFile->setToolTip(shown == path ? QString() : OutsideText::toolTip(path));
}
