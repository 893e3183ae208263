#include "BrimvaleVersion.h"
#include "Clock.h"
#include "LocaleText.h"
#include "Messages.h"
#include "Startup.h"
#include "StoreLocation.h"
#include "ToolbarIcons.h"
#include "frmAbout.h"
#include "mdiMain.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

// A start-up failure goes to standard error as well as into the box, so a start
// from a terminal or a script shows why it stopped. With `boxes` off (the hidden
// --open-store-and-quit) it goes to standard error only, so nothing waits for a click.
class StartupMessages : public QtMessages {
public:
    bool starting = true;
    bool boxes = true;

    void critical(QWidget* parent, const QString& text) override
    {
        if (starting)
            std::fprintf(stderr, "%s: %s\n", qPrintable(kAppTitle), qPrintable(text));
        if (boxes)
            QtMessages::critical(parent, text);
    }
};

bool asksOnlyForText(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"-h", "--help", "--help-all", "-v", "--version"})
            if (std::strcmp(argv[i], option) == 0)
                return true;
    return false;
}

StoreLocation::Places storePlaces(const QString& commandLine)
{
    StoreLocation::Places places;
    places.commandLine = commandLine;
    places.programFolder = QCoreApplication::applicationDirPath();
    places.userDataFolder = StoreLocation::userDataFolder(qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath(),
                                                          QCoreApplication::applicationName());
    // The empty store installed with the program: beside the installed executable
    // first, so a copy installed under any prefix finds its own; then the system's
    // data folders.
    places.shippedStores << QDir::cleanPath(QDir(places.programFolder)
                                                .filePath(QStringLiteral(BRIMVALE_SHIPPED_STORE_FROM_BIN "/") +
                                                          StoreLocation::kFileName));
    for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        if (QDir::isRelativePath(folder))  // ignored, as relative XDG data folders are to be
            continue;
        const QString candidate = QDir(folder).filePath(QStringLiteral(BRIMVALE_SHIPPED_STORE_SUBDIR "/") +
                                                        StoreLocation::kFileName);
        if (!places.shippedStores.contains(candidate))
            places.shippedStores << candidate;
    }
    return places;
}

// The hint for an unknown option, naming the first argument that is no option
// of the program's.
QString dashHint(const QStringList& arguments)
{
    static const QStringList known{QStringLiteral("store"), QStringLiteral("open-store-and-quit"), QStringLiteral("h"),
                                   QStringLiteral("help"),  QStringLiteral("help-all"),            QStringLiteral("v"),
                                   QStringLiteral("version")};
    QString unknown = QStringLiteral("-name.mdb");
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            break;
        if (argument.startsWith(QLatin1Char('-')) &&
            !known.contains(argument.section(QLatin1Char('='), 0, 0).remove(QRegularExpression(QStringLiteral("^--?"))))) {
            unknown = argument;
            break;
        }
    }
    return QStringLiteral("A store whose name starts with \"-\" is given after \"--\": %1 -- %2")
        .arg(QCoreApplication::applicationName().toLower(), unknown);
}

// An argument that is not valid UTF-8 reaches the program with its odd bytes
// replaced; opening by that name would miss the file or find another. Returns
// the argument `given` came from, shown with those bytes as \xNN, when it is one.
std::optional<QString> undecodedArgument(int argc, char* argv[], const QString& given)
{
    if (!given.contains(QChar::ReplacementCharacter))
        return std::nullopt;
    for (int i = 1; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        const QString decoded = QString::fromLocal8Bit(raw);
        if (decoded.toLocal8Bit() == raw || (decoded != given && !decoded.endsWith(QLatin1Char('=') + given)))
            continue;
        QString shown;
        for (const char byte : raw)
            shown += (byte & 0x80) ? QStringLiteral("\\x%1").arg(uchar(byte), 2, 16, QLatin1Char('0'))
                                   : QString(QLatin1Char(byte));
        return shown;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[])
{
    // --help and --version only print; let them work in a terminal without a display.
    if (asksOnlyForText(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "minimal");

    QApplication app(argc, argv);
    QApplication::setApplicationName(kAppTitle);  // the user's data folder: ~/.local/share/Brimvale
    QApplication::setApplicationVersion(QStringLiteral(BRIMVALE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(BRIMVALE_APP_ID));
    QApplication::setWindowIcon(programIcon());
    LocaleText::useRegionalSettings();

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption storeOption(QStringLiteral("store"), QStringLiteral("Opens the loan store <path>."),
                                         QStringLiteral("path"));
    parser.addOption(storeOption);
    // For the installation test: open the store and build the main window as
    // usual, then quit with status 0, or print the failure and quit with 1,
    // without showing anything.
    QCommandLineOption checkOption(QStringLiteral("open-store-and-quit"));
    checkOption.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(checkOption);
    parser.addPositionalArgument(QStringLiteral("store"), QStringLiteral("The loan store to open, as with --store."),
                                 QStringLiteral("[store]"));
    const StoreLocation::Places defaults = storePlaces({});
    parser.setApplicationDescription(kAppDescription + QStringLiteral("\n\n") + StoreLocation::describe(defaults));
    // An unknown option may be a store whose name starts with "-": say how to give one.
    if (!parser.parse(QCoreApplication::arguments()) && !parser.unknownOptionNames().isEmpty()) {
        std::fprintf(stderr, "%s: %s\n%s\n", qPrintable(kAppTitle), qPrintable(parser.errorText()),
                     qPrintable(dashHint(QCoreApplication::arguments())));
        return 1;
    }
    parser.process(app);

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1 || (positional.size() == 1 && parser.isSet(storeOption))) {
        std::fprintf(stderr, "%s: give one store only.\n\n%s", qPrintable(kAppTitle), qPrintable(parser.helpText()));
        return 1;
    }
    const QString given = parser.isSet(storeOption) ? parser.value(storeOption) : positional.value(0);
    if (parser.isSet(storeOption) && given.isEmpty()) {
        std::fprintf(stderr, "%s: --store needs a file path.\n", qPrintable(kAppTitle));
        return 1;
    }

    StartupMessages messages;
    messages.boxes = !parser.isSet(checkOption);
    if (const auto undecoded = undecodedArgument(argc, argv, given)) {
        messages.critical(nullptr, QStringLiteral("The store name %1 is not valid UTF-8 text, so it cannot be opened "
                                                  "by that name. Rename the file, or give a symbolic link to it whose "
                                                  "name is valid text.").arg(*undecoded));
        return 1;
    }
    const StoreLocation::Found store = StoreLocation::find(storePlaces(given));
    if (!store.ok()) {
        messages.critical(nullptr, store.error);
        return 1;
    }
    SystemClock clock;
    const auto session = startSession(store.path, messages, clock);
    if (!session)
        return 1;
    messages.starting = false;
    if (parser.isSet(checkOption)) {
        std::printf("%s\n", qPrintable(QDir::toNativeSeparators(store.path)));
        return 0;
    }
    session->window->show();
    return app.exec();
}
