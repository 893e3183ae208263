#include "Clock.h"
#include "LocaleText.h"
#include "Messages.h"
#include "Startup.h"
#include "mdiMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(kAppTitle);
    QApplication::setApplicationVersion(QStringLiteral("3.1.0"));
    LocaleText::useRegionalSettings();

    QtMessages messages;
    SystemClock clock;
    const auto session = startSession(storePathIn(QCoreApplication::applicationDirPath()), messages, clock);
    if (!session)
        return 1;
    session->window->show();
    return app.exec();
}
