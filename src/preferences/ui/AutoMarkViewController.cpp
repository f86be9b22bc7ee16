#include "preferences/ui/AutoMarkViewController.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QShortcut>
#include <QVBoxLayout>

#include "app/LocalizedString.h"
#include "app/OSVersionFlags.h"
#include "controls/CellKeys.h"
#include "controls/CommonFuncUi.h"
#include "controls/CustomCell.h"
#include "controls/RowKeys.h"
#include "platform/SystemFonts.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"

namespace
{

constexpr int kSmallFontPixels = 12;

bool olderProfile()
{
    return OSVersionFlags::isOSOlderThan1013 || OSVersionFlags::isOS1013Or1014;
}

QHBoxLayout *cellLayout(CustomCell *cell)
{
    auto *layout = new QHBoxLayout(cell);
    layout->setContentsMargins(4, 0, 4, 0);
    return layout;
}

} // namespace

AutoMarkViewController::AutoMarkViewController(QObject *parent)
    : PreferencePane(Preferences::PaneIdentifier(QStringLiteral("automark")),
        localizedString(QStringLiteral("ID_AUTO_MARK")), bundleIcon(QStringLiteral("AutoMark")), parent)
    , m_rules(UserDefaults::standard())
{
}

void AutoMarkViewController::viewDidLoad()
{
    QWidget *pane = view();
    setPreferredSize(QSize(kViewWidth, kViewHeight));
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(20, 14, 20, 18);
    layout->setSpacing(8);
    lblEtRulesyouNeed = new QLabel(localizedString(QStringLiteral("ID_SET_RULES_DRAG_CHNGES_TO_AUTO_MARK")));
    lblEtRulesyouNeed->setWordWrap(true);
    layout->addWidget(lblEtRulesyouNeed);

    m_rules.load();
    m_model = new AutoMarkRulesModel(
        m_rules, [this](const QList<int> &rows, int target) { moveDraggedRows(rows, target); }, this);
    tvAutoMarkRules = new QTableView;
    tvAutoMarkRules->setObjectName(QStringLiteral("tvAutoMarkRules"));
    tvAutoMarkRules->setModel(m_model);
    tvAutoMarkRules->verticalHeader()->hide();
    tvAutoMarkRules->verticalHeader()->setDefaultSectionSize(26);
    tvAutoMarkRules->setSelectionBehavior(QAbstractItemView::SelectRows);
    tvAutoMarkRules->setSelectionMode(QAbstractItemView::SingleSelection);
    tvAutoMarkRules->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list for the next control; the arrows move within it.
    tvAutoMarkRules->setTabKeyNavigation(false);
    CellKeys::install(tvAutoMarkRules);
    RowKeys::install(tvAutoMarkRules);
    tvAutoMarkRules->setDragDropMode(QAbstractItemView::DragDrop);
    tvAutoMarkRules->setDefaultDropAction(Qt::MoveAction);
    tvAutoMarkRules->setDragDropOverwriteMode(false);
    tvAutoMarkRules->setDropIndicatorShown(true);
    QHeaderView *header = tvAutoMarkRules->horizontalHeader();
    header->setSectionResizeMode(AutoMarkRulesModel::idNumber, QHeaderView::Fixed);
    header->setSectionResizeMode(AutoMarkRulesModel::idState, QHeaderView::Fixed);
    header->resizeSection(AutoMarkRulesModel::idNumber, 60);
    header->resizeSection(AutoMarkRulesModel::idState, 40);
    header->resizeSection(AutoMarkRulesModel::idName, 165);
    header->setStretchLastSection(true);
    layout->addWidget(tvAutoMarkRules, 1);
    for (const auto &[key, step] : { std::pair { Qt::Key_Up, -1 }, std::pair { Qt::Key_Down, 1 } })
        connect(
            new QShortcut(QKeySequence(Qt::ALT | key), tvAutoMarkRules, nullptr, nullptr, Qt::WidgetShortcut),
            &QShortcut::activated, this, [this, step = step] { moveSelectedRule(step); });

    observeResetToDefaults([this] { resetFromDefaults(); });
    const char *headerKeys[] = { "ID_PRIORITY", "ID_USE", "ID_NAME", "ID_RULE" };
    for (int column = 0; column < 4; ++column)
        CommonFuncUi::setTableHeaders(
            localizedString(QString::fromLatin1(headerKeys[column])), column, tvAutoMarkRules);
    reloadTableView_main();
}

