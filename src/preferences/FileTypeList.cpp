#include "preferences/FileTypeList.h"

#include "platform/UserDefaults.h"

FileTypeList::FileTypeList(UserDefaults &defaults)
    : m_defaults(defaults)
{
}

void FileTypeList::load()
{
    const QVariantList images = m_defaults.arrayForKey(kImageTypes);
    const QVariantList videos = m_defaults.arrayForKey(kVideoTypes);
    m_imageCount = static_cast<int>(images.size());
    m_videoCount = static_cast<int>(videos.size());
    m_types = images + videos;
    m_countAllowedExtension = 0;
    for (const QVariant &entry : std::as_const(m_types)) {
        if (isTicked(entry.toMap()))
            ++m_countAllowedExtension;
    }
}

QVariantMap FileTypeList::type(int row) const
{
    return row >= 0 && row < count() ? m_types.at(row).toMap() : QVariantMap();
}

bool FileTypeList::isTicked(const QVariantMap &type)
{
    bool isNumber = false;
    const QVariant state = type.value(QStringLiteral("state"));
    if (state.typeId() == QMetaType::Bool)
        return state.toBool();
    return state.toLongLong(&isNumber) == 1 && isNumber;
}

FileTypeList::Toggle FileTypeList::toggle(int row, bool on)
{
    if (row < 0 || row >= count())
        return Toggle::Refused;
    QVariantMap entry = type(row);
    const bool wasTicked = isTicked(entry);
    const int newCount = m_countAllowedExtension + (on == wasTicked ? 0 : (on ? 1 : -1));
    if (newCount < 1)
        return Toggle::Refused;
    // Splitting by lengths that have changed would store image types as video types.
    if (m_defaults.arrayForKey(kImageTypes).size() != m_imageCount
        || m_defaults.arrayForKey(kVideoTypes).size() != m_videoCount) {
        load();
        return Toggle::Reloaded;
    }
    entry.insert(QStringLiteral("state"), qlonglong(on ? 1 : 0));
    m_types[row] = entry;
    m_countAllowedExtension = newCount;
    m_defaults.setObject(kImageTypes, m_types.mid(0, m_imageCount));
    m_defaults.setObject(kVideoTypes, m_types.mid(m_imageCount, m_videoCount));
    return Toggle::Stored;
}
