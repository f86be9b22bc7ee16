// Texts and layout of the summary after a removal run.
#include "results/AfterTrashSummary.h"

#include "app/LocalizedString.h"
#include "app/OSVersionFlags.h"
#include "platform/TextFormat.h"
#include "results/ResultTexts.h"

using TypeSupport = GlobalObjects::TypeSupport;

namespace
{

constexpr std::uint8_t kGoogleDrive = 1;
constexpr std::uint8_t kDropbox = 2;

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

} // namespace

OsProfile OsProfile::current()
{
    return OsProfile { OSVersionFlags::isOS15OrLater.load(), OSVersionFlags::isOS14OrLater.load(),
        OSVersionFlags::isOS13OrLater.load(), OSVersionFlags::isOS11OrLater.load(),
        OSVersionFlags::isOS1015.load(), OSVersionFlags::isOS1013Or1014.load() };
}

AfterTrashSummary::Outcome AfterTrashSummary::outcome(const AfterTrashInput &input)
{
    // Whatever the language, a run that moved nothing never shows a summary counting 0.
    if (input.countTrashed <= 0)
        return Outcome::NothingMoved;
    return input.isPhotosLibrayMarkedForTrash ? Outcome::PhotosSummary : Outcome::TrashSummary;
}

QString AfterTrashSummary::recoveryText(const AfterTrashInput &input)
{
    if (input.scanType == kDropbox)
        return formatText(text("ID_IN_CASE_ANY_MISTAKE_YOU_MAY_RECOVER_FROM_BIN"), text("ID_DROPBOX"));
    if (input.scanType == kGoogleDrive)
        return formatText(text("ID_IN_CASE_MISTAKE_RECOVER_CLEANED_ITEMS_FROM_GOOGLE_DRIVE_PHOTOS_TRASH"));
    const bool english = input.languageCode == QStringLiteral("en");
    if ((input.os.isOS11OrLater || input.os.isOS1015) && english)
        return formatText(
            text("ID_IN_CASE_ANY_MISTAKE_YOU_MAY_RECOVER_FROM_BIN"), QStringLiteral("Photos/Finder"));
    return formatText(text("ID_IN_CASE_ANY_MISTAKE_YOU_MAY_RECOVER"), QStringLiteral("Photos"));
}

bool AfterTrashSummary::rateButtonsHidden(const AfterTrashInput &input)
{
    return input.isPhotosLibAdded && input.isPhotosLibrayMarkedForTrash;
}

QString AfterTrashSummary::spaceToRecoverText(const AfterTrashInput &input)
{
    return formatText(text("ID_SPACE_TO_RECOVER"), ResultTexts::sizeText(input.sizeTrashed));
}

QString AfterTrashSummary::movedCountText(const AfterTrashInput &input)
{
    const bool several = input.countTrashed >= 2;
    const char *key = "ID_PHOTOS_VIDEOS_MOVED";
    if (input.deletedFileTypes == TypeSupport::ONLYIMAGES)
        key = several ? "ID_PHOTOS_MOVED" : "ID_PHOTO_MOVED";
    else if (input.deletedFileTypes == TypeSupport::ONLYVIDEO)
        key = several ? "ID_VIDEOS_MOVED" : "ID_VIDEO_MOVED";
    return formatText(text(key), input.countTrashed);
}

TrashSummaryTexts AfterTrashSummary::trashSummaryTexts(const AfterTrashInput &input)
{
    const int n = input.countTrashed;
    const bool several = n >= 2;
    const char *countKey = "ID_DUPLICATE_PHOTOS_VIDEOS_CLEANED_COUNT";
    if (input.deletedFileTypes == TypeSupport::ONLYVIDEO)
        countKey = several ? "ID_DUPLICATE_VIDEOS_CLEANED_COUNT" : "ID_DUPLICATE_VIDEO_CLEANED_COUNT";
    else if (input.deletedFileTypes == TypeSupport::ONLYIMAGES)
        countKey = several ? "ID_DUPLICATE_PHOTOS_CLEANED_COUNT" : "ID_DUPLICATE_PHOTO_CLEANED_COUNT";
    TrashSummaryTexts t;
    t.totalDupsCleaned = formatText(text(countKey), n);
    t.duplicatesRemoved = text(several ? "ID_DUPLICATES_REMOVED" : "ID_DUPLICATE_REMOVED");
    t.deletionSuccess
        = text(several ? "ID_SELECTED_DUPLICATE_FILES_DELETED" : "ID_SELECTED_DUPLICATE_FILE_DELETED")
        + QLatin1Char(' ') + text("ID_DELETE_SUCCESS_MSG");
    t.trashCount = QString::number(n);
    t.trashedSize = ResultTexts::sizeText(input.sizeTrashed);
    t.uniqueRetained = QString::number(input.uniquePhotosReatined);
    t.rateQuestion = text("ID_WOULD_LIKE_TO_RATE_ON_APP_STORE");
    t.yes = text("ID_YES");
    t.no = text("ID_NO");
    return t;
}

