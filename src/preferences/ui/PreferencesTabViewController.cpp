#include "preferences/ui/PreferencesTabViewController.h"

#include <QAction>
#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QMainWindow>
#include <QPropertyAnimation>
#include <QToolBar>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include "app/OSVersionFlags.h"
#include "preferences/PreferencesLocalization.h"
#include "preferences/ui/PreferencePane.h"
#include "preferences/ui/SegmentedControlStyleViewController.h"
#include "preferences/ui/ToolbarItemStyleViewController.h"
#include "preferences/ui/UserInteractionPausableWindow.h"

namespace
{

constexpr PreferencesTabViewController::TransitionOptions kAnimatedOptions { 0x1F1 };

QString applicationDisplayName()
{
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isNull() ? QStringLiteral("<Unknown App Name>") : name;
}

} // namespace

PreferencesTabViewController::PreferencesTabViewController() = default;

PreferencesTabViewController::~PreferencesTabViewController()
{
    if (m_view && !m_view->parent())
        delete m_view;
}

QWidget *PreferencesTabViewController::view()
{
    if (!m_view) {
        m_view = new QWidget;
        m_view->setObjectName(QStringLiteral("preferencesTabView"));
        auto *layout = new QVBoxLayout(m_view);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    return m_view;
}

QMainWindow *PreferencesTabViewController::mainWindow() const
{
    return m_view ? qobject_cast<QMainWindow *>(m_view->window()) : nullptr;
}

PreferencePane &PreferencesTabViewController::paneAt(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= m_preferencePanes.size())
        qFatal("Preference pane index %d is out of range", index);
    return *m_preferencePanes.at(static_cast<size_t>(index));
}

