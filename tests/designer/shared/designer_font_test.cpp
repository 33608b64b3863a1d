#include "shared/designer_font.h"

#include <QApplication>
#include <QFontDatabase>
#include <QRawFont>
#include <QTest>

// The captions need one family of the list installed under exactly the name the list gives:
// a misspelt name falls back without a word, to a font that may lack the glyphs.
class DesignerFontTest : public QObject {
    Q_OBJECT
private slots:
    void aListedFamilyIsInstalledAndWritesTheCaptions();
};

void DesignerFontTest::aListedFamilyIsInstalledAndWritesTheCaptions()
{
    const QFont font = zq::designerFont(QApplication::font());
    QString installed;
    // After the layouts' own family, which has no Chinese glyphs.
    for (const QString &family : font.families().mid(1)) {
        if (QFontDatabase::families().contains(family)) {
            installed = family;
            break;
        }
    }
    // scripts/setup installs fonts-wqy-microhei: none found means a name is wrong.
    QVERIFY2(!installed.isEmpty(), "none of the listed families is installed");

    QFont chosen(installed);
    chosen.setPixelSize(font.pixelSize());
    const QRawFont raw = QRawFont::fromFont(chosen, QFontDatabase::SimplifiedChinese);
    QVERIFY2(raw.isValid(), qPrintable(installed));
    for (const QChar c :
         QStringLiteral("Zenqa皮肤设计工具登陆充值管理激活打开换背景图片保存小化恢复窗口关闭顶左宽高确定"))
        QVERIFY2(raw.supportsCharacter(c), qPrintable(installed + QStringLiteral(" lacks ") + c));
}

QTEST_MAIN(DesignerFontTest)
#include "designer_font_test.moc"
