#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace zq {

// The application's error handler: runs a command and, when it raises the engine's error
// (or any standard exception), shows the error's text with a full stop in a critical
// message box over the active window (or the on-top preview when nothing is active), so
// that it stays above the preview. The command
// stops where it failed; what it did before is kept. Returns whether it ran to the end.
bool runReportingErrors(const std::function<void()> &command);

// Shows one error message as the handler does.
void reportError(const QString &message);

// The text shown for an error message: the message with a full stop at the end, unless it
// is empty or already ends in a full stop or punctuation before it (space, '!', ')', ...).
QString errorDisplayText(const QString &message);

// Who shows the message. Tests put their own in place of the message box; an empty
// function restores the message box.
using ErrorPresenter = std::function<void(QWidget *parent, const QString &text)>;
void setErrorPresenter(ErrorPresenter presenter);

} // namespace zq
