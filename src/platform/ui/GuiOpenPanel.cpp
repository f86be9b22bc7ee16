// Shows the open panel dialog and reports the choice.
#include "platform/ui/GuiOpenPanel.h"

#include <QWidget>

#include "platform/ui/FrameGeometry.h"
#include "platform/ui/PanelFileDialog.h"

void GuiOpenPanel::beginSheet(const OpenPanelOptions &options, QWidget *parent, Completion completion)
{
    QWidget *window = parent ? parent->window() : nullptr;
    auto *dialog = new PanelFileDialog(options, window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, completion](int result) {
        const bool ok = result == QDialog::Accepted;
        if (completion)
            completion(ok ? OK : Cancel, ok ? dialog->chosenPaths() : QStringList {});
    });
    dialog->adjustSize();
    FrameGeometry::centerOver(dialog, window);
    dialog->open();
}
