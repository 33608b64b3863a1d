#include "document/skin_workspace.h"

#include "document/edit_commands.h"
#include "elements/image_button.h"
#include "elements/page_elements.h"
#include "elements/text_box.h"
#include "recovery/recovered_skin.h"
#include "view/background_preload.h"
#include "view/background_view.h"
#include "view/preview_window.h"
#include "view/skin_canvas.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace zq {

namespace {

bool isPage(Element e)
{
    return e == Element::LogPage || e == Element::FilPage || e == Element::ManPage;
}

// Read once: a display of 8 bits per pixel or fewer gets palette backgrounds.
bool displayIsLowColour()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen && screen->depth() <= 8;
}

std::unique_ptr<TImageButtonA> makeElement(Element e, ElementPicture &picture, QWidget *preview)
{
    switch (e) {
    case Element::LogPage:
        return std::make_unique<TUserLog>(picture, preview);
    case Element::FilPage:
        return std::make_unique<TFil>(picture, preview);
    case Element::ManPage:
        return std::make_unique<TMan>(picture, preview);
    default:
        return std::make_unique<TImageButtonA>(picture, preview);
    }
}

} // namespace

SkinWorkspace::Skin::~Skin()
{
    // The element windows show the document's pictures: they go first.
    for (auto &element : elements)
        element.reset();
}

SkinWorkspace::SkinWorkspace(TForm2 *preview)
    : m_preview(preview)
    , m_lowColourDisplay(displayIsLowColour())
{}

SkinWorkspace::~SkinWorkspace()
{
    m_undo.clear();
}

void SkinWorkspace::setPreloadedBackground(std::unique_ptr<BackgroundPreload> preload)
{
    m_preload = std::move(preload);
}

QString SkinWorkspace::layoutPath() const
{
    return document() ? document()->layoutPath() : QString();
}

QString SkinWorkspace::skinFolder() const
{
    return document() ? document()->skinFolder() : QString();
}

bool SkinWorkspace::openLayout(const QString &layoutPath)
{
    if (m_skin) {
        const bool hasElements = std::any_of(m_skin->elements.begin(), m_skin->elements.end(),
                                             [](const auto &element) { return element != nullptr; });
        if (hasElements)
            m_abandoned.push_back(std::move(m_skin));
    }
    m_undo.clear();
    m_skin = std::make_unique<Skin>();
    m_skin->document = std::make_unique<SkinDocument>(layoutPath);
    SkinDocument &doc = *m_skin->document;

    const std::unique_ptr<BackgroundPreload> preload = std::move(m_preload);
    // A background read ahead may be the one an interrupted save has since replaced.
    const bool mended = !doc.finishInterruptedSave().isEmpty();
    std::shared_ptr<TBGImage> ready;
    if (preload && !mended)
        ready = preload->take(doc.skinFolder() + backgroundFileName.toString(), m_lowColourDisplay);
    if (ready)
        doc.setBackground(std::move(ready));
    else
        doc.openBackground(m_lowColourDisplay);
    showBackground();
    const bool accepted = doc.readLayout();
    if (!accepted)
        m_state = State::SkinRejected;
    return accepted;
}

std::unique_ptr<SkinDocument> SkinWorkspace::readSkin(const QString &layoutPath) const
{
    auto document = std::make_unique<SkinDocument>(layoutPath);
    if (!document->open(m_lowColourDisplay))
        return nullptr;
    return document;
}

void SkinWorkspace::replaceSkin(std::unique_ptr<SkinDocument> document)
{
    // The edits refer to the elements: they go first.
    m_undo.clear();
    m_abandoned.clear();
    m_skin = std::make_unique<Skin>();
    m_skin->document = std::move(document);
    showBackground();
}

void SkinWorkspace::buildElements(const std::function<void(const QString &)> &onElementClick)
{
    SkinDocument &doc = *m_skin->document;
    for (Element e : allElements) {
        ElementPicture &picture = doc.hasElement(e) ? doc.element(e) : doc.buildElement(e);
        auto &slot = m_skin->elements[size_t(e)];
        slot = makeElement(e, picture, m_preview->canvas());
        if (auto *page = dynamic_cast<TPageElement *>(slot.get())) {
            for (const BoxTableRow &row : boxTable) {
                if (row.page == e)
                    page->MakeBox(row.slot, doc.layout()->box(row.section, row.keyNumber));
            }
        }
        QObject::connect(slot.get(), &TImageButtonA::OnElementClick, onElementClick);
        recordEdits(*slot);
        if (isPage(e))
            slot->HideElement();
    }
    m_state = State::SkinOpen;
}

