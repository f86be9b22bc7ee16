// The control gallery.
#include "controls/ControlGallery.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStandardItemModel>

#include "controls/BlackView.h"
#include "controls/CFMButton.h"
#include "controls/CircularProgressBarView.h"
#include "controls/CustomCell.h"
#include "controls/CustomOutlineView.h"
#include "controls/CustomScrollViewDefault.h"
#include "controls/CustomTableView.h"
#include "controls/CustomWindowNag.h"
#include "controls/GradientBox.h"
#include "controls/IMGButton.h"
#include "controls/ITPathbar.h"
#include "controls/LinkButton.h"

namespace
{

template <typename T> std::unique_ptr<T> sized(int w, int h)
{
    auto widget = std::make_unique<T>();
    widget->resize(w, h);
    return widget;
}

void add(std::vector<GalleryItem> &items, const QString &name, std::unique_ptr<QWidget> widget)
{
    items.push_back({ name, std::move(widget) });
}

std::unique_ptr<IMGButton> imageButton(const QString &title, int state, bool enabled)
{
    auto button = sized<IMGButton>(180, 40);
    button->setButtonImages("blue_left_btn", "blue_mid_btn", "blue_right_btn", "blue_btn_sm_left_s",
        "blue_btn_sm_mid_s", "blue_btn_sm_right_s", "grey_left_btn", "grey_mid_btn", "grey_right_btn",
        "grey_left_btn", "grey_mid_btn", "grey_right_btn", "blue_btn_sm_left_s", "blue_btn_sm_mid_s",
        "blue_btn_sm_right_s", "grey_left_btn", "grey_mid_btn", "grey_right_btn");
    button->setColorOffStateDis(QColor(210, 211, 218));
    button->setText(title);
    button->setState(state);
    button->setEnabled(enabled);
    return button;
}

void addImageButtons(std::vector<GalleryItem> &items)
{
    add(items, "IMGButton-on", imageButton("Scan", IMGButton::OnState, true));
    add(items, "IMGButton-off", imageButton("Scan", IMGButton::OffState, true));
    add(items, "IMGButton-on-disabled", imageButton("Scan", IMGButton::OnState, false));
    add(items, "IMGButton-off-disabled", imageButton("Scan", IMGButton::OffState, false));
    auto pressed = imageButton("Scan", IMGButton::OnState, true);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), pressed->mapToGlobal(QPointF(10, 10)),
        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pressed.get(), &press);
    add(items, "IMGButton-on-pressed", std::move(pressed));
    auto twoLines = imageButton("Remove Marked Files", IMGButton::OnState, true);
    twoLines->resize(90, 60);
    add(items, "IMGButton-two-lines", std::move(twoLines));
    auto capped = imageButton("Trash Marked", IMGButton::OnState, true);
    capped->setFontSizeForButton(14);
    capped->setMakeBoldFont(true);
    add(items, "IMGButton-capped-bold", std::move(capped));
}

std::unique_ptr<CFMButton> gradientButton(bool enabled, double outer)
{
    auto button = sized<CFMButton>(140, 32);
    button->setText("Review");
    button->setButtonInsideColor(QColor(54, 63, 84), QColor(190, 190, 190), QColor(208, 210, 213),
        QColor(208, 210, 213), QColor(110, 116, 131), QColor(169, 169, 169), 6, 14, false, false, outer);
    button->setEnabled(enabled);
    return button;
}

void addGradientButtons(std::vector<GalleryItem> &items)
{
    add(items, "CFMButton-enabled", gradientButton(true, 1));
    add(items, "CFMButton-disabled", gradientButton(false, 1));
    auto pressed = gradientButton(true, 1);
    pressed->setDown(true);
    add(items, "CFMButton-pressed", std::move(pressed));
    auto fallback = sized<CFMButton>(140, 32);
    fallback->setText("Defaults");
    fallback->setButtonInsideColor({}, {}, {}, {}, {}, {}, 16, 0, false, true, 2);
    add(items, "CFMButton-fallback-colours", std::move(fallback));
}

