// The auto-mark rules as the rules pane edits them: loaded from and stored to "autoMarkRules"
// after every change, in the order auto-mark applies them.
#pragma once

#include <QList>
#include <QVariantList>
#include <QVariantMap>

class UserDefaults;

class AutoMarkRuleList
{
public:
    static inline const QString kAutoMarkRules = QStringLiteral("autoMarkRules");

    explicit AutoMarkRuleList(UserDefaults &defaults);

    void load();
    void store() const;
    const QVariantList &rules() const { return m_rules; }
    int count() const { return static_cast<int>(m_rules.size()); }
    QVariantMap rule(int row) const;

    // Stores "state" as the integer 1 or 0.
    void setState(int row, bool on);
    // The choice's first item (index 0, or none) marks the earlier date or JPEG: true; item 1 false.
    void setMarkWithEarlier(int row, int index);
    // Moves the dragged rows to just above `target` (the row count drops them at the end) and
    // stores the new order. Rows from above the target keep their dragging order, as do rows from
    // below; rows outside the list are passed over.
    void moveRows(const QList<int> &rows, int target);

    // Rules whose "name" and "description" are both English texts of `englishTable` (ignoring case)
    // get the two keys instead; a rule where only one matches, or an entry that is not a rule with
    // text, stays as it is.
    static QVariantList localizeAutoMarkRules(const QVariantList &rules, const QVariantMap &englishTable);
    // The same on the stored list, with the application's English table; stores and reloads.
    void localizeAutoMarkRules();

private:
    void replaceRule(int row, const QVariantMap &rule);

    UserDefaults &m_defaults;
    QVariantList m_rules;
};
