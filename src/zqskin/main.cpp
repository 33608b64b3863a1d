#include "command_line.h"
#include "help_text.h"
#include "skin_source.h"
#include "verbs.h"

#include "errors/engine_error.h"
#include "platform/headless_gui.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace {

// Captions drawn by render --boxes need fonts, which only a GUI application has; it never
// shows a window, so it needs no display either.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--boxes") == 0) {
            qputenv("QT_QPA_PLATFORM", zq::platform::headlessGuiPlatform());
            // Its start-up notes (no runtime folder of a desktop session) mean nothing here.
            const QtMessageHandler previous =
                qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
            auto app = std::make_unique<QGuiApplication>(argc, argv);
            qInstallMessageHandler(previous);
            return app;
        }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char **argv)
{
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    try {
        QStringList arguments = QCoreApplication::arguments();
        arguments.removeFirst();
        const zqskin::Invocation invocation = zqskin::parseCommandLine(arguments);
        if (invocation.version) {
            out << zqskin::versionText();
            return 0;
        }
        if (invocation.help) {
            out << (invocation.verb.isEmpty() ? zqskin::toolHelpText()
                                              : zqskin::verbHelpText(invocation.verb));
            return 0;
        }
        zqskin::finishInterruptedSaves(invocation.skinPaths, err);
        return zqskin::findVerb(invocation.verb)->run(invocation, out);
    } catch (const zqskin::UsageError &e) {
        err << "zqskin: " << e.message() << '\n' << zqskin::usageText();
        return 2;
    } catch (const zq::EngineError &e) {
        out.flush();
        err << e.message() << '\n';
        return 1;
    } catch (const std::bad_alloc &) {
        // The readers keep within their budgets; this is a machine that has less memory than
        // even those need. Each file is saved whole or not at all, so stop with a word.
        out.flush();
        err << "zqskin: not enough memory to finish the command\n";
        return 1;
    }
}
