#include "command_line.h"
#include "help_text.h"
#include "verbs.h"

#include "files/engine_error.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
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
        return zqskin::findVerb(invocation.verb)->run(invocation, out);
    } catch (const zqskin::UsageError &e) {
        err << "zqskin: " << e.message() << '\n' << zqskin::usageText();
        return 2;
    } catch (const zq::EngineError &e) {
        out.flush();
        err << e.message() << '\n';
        return 1;
    }
}
