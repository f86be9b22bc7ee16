// Applies the hint decision to the results window: the no-result panel with its message and hint
// line, the partial-match panel with its headline, texts and slider, and the switch between the
// normal layout (results, preview pane, Trash Marked button) and the full-width no-result layout.
#pragma once

#include <QLabel>
#include <QObject>
#include <QPointer>

#include <functional>

class ResultState;
struct ResultWindowWidgets;

class NoResultHintsPanel : public QObject
{
    Q_OBJECT
public:
    // `retryAtMinimumMatchingLevel` is the window's retry at the sliders' minimum: true when it found
    // groups and shows them.
    NoResultHintsPanel(ResultWindowWidgets &widgets, const ResultState &state,
        std::function<bool()> retryAtMinimumMatchingLevel, QObject *parent = nullptr);

    void updateNoResultHints(bool isFreshResult, bool isAfterTrash);
    void setHintBoxesHidden(bool hidden);
    // true: the no-result layout (pane and Trash Marked hidden, results area full width).
    void layoutHintBoxes(bool hidden);

    // The partial-match panel's texts, added to the panel here.
    QPointer<QLabel> lblHintThereAreStillsimilarphotos, lblMatchingLevelOnNoPhotos, lblNoteToAutoMark;

private:
    ResultWindowWidgets &m_controller;
    const ResultState &m_state;
    std::function<bool()> m_retryAtMinimumMatchingLevel;
};
