#include "app/ui/QuickLookPanel.h"

#include <QDesktopServices>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "app/LocalizedString.h"
#include "app/ui/AppDelegate.h"
#include "platform/ImageSource.h"
#include "platform/OutsideText.h"

namespace
{

constexpr int kPreviewSide = 640;

} // namespace

QuickLookPanel &QuickLookPanel::sharedPreviewPanel()
{
    static QuickLookPanel panel;
    return panel;
}

void QuickLookPanel::build()
{
    m_window = new QWidget(nullptr, Qt::Tool);
    m_window->setObjectName(QStringLiteral("quickLookPanel"));
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(m_window);
    m_image = new QLabel(m_window);
    m_image->setObjectName(QStringLiteral("quickLookImage"));
    m_image->setAlignment(Qt::AlignCenter);
    m_name = new QLabel(m_window);
    m_name->setTextFormat(Qt::PlainText);
    m_name->setAlignment(Qt::AlignCenter);
    m_open = new QPushButton(localizedString(QStringLiteral("ID_OPEN")), m_window);
    // A quick look closes as quickly as it opened, also where no window manager draws a close box.
    auto *close = new QPushButton(localizedString(QStringLiteral("ID_CLOSE")), m_window);
    close->setObjectName(QStringLiteral("quickLookClose"));
    QObject::connect(close, &QPushButton::clicked, m_window, &QWidget::close);
    for (const QKeySequence &key : { QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_Space) }) {
        auto *shortcut = new QShortcut(key, m_window);
        QObject::connect(shortcut, &QShortcut::activated, m_window, &QWidget::close);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_open);
    buttons->addWidget(close);
    buttons->addStretch(1);
    layout->addWidget(m_image, 1);
    layout->addWidget(m_name);
    layout->addLayout(buttons);
}

void QuickLookPanel::reloadData()
{
    const std::optional<QUrl> item = m_dataSource && m_dataSource->numberOfPreviewItemsInPreviewPanel() > 0
        ? m_dataSource->previewItemAtIndex(0)
        : std::nullopt;
    m_open->disconnect();
    if (!item) {
        m_image->clear();
        m_name->clear();
        m_open->hide();
        return;
    }
    const QString path = item->toLocalFile();
    const QString name = OutsideText::name(QFileInfo(path).fileName());
    m_name->setText(name);
    m_window->setWindowTitle(name);
    // The same reader as the scan's, so every type the scan compares (HEIC and camera raw too) is
    // previewed, upright.
    const QImage image = ImageSource(path).thumbnail(kPreviewSide);
    const bool isImage = !image.isNull();
    m_image->setPixmap(
        isImage ? QPixmap::fromImage(image) : QFileIconProvider().icon(QFileInfo(path)).pixmap(128, 128));
    m_open->setVisible(!isImage);
    const QUrl url = *item;
    QObject::connect(m_open, &QPushButton::clicked, m_window, [url] { QDesktopServices::openUrl(url); });
}

void QuickLookPanel::makeKeyAndOrderFront()
{
    if (!m_window)
        build();
    reloadData();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void QuickLookPanel::refresh()
{
    if (!m_window || !m_window->isVisible())
        return;
    if (!m_dataSource || m_dataSource->numberOfPreviewItemsInPreviewPanel() <= 0
        || !m_dataSource->previewItemAtIndex(0)) {
        m_window->close();
        return;
    }
    reloadData();
}
