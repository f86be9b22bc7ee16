// The alert that tells the user a cloud sign-in failed, and why.
#pragma once

#include <QString>

#include "platform/ui/AlertPresenter.h"

class QWidget;

class SignInFailureAlert
{
public:
    // `service` is the provider's name as shown ("Google Drive", "Dropbox"); `description` says
    // what went wrong.
    static AlertSpec spec(const QString &service, const QString &description);
    static void show(const QString &service, const QString &description, QWidget *over);
};
