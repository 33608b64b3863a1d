#include "background_preload.h"
#include "control_window.h"
#include "skin/asset_names.h"
#include "skin/skin_document.h"
#include "skin_workspace.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <memory>

namespace {

// The background of the skin whose layout path is `argument`, as the open will name it.
QString backgroundOf(const QString &argument)
{
    return zq::SkinDocument::skinFolderOf(QFileInfo(argument).absoluteFilePath()) +
           zq::backgroundFileName.toString();
}

} // namespace

int main(int argc, char *argv[])
{
    // A skin given as the only argument starts decoding its background on a second thread
    // before anything else, while the windows come up. The open takes it only if it is for
    // the file the open reads. (With options, some of which end the program, nothing starts.)
    std::unique_ptr<zq::BackgroundPreload> preload;
    // Qt takes the first thread that asks for its thread as the main one: this one, first.
    QThread::currentThread();
    if (argc == 2 && argv[1][0] != '-')
        preload = std::make_unique<zq::BackgroundPreload>(backgroundOf(QString::fromLocal8Bit(argv[1])));

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

    QString layout;
    if (!parser.positionalArguments().isEmpty())
        layout = QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath();

    zq::TForm1 form;
    form.workspace().setPreloadedBackground(std::move(preload));
    form.show();
    if (!layout.isEmpty()) {
        // Once the windows are up, exactly as if the file had been chosen in the open dialog.
        QTimer::singleShot(0, &form, [&form, layout] { form.openChosenLayout(layout); });
    }
    return app.exec();
}
