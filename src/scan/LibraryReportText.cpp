#include "scan/LibraryReportText.h"

#include "app/LocalizedString.h"
#include "platform/OutsideText.h"
#include "platform/TextFormat.h"

namespace
{

using Kind = LibraryFailure::Kind;

const char *unreadableKey(Kind kind)
{
    switch (kind) {
    case Kind::NoDatabase:
        return "ID_PHOTO_LIBRARY_DATABASE_NOT_THERE";
    case Kind::FolderUnreadable:
        return "ID_PHOTO_LIBRARY_FOLDER_UNREADABLE";
    case Kind::NotCopied:
        return "ID_PHOTO_LIBRARY_DATABASE_NOT_COPIED";
    case Kind::NotOpened:
        return "ID_PHOTO_LIBRARY_DATABASE_NOT_OPENED";
    case Kind::NoEntityRow:
        return "ID_PHOTO_LIBRARY_NO_ENTITY_ROW";
    case Kind::QueryFailed:
        return "ID_PHOTO_LIBRARY_QUERY_FAILED";
    case Kind::None:
    case Kind::NoTableOfPhotos:
        break;
    }
    return "ID_PHOTO_LIBRARY_UNREADABLE";
}

} // namespace

QString LibraryReportText::unreadable(const WalkReport &report)
{
    if (report.unreadableLibrary.isEmpty())
        return {};
    const LibraryFailure &failure = report.unreadableLibraryFailure;
    // The detail is the system's or the database's own words.
    const QString detail = failure.kind == Kind::NoEntityRow ? OutsideText::name(failure.detail)
                                                             : OutsideText::reason(failure.detail);
    return formatText(localizedString(QString::fromLatin1(unreadableKey(failure.kind))),
        OutsideText::name(report.unreadableLibrary), OutsideText::name(report.unreadableLibraryDatabase),
        detail);
}

QString LibraryReportText::readInPart(const WalkReport &report)
{
    if (report.libraryReadInPart.isEmpty())
        return {};
    const QString library = OutsideText::name(report.libraryReadInPart);
    if (report.libraryCutShortFailure.kind != Kind::None)
        return formatText(localizedString(QStringLiteral("ID_PHOTO_LIBRARY_CUT_SHORT")), library,
            OutsideText::name(report.libraryCutShortDatabase),
            OutsideText::reason(report.libraryCutShortFailure.detail), report.libraryItemsTaken);
    if (report.libraryItemsTaken > 0)
        return formatText(localizedString(QStringLiteral("ID_PHOTO_LIBRARY_READ_IN_PART")), library,
            report.libraryItemsTaken);
    return formatText(localizedString(QStringLiteral("ID_PHOTO_LIBRARY_TOO_LARGE")), library);
}

QString LibraryReportText::filesMissing(const WalkReport &report)
{
    if (report.libraryFilesMissing <= 0)
        return {};
    const QString first = OutsideText::name(report.firstLibraryFileMissing);
    if (report.libraryFilesMissing == 1)
        return formatText(localizedString(QStringLiteral("ID_PHOTO_LIBRARY_FILE_MISSING")), first);
    return formatText(
        localizedString(QStringLiteral("ID_PHOTO_LIBRARY_FILES_MISSING")), report.libraryFilesMissing, first);
}
