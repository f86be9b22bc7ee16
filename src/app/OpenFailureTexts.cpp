#include "app/OpenFailureTexts.h"

#include <QFileInfo>

#include "app/LocalizedString.h"
#include "platform/OutsideText.h"
#include "platform/TextFormat.h"

namespace
{

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

} // namespace

OpenFailureText OpenFailureTexts::forFile(const QString &path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return { formatText(text("ID_FILE_NO_LONGER_THERE"), OutsideText::name(file.fileName()),
                     OutsideText::name(file.path())),
            text("ID_FILE_NO_LONGER_THERE_HINT") };
    return { formatText(text("ID_DESKTOP_OPENED_NOTHING"), OutsideText::name(file.fileName())),
        text("ID_NO_APPLICATION_FOR_FILE_HINT") };
}

OpenFailureText OpenFailureTexts::forFolder(const QString &path)
{
    return { formatText(text("ID_NO_FILE_MANAGER_OPENED_FOLDER"), OutsideText::name(path)),
        text("ID_NO_FILE_MANAGER_HINT") };
}

OpenFailureText OpenFailureTexts::forHelpPage(const QUrl &address)
{
    return { text("ID_ERROR_OCCURED_ONLINE_HELP"),
        formatText(text("ID_NO_BROWSER_OPENED_ADDRESS"), address.toString(QUrl::FullyEncoded)) };
}

OpenFailureText OpenFailureTexts::forLocalUrl(const QUrl &address)
{
    const QString path = address.toLocalFile();
    if (QFileInfo(path).isDir())
        return forFolder(path);
    return forFile(path);
}
