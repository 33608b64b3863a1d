#include "windows/skin_drops.h"

#include "document/skin_workspace.h"
#include "elements/image_button.h"
#include "skin/asset_names.h"
#include "view/move_size_loop.h"
#include "view/preview_window.h"
#include "view/skin_canvas.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPointer>
#include <QTimer>

namespace zq {

namespace {

bool hasSuffix(const QFileInfo &file, std::initializer_list<const char *> suffixes)
{
    const QString suffix = file.suffix().toLower();
    for (const char *s : suffixes) {
        if (suffix == QLatin1String(s))
            return true;
    }
    return false;
}

} // namespace

DropAction planDrop(const QMimeData &data, DropSpot spot)
{
    const QList<QUrl> urls = data.urls();
    if (urls.size() != 1 || !urls[0].isLocalFile())
        return {};
    const QString path = urls[0].toLocalFile();
    const QFileInfo file(path);
    if (file.isDir())
        return {DropAction::Kind::OpenSkin, QDir(path).filePath(layoutFileName.toString())};
    if (!file.isFile())
        return {};
    if (file.fileName().compare(layoutFileName, Qt::CaseInsensitive) == 0)
        return {DropAction::Kind::OpenSkin, path};
    if (spot == DropSpot::Picture && hasSuffix(file, {"png"}))
        return {DropAction::Kind::ReplacePicture, path};
    if (spot == DropSpot::Background && hasSuffix(file, {"jpg", "jpeg", "png", "bmp"}))
        return {DropAction::Kind::ReplaceBackground, path};
    return {};
}

SkinDropTarget::SkinDropTarget(TForm2 *preview, const SkinWorkspace &workspace, Act act)
    : m_preview(preview)
    , m_workspace(workspace)
    , m_act(std::move(act))
{
    // Drops on any child come here: no child takes them itself.
    preview->setAcceptDrops(true);
    preview->installEventFilter(this);
}

TImageButtonA *SkinDropTarget::pictureAt(QPoint at) const
{
    // Qt finds only the canvas under the pointer, never the items on it (a window over the
    // skin, the control window, hides them): the canvas finds its own, in device pixels.
    SkinCanvas *canvas = m_preview->canvas();
    if (!canvas || m_preview->childAt(at) != canvas)
        return nullptr;
    QWidget *hit = canvas->itemAt(canvas->viewPixelAt(QPointF(canvas->mapFrom(m_preview, at))));
    if (!hit)
        return nullptr;
    for (Element e : allElements) {
        TImageButtonA *element = m_workspace.element(e);
        if (element && (element->Panel() == hit || element->Panel()->isAncestorOf(hit)))
            return element;
    }
    return nullptr;
}

DropSpot SkinDropTarget::spotAt(QPoint at) const
{
    // Pictures and the background take drops only while a skin is open to change.
    if (m_workspace.state() != SkinWorkspace::State::SkinOpen)
        return DropSpot::Elsewhere;
    if (pictureAt(at))
        return DropSpot::Picture;
    QWidget *hit = m_preview->childAt(at);
    return !hit || hit == m_preview->canvas() ? DropSpot::Background : DropSpot::Elsewhere;
}

bool SkinDropTarget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_preview)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDropEvent *>(event);
        const QPoint at = drag->position().toPoint();
        const bool taken = !MoveSizeLoop::isRunning() &&
                           planDrop(*drag->mimeData(), spotAt(at)).kind != DropAction::Kind::None;
        if (taken)
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QPoint at = drop->position().toPoint();
        const DropAction action = planDrop(*drop->mimeData(), spotAt(at));
        if (action.kind == DropAction::Kind::None || MoveSizeLoop::isRunning()) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        TImageButtonA *landed = pictureAt(at);
        const QPointer<QWidget> panel = landed ? landed->Panel() : nullptr;
        QTimer::singleShot(0, this, [this, action, panel] {
            // The picture's own element, if it is still there.
            TImageButtonA *element = nullptr;
            for (Element e : allElements) {
                TImageButtonA *candidate = m_workspace.element(e);
                if (panel && candidate && candidate->Panel() == panel)
                    element = candidate;
            }
            if (action.kind == DropAction::Kind::ReplacePicture && !element)
                return;
            m_act(action, element);
        });
        return true;
    }
    default:
        return false;
    }
}

} // namespace zq
