#include "recovery/skin_snapshot.h"

#include "picture/bmp_writer.h"
#include "recovery/png_state.h"
#include "skin/skin_document.h"

#include <QFileInfo>

namespace zq {

SkinSnapshot SkinSnapshot::take(const SkinDocument &document)
{
    SkinSnapshot snapshot;
    TiniMian layout = *document.layout();
    for (Element e : allElements) {
        if (!document.hasElement(e))
            continue;
        const ElementPicture &picture = document.element(e);
        layout.position(e) = Point{picture.X(), picture.Y()};
        snapshot.m_pictures[size_t(e)] = picture.Bitmap();
        snapshot.m_replacements[size_t(e)] = picture.Png();
        snapshot.m_pictureNames[size_t(e)] = QFileInfo(picture.BmpPath()).fileName();
    }
    snapshot.m_layoutName = QFileInfo(layout.LayoutIni.path()).fileName();
    snapshot.m_layout = layout.layoutDocument().bytes();
    snapshot.m_backgroundName = QFileInfo(document.background()->BgPath()).fileName();
    snapshot.m_background = document.background()->picture();
    return snapshot;
}

QString SkinSnapshot::replacementName(const QString &pictureName)
{
    return pictureName + QStringLiteral(".replacement");
}

SkinFiles SkinSnapshot::encode(const SkinSnapshot *earlier)
{
    SkinFiles files;
    files.push_back({m_layoutName, m_layout});
    for (size_t i = 0; i < m_pictures.size(); ++i)
        if (m_pictures[i])
            files.push_back({m_pictureNames[i], encodeBmp(*m_pictures[i])});
    if (m_background.encoded.isEmpty()) {
        const bool same = earlier && !earlier->m_background.encoded.isEmpty() &&
                          earlier->m_background.jpeg.isProgressive() == m_background.jpeg.isProgressive() &&
                          earlier->m_background.pixels == m_background.pixels;
        m_background.encoded =
            same ? earlier->m_background.encoded : m_background.jpeg.encode(m_background.pixels);
    }
    files.push_back({m_backgroundName, m_background.encoded});
    for (size_t i = 0; i < m_replacements.size(); ++i)
        if (m_replacements[i])
            files.push_back({replacementName(m_pictureNames[i]), packPngPicture(*m_replacements[i])});
    return files;
}

} // namespace zq
