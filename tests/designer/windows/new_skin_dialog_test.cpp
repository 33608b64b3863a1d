// 新建皮肤: what its fields offer and say, and what 确定 makes of them, typed as a user types.

#include "fixtures/designer_fixture.h"
#include "shared/error_report.h"
#include "windows/new_skin_dialog.h"

#include <QAccessible>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

using zq::NewSkinDialog;

namespace {

QString accessibleName(QWidget *w)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name) : QString();
}

// Replaces a field's text as typing does.
void typeInto(QWidget *field, const QString &text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

QStringList skinFiles(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files);
    names.sort();
    return names;
}

} // namespace

class NewSkinDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        zq::setErrorPresenter([this](QWidget *, const QString &text) { m_errors << text; });
    }
    void cleanup()
    {
        zq::setErrorPresenter({});
        m_errors.clear();
    }
    void fieldsAreNamedAndTheSizeCountsOnlyWithoutAPicture();
    void okMakesTheSkinOrSaysWhyNot_data();
    void okMakesTheSkinOrSaysWhyNot();

private:
    QStringList m_errors;
};

void NewSkinDialogTest::fieldsAreNamedAndTheSizeCountsOnlyWithoutAPicture()
{
    NewSkinDialog dialog(nullptr, QSize(1366, 768));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("新建皮肤"));
    QVERIFY(accessibleName(dialog.backgroundField()).contains(QStringLiteral("背景图片")));
    QVERIFY(accessibleName(dialog.folderField()).contains(QStringLiteral("皮肤文件夹")));
    for (QWidget *w : dialog.findChildren<QWidget *>()) {
        // A spin box's own line edit is read as part of it.
        if (w->focusPolicy() != Qt::NoFocus && w->isVisible() && !qobject_cast<QSpinBox *>(w->parentWidget()))
            QVERIFY2(!accessibleName(w).isEmpty(), qPrintable(w->metaObject()->className()));
    }
    QCOMPARE(dialog.widthField()->value(), 1366);
    QCOMPARE(dialog.heightField()->value(), 768);
    QVERIFY(dialog.widthField()->isEnabled());

    // 浏览… fills its field; a picture turns the size off, clearing it turns it on again.
    dialog.choosePicture = [](QWidget *) { return QStringLiteral("/pictures/winter.png"); };
    dialog.chooseFolder = [](QWidget *) { return QString(); };
    QTest::mouseClick(dialog.browseBackgroundButton(), Qt::LeftButton);
    QCOMPARE(QDir::fromNativeSeparators(dialog.backgroundField()->text()),
             QStringLiteral("/pictures/winter.png"));
    QVERIFY(!dialog.widthField()->isEnabled() && !dialog.heightField()->isEnabled());
    QCOMPARE(dialog.options().background, std::optional<QString>(QStringLiteral("/pictures/winter.png")));
    QVERIFY(!dialog.options().size);
    typeInto(dialog.backgroundField(), QString());
    QVERIFY(dialog.widthField()->isEnabled());
    // A cancelled folder dialog leaves the field as typed.
    typeInto(dialog.folderField(), QStringLiteral("skins/winter"));
    QTest::mouseClick(dialog.browseFolderButton(), Qt::LeftButton);
    QCOMPARE(dialog.folderField()->text(), QStringLiteral("skins/winter"));
}

void NewSkinDialogTest::okMakesTheSkinOrSaysWhyNot_data()
{
    QTest::addColumn<QString>("background"); // "png", "none" or "broken"
    QTest::addColumn<bool>("folderInUse");
    QTest::addColumn<bool>("folderTyped");
    QTest::addColumn<QSize>("made"); // the new background's size; empty: nothing is made
    QTest::newRow("PNG") << "png" << false << true << QSize(1024, 600);
    QTest::newRow("no picture: the size typed") << "none" << false << true << QSize(1280, 720);
    QTest::newRow("folder in use") << "png" << true << true << QSize();
    QTest::newRow("no folder") << "png" << false << false << QSize();
    QTest::newRow("picture that does not read") << "broken" << false << true << QSize();
}

void NewSkinDialogTest::okMakesTheSkinOrSaysWhyNot()
{
    QFETCH(QString, background);
    QFETCH(bool, folderInUse);
    QFETCH(bool, folderTyped);
    QFETCH(QSize, made);
    QTemporaryDir home;
    const QString picture = home.filePath(QStringLiteral("winter.png"));
    if (background == "png") {
        QImage png(1024, 600, QImage::Format_ARGB32);
        png.fill(qRgba(10, 120, 200, 128));
        QVERIFY(png.save(picture));
    } else if (background == "broken") {
        QFile file(picture);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("\x89PNG\r\n\x1a\n broken") > 0);
    }
    const QString folder = home.filePath(QStringLiteral("winter"));
    if (folderInUse) {
        QVERIFY(QDir().mkpath(folder));
        QFile notes(QDir(folder).filePath(QStringLiteral("notes.txt")));
        QVERIFY(notes.open(QIODevice::WriteOnly));
    }

    NewSkinDialog dialog(nullptr, QSize(1920, 1080));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    if (background != "none")
        typeInto(dialog.backgroundField(), QDir::toNativeSeparators(picture));
    if (folderTyped)
        typeInto(dialog.folderField(), QDir::toNativeSeparators(folder));
    typeInto(dialog.widthField(), QStringLiteral("1280"));
    typeInto(dialog.heightField(), QStringLiteral("720"));
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);

    if (made.isValid()) {
        QCOMPARE(m_errors, QStringList());
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(dialog.layoutPath(), QDir(folder).filePath(QStringLiteral("ZqCSkin.ini")));
        QCOMPARE(skinFiles(folder).size(), 8);
        QCOMPARE(QImage(QDir(folder).filePath(QStringLiteral("zqLOCKPIC.jpg"))).size(), made);
        zq::SkinDocument skin(dialog.layoutPath());
        QVERIFY(skin.open());
        return;
    }
    // Refused: said why, and the dialog stays open with what was typed; nothing is written.
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(!m_errors[0].isEmpty());
    if (folderInUse)
        QVERIFY2(m_errors[0].contains(QStringLiteral("not empty")), qPrintable(m_errors[0]));
    QCOMPARE(accepted.count(), 0);
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.layoutPath().isEmpty());
    QCOMPARE(skinFiles(folder), folderInUse ? QStringList{QStringLiteral("notes.txt")} : QStringList());
}

QTEST_MAIN(NewSkinDialogTest)
#include "new_skin_dialog_test.moc"
