#include "platform/PropertyList.h"

#include <cstdlib>

#include <plist/plist.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QVariantList>
#include <QVariantMap>

#include "platform/AppFolders.h"
#include "platform/OwnFolderWrites.h"
#include "platform/PlistNesting.h"
#include "platform/PrivateFiles.h"
#include "platform/RegularFile.h"
#include "platform/SilentOwnFolders.h"

namespace
{

// Property-list dates count from 2001-01-01 00:00:00 UTC.
constexpr qint64 kReferenceDateOffset = 978307200;

struct PlistHolder {
    plist_t node = nullptr;
    ~PlistHolder()
    {
        if (node)
            plist_free(node);
    }
};

QVariant toVariant(plist_t node);

QVariant dictToVariant(plist_t node)
{
    QVariantMap map;
    plist_dict_iter it = nullptr;
    plist_dict_new_iter(node, &it);
    for (;;) {
        char *key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, it, &key, &value);
        if (!key)
            break;
        map.insert(QString::fromUtf8(key), toVariant(value));
        std::free(key);
    }
    std::free(it);
    return map;
}

QVariant arrayToVariant(plist_t node)
{
    QVariantList list;
    list.reserve(plist_array_get_size(node));
    // Walked with the iterator: an item fetched by its index is counted to from the first one for
    // an array the parser made, so a wide array would take quadratic time.
    plist_array_iter it = nullptr;
    plist_array_new_iter(node, &it);
    for (;;) {
        plist_t item = nullptr;
        plist_array_next_item(node, it, &item);
        if (!item)
            break;
        list.append(toVariant(item));
    }
    std::free(it);
    return list;
}

QVariant toVariant(plist_t node)
{
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t v = 0;
        plist_get_bool_val(node, &v);
        return bool(v);
    }
    case PLIST_UINT: {
        uint64_t v = 0;
        plist_get_uint_val(node, &v);
        // Integers are stored as 64-bit two's complement; negative values come back as such.
        return qlonglong(v);
    }
    case PLIST_REAL: {
        double v = 0;
        plist_get_real_val(node, &v);
        return v;
    }
    case PLIST_STRING: {
        char *v = nullptr;
        plist_get_string_val(node, &v);
        QString s = QString::fromUtf8(v ? v : "");
        std::free(v);
        return s;
    }
    case PLIST_DATA: {
        char *v = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &v, &length);
        QByteArray bytes(v ? v : "", qsizetype(length));
        std::free(v);
        return bytes;
    }
    case PLIST_DATE: {
        int32_t sec = 0, usec = 0;
        plist_get_date_val(node, &sec, &usec);
        const qint64 ms = (qint64(sec) + kReferenceDateOffset) * 1000 + usec / 1000;
        return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
    }
    case PLIST_ARRAY:
        return arrayToVariant(node);
    case PLIST_DICT:
        return dictToVariant(node);
    default:
        return QVariant();
    }
}

plist_t fromVariant(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return plist_new_bool(value.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return plist_new_uint(uint64_t(value.toLongLong()));
    case QMetaType::Double:
    case QMetaType::Float:
        return plist_new_real(value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return plist_new_data(bytes.constData(), uint64_t(bytes.size()));
    }
    case QMetaType::QDateTime: {
        const qint64 ms = value.toDateTime().toMSecsSinceEpoch() - kReferenceDateOffset * 1000;
        qint64 sec = ms / 1000;
        qint64 rest = ms % 1000;
        if (rest < 0) {
            rest += 1000;
            --sec;
        }
        return plist_new_date(int32_t(sec), int32_t(rest * 1000));
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        plist_t array = plist_new_array();
        for (const QVariant &item : value.toList())
            plist_array_append_item(array, fromVariant(item));
        return array;
    }
    case QMetaType::QVariantMap: {
        plist_t dict = plist_new_dict();
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            plist_dict_set_item(dict, it.key().toUtf8().constData(), fromVariant(it.value()));
        return dict;
    }
    default:
        return plist_new_string(value.toString().toUtf8().constData());
    }
}

} // namespace

std::optional<QVariant> PropertyList::fromBytes(const QByteArray &bytes)
{
    if (bytes.isEmpty() || bytes.size() > 0x7fffffff || !PlistNesting::isWithin(bytes))
        return std::nullopt;
    PlistHolder holder;
    plist_from_memory(bytes.constData(), uint32_t(bytes.size()), &holder.node);
    if (!holder.node)
        return std::nullopt;
    return toVariant(holder.node);
}

std::optional<QVariant> PropertyList::readFile(const QString &path)
{
    // Compiled-in tables are read through Qt's resource system; files on disk only when regular.
    if (path.startsWith(QLatin1Char(':'))) {
        QFile resource(path);
        if (!resource.open(QIODevice::ReadOnly))
            return std::nullopt;
        return fromBytes(resource.readAll());
    }
    if (SilentOwnFolders::holds(path))
        return std::nullopt;
    // Settings and string tables are small; anything larger is not one of them.
    constexpr qint64 kMaxBytes = 64 * 1024 * 1024;
    const std::optional<QByteArray> bytes = RegularFile::readAll(path, kMaxBytes);
    if (!bytes)
        return std::nullopt;
    return fromBytes(*bytes);
}

QByteArray PropertyList::toXml(const QVariant &value)
{
    PlistHolder holder;
    holder.node = fromVariant(value);
    char *xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(holder.node, &xml, &length);
    QByteArray out(xml ? xml : "", qsizetype(length));
    if (xml)
        plist_to_xml_free(xml);
    return out;
}

bool PropertyList::writeFile(const QString &path, const QVariant &value)
{
    // A file of the program's own folders is written by that folder's queue, which may fall silent.
    return OwnFolderWrites::run(path, [path, xml = toXml(value)]() {
        return AppFolders::ensureFolder(QFileInfo(path).absolutePath()) && PrivateFiles::write(path, xml);
    });
}
