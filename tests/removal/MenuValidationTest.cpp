// The context menu's titles, enabled states and directions for the clicked file, the listing and
// the scan source, with the file system's immutable flag given by the test.
#include <gtest/gtest.h>

#include "model/ImageFileInfo.h"
#include "removal/MenuValidation.h"

namespace
{

using Action = MenuValidation::Action;

// Silent*: a file whose share does not answer, so the test answers nothing.
enum class File { None, Plain, Locked, Marked, Immutable, SilentMarked, SilentLocked };

struct ValidationCase {
    const char *name;
    Action action;
    File file;
    bool inGrid;
    std::uint8_t source;
    const char *title;
    bool enabled;
    std::optional<bool> flagMark;
    std::optional<bool> flagLock;
};

class MenuValidationTable : public ::testing::TestWithParam<ValidationCase>
{
};

TEST_P(MenuValidationTable, TitleEnabledAndDirection)
{
    const ValidationCase &c = GetParam();
    ImageFileInfo file;
    file.filePath = QStringLiteral("/photos/a.jpg");
    file.isLocked = c.file == File::Locked || c.file == File::SilentLocked;
    file.isMark = c.file == File::Marked || c.file == File::SilentMarked;
    int probes = 0;
    MenuValidation::Input input;
    input.action = c.action;
    input.record = c.file == File::None ? nullptr : &file;
    input.inGrid = c.inGrid;
    input.scanSource = static_cast<ScanSource>(c.source);
    input.isImmutable = [&](const QString &path) -> std::optional<bool> {
        ++probes;
        EXPECT_EQ(path, file.filePath);
        if (c.file == File::SilentMarked || c.file == File::SilentLocked)
            return std::nullopt;
        return c.file == File::Immutable;
    };
    const MenuValidation::Result result = MenuValidation::validateMenuItem(input);
    EXPECT_EQ(result.titleKey, QString::fromLatin1(c.title));
    EXPECT_EQ(result.enabled, c.enabled);
    EXPECT_EQ(result.flagMarkUnMark, c.flagMark);
    EXPECT_EQ(result.flagToLockUnLock, c.flagLock);
    if (c.source != 0) {
        EXPECT_EQ(probes, 0) << "a cloud path names no local file";
    }
}

constexpr std::uint8_t kLocal = 0, kDrive = 1, kDropbox = 2;
const std::nullopt_t none = std::nullopt;

INSTANTIATE_TEST_SUITE_P(Cases, MenuValidationTable,
    ::testing::Values(ValidationCase { "MarkNoFileGrid", Action::MarkUnmark, File::None, true, kLocal,
                          "ID_MARK", true, true, none },
        ValidationCase {
            "MarkNoFileListKeepsTitle", Action::MarkUnmark, File::None, false, kLocal, "", true, true, none },
        ValidationCase {
            "LockNoFileList", Action::LockUnlock, File::None, false, kLocal, "ID_LOCK", true, none, true },
        ValidationCase { "MarkImmutable", Action::MarkUnmark, File::Immutable, true, kLocal, "ID_MARK", false,
            true, none },
        ValidationCase { "LockImmutable", Action::LockUnlock, File::Immutable, true, kLocal, "ID_UNLOCK",
            false, none, true },
        ValidationCase {
            "MarkLocked", Action::MarkUnmark, File::Locked, true, kLocal, "ID_MARK", false, false, none },
        ValidationCase {
            "LockLocked", Action::LockUnlock, File::Locked, false, kLocal, "ID_UNLOCK", true, none, false },
        ValidationCase {
            "MarkMarked", Action::MarkUnmark, File::Marked, false, kLocal, "ID_UNMARK", true, false, none },
        ValidationCase {
            "LockMarked", Action::LockUnlock, File::Marked, true, kLocal, "ID_LOCK", true, none, true },
        ValidationCase {
            "MarkPlain", Action::MarkUnmark, File::Plain, true, kLocal, "ID_MARK", true, true, none },
        ValidationCase { "UnmarkSilentOffered", Action::MarkUnmark, File::SilentMarked, true, kLocal,
            "ID_UNMARK", true, false, none },
        ValidationCase { "UnlockSilentRefused", Action::LockUnlock, File::SilentLocked, true, kLocal,
            "ID_UNLOCK", false, none, false },
        ValidationCase {
            "FileActionLocal", Action::FileAction, File::Plain, true, kLocal, "", true, none, none },
        ValidationCase { "NoActionLocal", Action::None, File::Plain, true, kLocal, "", true, none, none },
        ValidationCase {
            "DriveLockDisabled", Action::LockUnlock, File::Plain, true, kDrive, "", false, none, none },
        ValidationCase { "DropboxFileActionDisabled", Action::FileAction, File::Plain, true, kDropbox, "",
            false, none, none },
        ValidationCase {
            "DropboxNoActionDisabled", Action::None, File::Plain, true, kDropbox, "", false, none, none },
        ValidationCase { "DriveMarkEnabled", Action::MarkUnmark, File::Marked, true, kDrive, "ID_UNMARK",
            true, false, none },
        ValidationCase { "DropboxRemoveEnabled", Action::RemoveFromPhotoList, File::Plain, false, kDropbox,
            "", true, none, none },
        ValidationCase { "DriveListingSwitchEnabled", Action::ChangeListingType, File::None, true, kDrive, "",
            true, none, none }),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
