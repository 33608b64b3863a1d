#include "document/skin_workspace.h"
#include "platform/app_identity.h"
#include "skin/asset_names.h"
#include "skin/skin_document.h"
#include "view/background_preload.h"
#include "windows/control_window.h"

#include <QApplication>
#include <QByteArrayView>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <memory>

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

// The background of the skin whose layout path is `argument`, as the open will name it.
QString backgroundOf(const QString &argument)
{
    return zq::SkinDocument::skinFolderOf(QFileInfo(argument).absoluteFilePath()) +
           zq::backgroundFileName.toString();
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

    // A skin given as the only argument starts decoding its background on a second thread
    // before anything else, while the windows come up. The open takes it only if it is for
    // the file the open reads. (With options, some of which end the program, nothing starts.)
    std::unique_ptr<zq::BackgroundPreload> preload;
    // Qt takes the first thread that asks for its thread as the main one: this one, first.
    QThread::currentThread();
    if (argc == 2 && argv[1][0] != '-')
        preload = std::make_unique<zq::BackgroundPreload>(backgroundOf(QString::fromLocal8Bit(argv[1])));

    // The ID the desktop entry (and, on Windows, the Start-menu entry) is known by.
    const QString applicationId = QStringLiteral("org.example.zqskin_designer");
    zq::platform::setApplicationIdentity(applicationId);
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(applicationId);
    QCommandLineParser parser;
    describeCommandLine(app, parser);
    parser.process(app);
    if (parser.positionalArguments().size() > 1)
        parser.showHelp(2);

    zq::TForm1 form;
    form.workspace().setPreloadedBackground(std::move(preload));
    form.show();
    if (!parser.positionalArguments().isEmpty()) {
        // Once the windows are up, exactly as if the file had been chosen in the open dialog.
        const QString layout = QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath();
        QTimer::singleShot(0, &form, [&form, layout] { form.openChosenLayout(layout); });
    }
    return app.exec();
}