QString AfterTrashSummary::nothingMovedMessage()
{
    return text("ID_NOTHING_WAS_MOVED");
}

QString AfterTrashSummary::nothingMovedInformative(const AfterTrashInput &input)
{
    // Files that stayed where they were: for files on disk the usual cause is a missing permission.
    QStringList lines;
    if (!input.isPhotosLibrayMarkedForTrash && input.skippedGroups == 0)
        lines.append(text("ID_YOU_HAVE_NO_PERMISSION_CLEAN_SOME_FILES"));
    if (const QString problems = problemsText(input); !problems.isEmpty())
        lines.append(problems);
    return lines.join(QLatin1Char('\n'));
}

QString AfterTrashSummary::problemsText(const AfterTrashInput &input)
{
    QStringList lines;
    if (input.skippedGroups > 0)
        lines.append(formatText(text("ID_GROUPS_SKIPPED_NO_COPY_WOULD_REMAIN"), input.skippedGroups));
    if (input.failedFiles > 0)
        lines.append(formatText(text("ID_FILES_COULD_NOT_BE_REMOVED"), input.failedFiles));
    return lines.join(QLatin1Char('\n'));
}

QString AfterTrashSummary::step2Text(const OsProfile &os)
{
    return os.isOS13OrLater ? text("ID_REVIEW_IMAGES_IN_ALBUM_SELECT_AND_RIGHT_CLICK")
                            : text("ID_REVIEW_IMAGES_IN_ALBUM_SELECT_AND_HOLD_COMMAND_AND_RIGHT_CLICK");
}

QString AfterTrashSummary::step3Text()
{
    return text("ID_DELETE_PHOTOS_OPTION_APPEAR_IN_CONTEXT_MENU");
}

bool AfterTrashSummary::step3ImageHidden(const OsProfile &os)
{
    return !os.isOS1015 && !os.isOS11OrLater;
}

StepLayout AfterTrashSummary::stepLayout(double boxHeight, double step1Y, double step1Height,
    double step2TextHeight, double step3TextHeight, double step3ImageHeight)
{
    StepLayout l;
    l.step2Height = step2TextHeight + 1;
    l.step2Y = step1Y - l.step2Height - 2;
    l.step3Height = step3TextHeight;
    l.step3Y = boxHeight - step1Height - l.step2Height - l.step3Height - 77;
    l.step3ImageY = boxHeight - step1Height - l.step2Height - step3ImageHeight - 82;
    return l;
}

StepIllustration AfterTrashSummary::illustration(const OsProfile &os, const QString &languageCode)
{
    StepIllustration s;
    QString prefix;
    if (os.isOS15OrLater || os.isOS14OrLater || os.isOS13OrLater || os.isOS11OrLater) {
        prefix = os.isOS15OrLater                    ? QStringLiteral("osxM15")
            : (os.isOS14OrLater || os.isOS13OrLater) ? QStringLiteral("osxM14")
                                                     : QStringLiteral("osx16");
        s.picture = prefix == QStringLiteral("osx16") ? QRectF(89, 0, 490, 275) : QRectF(110, 0, 460, 271);
        s.lens = QRectF(258, 0, 142, 230);
        s.markerOne = QRectF(58, 160, 24, 24);
        s.markerTwo = QRectF(257, 60, 24, 24);
    } else if (os.isOS1015) {
        prefix = QStringLiteral("osx15");
        const bool drawnLanguage = QStringList { "en", "de", "fr", "ja" }.contains(languageCode);
        s.picture = drawnLanguage ? QRectF(144, 0, 436, 284) : QRectF(100, 5, 470, 274);
        s.lens = QRectF(241, 0, 189, 301);
        s.markerOne = drawnLanguage ? QRectF(102, 201, 24, 24) : QRectF(90, 180, 24, 24);
        s.markerTwo = QRectF(267, 93, 24, 24);
    } else if (os.isOS1013Or1014) {
        prefix = QStringLiteral("osx13");
        s.picture = QRectF(144, 0, 436, 281);
        s.lens = QRectF(241, 20, 162, 237);
        s.markerOne = QRectF(102, 198, 24, 24);
        s.markerTwo = QRectF(270, 93, 24, 24);
    } else {
        prefix = QStringLiteral("osx11");
        s.picture = QRectF(108, 0, 472, 310);
        s.lens = QRectF(241, 0, 207, 312);
        s.markerOne = QRectF(26, 252, 24, 24);
        s.markerTwo = QRectF(276, 96, 24, 24);
    }
    s.frameImage = formatText(prefix + QStringLiteral("-step3_%@_frame"), languageCode);
    s.lensImage = formatText(prefix + QStringLiteral("-step3_%@_lens_nav"), languageCode);
    return s;
}
