#include "control_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zqdesigner"));
    QApplication::setApplicationVersion(QStringLiteral(ZQ_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Zenqa skin designer: lays out a lock-screen skin."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("LAYOUT"),
                                 QStringLiteral("The skin's ZqCSkin.ini, opened at start-up."),
                                 QStringLiteral("[LAYOUT]"));
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
