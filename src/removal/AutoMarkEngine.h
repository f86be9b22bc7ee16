// The auto-mark rules: for one group of duplicates, the user's ordered rules ("autoMarkRules")
// choose the copy to keep and mark the others, adding them to the results window's marked counters.
// Free of widgets; the run over all groups is AutoMarkRun.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QList>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

class DuplicatesGroup;
class ImageFileInfo;
class ResultState;

class AutoMarkEngine
{
public:
    using Members = QList<std::shared_ptr<ImageFileInfo>>;
    // The rule list, asked afresh for every group; by default "autoMarkRules" of the user defaults.
    using RulesSource = std::function<QVariantList()>;

    explicit AutoMarkEngine(ResultState &state, RulesSource rules = {});

    // Clears the marks of the group's shown members, lets the rules decide, then keeps the first
    // unlocked unmarked member in group order and marks every other one.
    void applyAutoMarkRules(DuplicatesGroup &group);
    // Marks the candidates the rule does not keep; true when exactly one candidate is left (or none
    // was there), so later rules are not tried.
    bool applyAutoMarkRule(DuplicatesGroup &group, const QString &key, const QVariantMap &rule);

    // The members neither marked nor locked, in their order.
    static Members autoMarkCandidates(const Members &members);
    // The candidates in the criterion's order. Candidates without the criterion's datum follow the
    // others in their own order.
    static Members sortedByAutoMarkKey(
        const Members &candidates, const QString &key, const QVariantMap &rule);
    // The members of the ordered list the criterion keeps.
    static Members itemsToKeepByAutoMarkKey(
        const Members &ordered, const QString &key, const QVariantMap &rule);
    // The members whose lower-cased file-name extension differs from `extension` (lower case).
    static Members itemsWithoutExtension(const Members &list, const QString &extension);

    // The rule of a list entry when it is usable: a dictionary whose "state" is a number that reads
    // true and whose "key" is text.
    static std::optional<QVariantMap> usableRule(const QVariant &entry);

private:
    ResultState &m_state;
    RulesSource m_rules;
};
