// The file types as the filter pane edits them: the image types, then the video types, each ticked
// or not. At least one type of either kind stays ticked; every accepted change is stored at once,
// split back into the two lists.
#pragma once

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

    explicit FileTypeList(UserDefaults &defaults);

    void load();
    const QVariantList &types() const { return m_types; }
    int count() const { return static_cast<int>(m_types.size()); }
    QVariantMap type(int row) const;
    // The number of ticked types.
    int countAllowedExtension() const { return m_countAllowedExtension; }
    // Ticked when the integer value of "state" is 1 (true and 1 alike).
    static bool isTicked(const QVariantMap &type);

    Toggle toggle(int row, bool on);

private:
    UserDefaults &m_defaults;
    QVariantList m_types;
    int m_imageCount = 0;
    int m_videoCount = 0;
    int m_countAllowedExtension = 0;
};
