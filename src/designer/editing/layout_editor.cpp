#include "editing/layout_editor.h"

#include "document/skin_workspace.h"
#include "editing/edit_overlay.h"
#include "editing/keys_to_skin.h"
#include "editing/snapping.h"
#include "elements/image_button.h"
#include "elements/page_elements.h"
#include "elements/text_box.h"
#include "skin/bg_image.h"
#include "view/canvas_items.h"
#include "view/move_size_loop.h"
#include "view/preview_window.h"
#include "view/skin_canvas.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFrame>
#include <QKeySequence>
#include <QMouseEvent>
#include <QShortcut>

#include <algorithm>
#include <cmath>

namespace zq {

LayoutEditor::LayoutEditor(SkinWorkspace &workspace, TForm2 *preview, QWidget *keepClear)
    : m_workspace(workspace)
    , m_preview(preview)
    , m_overlay(new EditOverlay(preview->canvas(), this))
    , m_keepClear(keepClear)
{
    // The control window stays above the skin and what is drawn over it.
    if (keepClear)
        keepClear->raise();

    m_readoutTimer.setSingleShot(true);
    m_readoutTimer.setInterval(kReadoutMs);
    connect(&m_readoutTimer, &QTimer::timeout, this, [this] { m_overlay->setReadout(QString(), QPoint()); });
    connect(preview, &TForm2::image1Clicked, this, &LayoutEditor::clearSelection);
    // Panning and zooming move what is selected across the screen, though not on the skin.
    connect(preview->canvas(), &SkinCanvas::panned, this, [this] { refreshSelection(); });
    connect(preview->canvas(), &SkinCanvas::zoomChanged, this, [this] { refreshSelection(); });

    MoveSizeLoop::setStepFilter(
        [this](QWidget *control, HitZone zone, const QRect &wanted, Qt::KeyboardModifiers held) {
            return snapStep(control, zone, wanted, held);
        });
    MoveSizeLoop::setStepObserver([this](QWidget *control, bool running) { dragStep(control, running); });
    installShortcuts();
    new KeysToSkin(preview, this);
}

LayoutEditor::~LayoutEditor()
{
    MoveSizeLoop::setStepFilter({});
    MoveSizeLoop::setStepObserver({});
}

void LayoutEditor::installShortcuts()
{
    auto bind = [this](const QKeySequence &keys, std::function<void()> action) {
        auto *shortcut = new QShortcut(keys, m_preview);
        shortcut->setContext(Qt::WindowShortcut);
        shortcut->setAutoRepeat(true);
        connect(shortcut, &QShortcut::activated, this, std::move(action));
    };
    for (const int key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}) {
        for (const Qt::KeyboardModifiers held :
             {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier),
              Qt::KeyboardModifiers(Qt::ControlModifier), Qt::ShiftModifier | Qt::ControlModifier}) {
            bind(QKeySequence(QKeyCombination(held, Qt::Key(key))), [this, key, held] {
                if (const std::optional<KeyStep> s = keyStep(key, held))
                    step(*s);
            });
        }
    }
    bind(QKeySequence(Qt::Key_Tab), [this] { selectNext(false); });
    bind(QKeySequence(Qt::Key_Backtab), [this] { selectNext(true); });
    bind(QKeySequence(Qt::SHIFT | Qt::Key_Backtab), [this] { selectNext(true); });
}

void LayoutEditor::attach()
{
    m_elements.clear();
    m_boxes.clear();
    m_pageOf.clear();
    for (Element e : allElements) {
        TImageButtonA *element = m_workspace.element(e);
        if (!element)
            continue;
        m_elements[element->Panel()] = element;
        element->DialogKeepClear = [keepClear = QPointer<QWidget>(m_keepClear)] {
            return keepClear ? QRect(keepClear->mapToGlobal(QPoint(0, 0)), keepClear->size()) : QRect();
        };
        element->Panel()->installEventFilter(this);
        auto *page = dynamic_cast<TPageElement *>(element);
        for (int slot = 1; page && page->BoxInSlot(slot); ++slot) {
            TTextBox *box = page->BoxInSlot(slot);
            m_boxes[box->Panel] = box;
            m_pageOf[box] = page;
            box->Panel->installEventFilter(this);
        }
    }
}

