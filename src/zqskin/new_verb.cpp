#include "new_verb.h"

#include "skin/new_skin.h"

namespace zqskin {

int runNew(const Invocation &invocation, QTextStream &)
{
    if (invocation.background && invocation.size)
        throw UsageError(QStringLiteral("--background and --size cannot go together"));
    zq::NewSkinOptions options;
    options.background = invocation.background;
    options.size = invocation.size;
    options.force = invocation.force;
    try {
        zq::makeNewSkin(invocation.skinPath, options);
    } catch (const zq::FolderInUse &inUse) {
        throw zq::EngineError(
            inUse.message() +
            QStringLiteral("; --force replaces its eight skin files and leaves the rest alone"));
    }
    return 0;
}

} // namespace zqskin
