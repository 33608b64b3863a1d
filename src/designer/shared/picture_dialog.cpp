#include "shared/picture_dialog.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>

namespace zq {

namespace {
constexpr int kPreviewSide = 160;
}

QString choosePicture(QWidget *parent, const QString &title, const QString &filter)
{
    QFileDialog dialog(parent, title, QString(), filter);
    // The native dialogs have no room for a preview pane.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);

    auto *preview = new QLabel(&dialog);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFixedSize(kPreviewSide, kPreviewSide);
    preview->setFrameShape(QFrame::StyledPanel);
    preview->setAccessibleName(QStringLiteral("preview"));
    if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout()))
        grid->addWidget(preview, 1, grid->columnCount(), grid->rowCount() - 1, 1);

    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString &path) {
        // Only a thumbnail: the reader scales while decoding, so a huge picture costs little.
        QImageReader reader(path);
        const QSize full = reader.size();
        if (full.isValid())
            reader.setScaledSize(
                full.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio).boundedTo(full));
        const QImage thumb = reader.read();
        preview->setPixmap(thumb.isNull() ? QPixmap() : QPixmap::fromImage(thumb));
    });

    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace zq