void addRingsAndBoxes(std::vector<GalleryItem> &items)
{
    for (const double progress : { 0.0, 0.25, 0.6, 100.0 }) {
        auto ring = sized<CircularProgressBarView>(120, 120);
        ring->progress = progress;
        add(items, QStringLiteral("CircularProgressBarView-%1").arg(progress), std::move(ring));
    }
    auto header = sized<GradientBox>(300, 36);
    header->setBackgroundImages(QStringLiteral("box_header_left"), QStringLiteral("box_header_mid"),
        QStringLiteral("box_header_right"));
    add(items, "GradientBox-header", std::move(header));
    auto hint = sized<GradientBox>(300, 60);
    hint->setBackgroundImages(
        QStringLiteral("center_box_left"), std::nullopt, QStringLiteral("center_box_right"));
    add(items, "GradientBox-no-middle", std::move(hint));
    auto strip = sized<GradientBox>(8, 120);
    strip->setRepeatingBackgroundImage(QStringLiteral("top_sap_line_new"));
    add(items, "GradientBox-vertical", std::move(strip));
    add(items, "GradientBox-unset", sized<GradientBox>(120, 30));
    add(items, "BlackView", sized<BlackView>(120, 80));
    auto nag = sized<CustomWindowNag>(200, 120);
    add(items, "CustomWindowNag", std::move(nag));
}

// Path bars draw white text; they stand on the windows' dark bars.
std::unique_ptr<ITPathbar> darkPathbar(int width)
{
    auto path = sized<ITPathbar>(width, 24);
    QPalette dark = path->palette();
    dark.setColor(QPalette::Window, QColor(30, 36, 51));
    path->setPalette(dark);
    path->setAutoFillBackground(true);
    path->setPathToPathController(QStringLiteral("/usr/share/doc/a.txt"));
    return path;
}

void addLinksAndPaths(std::vector<GalleryItem> &items)
{
    auto link = sized<LinkButton>(200, 24);
    link->setTitle(QStringLiteral("Scan duplicate videos"));
    add(items, "LinkButton-plain", std::move(link));
    auto styled = sized<LinkButton>(200, 24);
    styled->setTitle(QStringLiteral("Open preferences"), 13.0f, true, QColor());
    add(items, "LinkButton-bold-left", std::move(styled));
    auto right = sized<LinkButton>(200, 24);
    right->setTitleWithAlignment(QStringLiteral("Right aligned"));
    add(items, "LinkButton-right", std::move(right));
    add(items, "ITPathbar-wide", darkPathbar(420));
    add(items, "ITPathbar-narrow", darkPathbar(150));
}

void addLists(std::vector<GalleryItem> &items)
{
    auto table = sized<CustomTableView>(260, 120);
    auto *model = new QStandardItemModel(4, 1, table.get());
    table->setModel(model);
    for (int row = 0; row < 4; ++row) {
        auto *cell = new CustomCell;
        auto *label = new QLabel(QStringLiteral("/photos/album %1").arg(row));
        label->setStyleSheet(QStringLiteral("color: white"));
        cell->setLblFilePath(label);
        table->setIndexWidget(model->index(row, 0), cell);
    }
    add(items, "CustomTableView", std::move(table));
    auto outline = sized<CustomOutlineView>(260, 120);
    auto *tree = new QStandardItemModel(outline.get());
    for (int group = 0; group < 2; ++group) {
        auto *item = new QStandardItem(QStringLiteral("Group %1").arg(group + 1));
        item->appendRow(new QStandardItem(QStringLiteral("photo-a.jpg")));
        item->appendRow(new QStandardItem(QStringLiteral("photo-b.jpg")));
        tree->appendRow(item);
    }
    outline->setModel(tree);
    add(items, "CustomOutlineView", std::move(outline));
    for (const bool overlay : { false, true }) {
        auto bar = std::make_unique<CustomScrollView>(Qt::Vertical);
        auto grey = std::make_unique<CustomScrollViewDefault>(Qt::Vertical);
        for (CustomScrollView *scroller : { bar.get(), static_cast<CustomScrollView *>(grey.get()) }) {
            scroller->resize(11, 120);
            scroller->setRange(0, 100);
            scroller->setPageStep(40);
            scroller->setValue(30);
            scroller->setScrollerStyle(
                overlay ? CustomScrollView::ScrollerStyle::Overlay : CustomScrollView::ScrollerStyle::Legacy);
        }
        const QString style = overlay ? QStringLiteral("overlay") : QStringLiteral("legacy");
        add(items, QStringLiteral("CustomScrollView-") + style, std::move(bar));
        add(items, QStringLiteral("CustomScrollViewDefault-") + style, std::move(grey));
    }
}

} // namespace

std::vector<GalleryItem> ControlGallery::build()
{
    std::vector<GalleryItem> items;
    addImageButtons(items);
    addGradientButtons(items);
    addRingsAndBoxes(items);
    addLinksAndPaths(items);
    addLists(items);
    return items;
}
