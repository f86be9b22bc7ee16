#include "scan/ui/OptionPopover.h"

#include <algorithm>

#include <QGridLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "app/LocalizedString.h"
#include "controls/ControlFonts.h"
#include "controls/ControlStyles.h"

namespace
{

constexpr int kViewWidth = 360;
constexpr int kMargin = 15;
constexpr int kSpacing = 8;

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
        m_view->setFixedWidth(kViewWidth);
        auto *layout = new QGridLayout(m_view);
        layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
        layout->setSpacing(kSpacing);
        layout->setColumnStretch(1, 1);
        txtHeading = makeText(m_view);
        txtHeading->setFont(ControlFonts::boldSystemFont(13));
        layout->addWidget(txtHeading, 0, 0, 1, 2);
        int row = 1;
        // One text for each date kind, in the order of the pop-up, each beside its pointer.
        for (QPointer<QLabel> *kind : { &txtCapturedInfo, &txtCreated, &txtImportedPhotos, &txtBoth }) {
            // A drawn pointer: the artwork of the arrow buttons is a button's end, a dark blob here.
            auto *pointer = new QLabel(QStringLiteral("\u25B8"), m_view);
            pointer->setStyleSheet(QStringLiteral("color: %1;").arg(ControlStyles::focusMarkColor().name()));
            pointers.append(pointer);
            *kind = makeText(m_view);
            layout->addWidget(pointer, row, 0, Qt::AlignTop);
            layout->addWidget(*kind, row++, 1);
        }
        txtFileDates = makeText(m_view);
        layout->addWidget(txtFileDates, row, 0, 1, 2);
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

void OptionPopover::setFontsForLanguage(const QString &language)
{
    if (Localization::isOneOf(language, { "pt", "ru" }))
        txtHeading->setFont(ControlFonts::boldSystemFont(12));
    if (Localization::isOneOf(language, { "de", "fr", "ja", "sv", "it", "pt", "nl", "ru", "es" }))
        for (QLabel *text : dateKindTexts())
            text->setFont(ControlFonts::systemFont(11));
}

QList<QLabel *> OptionPopover::dateKindTexts() const
{
    return { txtCapturedInfo.data(), txtCreated.data(), txtImportedPhotos.data(), txtBoth.data() };
}

void OptionPopover::showOptionInfo(QWidget *anchor)
{
    makePopoverIfNeeded();
    txtHeading->setText(localizedString(QStringLiteral("ID_SCAN_DUPLICATE_AND_SIMILAR_LOOKING")));
    txtImportedPhotos->setText(localizedString(QStringLiteral("ID_IMPORTED_PHOTOS_LIBRARY_ONLY")));
    txtCreated->setText(localizedString(QStringLiteral("ID_CREATED_SCAN_IMAGES_CREATION_DATE")));
    txtCapturedInfo->setText(localizedString(QStringLiteral("ID_CAPTURED_SCAN_IMAGES_CAPTURE_DATE")));
    txtBoth->setText(localizedString(QStringLiteral("ID_BOTH_CAPTURED_OR_ADDED")));
    txtFileDates->setText(localizedString(QStringLiteral("ID_TIME_INTERVEL_FILE_DATES")));
    QList<QLabel *> texts = dateKindTexts();
    texts.append(txtFileDates);
    for (QLabel *text : texts)
        text->setToolTip(text->text());
    setFontsForLanguage(Localization::currentLanguageCode());
    popover->adjustSize();
    if (anchor)
        popover->move(placeBeside(anchor, popover->size()));
    popover->show();
}
