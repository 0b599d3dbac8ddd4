// tarvek: the desktop program. Named files are converted and the program ends; without
// one, the main window opens.

#include "ui/AppIcons.h"
#include "ui/CTarvekApp.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kExitUsage = 2;

const char* const kUsage =
    "Usage: tarvek [FILE...]\n"
    "\n"
    "Without a file, opens the window. With files, converts each WDQ recording to a C3D\n"
    "file of the same name in the same folder, in the order given, and ends; a failure is\n"
    "shown in a message box.\n"
    "\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Exit status: 0 when every file was converted, 1 when any was not, 2 for a usage error.\n";

// Answered before the window system is asked for, so that they work in any terminal.
bool AnswerInfoOption(int argc, char* argv[])
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tarvek %s\n", TARVEK_VERSION);
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    if (AnswerInfoOption(argc, argv))
        return 0;

    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brenic"));
    QApplication::setApplicationName(QStringLiteral("Tarvek"));
    QApplication::setApplicationVersion(QStringLiteral(TARVEK_VERSION));
    QApplication::setWindowIcon(LoadAppIcon());

    QCommandLineParser parser;
    if (!parser.parse(QApplication::arguments())) {
        std::fprintf(stderr, "tarvek: %s\n%s", qPrintable(parser.errorText()), kUsage);
        return kExitUsage;
    }

    CTarvekApp app;
    if (!app.InitInstance(parser.positionalArguments()))
        return app.ExitInstance();
    const int nResult = QApplication::exec();
    const int nExit = app.ExitInstance();
    return nResult != 0 ? nResult : nExit;
}
