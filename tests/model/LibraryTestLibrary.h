// A synthetic photo library for the reader tests: a package folder whose database has exactly the
// tables and columns the reader's queries use, in one of the three layouts.
#pragma once

#include <QDateTime>
#include <QString>

struct sqlite3;

class LibraryTestLibrary
{
public:
    enum class Layout { PhotosStore, OlderPhotosStore, IPhoto };

    struct Item {
        QString directory = QStringLiteral("A");
        QString fileName;
        qint64 size = 1000;
        QDateTime created;
        QDateTime added;
        bool trashed = false;
        bool allowedForAnalysis = true;
        bool burstMember = false;
        bool nullUuid = false;
        QString description;
    };

    // Makes "<folder>/Test.photoslibrary" with its database, at `databaseName` inside it when given.
    LibraryTestLibrary(const QString &folder, Layout layout, const QString &databaseName = QString());
    // A database that holds only a library's own settings, as "database/photos.db" does beside the
    // database of photos of a recent library.
    static void writeSettingsDatabase(const QString &path);
    ~LibraryTestLibrary();
    LibraryTestLibrary(const LibraryTestLibrary &) = delete;
    LibraryTestLibrary &operator=(const LibraryTestLibrary &) = delete;

    QString libraryPath() const { return m_libraryPath; }
    QString databasePath() const { return m_databasePath; }
    Layout layout() const { return m_layout; }

    // The key of the new item (asset or version) and of the new album.
    qint64 addItem(const Item &item);
    qint64 addAlbum(const QString &title);
    void putInAlbum(qint64 item, qint64 album);

    // Keeps the database in write-ahead mode with later changes left in the "-wal" file, as a
    // library open in its application has it.
    void holdChangesInWal();
    // A Photos library made hostile: its entity table becomes a view over a recursion without end.
    void makeEntityTableEndless();
    // A library made hostile: its item table becomes a view repeating each row 100 million times.
    void multiplyRows();
    // Runs `sql` on the database: how a test damages a library.
    void run(const char *sql);

private:
    void createSchema();
    qint64 insert(const char *sql, const QList<QVariant> &values);

    Layout m_layout;
    QString m_libraryPath;
    QString m_databasePath;
    sqlite3 *m_db = nullptr;
};