void PreferencesTabViewController::setPanes(
    std::vector<std::shared_ptr<PreferencePane>> panes, Preferences::Style style)
{
    QMainWindow *window = mainWindow();
    if (!window)
        qFatal("The preferences tab view must be in its window before it gets its panes");
    m_preferencePanes = std::move(panes);
    m_toolbar = new QToolBar(window);
    m_toolbar->setObjectName(QStringLiteral("PreferencesToolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(32, 32));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    if (style == Preferences::Style::segmentedControl)
        m_styleController = std::make_unique<SegmentedControlStyleViewController>(m_preferencePanes);
    else
        m_styleController
            = std::make_unique<ToolbarItemStyleViewController>(m_toolbar, false, m_preferencePanes);
    m_styleController->setDelegate(this);
    window->addToolBar(Qt::TopToolBarArea, m_toolbar);
    for (const QString &identifier : m_styleController->toolbarItemIdentifiers()) {
        if (identifier == PreferencesStyleController::kFlexibleSpaceIdentifier) {
            auto *space = new QWidget(m_toolbar);
            space->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
            m_toolbar->addWidget(space);
        } else {
            QAction *item = m_styleController->toolbarItem(identifier, m_toolbar);
            m_toolbar->addAction(item);
            // The pane switcher takes part in the Tab chain; Space on a pane's button shows it. A
            // click takes the focus too, so it and its mark move to the pane chosen by mouse.
            if (QWidget *button = m_toolbar->widgetForAction(item))
                button->setFocusPolicy(Qt::StrongFocus);
        }
    }
}

void PreferencesTabViewController::setActiveTab(int index, bool animated)
{
    paneAt(index);
    if (!activeTab)
        showTabImmediately(index);
    else if (*activeTab != index)
        transitionToTab(index, animated);
    activeTab = index;
    m_styleController->selectPane(index);
    const QString title = windowTitle(index);
    if (auto *window = qobject_cast<UserInteractionPausableWindow *>(mainWindow()))
        window->setTitle(title);
    else if (QMainWindow *other = mainWindow())
        other->setWindowTitle(title);
}

void PreferencesTabViewController::pinToSuperviewEdges(QWidget *paneView)
{
    view()->layout()->addWidget(paneView);
    paneView->show();
}

void PreferencesTabViewController::showTabImmediately(int index)
{
    PreferencePane &pane = paneAt(index);
    pinToSuperviewEdges(pane.view());
    resizeWindow(pane, false);
}

void PreferencesTabViewController::transitionToTab(int index, bool animated)
{
    if (!activeTab) {
        showTabImmediately(index);
        return;
    }
    PreferencePane &from = paneAt(*activeTab);
    PreferencePane &to = paneAt(index);
    const bool crossfades = OSVersionFlags::isOS1014OrLater && animated && isAnimated;
    if (crossfades)
        resizeWindow(to, true);
    // Without the crossfade the window keeps its size and the new pane takes it.
    performTransition(from, to, crossfades ? crossfade : none, {});
}

void PreferencesTabViewController::transition(PreferencePane &from, PreferencePane &to,
    TransitionOptions options, const std::function<void()> &completion)
{
    if (options & kAnimatedOptions)
        resizeWindow(to, true);
    performTransition(from, to, options, completion);
}

void PreferencesTabViewController::performTransition(PreferencePane &from, PreferencePane &to,
    TransitionOptions options, const std::function<void()> &completion)
{
    QWidget *oldView = from.view();
    QWidget *newView = to.view();
    QLabel *fading = nullptr;
    if ((options & kAnimatedOptions) && view()->isVisible()) {
        // The old pane fades out as a picture laid over the new one.
        fading = new QLabel(view());
        fading->setPixmap(oldView->grab());
        fading->setGeometry(oldView->geometry());
    }
    view()->layout()->removeWidget(oldView);
    oldView->hide();
    oldView->setParent(nullptr);
    pinToSuperviewEdges(newView);
    auto finish = [this, completion] {
        if (completion)
            completion();
        emit transitionFinished();
    };
    if (!fading) {
        finish();
        return;
    }
    fading->show();
    fading->raise();
    auto *opacity = new QGraphicsOpacityEffect(fading);
    fading->setGraphicsEffect(opacity);
    auto *fade = new QPropertyAnimation(opacity, "opacity", fading);
    fade->setDuration(kTransitionMilliseconds);
    fade->setEasingCurve(QEasingCurve::InOutQuad);
    fade->setStartValue(1.0);
    fade->setEndValue(0.0);
    connect(fade, &QPropertyAnimation::finished, this, [fading, finish] {
        fading->deleteLater();
        finish();
    });
    fade->start();
}

void PreferencesTabViewController::resizeWindow(PreferencePane &pane, bool animated)
{
    QMainWindow *window = mainWindow();
    if (!window)
        qFatal("The preferences tab view has no window to resize");
    QSize size = pane.fittingSize();
    if (m_toolbar && !m_toolbar->isHidden())
        size.rheight() += m_toolbar->sizeHint().height();
    const QRect current = window->geometry();
    int x = current.x();
    if (m_styleController && m_styleController->keepsWindowCentered())
        x += (current.width() - size.width()) / 2;
    // Qt measures from the top, so keeping y keeps the top edge where it is.
    const QRect target(QPoint(x, current.y()), size);
    if (m_resizeAnimation)
        m_resizeAnimation->stop();
    if (!animated || !window->isVisible()) {
        applyWindowGeometry(target);
        return;
    }
    auto *animation = new QVariantAnimation(this);
    animation->setDuration(kTransitionMilliseconds);
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    animation->setStartValue(current);
    animation->setEndValue(target);
    connect(animation, &QVariantAnimation::valueChanged, this,
        [this](const QVariant &value) { applyWindowGeometry(value.toRect()); });
    m_resizeAnimation = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void PreferencesTabViewController::applyWindowGeometry(const QRect &geometry)
{
    QMainWindow *window = mainWindow();
    if (!window)
        return;
    window->setFixedSize(geometry.size());
    window->setGeometry(geometry);
}

QString PreferencesTabViewController::windowTitle(int index) const
{
    if (m_preferencePanes.size() < 2)
        return applicationDisplayName() + QLatin1Char(' ')
            + PreferencesLocalization::localized(PreferencesLocalization::Identifier::preferences);
    return paneAt(index).preferencePaneTitle();
}

void PreferencesTabViewController::activateNeighbourPane(int step)
{
    const int count = static_cast<int>(m_preferencePanes.size());
    if (count < 2)
        return;
    const int from = activeTab.value_or(0);
    const bool onSwitcher = m_toolbar && m_toolbar->isAncestorOf(QApplication::focusWidget());
    const int to = ((from + step) % count + count) % count;
    setActiveTab(to, true);
    // The focus goes along: to the new pane's button when it was on the switcher, else to the new
    // pane's first control, so the key never leaves it in a pane that is gone.
    if (!onSwitcher) {
        focusActivePane();
        return;
    }
    if (QWidget *button = paneButton(to))
        button->setFocus(Qt::TabFocusReason);
}

void PreferencesTabViewController::focusActivePane()
{
    if (!activeTab)
        return;
    QWidget *control = firstControl(paneAt(*activeTab).view());
    if (!control)
        return;
    // Space acts on the control at once, so its focus mark shows from the start, as after Tab.
    control->window()->setAttribute(Qt::WA_KeyboardFocusChange);
    control->setFocus(Qt::TabFocusReason);
    control->update();
}

QWidget *PreferencesTabViewController::paneButton(int index) const
{
    const QString identifier = paneAt(index).toolbarItemIdentifier();
    for (QAction *item : m_toolbar ? m_toolbar->actions() : QList<QAction *>()) {
        if (item->data().toString() == identifier)
            return m_toolbar->widgetForAction(item);
    }
    return nullptr;
}

QWidget *PreferencesTabViewController::firstControl(QWidget *paneView)
{
    for (QWidget *next = paneView->nextInFocusChain(); next != paneView && paneView->isAncestorOf(next);
         next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && next->isVisibleTo(paneView))
            return next;
    }
    return nullptr;
}

void PreferencesTabViewController::activatePane(const QString &identifier, bool animated)
{
    int index = 0;
    for (size_t i = 0; i < m_preferencePanes.size(); ++i) {
        if (m_preferencePanes.at(i)->preferencePaneIdentifier().rawValue() == identifier) {
            index = static_cast<int>(i);
            break;
        }
    }
    setActiveTab(index, animated);
}

void PreferencesTabViewController::activatePane(int index, bool animated)
{
    setActiveTab(index, animated);
}
