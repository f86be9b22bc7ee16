// Finishes the results window once, when its controller loads its view: hosts the list, the preview
// pane, the metadata table, the hint panels, the sheets and the summaries in the places the
// controller's skeleton leaves; gives every fixed control its localised text, image, colour and font;
// applies the per-language corrections; and wires the parts to the controller. Panes the controller
// already hosts are used as they are, with the handlers it already set.
#pragma once

#include <functional>
#include <memory>

#include <QAction>
#include <QHash>
#include <QLabel>
#include <QObject>
#include <QPointer>

#include "results/ResultWindowLayout.h"

class AfterTrashSummaryWindow;
class ImageFileInfo;
class MetadataTable;
class NoResultHintsPanel;
class OutlineList;
class PreviewPane;
class ResultFileActions;
class ResultSheets;
class ResultViewController;
class QWidget;

class ResultWindowBuilder : public QObject
{
    Q_OBJECT
public:
    explicit ResultWindowBuilder(ResultViewController &controller, QObject *parent = nullptr);
    ~ResultWindowBuilder() override;

    // Runs every construction step; call once, after the controller's skeleton exists.
    void build();

    // The per-language steps, also used by the tests.
    void setButtonFontsAndTitles();
    void setFontsAndFrames();
    void layoutTopToolbar();
    void layoutBottomBar();

    // The control of a name the layout tables use; null when this window has none of that name.
    QWidget *control(const QString &name) const { return m_named.value(name); }

    OutlineList &outlineList() { return *m_outline; }
    PreviewPane &previewPane() { return *m_preview; }
    MetadataTable &metadataTable() { return *m_metadata; }
    NoResultHintsPanel &hints() { return *m_hints; }
    ResultSheets &sheets() { return *m_sheets; }
    AfterTrashSummaryWindow &afterTrash() { return *m_afterTrash; }
    ResultFileActions &fileActions() { return *m_fileActions; }

    // The record the three file commands act on: the clicked list row, or the grid's last selection.
    std::shared_ptr<ImageFileInfo> clickedRecord() const;

    QPointer<QLabel> lblPreview, lblMetaData;
    QPointer<QAction> menuItemOpen, menuItemRevealInFinder, menuItemQuickLook, menuItemRemoveFromPhotoList;

private:
    void hostParts();
    void connectParts();
    void registerNames();
    void setFixedTexts();
    void setSheetTexts();
    void setAuthorizationTexts();
    void buildContextMenu();
    void setBottomTexts();
    // Tab's way through the window and the button Return presses.
    void setKeyboardOrder();
    void setToolbarTitles(int fontSize, bool withListing);
    void applyRules(const std::vector<LayoutRule> &table);
    void applyChange(QWidget *widget, const LayoutChange &change);
    // Tells the user that no application or file manager opened `url`.
    void showDesktopRefusal(const QUrl &url);

    ResultViewController &m_c;
    // The panes the controller hosts (made here when it hosts none).
    QPointer<OutlineList> m_outline;
    QPointer<PreviewPane> m_preview;
    QPointer<MetadataTable> m_metadata;
    std::unique_ptr<NoResultHintsPanel> m_hints;
    std::unique_ptr<ResultSheets> m_sheets;
    std::unique_ptr<AfterTrashSummaryWindow> m_afterTrash;
    std::unique_ptr<ResultFileActions> m_fileActions;
    QHash<QString, QWidget *> m_named;
};