TImageButtonA *SkinWorkspace::element(Element e) const
{
    return m_skin ? m_skin->elements[size_t(e)].get() : nullptr;
}

TUserLog *SkinWorkspace::logPage() const
{
    return static_cast<TUserLog *>(element(Element::LogPage));
}

TFil *SkinWorkspace::filPage() const
{
    return static_cast<TFil *>(element(Element::FilPage));
}

TMan *SkinWorkspace::manPage() const
{
    return static_cast<TMan *>(element(Element::ManPage));
}

TTextBox *SkinWorkspace::box(const BoxTableRow &row) const
{
    const auto *page = dynamic_cast<const TPageElement *>(element(row.page));
    return page ? page->BoxInSlot(row.slot) : nullptr;
}

void SkinWorkspace::recordEdits(TImageButtonA &element)
{
    QObject::connect(
        &element, &TImageButtonA::edited,
        [this, &element](TImageButtonA::Edit kind, const ElementState &before, const ElementState &after) {
            m_undo.push(new ElementEditCommand(element, kind, before, after));
        });
    auto *page = dynamic_cast<TPageElement *>(&element);
    for (int slot = 1; page && page->BoxInSlot(slot); ++slot) {
        TTextBox &box = *page->BoxInSlot(slot);
        QObject::connect(&box, &TTextBox::edited,
                         [this, &box](TTextBox::Edit kind, BoxRect before, BoxRect after) {
                             m_undo.push(new BoxEditCommand(box, kind, before, after));
                         });
    }
}

void SkinWorkspace::showBackground()
{
    showInPreview(*m_preview, m_skin->document->background());
}

void SkinWorkspace::replaceBackground(const QString &jpegPath)
{
    TBGImage &background = *m_skin->document->background();
    TBGImage::Picture before = background.picture();
    background.ReplacePicture(jpegPath);
    recordBackground(std::move(before));
}

void SkinWorkspace::recordBackground(TBGImage::Picture before)
{
    TBGImage &background = *m_skin->document->background();
    showBackground();
    Skin *skin = m_skin.get();
    auto flattenAgain = [skin] {
        for (auto &element : skin->elements) {
            if (element)
                element->FlattenAgain();
        }
    };
    m_undo.push(new BackgroundCommand(background, std::move(before), background.picture(), flattenAgain,
                                      [this] { showBackground(); }));
}

void SkinWorkspace::storeBoxes()
{
    SkinDocument &doc = *m_skin->document;
    for (const BoxTableRow &row : boxTable) {
        if (const TTextBox *textBox = box(row))
            doc.layout()->box(row.section, row.keyNumber) = textBox->rect();
    }
}

void SkinWorkspace::save()
{
    storeBoxes();
    m_skin->document->save();
    m_undo.setClean();
}

SkinSnapshot SkinWorkspace::snapshot()
{
    storeBoxes();
    return SkinSnapshot::take(*m_skin->document);
}

void SkinWorkspace::restore(const RecoveredSkin &recovered)
{
    m_undo.beginMacro(QStringLiteral("恢复未保存的更改"));
    if (recovered.backgroundChanged) {
        TBGImage &background = *m_skin->document->background();
        TBGImage::Picture before = background.picture();
        background.RestorePicture(recovered.background);
        recordBackground(std::move(before));
    }
    for (Element e : allElements) {
        TImageButtonA &shown = *m_skin->elements[size_t(e)];
        ElementState before = shown.state();
        auto content = std::make_shared<ElementPictureContent>();
        content->png = recovered.replacements[size_t(e)];
        content->bitmap = recovered.pictures[size_t(e)];
        content->width = content->bitmap.width();
        content->height = content->bitmap.height();
        const Point at = recovered.positions[size_t(e)];
        ElementState after{QRect(at.x, at.y, content->width, content->height), true, QPoint(at.x, at.y),
                           std::move(content)};
        shown.restore(after);
        m_undo.push(
            new ElementEditCommand(shown, TImageButtonA::Edit::Picture, std::move(before), std::move(after)));
    }
    for (size_t i = 0; i < boxTable.size(); ++i) {
        TTextBox *textBox = box(boxTable[i]);
        if (!textBox || textBox->rect() == recovered.boxes[i])
            continue;
        const BoxRect before = textBox->rect();
        textBox->setRect(recovered.boxes[i]);
        m_undo.push(new BoxEditCommand(*textBox, TTextBox::Edit::Mouse, before, recovered.boxes[i]));
    }
    m_undo.endMacro();
}

} // namespace zq
