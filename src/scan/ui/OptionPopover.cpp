#include "scan/ui/OptionPopover.h"

#include <algorithm>

#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "app/LocalizedString.h"
#include "app/OSVersionFlags.h"
#include "controls/ControlFonts.h"
#include "controls/ControlStyles.h"
#include "platform/ui/BundleImage.h"
#include "platform/ui/FrameGeometry.h"

namespace
{

constexpr double kViewWidth = 360.0;
constexpr double kViewHeight = 200.0;
// Room the heading and the imported-photos text need above the capture-date text.
constexpr double kAboveCaptureText = 133.0;

const QRectF kHeading(15, 150, 330, 40);
const QRectF kImported(40, 108, 305, 36);
const QRectF kCaptured(40, 58, 305, 36);
const QRectF kCreated(40, 8, 305, 32);
const QRectF kArrowCaptured(15, 68, 16, 16);
const QRectF kArrowCreated(15, 16, 16, 16);
// The time-interval text under all the others: the view grows by its height.
const QRectF kFileDates(15, 4, 330, 64);
constexpr double kFileDatesHeight = 60.0;

QLabel *makeText(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// To the right of the anchor's top, moved up and left as far as the popover needs to stay whole on
// the anchor's screen.
QPoint placeBeside(const QWidget *anchor, const QSize &size)
{
    QPoint at = anchor->mapToGlobal(QPoint(anchor->width(), 0));
    if (const QScreen *screen = anchor->screen()) {
        const QRect area = screen->availableGeometry();
        at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - size.height())));
        at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - size.width())));
    }
    return at;
}

} // namespace

OptionPopover::OptionPopover(QObject *parent)
    : QObject(parent)
{
}

OptionPopover::~OptionPopover()
{
    delete popover;
}

QWidget *OptionPopover::view()
{
    if (!m_view) {
        m_view = new QWidget;
        m_view->setObjectName(QStringLiteral("optionPopoverView"));
        txtHeading = makeText(m_view);
        txtImportedPhotos = makeText(m_view);
        txtCreated = makeText(m_view);
        txtCapturedInfo = makeText(m_view);
        txtFileDates = makeText(m_view);
        arrowCapturedInfo = new QLabel(m_view);
        arrowCreatedInfo = new QLabel(m_view);
        const QPixmap arrow = BundleImage::named(QStringLiteral("right_arrow_btn_n")).pixmap(QSize(16, 16));
        arrowCapturedInfo->setPixmap(arrow);
        arrowCreatedInfo->setPixmap(arrow);
        txtHeading->setFont(ControlFonts::boldSystemFont(13));
    }
    return m_view;
}

void OptionPopover::makePopoverIfNeeded()
{
    if (popover)
        return;
    popover = new QWidget(nullptr, Qt::Popup);
    popover->setObjectName(QStringLiteral("optionPopover"));
    ControlStyles::applyWindowPalette(popover);
    auto *layout = new QVBoxLayout(popover);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view());
}

void OptionPopover::place(QWidget *widget, const QRectF &frame)
{
    widget->setGeometry(FrameGeometry::toTopLeft(frame, m_viewHeight));
}

void OptionPopover::layoutForLanguage(const QString &language)
{
    QRectF heading = kHeading, captured = kCaptured, created = kCreated;
    QRectF arrowCaptured = kArrowCaptured, arrowCreated = kArrowCreated;
    if (Localization::isOneOf(language, { "pt", "ru" }))
        txtHeading->setFont(ControlFonts::boldSystemFont(12));
    if (language == QLatin1String("ru"))
        heading.setHeight(50);
    if (Localization::isOneOf(language, { "de", "fr", "ja", "sv", "it", "pt", "es", "ru" })) {
        captured.setHeight(36);
        captured.moveTop(31);
    }
    if (Localization::isOneOf(language, { "de", "fr", "ja", "sv", "it", "pt", "nl", "ru", "es" }))
        for (QLabel *text : { txtCapturedInfo.data(), txtCreated.data(), txtImportedPhotos.data() })
            text->setFont(ControlFonts::systemFont(11));
    m_viewHeight = kViewHeight + kFileDatesHeight;
    if (OSVersionFlags::isOS1015 || OSVersionFlags::isOS11OrLater) {
        txtCreated->hide();
        arrowCreatedInfo->hide();
        m_viewHeight = captured.height() + kAboveCaptureText + kFileDatesHeight;
    } else if (Localization::isOneOf(language, { "nl", "ru" })) {
        const bool russian = language == QLatin1String("ru");
        created = QRectF(captured.x(), 0, created.width(), 32);
        arrowCaptured.moveTop(russian ? 50 : 43);
        captured = QRectF(captured.x(), russian ? 28 : 21, captured.width(), 36);
        arrowCreated.moveTop(18);
    } else if (Localization::isOneOf(language, { "de", "fr", "ja", "sv", "it", "pt", "es" })) {
        created = QRectF(captured.x(), 2, created.width(), 32);
        captured = QRectF(captured.x(), 36, captured.width(), 36);
        arrowCaptured.moveTop(60);
    }
    // Every text and pointer keeps its distance from the top edge when the view is shorter, so the
    // capture-date text stays below the imported-photos text instead of sliding under it.
    const double lift = m_viewHeight - kViewHeight;
    QRectF imported = kImported;
    for (QRectF *frame : { &heading, &imported, &captured, &created, &arrowCaptured, &arrowCreated })
        frame->translate(0, lift);
    m_view->setFixedSize(int(kViewWidth), int(m_viewHeight));
    place(txtHeading, heading);
    place(txtImportedPhotos, imported);
    place(txtCapturedInfo, captured);
    place(txtCreated, created);
    place(arrowCapturedInfo, arrowCaptured);
    place(arrowCreatedInfo, arrowCreated);
    place(txtFileDates, kFileDates);
}

void OptionPopover::showOptionInfo(QWidget *anchor)
{
    makePopoverIfNeeded();
    txtHeading->setText(localizedString(QStringLiteral("ID_SCAN_DUPLICATE_AND_SIMILAR_LOOKING")));
    txtImportedPhotos->setText(localizedString(QStringLiteral("ID_IMPORTED_PHOTOS_LIBRARY_ONLY")));
    txtCreated->setText(localizedString(QStringLiteral("ID_CREATED_SCAN_IMAGES_CREATION_DATE")));
    txtCapturedInfo->setText(localizedString(QStringLiteral("ID_CAPTURED_SCAN_IMAGES_CAPTURE_DATE")));
    txtFileDates->setText(localizedString(QStringLiteral("ID_TIME_INTERVEL_FILE_DATES")));
    for (QLabel *text : { txtCapturedInfo.data(), txtCreated.data(), txtImportedPhotos.data(), txtFileDates.data() })
        text->setToolTip(text->text());
    layoutForLanguage(Localization::currentLanguageCode());
    popover->adjustSize();
    if (anchor)
        popover->move(placeBeside(anchor, popover->size()));
    popover->show();
}
