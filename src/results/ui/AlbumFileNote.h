// A note naming the file that holds the album of marked duplicates, with a button that shows the
// file in the file manager: on this system the album lives there, not in a photo application.
#pragma once

#include <functional>

#include <QFrame>
#include <QPointer>
#include <QUrl>

class QLabel;
class QScreen;
class QPushButton;

class AlbumFileNote : public QFrame
{
    Q_OBJECT
public:
    explicit AlbumFileNote(QWidget *parent = nullptr);

    // The album file shown and revealed; the program's own one unless set.
    void setPath(const QString &path);
    QString path() const { return m_path; }
    // Shows the path on one line: whole, or elided in the middle where the note would be wider
    // than `widthLimit` (the whole path is then its tool tip). A path wrapped at its slashes
    // reads as another path.
    void keepPathOnOneLine(int widthLimit);
    // Sizes `sheet`, which holds this note, to its content and at least `leastWidth` wide, yet
    // never wider or taller than `screen` less a margin: the path then stays on one line, elided.
    void fitSheetToScreen(QWidget *sheet, const QScreen *screen, int leastWidth);

    QPointer<QLabel> lblAlbumFile;
    QPointer<QPushButton> btnShowAlbumFile;
    // How the file is shown in the file manager; replaceable for tests.
    std::function<void(const QUrl &)> revealUrl;

private:
    void showPath();

    QString m_path;
    int m_widthLimit = 0;
};
