// Whether a settings or property-list value is a number, the way a property list sees it (Booleans
// are numbers too, as they are stored as numbers).
#pragma once

#include <QVariant>

class VariantNumber
{
public:
    static bool isNumber(const QVariant &value)
    {
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Bool:
            return true;
        default:
            return false;
        }
    }
};
