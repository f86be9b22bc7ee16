#include "preferences/FileTypeList.h"

#include "platform/DecodableTypes.h"
#include "platform/UserDefaults.h"

FileTypeList::FileTypeList(UserDefaults &defaults, Offered offered)
    : m_defaults(defaults)
    , m_offered(std::move(offered))
{
}

bool FileTypeList::isDecodable(const QVariantMap &type)
{
    const QStringList extensions = type.value(QStringLiteral("extns")).toStringList();
    return extensions.isEmpty() || DecodableTypes::anyDecodable(extensions);
}

void FileTypeList::load()
{
    const QVariantList images = m_defaults.arrayForKey(kImageTypes);
    const QVariantList videos = m_defaults.arrayForKey(kVideoTypes);
    m_imageCount = static_cast<int>(images.size());
    m_videoCount = static_cast<int>(videos.size());
    m_types = images + videos;
    m_rows.clear();
    m_countAllowedExtension = 0;
    for (int i = 0; i < static_cast<int>(m_types.size()); ++i) {
        const QVariantMap entry = m_types.at(i).toMap();
        // Video files are compared by their bytes: every video type is offered.
        if (i < m_imageCount && !m_offered(entry))
            continue;
        m_rows.push_back(i);
        if (isTicked(entry))
            ++m_countAllowedExtension;
    }
}

QVariantMap FileTypeList::type(int row) const
{
    return row >= 0 && row < count() ? m_types.at(m_rows[size_t(row)]).toMap() : QVariantMap();
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
    m_types[m_rows[size_t(row)]] = entry;
    m_countAllowedExtension = newCount;
    m_defaults.setObject(kImageTypes, m_types.mid(0, m_imageCount));
    m_defaults.setObject(kVideoTypes, m_types.mid(m_imageCount, m_videoCount));
    return Toggle::Stored;
}
