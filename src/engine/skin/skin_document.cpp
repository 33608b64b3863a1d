#include "skin/skin_document.h"

#include "errors/engine_error.h"
#include "errors/error_texts.h"
#include "files/file_set_writer.h"
#include "files/interrupted_save.h"

#include <QFileInfo>

namespace zq {

SkinDocument::SkinDocument(const QString &layoutPath)
    : m_layoutPath(layoutPath)
{}

QString SkinDocument::skinFolderOf(const QString &layoutPath)
{
    QString folder = QFileInfo(layoutPath).path();
    if (!folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder += u'/';
    return folder;
}

QString SkinDocument::finishInterruptedSave(const QString &layoutPath)
{
    const QFileInfo layout(layoutPath);
    QStringList fileNames{layout.fileName()};
    for (Element e : allElements)
        fileNames << elementPictureFileName(e).toString();
    fileNames << backgroundFileName.toString();
    return zq::finishInterruptedSave(layout.absolutePath(), fileNames).note;
}

QString SkinDocument::finishInterruptedSave()
{
    m_interruptedSaveNote = finishInterruptedSave(m_layoutPath);
    return m_interruptedSaveNote;
}

void SkinDocument::openBackground(bool lowColourDisplay, BackgroundEncoding encoding)
{
    m_background =
        std::make_unique<TBGImage>(skinFolder() + backgroundFileName.toString(), lowColourDisplay, encoding);
}

bool SkinDocument::readLayout()
{
    const Bitmap &bg = m_background->BgBitmap();
    m_layout = std::make_unique<TiniMian>(m_layoutPath, PixelSize{bg.width(), bg.height()});
    return m_layout->CheckVersion();
}

ElementPicture &SkinDocument::buildElement(Element element)
{
    const Point at = m_layout->position(element);
    m_elements[index(element)] = std::make_unique<ElementPicture>(
        m_background->BgBitmap(), skinFolder() + elementPictureFileName(element).toString(), at.x, at.y,
        elementName(element).toString());
    return *m_elements[index(element)];
}

bool SkinDocument::open(bool lowColourDisplay, BackgroundEncoding encoding)
{
    finishInterruptedSave();
    openBackground(lowColourDisplay, encoding);
    if (!readLayout())
        return false;
    for (Element e : allElements)
        buildElement(e);
    return true;
}

void SkinDocument::save()
{
    for (Element e : allElements)
        if (hasElement(e))
            m_layout->position(e) = Point{element(e).X(), element(e).Y()};

    // A file that fails is reported in the words of its own writer: the profile call's for
    // the layout, the picture writers' for the rest.
    const QString &layoutPath = m_layout->LayoutIni.path();
    const auto failure = [&layoutPath](const QString &path, const QString &reason) {
        return EngineError(path == layoutPath ? errors::unableToWrite(path)
                                              : errors::cannotCreateFile(path, reason));
    };
    // Every file is encoded and written aside before any old one is replaced (the writer
    // removes what it wrote should an encode raise), so a failure or a kill leaves the old
    // skin whole.
    FileSetWriter files;
    const auto add = [&files, &failure](const QString &path, const QByteArray &bytes) {
        if (const FileWriteResult written = files.add(path, bytes); !written.ok)
            throw failure(path, written.reason);
    };
    add(layoutPath, m_layout->layoutDocument().bytes());
    for (Element e : allElements)
        if (hasElement(e))
            add(element(e).BmpPath(), element(e).bmpBytes());
    add(m_background->BgPath(), m_background->jpegBytes());
    if (const FileSetWriter::Result replaced = files.commit(); !replaced.ok) {
        if (replaced.failed < 0)
            throw EngineError(replaced.reason +
                              QStringLiteral(": the skin's files were replaced, but they may "
                                             "not be on the disk yet"));
        throw failure(files.path(replaced.failed), replaced.reason);
    }
}

} // namespace zq
