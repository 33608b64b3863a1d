#pragma once

#include <QString>

class QWidget;

namespace zq {

// The picture open dialog: a file open dialog with a preview of the picture under the cursor.
// `filter` in Qt's syntax ("*.png (*.png)"). Returns the chosen file's full path, or an empty
// string when cancelled.
QString choosePicture(QWidget *parent, const QString &title, const QString &filter);

} // namespace zq