bool LayoutEditor::isShown(QWidget *item) const
{
    return item && item->isVisibleTo(m_preview) && (m_elements.count(item) || m_boxes.count(item));
}

QRect LayoutEditor::itemRect(QWidget *item) const
{
    // The overlay covers the preview as the canvas does: both count the view's device pixels.
    return m_preview->canvas()->viewRect(item);
}

QRect LayoutEditor::itemClip(QWidget *item) const
{
    // A box is seen only inside its page.
    if (m_boxes.count(item))
        return itemRect(item->parentWidget());
    return QRect(QPoint(0, 0), m_preview->canvas()->viewSize());
}

void LayoutEditor::refreshSelection()
{
    if (isShown(m_selected))
        m_overlay->setSelection(itemRect(m_selected), itemClip(m_selected));
    else
        m_overlay->setSelection(QRect(), QRect());
}

void LayoutEditor::select(QWidget *item)
{
    m_selected = isShown(item) ? item : nullptr;
    refreshSelection();
}

void LayoutEditor::clearSelection()
{
    select(nullptr);
}

std::vector<QWidget *> LayoutEditor::tabOrder() const
{
    std::vector<QWidget *> order;
    std::vector<QWidget *> boxes;
    for (Element e : allElements) {
        TImageButtonA *element = m_workspace.element(e);
        if (!element || !element->Panel()->isVisibleTo(m_preview))
            continue;
        order.push_back(element->Panel());
        auto *page = dynamic_cast<TPageElement *>(element);
        for (int slot = 1; page && page->BoxInSlot(slot); ++slot)
            boxes.push_back(page->BoxInSlot(slot)->Panel);
    }
    order.insert(order.end(), boxes.begin(), boxes.end());
    return order;
}

void LayoutEditor::selectNext(bool backwards)
{
    const std::vector<QWidget *> order = tabOrder();
    if (order.empty())
        return;
    const auto here = std::find(order.begin(), order.end(), m_selected.data());
    const int count = int(order.size());
    int index = 0;
    if (here == order.end())
        index = backwards ? count - 1 : 0;
    else
        index = (int(here - order.begin()) + (backwards ? count - 1 : 1)) % count;
    select(order[size_t(index)]);
}

void LayoutEditor::step(const KeyStep &s)
{
    if (!isShown(m_selected) || MoveSizeLoop::isRunning())
        return;
    QWidget *item = m_selected;
    if (auto box = m_boxes.find(item); box != m_boxes.end()) {
        box->second->ApplyRect(applyKeyStep(box->second->rect(), s), TTextBox::Edit::Key);
    } else if (auto element = m_elements.find(item); element != m_elements.end()) {
        if (s.resize)
            return; // a picture keeps its picture's size
        const QRect g = item->geometry();
        const BoxRect moved = applyKeyStep({g.x(), g.y(), g.width(), g.height()}, s);
        element->second->ApplyBounds(moved.left, moved.top, g.width(), g.height(), false,
                                     TImageButtonA::Edit::Key);
    }
    const QRect r = itemRect(item);
    showReadout(item, r.bottomRight() + m_overlay->scaled(QPoint(8, 8)), true);
}

