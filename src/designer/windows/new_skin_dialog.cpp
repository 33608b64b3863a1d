#include "windows/new_skin_dialog.h"

#include "windows/error_report.h"
#include "windows/picture_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>

#include <cmath>

namespace zq {

namespace {

// The largest side a JPEG can have.
constexpr int kLargestSide = 65500;

QSpinBox *sideField(QWidget *parent, int value, const QString &name)
{
    auto *field = new QSpinBox(parent);
    field->setRange(1, kLargestSide);
    field->setValue(value);
    field->setAccessibleName(name);
    return field;
}

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
    , m_background(new QLineEdit(this))
    , m_folder(new QLineEdit(this))
    , m_width(sideField(this, plainSize.width(), QStringLiteral("宽")))
    , m_height(sideField(this, plainSize.height(), QStringLiteral("高")))
    , m_browseBackground(new QPushButton(QStringLiteral("浏览…"), this))
    , m_browseFolder(new QPushButton(QStringLiteral("浏览…"), this))
{
    choosePicture = runBackgroundDialog;
    chooseFolder = runFolderDialog;
    setWindowTitle(QStringLiteral("新建皮肤"));
    setAccessibleName(windowTitle());
    m_browseBackground->setAccessibleName(QStringLiteral("浏览背景图片"));
    m_browseFolder->setAccessibleName(QStringLiteral("浏览皮肤文件夹"));
    m_browseBackground->setAutoDefault(false);
    m_browseFolder->setAutoDefault(false);
    m_background->setMinimumWidth(320);

    // Each field is named by its label, so a screen reader reads the label with it.
    auto *backgroundLabel = new QLabel(QStringLiteral("背景图片"), this);
    backgroundLabel->setBuddy(m_background);
    auto *folderLabel = new QLabel(QStringLiteral("皮肤文件夹"), this);
    folderLabel->setBuddy(m_folder);
    auto *sizeLabel = new QLabel(QStringLiteral("无背景图片时的大小"), this);
    sizeLabel->setBuddy(m_width);
    auto *by = new QLabel(QStringLiteral("×"), this);

    auto *buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    m_cancel = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &NewSkinDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &NewSkinDialog::reject);

    auto *size = new QHBoxLayout;
    size->addWidget(m_width);
    size->addWidget(by);
    size->addWidget(m_height);
    size->addStretch();
    auto *grid = new QGridLayout(this);
    grid->addWidget(backgroundLabel, 0, 0);
    grid->addWidget(m_background, 0, 1);
    grid->addWidget(m_browseBackground, 0, 2);
    grid->addWidget(folderLabel, 1, 0);
    grid->addWidget(m_folder, 1, 1);
    grid->addWidget(m_browseFolder, 1, 2);
    grid->addWidget(sizeLabel, 2, 0);
    grid->addLayout(size, 2, 1, 1, 2);
    grid->addWidget(buttons, 3, 0, 1, 3);

    // The order the fields are filled in, which is also the order they stand in.
    setTabOrder(m_background, m_browseBackground);
    setTabOrder(m_browseBackground, m_folder);
    setTabOrder(m_folder, m_browseFolder);
    setTabOrder(m_browseFolder, m_width);
    setTabOrder(m_width, m_height);

    // A size counts only for a plain background.
    connect(m_background, &QLineEdit::textChanged, this, [this](const QString &text) {
        const bool plain = text.trimmed().isEmpty();
        m_width->setEnabled(plain);
        m_height->setEnabled(plain);
    });
    connect(m_browseBackground, &QPushButton::clicked, this, [this] {
        const QString path = choosePicture ? choosePicture(this) : QString();
        if (!path.isEmpty())
            m_background->setText(QDir::toNativeSeparators(path));
    });
    connect(m_browseFolder, &QPushButton::clicked, this, [this] {
        const QString path = chooseFolder ? chooseFolder(this) : QString();
        if (!path.isEmpty())
            m_folder->setText(QDir::toNativeSeparators(path));
    });
    m_background->setFocus();
}

NewSkinOptions NewSkinDialog::options() const
{
    NewSkinOptions options;
    const QString background = m_background->text().trimmed();
    if (background.isEmpty())
        options.size = PixelSize{m_width->value(), m_height->value()};
    else
        options.background = QDir::fromNativeSeparators(background);
    return options;
}

void NewSkinDialog::accept()
{
    const QString folder = QDir::fromNativeSeparators(m_folder->text().trimmed());
    if (folder.isEmpty()) {
        reportError(QStringLiteral("A new skin needs a folder: type one under 皮肤文件夹 or choose it"));
        m_folder->setFocus();
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
