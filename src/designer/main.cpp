#include "control_window.h"

#include <QApplication>
#include <QByteArrayView>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>

namespace {

void describeCommandLine(QCoreApplication &app, QCommandLineParser &parser)
{
    app.setApplicationName(QStringLiteral("zqdesigner"));
    app.setApplicationVersion(QStringLiteral(ZQ_VERSION));
    parser.setApplicationDescription(QStringLiteral("Zenqa skin designer: lays out a lock-screen skin."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("LAYOUT"),
                                 QStringLiteral("The skin's ZqCSkin.ini, opened at start-up."),
                                 QStringLiteral("[LAYOUT]"));
}

bool asksForHelpOrVersion(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView argument(argv[i]);
        if (argument == "-h" || argument == "-?" || argument == "--help" || argument == "--help-all" ||
            argument == "-v" || argument == "--version")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (asksForHelpOrVersion(argc, argv)) {
        // Answered before any window system is reached, so it works on a terminal with no display.
        QCoreApplication app(argc, argv);
        QCommandLineParser parser;
        describeCommandLine(app, parser);
        parser.process(app); // prints and exits
    }

    QApplication app(argc, argv);
    QCommandLineParser parser;
    describeCommandLine(app, parser);
    parser.process(app);
    if (parser.positionalArguments().size() > 1)
        parser.showHelp(2);

    zq::TForm1 form;
    form.show();
    if (!parser.positionalArguments().isEmpty()) {
        // Once the windows are up, exactly as if the file had been chosen in the open dialog.
        const QString layout = QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath();
        QTimer::singleShot(0, &form, [&form, layout] { form.openChosenLayout(layout); });
    }
    return app.exec();
}
