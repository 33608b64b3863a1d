#include "command_line.h"
#include "verbs.h"

#include "files/engine_error.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <new>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    try {
        QStringList arguments = QCoreApplication::arguments();
        arguments.removeFirst();
        const zqskin::Invocation invocation = zqskin::parseCommandLine(arguments);
        if (invocation.help) {
            out << zqskin::usageText();
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
    } catch (const std::bad_alloc &) {
        // The readers keep within their budgets; this is a machine that has less memory than
        // even those need. Each file is saved whole or not at all, so stop with a word.
        out.flush();
        err << "zqskin: not enough memory to finish the command\n";
        return 1;
    }
}
