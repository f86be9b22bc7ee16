// Entry point of the Quennary application.
#include <QApplication>

#include "platform/Log.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quennary"));
    QApplication::setQuitOnLastWindowClosed(true);
    Log::line(QStringLiteral("Quennary started"));
    return 0;
}