void AutoMarkViewController::reloadTableView_main()
{
    if (!m_model)
        return;
    // A reset of the model drops the cell widgets; every row gets new ones carrying its new row.
    m_model->reload();
    if (olderProfile())
        tvAutoMarkRules->setFont(SystemFonts::systemFont(kSmallFontPixels));
    for (int row = 0; row < m_rules.count(); ++row) {
        const QModelIndex state = m_model->index(row, AutoMarkRulesModel::idState);
        CustomCell *cell = makeStateCell(row);
        CellKeys::followPresses(tvAutoMarkRules, state, cell->btnCheckBox());
        tvAutoMarkRules->setIndexWidget(state, cell);
        tvAutoMarkRules->setIndexWidget(
            m_model->index(row, AutoMarkRulesModel::idDescription), makeDescriptionCell(row));
    }
}

CustomCell *AutoMarkViewController::makeStateCell(int row)
{
    CustomCell *cell = makeCheckBoxCell(m_rules.rule(row).value(QStringLiteral("state")).toBool(), row);
    QCheckBox *checkBox = cell->btnCheckBox();
    connect(checkBox, &QCheckBox::clicked, this,
        [this, checkBox](bool on) { btnCheckUnCheckTapped(checkBox, on); });
    return cell;
}

CustomCell *AutoMarkViewController::makeDescriptionCell(int row)
{
    const QVariantMap rule = m_rules.rule(row);
    auto *cell = new CustomCell;
    QHBoxLayout *layout = cellLayout(cell);
    const QString description = AutoMarkRulesModel::displayText(rule.value(QStringLiteral("description")));
    if (!rule.value(QStringLiteral("isDropDown")).toBool()) {
        auto *label = new QLabel(description);
        label->setToolTip(description);
        if (olderProfile())
            label->setFont(SystemFonts::systemFont(kSmallFontPixels));
        cell->setLblFilePath(label);
        layout->addWidget(label);
        return cell;
    }
    auto *choice = new QComboBox;
    if (rule.value(QStringLiteral("key")).toString() == QLatin1String("preferFormat")) {
        const QString format = localizedString(QStringLiteral("ID_MARK_JPEG_HEIC"));
        choice->addItems(
            { formatText(format, QStringLiteral("JPEG")), formatText(format, QStringLiteral("HEIC")) });
    } else {
        choice->addItems({ localizedString(QStringLiteral("ID_MARK_EARLIAR_DATE")),
            localizedString(QStringLiteral("ID_MARK_LATER_DATE")) });
    }
    choice->setCurrentIndex(rule.value(QStringLiteral("isMarkWithEarlier")).toBool() ? 0 : 1);
    choice->setProperty(kRowProperty, row);
    if (olderProfile() || OSVersionFlags::isOS13OrLater)
        choice->setFont(SystemFonts::systemFont(kSmallFontPixels));
    cell->setCmbBox(choice);
    layout->addWidget(choice);
    connect(choice, &QComboBox::activated, this,
        [this, choice](int index) { btnSelectmarkedTypeTapped(choice, index); });
    return cell;
}

void AutoMarkViewController::btnCheckUnCheckTapped(QObject *sender, bool checked)
{
    m_rules.setState(sender->property(kRowProperty).toInt(), checked);
}

void AutoMarkViewController::btnSelectmarkedTypeTapped(QObject *sender, int index)
{
    m_rules.setMarkWithEarlier(sender->property(kRowProperty).toInt(), index);
}

void AutoMarkViewController::moveDraggedRows(const QList<int> &rows, int target)
{
    // The order shown is the order stored, so auto-mark applies the rules as the user sees them.
    m_rules.moveRows(rows, target);
    reloadTableView_main();
}

void AutoMarkViewController::moveSelectedRule(int step)
{
    const QModelIndex current = tvAutoMarkRules->currentIndex();
    const int row = current.row();
    const int to = row + step;
    if (!current.isValid() || to < 0 || to >= m_rules.count())
        return;
    // A drop lands above its target row, so one place down is above the row after the next.
    moveDraggedRows({ row }, step < 0 ? to : to + 1);
    tvAutoMarkRules->setCurrentIndex(m_model->index(to, current.column()));
    tvAutoMarkRules->selectRow(to);
}

void AutoMarkViewController::resetFromDefaults()
{
    m_rules.load();
    if (m_rules.count() == 0)
        return;
    m_rules.localizeAutoMarkRules();
    QMetaObject::invokeMethod(this, &AutoMarkViewController::reloadTableView_main, Qt::QueuedConnection);
}
