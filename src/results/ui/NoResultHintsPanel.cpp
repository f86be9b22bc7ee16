// Hint panels of the results window.
#include "results/ui/NoResultHintsPanel.h"

#include <QBoxLayout>
#include <QPushButton>

#include "app/LocalizedString.h"
#include "controls/CommonFuncUi.h"
#include "controls/DoubleSlider.h"
#include "results/NoResultHints.h"
#include "results/ResultState.h"
#include "results/ui/ResultWindowWidgets.h"

NoResultHintsPanel::NoResultHintsPanel(ResultWindowWidgets &c, const ResultState &state,
    std::function<bool()> retryAtMinimumMatchingLevel, QObject *parent)
    : QObject(parent)
    , m_controller(c)
    , m_state(state)
    , m_retryAtMinimumMatchingLevel(std::move(retryAtMinimumMatchingLevel))
{
    QWidget *panel = c.boxHintPartialMatch;
    lblHintThereAreStillsimilarphotos = new QLabel(panel);
    lblMatchingLevelOnNoPhotos = new QLabel(panel);
    lblNoteToAutoMark = new QLabel(panel);
    lblNoteToAutoMark->setWordWrap(true);
    lblHintThereAreStillsimilarphotos->setWordWrap(true);
    // The panel's rows: the headline, then the slider. The still-similar line follows the headline,
    // the caption leads the slider, and the note takes the panel's width below them.
    auto *column = qobject_cast<QBoxLayout *>(panel->layout());
    auto *headline = column ? qobject_cast<QBoxLayout *>(column->itemAt(0)->layout()) : nullptr;
    auto *level = column ? qobject_cast<QBoxLayout *>(column->itemAt(1)->layout()) : nullptr;
    if (headline && level) {
        headline->addWidget(lblHintThereAreStillsimilarphotos, 1);
        level->insertWidget(0, lblMatchingLevelOnNoPhotos);
        column->addWidget(lblNoteToAutoMark);
    }
}

void NoResultHintsPanel::setHintBoxesHidden(bool hidden)
{
    ResultWindowWidgets &c = m_controller;
    c.boxForHint->setHidden(hidden);
    c.boxHintPartialMatch->setHidden(!hidden);
    c.sliderForMatch->setHidden(!hidden);
    c.boxBotomMultiLang->setHidden(hidden);
}

void NoResultHintsPanel::layoutHintBoxes(bool hidden)
{
    // The pane and the button leave the row; the results area's layout then takes the full width.
    m_controller.btnTrashMarked->setHidden(hidden);
    m_controller.boxRightPattern->setHidden(hidden);
}

void NoResultHintsPanel::updateNoResultHints(bool isFreshResult, bool isAfterTrash)
{
    ResultWindowWidgets &c = m_controller;
    layoutHintBoxes(false);
    lblHintThereAreStillsimilarphotos->setText(NoResultHints::stillSimilarPhotosText());
    lblMatchingLevelOnNoPhotos->setText(NoResultHints::matchingLevelText());
    lblNoteToAutoMark->setText(NoResultHints::noteToAutoMarkText());
    lblMatchingLevelOnNoPhotos->setFixedWidth(int(CommonFuncUi::fittingWidth(lblMatchingLevelOnNoPhotos)));
    const WalkReport &left = m_state.walkReport;
    const double lowest = c.sliderMatchingLevel->minValue();
    NoResultHintInput input { isFreshResult, isAfterTrash, m_state.scanCompareType, m_state.typeSupport,
        int(m_state.arrGroups.size()), left.notFetched, left.outsideScanPeriod, left.skippedForSize,
        m_state.scanMinimumFileSize, left.libraryFilesMissing,
        m_state.allowedMatch > float(lowest) && m_state.hasGroupsAtLevel(float(lowest)) };
    const bool found = NoResultHints::needsRetry(input) && m_retryAtMinimumMatchingLevel
        && m_retryAtMinimumMatchingLevel();
    const NoResultHintDecision d = NoResultHints::decide(input, found);
    if (!d.messageKey.isEmpty())
        c.lblNosSimillarPhoto->setText(localizedString(d.messageKey));
    if (!d.hintText.isEmpty())
        c.lblMatchingLevelHint->setText(d.hintText);
    else if (!d.hintKey.isEmpty())
        c.lblMatchingLevelHint->setText(localizedString(d.hintKey));
    if (d.hintVisible)
        c.lblMatchingLevelHint->setVisible(*d.hintVisible);
    if (!d.headlineKey.isEmpty())
        c.lblSimilarPhotoClean->setText(localizedString(d.headlineKey));
    if (d.hideHeaderSlider) {
        c.sliderMatchingLevel->hide();
        c.lblMatchingLabel->hide();
    }
    if (d.lowerLevelLinesVisible) {
        lblHintThereAreStillsimilarphotos->setVisible(*d.lowerLevelLinesVisible);
        lblNoteToAutoMark->setVisible(*d.lowerLevelLinesVisible);
    }
    switch (d.display) {
    case NoResultHintDecision::Display::PartialMatch:
        setHintBoxesHidden(true);
        break;
    case NoResultHintDecision::Display::NoResult:
        setHintBoxesHidden(false);
        layoutHintBoxes(true);
        break;
    case NoResultHintDecision::Display::Results:
        c.boxHintPartialMatch->hide();
        c.sliderForMatch->hide();
        break;
    case NoResultHintDecision::Display::Unchanged:
        break;
    }
}
