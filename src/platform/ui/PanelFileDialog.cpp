// Open panel dialog.
#include "platform/ui/PanelFileDialog.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>

#include "platform/ui/PanelFilterModel.h"

PanelFileDialog::PanelFileDialog(const OpenPanelOptions &options, QWidget *parent)
    : QFileDialog(parent)
    , m_options(options)
    , m_filter(new PanelFilterModel(options, this))
{
    setOption(QFileDialog::DontUseNativeDialog, true);
    // Existing-file modes for folders too: the directory mode allows one folder only, and the
    // choice of folders is decided in accept() anyway.
    setFileMode(options.allowsMultipleSelection ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    setProxyModel(m_filter);
    setDirectory(options.directory.isEmpty() ? QDir::homePath() : options.directory);
    if (!options.prompt.isEmpty())
        setLabelText(QFileDialog::Accept, options.prompt);
    const QString title = options.message.isEmpty() ? options.prompt : options.message;
    if (!title.isEmpty())
        setWindowTitle(title);
    // A dialog that chooses folders offers no file filter: its list is of folders first.
    if (!options.canChooseDirectories && !options.fileTypesName.isEmpty()
        && !options.allowedFileTypes.isEmpty())
        setNameFilter(nameFilter(options));
}

// "Photos (*.jpg *.JPG ...)": file names on Linux keep their case, so both spellings are listed.
QString PanelFileDialog::nameFilter(const OpenPanelOptions &options)
{
    QStringList patterns;
    for (const QString &type : options.allowedFileTypes)
        for (const QString &spelling : { type.toLower(), type.toUpper() })
            if (!patterns.contains(QStringLiteral("*.") + spelling))
                patterns << QStringLiteral("*.") + spelling;
    return options.fileTypesName + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

void PanelFileDialog::accept()
{
    QStringList chosen = selectedFiles();
    if (chosen.isEmpty() && m_options.canChooseDirectories)
        chosen = { directory().absolutePath() };
    const bool allSelectable = !chosen.isEmpty()
        && std::all_of(chosen.begin(), chosen.end(),
            [this](const QString &p) { return OpenPanel::isSelectable(m_options, p); });
    if (allSelectable) {
        m_chosen.clear();
        for (const QString &path : chosen)
            m_chosen.push_back(QFileInfo(path).absoluteFilePath());
        QDialog::accept();
        return;
    }
    // A single folder that cannot be chosen is opened instead; any other refused choice is ignored.
    if (chosen.size() == 1 && m_filter->canEnter(chosen.front()))
        setDirectory(chosen.front());
}
