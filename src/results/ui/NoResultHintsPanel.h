// Applies the hint decision to the results window: the no-result panel with its message and hint
// line, the partial-match panel with its headline, texts and slider, and the switch between the
// normal layout (results, preview pane, Trash Marked button) and the full-width no-result layout.
#pragma once

#include <QLabel>
#include <QObject>
#include <QPointer>

class ResultViewController;

class NoResultHintsPanel : public QObject
{
    Q_OBJECT
public:
    explicit NoResultHintsPanel(ResultViewController &controller, QObject *parent = nullptr);

    void updateNoResultHints(bool isFreshResult, bool isAfterTrash);
    void setHintBoxesHidden(bool hidden);
    // true: the no-result layout (pane and Trash Marked hidden, results area full width).
    void layoutHintBoxes(bool hidden);

    // The partial-match panel's texts, added to the panel here.
    QPointer<QLabel> lblHintThereAreStillsimilarphotos, lblMatchingLevelOnNoPhotos, lblNoteToAutoMark;

private:
    ResultViewController &m_controller;
};
