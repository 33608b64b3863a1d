#include "windows/new_skin_dialog.h"

#include "ui_new_skin_dialog.h"

#include "shared/error_report.h"
#include "shared/picture_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>

#include <cmath>

namespace zq {

namespace {

// The largest side a JPEG can have.
constexpr int kLargestSide = 65500;

QString runFolderDialog(QWidget *parent)
{
    return QFileDialog::getExistingDirectory(parent, QStringLiteral("皮肤文件夹"));
}

QString runBackgroundDialog(QWidget *parent)
{
    return choosePicture(parent, QStringLiteral("选择背景图片"),
                         QStringLiteral("图片 (*.jpg *.jpeg *.png *.bmp)"));
}

// The primary screen's size in its own pixels, whatever scale the desktop draws at.
QSize screenPixels(const QWidget *near)
{
    const QScreen *screen = near && near->screen() ? near->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return {1920, 1080};
    const QSizeF pixels = QSizeF(screen->size()) * screen->devicePixelRatio();
    return {int(std::lround(pixels.width())), int(std::lround(pixels.height()))};
}

} // namespace

NewSkinDialog::NewSkinDialog(QWidget *parent, QSize plainSize)
    : QDialog(parent)
    , ui(std::make_unique<Ui::NewSkinDialog>())
{
    ui->setupUi(this);
    choosePicture = runBackgroundDialog;
    chooseFolder = runFolderDialog;
    for (QSpinBox *side : {ui->width, ui->height})
        side->setRange(1, kLargestSide);
    ui->width->setValue(plainSize.width());
    ui->height->setValue(plainSize.height());
    m_ok = ui->buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    m_cancel = ui->buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    m_ok->setDefault(true);
    connect(ui->buttons, &QDialogButtonBox::accepted, this, &NewSkinDialog::accept);
    connect(ui->buttons, &QDialogButtonBox::rejected, this, &NewSkinDialog::reject);
    connectFields();
    ui->background->setFocus();
}

NewSkinDialog::~NewSkinDialog() = default;

QLineEdit *NewSkinDialog::backgroundField() const
{
    return ui->background;
}

QLineEdit *NewSkinDialog::folderField() const
{
    return ui->folder;
}

QSpinBox *NewSkinDialog::widthField() const
{
    return ui->width;
}

QSpinBox *NewSkinDialog::heightField() const
{
    return ui->height;
}

QPushButton *NewSkinDialog::browseBackgroundButton() const
{
    return ui->browseBackground;
}

QPushButton *NewSkinDialog::browseFolderButton() const
{
    return ui->browseFolder;
}

void NewSkinDialog::connectFields()
{
    // A size counts only for a plain background.
    connect(ui->background, &QLineEdit::textChanged, this, [this](const QString &text) {
        const bool plain = text.trimmed().isEmpty();
        ui->width->setEnabled(plain);
        ui->height->setEnabled(plain);
    });
    connect(ui->browseBackground, &QPushButton::clicked, this, [this] {
        const QString path = choosePicture ? choosePicture(this) : QString();
        if (!path.isEmpty())
            ui->background->setText(QDir::toNativeSeparators(path));
    });
    connect(ui->browseFolder, &QPushButton::clicked, this, [this] {
        const QString path = chooseFolder ? chooseFolder(this) : QString();
        if (!path.isEmpty())
            ui->folder->setText(QDir::toNativeSeparators(path));
    });
}

NewSkinOptions NewSkinDialog::options() const
{
    NewSkinOptions options;
    const QString background = ui->background->text().trimmed();
    if (background.isEmpty())
        options.size = PixelSize{ui->width->value(), ui->height->value()};
    else
        options.background = QDir::fromNativeSeparators(background);
    return options;
}

void NewSkinDialog::accept()
{
    const QString folder = QDir::fromNativeSeparators(ui->folder->text().trimmed());
    if (folder.isEmpty()) {
        reportError(QStringLiteral("A new skin needs a folder: type one under 皮肤文件夹 or choose it"));
        ui->folder->setFocus();
        return;
    }
    QString made;
    if (!runReportingErrors([&] { made = makeNewSkin(QFileInfo(folder).absoluteFilePath(), options()); }))
        return;
    m_layoutPath = made;
    QDialog::accept();
}

QString runNewSkinDialog(QWidget *parent)
{
    NewSkinDialog dialog(parent, screenPixels(parent));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.layoutPath();
}

} // namespace zq