QString LayoutEditor::readoutText(QWidget *item) const
{
    // A picture in background pixels, a box relative to its page: both are the window's
    // geometry in its parent.
    const QRect g = item->geometry();
    return QStringLiteral("%1, %2  %3 × %4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
}

void LayoutEditor::showReadout(QWidget *item, QPoint at, bool expires)
{
    m_overlay->setReadout(readoutText(item), at);
    if (expires)
        m_readoutTimer.start();
    else
        m_readoutTimer.stop();
}

QRect LayoutEditor::snapStep(QWidget *control, HitZone zone, const QRect &wanted, Qt::KeyboardModifiers held)
{
    SnapLines lines;
    QRect extent;
    if (m_elements.count(control)) {
        if (const SkinDocument *doc = m_workspace.document(); doc && doc->background()) {
            const Bitmap &bg = doc->background()->BgBitmap();
            lines.addRect(QRect(0, 0, bg.width(), bg.height()));
        }
        for (const auto &[panel, element] : m_elements) {
            if (panel != control && panel->isVisibleTo(m_preview))
                lines.addRect(panel->geometry());
        }
        extent = QRect(QPoint(0, 0), m_preview->canvas()->extent());
    } else if (auto box = m_boxes.find(control); box != m_boxes.end()) {
        QWidget *page = control->parentWidget();
        lines.addRect(QRect(QPoint(0, 0), page->size()));
        for (const auto &[panel, other] : m_boxes) {
            if (panel != control && panel->parentWidget() == page)
                lines.addRect(panel->geometry());
        }
        extent = QRect(QPoint(0, 0), page->size());
    } else {
        return wanted;
    }
    // Snapping reaches as many screen pixels at any zoom.
    const SkinCanvas *canvas = m_preview->canvas();
    const double zoom = canvas->zoom();
    const int reach = zoom == 1.0 ? kSnapDistance : int(std::floor(kSnapDistance / zoom + 1e-9));
    const SnapResult snapped = snapDragStep(wanted, draggedEdges(zone), lines, reach, held);
    // Guides are drawn in the view's device pixels; a box's lines are its page's.
    const QPoint origin = offsetWithin(canvas, control->parentWidget());
    const QPoint guideAt =
        canvas->toView(origin + QPoint(snapped.xGuide.value_or(0), snapped.yGuide.value_or(0)));
    m_overlay->setGuides(snapped.xGuide ? std::optional<int>(guideAt.x()) : std::nullopt,
                         snapped.yGuide ? std::optional<int>(guideAt.y()) : std::nullopt,
                         canvas->toView(extent.translated(origin)));
    return snapped.rect;
}

void LayoutEditor::dragStep(QWidget *control, bool running)
{
    if (!m_elements.count(control) && !m_boxes.count(control))
        return;
    if (running) {
        // Stays while the button is held; goes a second after the release.
        const QPoint pointer = m_overlay->viewPixelAtGlobal(QCursor::pos());
        showReadout(control, pointer + m_overlay->scaled(QPoint(16, 20)), false);
        return;
    }
    m_overlay->setGuides(std::nullopt, std::nullopt, QRect());
    m_readoutTimer.start();
}

bool LayoutEditor::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        // The press selects; the drag it starts goes on as before.
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            select(widget);
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        refreshSelection();
        break;
    default:
        break;
    }
    return false;
}

QString LayoutEditor::helpText()
{
    QString text = QStringLiteral("左键拖动图片或框：移动；拖动框的边或角：改变大小\n"
                                  "拖动时靠近边线或中线 6 像素以内自动对齐；按住 Alt 不对齐\n"
                                  "单击图片或框：选中；单击空白处：取消选中\n"
                                  "Tab / Shift+Tab：依次选中显示的图片和框\n"
                                  "方向键：移动 1 像素；Shift+方向键：移动 10 像素\n"
                                  "Ctrl+方向键（框）：移动右边或下边 1 像素；Ctrl+Shift：10 像素\n"
                                  "Ctrl+Z：撤销；Ctrl+Shift+Z 或 Ctrl+Y：重做\n"
                                  "Ctrl+S：保存皮肤；Ctrl+O：打开皮肤；F1：本帮助\n"
                                  "Ctrl+N：新建皮肤；Ctrl+E：导出图片\n"
                                  "Ctrl+滚轮：以指针为中心缩放；Ctrl+= / Ctrl+-：放大 / 缩小\n"
                                  "Ctrl+0：适合屏幕；Ctrl+1：100%\n"
                                  "拖入 ZqCSkin.ini 或皮肤文件夹：打开；拖 PNG 到图片上：换张图片；\n"
                                  "拖 JPEG、PNG 或 BMP 到背景上：换背景图片\n"
                                  "右键：点击、换张图片、设置；背景上右键：缩放、客户机屏幕");
    const QString version = QCoreApplication::applicationVersion();
    if (!version.isEmpty())
        text += QStringLiteral("\n\n版本 ") + version;
    return text;
}

} // namespace zq
