#include "cloud/ui/SignInFailureAlert.h"

#include "app/LocalizedString.h"
#include "platform/OutsideText.h"
#include "platform/TextFormat.h"

AlertSpec SignInFailureAlert::spec(const QString &service, const QString &description)
{
    AlertSpec alert;
    alert.style = AlertSpec::Style::Warning;
    alert.messageText = formatText(localizedString(QStringLiteral("ID_SIGN_IN_FAILED")), service);
    alert.informativeText = OutsideText::reason(description);
    alert.buttons = { localizedString(QStringLiteral("ID_OK")) };
    return alert;
}

void SignInFailureAlert::show(const QString &service, const QString &description, QWidget *over)
{
    AlertPresenter::current().runAlert(spec(service, description), over);
}
