#include "shared/error_report.h"

#include "files/engine_error.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>

namespace zq {

namespace {

void showMessageBox(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, QApplication::applicationDisplayName(), text);
}

// The box must come up above the full-screen preview: as a transient of the active window,
// or, when none is active, of a visible window that stays on top.
QWidget *messageParent()
{
    if (QWidget *active = QApplication::activeWindow())
        return active;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (w->isVisible() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            return w;
    }
    return nullptr;
}

ErrorPresenter &presenter()
{
    static ErrorPresenter current = showMessageBox;
    return current;
}

} // namespace

QString errorDisplayText(const QString &message)
{
    // As the platform's handler: no second stop after a message that already ends in one
    // (or in other punctuation that sorts before it), and nothing added to an empty one.
    if (message.isEmpty() || message.back().unicode() <= u'.')
        return message;
    return message + u'.';
}

void reportError(const QString &message)
{
    presenter()(messageParent(), errorDisplayText(message));
}

bool runReportingErrors(const std::function<void()> &command)
{
    try {
        command();
        return true;
    } catch (const EngineError &e) {
        reportError(e.message());
    } catch (const std::exception &e) {
        reportError(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

void setErrorPresenter(ErrorPresenter p)
{
    presenter() = p ? std::move(p) : ErrorPresenter(showMessageBox);
}

} // namespace zq
