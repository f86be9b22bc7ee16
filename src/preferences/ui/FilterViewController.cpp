#include "preferences/ui/FilterViewController.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "app/LocalizedString.h"
#include "controls/CellKeys.h"
#include "controls/CommonFuncUi.h"
#include "controls/CustomCell.h"
#include "controls/RowKeys.h"
#include "controls/SettingsBinding.h"
#include "platform/UserDefaults.h"
#include "platform/ui/AlertPresenter.h"

namespace
{

enum Column { idState = 0, idDescription = 1 };

} // namespace

FilterViewController::FilterViewController(QObject *parent)
    : PreferencePane(Preferences::PaneIdentifier(QStringLiteral("filter")),
        localizedString(QStringLiteral("ID_FILTER_SORT")), bundleIcon(QStringLiteral("filters")), parent)
    , m_types(UserDefaults::standard())
{
}

void FilterViewController::viewDidLoad()
{
    QWidget *pane = view();
    setPreferredSize(QSize(kViewWidth, kViewHeight));
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(20, 14, 20, 16);
    layout->setSpacing(8);
    lblFileType = new QLabel(localizedString(QStringLiteral("ID_FILE_TYPE")));
    lblCheckUncheckFileType = new QLabel(localizedString(QStringLiteral("ID_CHECK_UNCHECK_FILE_TYPES")));
    QFont heading = lblFileType->font();
    heading.setBold(true);
    lblFileType->setFont(heading);
    layout->addWidget(lblFileType);
    layout->addWidget(lblCheckUncheckFileType);

    tvFilter = new QTableWidget(0, 2);
    tvFilter->setObjectName(QStringLiteral("tvFilter"));
    tvFilter->verticalHeader()->hide();
    tvFilter->verticalHeader()->setDefaultSectionSize(24);
    tvFilter->setSelectionBehavior(QAbstractItemView::SelectRows);
    tvFilter->setSelectionMode(QAbstractItemView::SingleSelection);
    tvFilter->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list for the next control; the arrows move within it and Space ticks.
    tvFilter->setTabKeyNavigation(false);
    CellKeys::install(tvFilter);
    RowKeys::install(tvFilter);
    tvFilter->setHorizontalHeaderItem(idState, new QTableWidgetItem);
    tvFilter->setHorizontalHeaderItem(idDescription, new QTableWidgetItem);
    tvFilter->horizontalHeaderItem(idState)->setData(Qt::UserRole, QStringLiteral("idState"));
    tvFilter->horizontalHeaderItem(idDescription)->setData(Qt::UserRole, QStringLiteral("idDescription"));
    tvFilter->horizontalHeader()->resizeSection(idState, 60);
    tvFilter->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(tvFilter, 1);
    layout->addLayout(makeMinimumSizeRow());

    m_types.load();
    reloadTableView_main();
    CommonFuncUi::setTableHeaders(localizedString(QStringLiteral("ID_TYPE")), idState, tvFilter);
    CommonFuncUi::setTableHeaders(localizedString(QStringLiteral("ID_DESCRIPTION")), idDescription, tvFilter);
    observeResetToDefaults([this] { resetFromDefaults(); });
    layoutMinimumSizeRow();
}

QHBoxLayout *FilterViewController::makeMinimumSizeRow()
{
    lblMinimumFIleSize = new QLabel(localizedString(QStringLiteral("ID_MINIMUM_FILE_SIZE")));
    txtFileSize = new QLineEdit;
    txtFileSize->setObjectName(QStringLiteral("txtFileSize"));
    txtFileSize->setFixedWidth(70);
    txtFileSize->setAlignment(Qt::AlignRight);
    stepper = new Stepper;
    stepper->setFixedSize(18, txtFileSize->sizeHint().height());
    popUpDropDown = new QComboBox;
    popUpDropDown->addItems({ QStringLiteral("KB"), QStringLiteral("MB") });
    SettingsBinding::bindWholeNumberField(txtFileSize, QStringLiteral("minimumFileSize"));
    SettingsBinding::bindStepper(stepper, QStringLiteral("minimumFileSize"));
    SettingsBinding::bindPopUp(popUpDropDown, QStringLiteral("fileSizeUnit"));
    // The controls follow one another without gaps; the label's fitting width holds its margin.
    auto *row = new QHBoxLayout;
    row->setSpacing(0);
    for (QWidget *control : std::initializer_list<QWidget *> { lblMinimumFIleSize, txtFileSize, stepper })
        row->addWidget(control);
    row->addSpacing(8);
    row->addWidget(popUpDropDown);
    row->addStretch(1);
    return row;
}

void FilterViewController::layoutMinimumSizeRow()
{
    lblMinimumFIleSize->setFixedWidth(
        static_cast<int>(CommonFuncUi::fittingWidth(lblMinimumFIleSize.data())));
}

void FilterViewController::reloadTableView_main()
{
    if (!tvFilter)
        return;
    tvFilter->setRowCount(m_types.count());
    for (int row = 0; row < m_types.count(); ++row) {
        const QVariantMap type = m_types.type(row);
        CustomCell *cell = makeCheckBoxCell(FileTypeList::isTicked(type), row);
        QCheckBox *checkBox = cell->btnCheckBox();
        connect(checkBox, &QCheckBox::clicked, this,
            [this, checkBox](bool on) { btnCheckUnCheckTapped(checkBox, on); });
        CellKeys::followPresses(tvFilter, tvFilter->model()->index(row, idState), checkBox);
        tvFilter->setCellWidget(row, idState, cell);
        // Stored texts are shown as stored, in the language of the moment they were stored.
        auto *description = new QTableWidgetItem(type.value(QStringLiteral("key")).toString());
        description->setToolTip(description->text());
        tvFilter->setItem(row, idDescription, description);
    }
}

void FilterViewController::btnCheckUnCheckTapped(QObject *sender, bool checked)
{
    switch (m_types.toggle(sender->property(kRowProperty).toInt(), checked)) {
    case FileTypeList::Toggle::Stored:
        return;
    case FileTypeList::Toggle::Reloaded:
        reloadTableView_main();
        return;
    case FileTypeList::Toggle::Refused: {
        reloadTableView_main();
        AlertSpec alert;
        alert.messageText = localizedString(QStringLiteral("ID_ATLEAST_ONE_FILE_EXT_REQRD"));
        alert.buttons = { localizedString(QStringLiteral("ID_OK_CAPS")) };
        AlertPresenter::current().runAlert(alert, view());
        return;
    }
    }
}

void FilterViewController::resetFromDefaults()
{
    m_types.load();
    QMetaObject::invokeMethod(this, &FilterViewController::reloadTableView_main, Qt::QueuedConnection);
    layoutMinimumSizeRow();
}
