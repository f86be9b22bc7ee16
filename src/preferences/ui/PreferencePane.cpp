#include "preferences/ui/PreferencePane.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>

#include "controls/CustomCell.h"
#include "platform/NotificationCenter.h"
#include "platform/ui/BundleImage.h"
#include "preferences/GeneralSettings.h"

namespace
{

class PaneView : public QWidget
{
public:
    QSize preferredSize;
    QSize sizeHint() const override { return preferredSize.isValid() ? preferredSize : QWidget::sizeHint(); }
};

} // namespace

PreferencePane::PreferencePane(
    Preferences::PaneIdentifier identifier, QString title, QIcon icon, QObject *parent)
    : QObject(parent)
    , m_preferencePaneIdentifier(std::move(identifier))
    , m_preferencePaneTitle(std::move(title))
    , m_toolbarItemIcon(std::move(icon))
{
}

PreferencePane::~PreferencePane()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    // A view still in the window belongs to the window; only a view nobody holds is ours to free.
    if (m_view && !m_view->parent())
        delete m_view;
}

QWidget *PreferencePane::view()
{
    if (!m_view) {
        m_view = loadView();
        m_view->installEventFilter(this);
        viewDidLoad();
    }
    return m_view;
}

QSize PreferencePane::fittingSize()
{
    QWidget *pane = view();
    const QSize hint = pane->sizeHint();
    const QSize minimum = pane->minimumSize();
    return hint.isValid() ? hint.expandedTo(minimum) : minimum;
}

void PreferencePane::setPreferredSize(const QSize &size)
{
    static_cast<PaneView *>(view())->preferredSize = size;
}

QWidget *PreferencePane::loadView()
{
    auto *widget = new PaneView;
    widget->setObjectName(toolbarItemIdentifier() + QStringLiteral("PaneView"));
    return widget;
}

bool PreferencePane::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::Show)
        emit viewWillAppear();
    return QObject::eventFilter(watched, event);
}

QIcon PreferencePane::bundleIcon(const QString &name)
{
    const BundleImage image = BundleImage::named(name);
    Q_ASSERT_X(!image.isNull(), "PreferencePane::bundleIcon", qPrintable(name));
    QIcon icon;
    for (const int side : { 32, 64 })
        icon.addPixmap(image.pixmap(QSize(side, side)));
    return icon;
}

void PreferencePane::observeResetToDefaults(std::function<void()> reload)
{
    NotificationCenter::defaultCenter().addObserver(this, GeneralSettings::kPreferencesResetToDefaults,
        [reload = std::move(reload)](const Notification &) { reload(); });
}

CustomCell *PreferencePane::makeCheckBoxCell(bool checked, int row)
{
    auto *cell = new CustomCell;
    auto *checkBox = new QCheckBox;
    checkBox->setChecked(checked);
    checkBox->setProperty(kRowProperty, row);
    // The list is the one stop of the Tab key; Space ticks the box of its current row.
    checkBox->setFocusPolicy(Qt::NoFocus);
    cell->setBtnCheckBox(checkBox);
    auto *layout = new QHBoxLayout(cell);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(checkBox, 0, Qt::AlignCenter);
    return cell;
}
