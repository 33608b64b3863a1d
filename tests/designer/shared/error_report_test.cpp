#include "files/engine_error.h"
#include "shared/error_report.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <stdexcept>

class ErrorReportTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { zq::setErrorPresenter({}); }
    void fullStopRule_data();
    void fullStopRule();
    void engineErrorIsShownAndTheCommandStops();
    void standardExceptionIsShown();
    void successShowsNothing();
    void defaultPresenterIsACriticalBoxOverTheActiveWindow();
};

void ErrorReportTest::fullStopRule_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("stop added") << QStringLiteral("'12 ' is not a valid integer value")
                                << QStringLiteral("'12 ' is not a valid integer value.");
    QTest::newRow("no second stop") << QStringLiteral("Disk full.") << QStringLiteral("Disk full.");
    QTest::newRow("after Chinese text") << QStringLiteral("皮肤版本不对") << QStringLiteral("皮肤版本不对.");
    QTest::newRow("not after a closing bracket")
        << QStringLiteral("failed (5)") << QStringLiteral("failed (5)");
    QTest::newRow("empty stays empty") << QString() << QString();
}

void ErrorReportTest::fullStopRule()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(zq::errorDisplayText(message), shown);
}

void ErrorReportTest::engineErrorIsShownAndTheCommandStops()
{
    QStringList shown;
    zq::setErrorPresenter([&](QWidget *, const QString &text) { shown << text; });
    int steps = 0;
    const bool done = zq::runReportingErrors([&] {
        ++steps;
        throw zq::EngineError(QStringLiteral("JPEG error #42"));
    });
    QVERIFY(!done);
    QCOMPARE(steps, 1);
    QCOMPARE(shown, QStringList{QStringLiteral("JPEG error #42.")});
}

void ErrorReportTest::standardExceptionIsShown()
{
    QStringList shown;
    zq::setErrorPresenter([&](QWidget *, const QString &text) { shown << text; });
    QVERIFY(!zq::runReportingErrors([] { throw std::runtime_error("out of room"); }));
    QCOMPARE(shown, QStringList{QStringLiteral("out of room.")});
}

void ErrorReportTest::successShowsNothing()
{
    int shown = 0;
    zq::setErrorPresenter([&](QWidget *, const QString &) { ++shown; });
    bool ran = false;
    QVERIFY(zq::runReportingErrors([&] { ran = true; }));
    QVERIFY(ran);
    QCOMPARE(shown, 0);
}

void ErrorReportTest::defaultPresenterIsACriticalBoxOverTheActiveWindow()
{
    QWidget owner;
    owner.setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);
    owner.show();
    owner.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&owner));

    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget *parent = nullptr;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        text = box->text();
        icon = box->icon();
        parent = box->parentWidget();
        box->accept();
    });
    zq::runReportingErrors([] { throw zq::EngineError(QStringLiteral("Unable to write to C:\\x.ini")); });

    QCOMPARE(text, QStringLiteral("Unable to write to C:\\x.ini."));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(parent, &owner);
}

QTEST_MAIN(ErrorReportTest)
#include "error_report_test.moc"
