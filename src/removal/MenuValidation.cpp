#include "removal/MenuValidation.h"

#include "model/ImageFileInfo.h"
#include "platform/FileFacts.h"
#include "platform/PathLook.h"

namespace
{

bool availableInCloud(MenuValidation::Action action)
{
    using A = MenuValidation::Action;
    return action == A::MarkUnmark || action == A::RemoveFromPhotoList || action == A::ChangeListingType;
}

// The menu opens on the GUI thread, and a file on a share gone silent holds whoever opens it for
// good: the question is asked apart, and not asked at all on a mount already named silent.
std::optional<bool> immutableWithinBound(const QString &path)
{
    const auto immutable = [path] { return FileFacts::isImmutable(path); };
    return PathLook::current().look<bool>(path, immutable, nullptr).answer;
}

} // namespace

MenuValidation::Result MenuValidation::validateMenuItem(const Input &input)
{
    if (isCloudSource(input.scanSource) && !availableInCloud(input.action))
        return Result { QString(), false, std::nullopt, std::nullopt };
    std::optional<bool> immutable = false;
    // A cloud record's path names no local file; a read error counts as not immutable.
    if (input.record && !isCloudSource(input.scanSource)
        && (input.action == Action::MarkUnmark || input.action == Action::LockUnlock)) {
        immutable = input.isImmutable ? input.isImmutable(input.record->filePath)
                                      : immutableWithinBound(input.record->filePath);
    }
    switch (input.action) {
    case Action::MarkUnmark:
        return validateMarkUnmark(input, immutable);
    case Action::LockUnlock:
        return validateLockUnlock(input, immutable);
    default:
        return Result {};
    }
}

MenuValidation::Result MenuValidation::validateMarkUnmark(const Input &input, std::optional<bool> immutable)
{
    const QString mark = QStringLiteral("ID_MARK");
    const ImageFileInfo *record = input.record;
    if (!record)
        return Result { input.inGrid ? mark : QString(), true, true, std::nullopt };
    if (immutable.value_or(false))
        return Result { mark, false, true, std::nullopt };
    if (record->isLocked)
        return Result { mark, false, false, std::nullopt };
    if (record->isMark)
        return Result { QStringLiteral("ID_UNMARK"), true, false, std::nullopt };
    return Result { mark, immutable.has_value(), true, std::nullopt };
}

MenuValidation::Result MenuValidation::validateLockUnlock(const Input &input, std::optional<bool> immutable)
{
    const QString unlock = QStringLiteral("ID_UNLOCK");
    const ImageFileInfo *record = input.record;
    if (!record)
        return Result { QStringLiteral("ID_LOCK"), true, std::nullopt, true };
    if (immutable.value_or(false))
        return Result { unlock, false, std::nullopt, true };
    if (record->isLocked)
        return Result { unlock, immutable.has_value(), std::nullopt, false };
    return Result { QStringLiteral("ID_LOCK"), true, std::nullopt, true };
}
