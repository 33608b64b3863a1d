#include "render_verb.h"

#include "skin_batch.h"
#include "skin_source.h"

#include "picture/area_scale.h"
#include "picture/png_writer.h"
#include "skin/box_overlay.h"
#include "skin/lock_screen.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace zqskin {

namespace {

int scaled(int length, double scale)
{
    return std::clamp(int(std::lround(double(length) * scale)), 1, length);
}

// <skin folder name>.png in the output folder.
QString outputNameOf(const QString &skinPath)
{
    const QString folder = QFileInfo(layoutPathOf(skinPath)).absoluteDir().dirName();
    return (folder.isEmpty() ? QStringLiteral("skin") : folder) + QStringLiteral(".png");
}

} // namespace

void renderSkin(const QString &skinPath, const QString &outPath, const Invocation &invocation)
{
    const zq::Element tab = invocation.tab ? parseTab(*invocation.tab) : zq::Element::LogTab;
    zq::LockScreenSkin skin = zq::LockScreenSkin::read(layoutPathOf(skinPath));
    zq::Bitmap screen = zq::renderLockScreen(skin, tab);
    if (invocation.boxes) {
        const zq::Element page = zq::pageOf(tab);
        const zq::Bitmap &picture = skin.pictures[size_t(page)];
        zq::drawPageBoxes(screen, *skin.layout, page, zq::PixelSize{picture.width(), picture.height()});
    }
    if (invocation.scale && *invocation.scale < 1.0) {
        const int width = scaled(screen.width(), *invocation.scale);
        const int height = scaled(screen.height(), *invocation.scale);
        if (width < screen.width() || height < screen.height())
            screen = zq::areaScaleDown(screen, width, height);
    }
    zq::writePngFile(outPath, screen);
}

int runRender(const Invocation &invocation, QTextStream &out)
{
    if (!invocation.outDir) {
        renderSkin(invocation.skinPath, invocation.operands[0], invocation);
        return 0;
    }
    const QDir outDir(*invocation.outDir);
    if (!outDir.exists())
        throw UsageError(QStringLiteral("--out-dir %1 is not a folder").arg(*invocation.outDir));
    QSet<QString> names;
    for (const QString &skin : invocation.skinPaths) {
        const QString name = outputNameOf(skin);
        if (names.contains(name))
            throw UsageError(QStringLiteral("two skins would both be written to %1").arg(name));
        names.insert(name);
    }
    return runOnSkins(invocation, out, [&](const QString &skin) {
        const QString outPath = outDir.filePath(outputNameOf(skin));
        renderSkin(skin, outPath, invocation);
        return SkinReport{true, outPath};
    });
}

} // namespace zqskin
