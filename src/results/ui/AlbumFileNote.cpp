#include "results/ui/AlbumFileNote.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

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
    lblAlbumFile->setText(formatText(localizedString(QStringLiteral("ID_ALBUM_FILE_IS_AT")), path));
}
