// The recent skins: newest first, each once, eight at most, and still there in the next run.

#include "windows/recent_skins.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using zq::RecentSkins;

class RecentSkinsTest : public QObject {
    Q_OBJECT
private slots:
    void newestFirstEachOnceEightAtMostAcrossRuns();
};

void RecentSkinsTest::newestFirstEachOnceEightAtMostAcrossRuns()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("zqdesigner.ini"));
    auto layout = [&](int n) { return dir.filePath(QStringLiteral("skin%1/ZqCSkin.ini").arg(n)); };
    {
        QSettings settings(file, QSettings::IniFormat);
        RecentSkins recent(settings);
        QVERIFY(recent.layouts().isEmpty());
        QVERIFY(recent.startFolder().isEmpty());
        for (int n = 1; n <= 10; ++n)
            recent.add(layout(n));
        // The same skin by another path counts once and comes first again.
        recent.add(dir.filePath(QStringLiteral("skin7/../skin7/./ZqCSkin.ini")));
    }
    QSettings settings(file, QSettings::IniFormat);
    const RecentSkins recent(settings);
    const QStringList expected = {layout(7), layout(10), layout(9), layout(8),
                                  layout(6), layout(5),  layout(4), layout(3)};
    QCOMPARE(recent.layouts(), expected);
    QCOMPARE(recent.startFolder(), dir.filePath(QStringLiteral("skin7")));
    QCOMPARE(recent.folders().size(), 8);
    QCOMPARE(recent.folders().value(1), dir.filePath(QStringLiteral("skin10")));
}

QTEST_MAIN(RecentSkinsTest)
#include "recent_skins_test.moc"
