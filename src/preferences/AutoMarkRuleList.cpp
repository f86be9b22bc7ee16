#include "preferences/AutoMarkRuleList.h"

#include <optional>

#include "platform/AppFolders.h"
#include "platform/PropertyList.h"
#include "platform/UserDefaults.h"

namespace
{

// The first key, in the table's key order, whose text equals `text` ignoring case.
std::optional<QString> keyOfEnglishText(const QVariant &text, const QVariantMap &englishTable)
{
    if (text.typeId() != QMetaType::QString)
        return std::nullopt;
    const QString wanted = text.toString().toLower();
    for (auto it = englishTable.cbegin(); it != englishTable.cend(); ++it) {
        if (it.value().typeId() == QMetaType::QString && it.value().toString().toLower() == wanted)
            return it.key();
    }
    return std::nullopt;
}

} // namespace

AutoMarkRuleList::AutoMarkRuleList(UserDefaults &defaults)
    : m_defaults(defaults)
{
}

void AutoMarkRuleList::load()
{
    m_rules = m_defaults.arrayForKey(kAutoMarkRules);
}

void AutoMarkRuleList::store() const
{
    m_defaults.setObject(kAutoMarkRules, m_rules);
}

QVariantMap AutoMarkRuleList::rule(int row) const
{
    return row >= 0 && row < count() ? m_rules.at(row).toMap() : QVariantMap();
}

void AutoMarkRuleList::replaceRule(int row, const QVariantMap &rule)
{
    m_rules[row] = rule;
    store();
}

void AutoMarkRuleList::setState(int row, bool on)
{
    if (row < 0 || row >= count())
        return;
    QVariantMap changed = rule(row);
    changed.insert(QStringLiteral("state"), qlonglong(on ? 1 : 0));
    replaceRule(row, changed);
}

void AutoMarkRuleList::setMarkWithEarlier(int row, int index)
{
    if (row < 0 || row >= count())
        return;
    QVariantMap changed = rule(row);
    changed.insert(QStringLiteral("isMarkWithEarlier"), index != 1);
    replaceRule(row, changed);
}

void AutoMarkRuleList::moveRows(const QList<int> &rows, int target)
{
    // Rows above the target close up behind it and rows below open in front of it, so every
    // dragged row lands just above the target.
    int fromAbove = 0;
    int fromBelow = 0;
    bool moved = false;
    QList<int> seen;
    for (const int row : rows) {
        if (row < 0 || row >= count() || target < 0 || target > count() || seen.contains(row))
            continue;
        seen.append(row);
        if (row < target) {
            m_rules.move(row + fromAbove, std::min(target - 1, count() - 1));
            --fromAbove;
        } else {
            m_rules.move(row, std::min(target + fromBelow, count() - 1));
            ++fromBelow;
        }
        moved = true;
    }
    if (moved)
        store();
}

QVariantList AutoMarkRuleList::localizeAutoMarkRules(
    const QVariantList &rules, const QVariantMap &englishTable)
{
    QVariantList localized;
    for (const QVariant &entry : rules) {
        QVariantMap rule = entry.toMap();
        const auto nameKey = keyOfEnglishText(rule.value(QStringLiteral("name")), englishTable);
        const auto descriptionKey = keyOfEnglishText(rule.value(QStringLiteral("description")), englishTable);
        if (entry.typeId() != QMetaType::QVariantMap || !nameKey || !descriptionKey) {
            localized.append(entry);
            continue;
        }
        rule.insert(QStringLiteral("name"), *nameKey);
        rule.insert(QStringLiteral("description"), *descriptionKey);
        localized.append(rule);
    }
    return localized;
}

void AutoMarkRuleList::localizeAutoMarkRules()
{
    const std::optional<QVariant> table
        = PropertyList::readFile(AppFolders::resourcePath(QStringLiteral("strings/QNY_en.plist")));
    m_rules = localizeAutoMarkRules(m_rules, table ? table->toMap() : QVariantMap());
    store();
    load();
}
