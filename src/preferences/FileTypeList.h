// The file types as the filter pane edits them: the image types, then the video types, each ticked
// or not. Only the image types this build can decode are offered; the others stay in the stored
// list as they are, so a settings file keeps its meaning. At least one offered type stays ticked;
// every accepted change is stored at once, split back into the two lists.
#pragma once

#include <functional>
#include <vector>

#include <QVariantList>
#include <QVariantMap>

class UserDefaults;

class FileTypeList
{
public:
    static inline const QString kImageTypes = QStringLiteral("allowedExtensions");
    static inline const QString kVideoTypes = QStringLiteral("allowedVideoExtensions");

    enum class Toggle {
        // The change is stored.
        Stored,
        // It would untick the last ticked type: nothing changes.
        Refused,
        // Another writer changed the lists' lengths since they were loaded: nothing was written
        // and the lists were loaded again.
        Reloaded,
    };

    // Whether an image type's entry is offered; by default, when it names no extension or one
    // that can be decoded.
    using Offered = std::function<bool(const QVariantMap &)>;
    static bool isDecodable(const QVariantMap &type);

    explicit FileTypeList(UserDefaults &defaults, Offered offered = &FileTypeList::isDecodable);

    void load();
    // The offered types; `row` counts only these.
    int count() const { return static_cast<int>(m_rows.size()); }
    QVariantMap type(int row) const;
    // The number of ticked offered types.
    int countAllowedExtension() const { return m_countAllowedExtension; }
    // Ticked when the integer value of "state" is 1 (true and 1 alike).
    static bool isTicked(const QVariantMap &type);

    Toggle toggle(int row, bool on);

private:
    UserDefaults &m_defaults;
    Offered m_offered;
    // Every stored type, and the places in it of the offered ones.
    QVariantList m_types;
    std::vector<int> m_rows;
    int m_imageCount = 0;
    int m_videoCount = 0;
    int m_countAllowedExtension = 0;
};
