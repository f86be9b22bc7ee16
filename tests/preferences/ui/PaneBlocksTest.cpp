// Panes built from the building blocks: the window turns pane values into hosted panes, shows
// their sections with the labels ending on one line, and the General pane is built that way.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>

#include "PreferencesTestPanes.h"
#include "platform/UserDefaults.h"
#include "preferences/ui/GeneralViewController.h"
#include "preferences/ui/PaneContainer.h"
#include "preferences/ui/PaneHostingController.h"
#include "preferences/ui/PreferenceDescription.h"
#include "preferences/ui/PreferencesWindowController.h"
#include "preferences/ui/UserInteractionPausableWindow.h"

TEST(PaneBlocksTest, WindowHostsAPaneValueWithAlignedSectionsAndOneDivider)
{
    UserDefaults::standard().resetAll();
    int builds = 0;
    std::vector<PaneSection> sections;
    auto value
        = std::make_shared<Preferences::Pane>(Preferences::PaneIdentifier("blocks"), "Blocks", QIcon(), [&] {
              ++builds;
              auto *note = new QLabel("Applies to the next scan");
              PreferenceDescription::apply(note);
              sections = { PaneSection::titled("Size:", new QCheckBox("Large"), true),
                  PaneSection::titled("A much longer label:", new QCheckBox("Keep"), true),
                  PaneSection::titled("Note:", note, true) };
              return new PaneContainer(sections, 360);
          });
    auto other = std::make_shared<TestPane>("other", "Other", QSize(300, 200));
    PreferencesWindowController controller(
        std::vector<std::shared_ptr<PreferencePaneConvertible>> { value, other },
        Preferences::Style::toolbarItems, false, true);
    const auto &panes = controller.tabViewController()->preferencePanes();
    EXPECT_EQ(panes.back(), other);
    auto hosted = std::dynamic_pointer_cast<Preferences::PaneHostingController>(panes.front());
    ASSERT_TRUE(hosted);
    controller.show(Preferences::PaneIdentifier("blocks"));
    controller.show(Preferences::PaneIdentifier("blocks"));
    QCoreApplication::processEvents();
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(controller.window()->title(), "Blocks");
    ASSERT_TRUE(hosted->content() && hosted->content()->isVisible());
    const int labelsEnd = sections.at(1).label->geometry().right();
    for (const PaneSection &section : sections) {
        EXPECT_EQ(section.label->geometry().right(), labelsEnd);
        EXPECT_GT(section.content->geometry().left(), labelsEnd);
    }
    int dividers = 0;
    for (const QFrame *frame : hosted->content()->findChildren<QFrame *>())
        dividers += frame->frameShape() == QFrame::HLine;
    EXPECT_EQ(dividers, 2); // none after the last section
    EXPECT_EQ(sections.back().content->font().pixelSize(), PreferenceDescription::kPixelSize);
}

TEST(PaneBlocksTest, GeneralPaneKeepsItsSwitchesWhereTheyStood)
{
    GeneralViewController general;
    general.view()->resize(GeneralViewController::kViewWidth, GeneralViewController::kViewHeight);
    general.view()->show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(general.content()->findChild<PaneContainer *>());
    EXPECT_EQ(general.btnCheckScanVideoInExactScan->mapTo(general.view(), QPoint()), QPoint(30, 24));
}
