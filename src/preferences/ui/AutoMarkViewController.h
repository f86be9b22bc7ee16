// The auto-mark rules pane: the ordered rules, each switched on or off and, where it has one, its
// two-way choice; rows are dragged (or moved with Alt+Up and Alt+Down) into the order auto-mark
// applies them. Every change is stored.
#pragma once

#include <QLabel>
#include <QPointer>
#include <QTableView>

#include "preferences/AutoMarkRuleList.h"
#include "preferences/ui/AutoMarkRulesModel.h"
#include "preferences/ui/PreferencePane.h"

class CustomCell;

class AutoMarkViewController : public PreferencePane
{
    Q_OBJECT
public:
    static constexpr int kViewWidth = 560 + 50;
    static constexpr int kViewHeight = 340;

    explicit AutoMarkViewController(QObject *parent = nullptr);

    // The pane's copy of "autoMarkRules", in stored order.
    const AutoMarkRuleList &arrAutoMarkRuoles() const { return m_rules; }
    AutoMarkRulesModel *model() const { return m_model; }
    QPointer<QLabel> lblEtRulesyouNeed;
    QPointer<QTableView> tvAutoMarkRules;

    void btnCheckUnCheckTapped(QObject *sender, bool checked);
    void btnSelectmarkedTypeTapped(QObject *sender, int index);
    void moveDraggedRows(const QList<int> &rows, int target);
    // Moves the selected rule one place up (-1) or down (1) as a drag would, and keeps it selected.
    void moveSelectedRule(int step);
    void resetFromDefaults();
    void reloadTableView_main();

protected:
    void viewDidLoad() override;

private:
    CustomCell *makeStateCell(int row);
    CustomCell *makeDescriptionCell(int row);

    AutoMarkRuleList m_rules;
    QPointer<AutoMarkRulesModel> m_model;
};
