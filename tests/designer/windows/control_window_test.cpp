#include "view/preview_window.h"
#include "windows/control_window.h"
#include "windows/text_constants.h"
#include "windows/title_bar_frame.h"

#include <QDesktopServices>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QUrl>

using zq::TForm1;

namespace {

// Stands in for the desktop's web browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

} // namespace

class ControlWindowTest : public QObject {
    Q_OBJECT
private slots:
    void controlsStandWhereTheLayoutPutsThem_data();
    void controlsStandWhereTheLayoutPutsThem();
    void tabOrderAndFocus();
    void everyControlLiesWholeInTheWindowAndAlone();
    void typeAndLink();
    void everyControlHasAnAccessibleName();
    void textConstants();
    void startUpLivesInsideThePreview();
    void firstShownInTheMiddleOfTheScreen();
    void collapseAndRestoreTwice();
    void labelOpensTheHomePage();
    void closeEndsTheProgramWithoutAsking();
};

void ControlWindowTest::controlsStandWhereTheLayoutPutsThem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("Button1") << "Button1" << QRect(8, 8, 65, 25) << "打开皮肤" << true;
    QTest::newRow("Button2") << "Button2" << QRect(144, 0, 41, 25) << "关闭" << true;
    QTest::newRow("Button3") << "Button3" << QRect(112, 40, 65, 25) << "换背景图片" << false;
    QTest::newRow("Memo1") << "Memo1" << QRect(8, 96, 169, 41) << QString() << true;
    QTest::newRow("Button4") << "Button4" << QRect(8, 40, 65, 25) << "保存皮肤" << false;
    QTest::newRow("Button5") << "Button5" << QRect(80, 0, 57, 25) << "小化窗口" << true;
    QTest::newRow("Label1") << "Label1" << QRect(8, 72, 66, 12) << "作者QQ空间" << true;
}

void ControlWindowTest::controlsStandWhereTheLayoutPutsThem()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(bool, enabled);

    TForm1 form{zq::ControlDialogs{}};
    QCOMPARE(form.clientArea()->size(), QSize(188, 166));
    QCOMPARE(form.size(), QSize(188 + zq::TitleBarFrame::kFrameWidth, 166 + zq::TitleBarFrame::kFrameHeight));
    // A frame of at most 24 px leaves the top row readable when collapsed to 45.
    QVERIFY(form.height() - form.clientArea()->height() <= 24);

    auto *control = form.clientArea()->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), form.clientArea());
    QCOMPARE(control->geometry(), geometry);
    QCOMPARE(control->isEnabled(), enabled);
    if (auto *button = qobject_cast<QPushButton *>(control))
        QCOMPARE(button->text(), caption);
    if (auto *label = qobject_cast<QLabel *>(control))
        QCOMPARE(label->text(), caption);
}

void ControlWindowTest::tabOrderAndFocus()
{
    TForm1 form{zq::ControlDialogs{}};
    const QList<QWidget *> expected = {form.Button1(), form.Button2(), form.Button3(), form.Memo1(),
                                       form.Button4(), form.Button5(), form.Button6(), form.Button7()};
    QList<QWidget *> chain;
    QWidget *w = form.Button1();
    do {
        if (expected.contains(w))
            chain << w;
        w = w->nextInFocusChain();
    } while (w != form.Button1());
    QCOMPARE(chain, expected);
    QCOMPARE(form.Label1()->focusPolicy(), Qt::NoFocus);
}

void ControlWindowTest::everyControlLiesWholeInTheWindowAndAlone()
{
    TForm1 form{zq::ControlDialogs{}};
    const QRect client(QPoint(0, 0), form.clientArea()->size());
    const auto controls = form.clientArea()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *w : controls) {
        QVERIFY2(client.contains(w->geometry()), qPrintable(w->objectName()));
        for (QWidget *other : controls)
            QVERIFY2(w == other || !w->geometry().intersects(other->geometry()),
                     qPrintable(w->objectName() + u' ' + other->objectName()));
    }
}

void ControlWindowTest::typeAndLink()
{
    TForm1 form{zq::ControlDialogs{}};
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(form.preview()));

    for (QWidget *w : {static_cast<QWidget *>(form.Button1()), static_cast<QWidget *>(form.Label1()),
                       static_cast<QWidget *>(form.Memo1())}) {
        QCOMPARE(w->font().pixelSize(), 12);
        QVERIFY(w->font().families().contains(QStringLiteral("WenQuanYi Micro Hei")));
    }
    // The link: blue, bold, underlined, with the hand.
    QLabel *link = form.Label1();
    QVERIFY(link->font().bold());
    QVERIFY(link->font().underline());
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    const QImage drawn = link->grab().toImage();
    bool blueInk = false;
    for (int y = 0; y < drawn.height() && !blueInk; ++y)
        for (int x = 0; x < drawn.width() && !blueInk; ++x)
            blueInk = drawn.pixelColor(x, y) == QColor(0, 0, 255);
    QVERIFY(blueInk);

    // The memo: read-only, no border, the credit line.
    QPlainTextEdit *memo = form.Memo1();
    QVERIFY(memo->isReadOnly());
    QCOMPARE(memo->frameShape(), QFrame::NoFrame);
    QCOMPARE(memo->toPlainText(), zq::textConstant(zq::CreditText));
    QVERIFY(!memo->toPlainText().contains(u'\n'));
}

void ControlWindowTest::everyControlHasAnAccessibleName()
{
    TForm1 form{zq::ControlDialogs{}};
    QCOMPARE(form.accessibleName(), zq::textConstant(zq::ControlCaptionText));
    QVERIFY(!form.preview()->accessibleName().isEmpty());
    const auto controls = form.clientArea()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(controls.size(), 9);
    for (QWidget *w : controls)
        QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
    QVERIFY(!form.clientArea()->accessibleName().isEmpty());
}

void ControlWindowTest::textConstants()
{
    // The client's own texts, as its designer has always had them.
    const QStringList fixed = {"Zenqa皮肤设计工具 v6.3",
                               "Zenqa界面设计",
                               "zqLOG.bmp",
                               "zqFIL.bmp",
                               "zqMAN.bmp",
                               "zqLOGed.bmp",
                               "zqFILed.bmp",
                               "zqMANed.bmp",
                               QString(),
                               QString(),
                               "你的Zenqa客户端版本过低，只能使用第五版软件，或升级你的Zenqa客户端。",
                               "zqLOCKPIC.jpg"};
    QCOMPARE(fixed.size(), zq::kTextConstantCount);
    for (int i = 0; i < zq::kTextConstantCount; ++i) {
        if (!fixed[i].isEmpty())
            QCOMPARE(zq::textConstant(i), fixed[i]);
    }
    // Ours to choose: a web address and a one-line credit.
    const QUrl home(zq::textConstant(zq::HomePageText), QUrl::StrictMode);
    QVERIFY(home.isValid() && home.scheme() == QStringLiteral("https"));
    QVERIFY(!zq::textConstant(zq::CreditText).isEmpty());
    QVERIFY(!zq::textConstant(zq::CreditText).contains(u'\n'));
    QVERIFY(zq::textConstant(-1).isEmpty() && zq::textConstant(12).isEmpty());
}

void ControlWindowTest::startUpLivesInsideThePreview()
{
    TForm1 form{zq::ControlDialogs{}};
    zq::TForm2 *preview = form.preview();
    QVERIFY(preview);
    QVERIFY(preview->isVisible());
    QVERIFY(preview->isWindow());
    QCOMPARE(form.parentWidget(), preview);
    QVERIFY(!form.isWindow());
    QCOMPARE(form.windowTitle(), QStringLiteral("Zenqa皮肤设计工具 v6.3"));
    QCOMPARE(preview->windowTitle(), QStringLiteral("Zenqa界面设计"));
    QCOMPARE(preview->geometry(), QGuiApplication::primaryScreen()->geometry());
    QVERIFY(!preview->hasBackground());

    // The title bar carries the caption: its text is drawn in the title bar's colours.
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(preview));
    const QImage frame = form.grab().toImage();
    const QRect title = form.frame().titleBarRect();
    const QColor bar = form.palette().color(QPalette::Highlight);
    const QColor ink = form.palette().color(QPalette::HighlightedText);
    QCOMPARE(frame.pixelColor(title.right() - 2, title.center().y()), bar);
    bool text = false;
    for (int x = title.left(); x < title.left() + 60 && !text; ++x)
        for (int y = title.top(); y <= title.bottom() && !text; ++y)
            text = frame.pixelColor(x, y) == ink;
    QVERIFY(text);
}

void ControlWindowTest::firstShownInTheMiddleOfTheScreen()
{
    TForm1 form{zq::ControlDialogs{}};
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(form.preview()));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint global = form.mapToGlobal(QPoint(0, 0));
    QCOMPARE(global.x() - screen.x(), (screen.width() - form.width()) / 2);
    QCOMPARE(global.y() - screen.y(), (screen.height() - form.height()) / 2);

    // Shown again later, it stays where the user left it.
    form.move(10, 20);
    form.hide();
    form.show();
    QCOMPARE(form.pos(), QPoint(10, 20));
}

void ControlWindowTest::collapseAndRestoreTwice()
{
    TForm1 form{zq::ControlDialogs{}};
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(form.preview()));
    const QPoint where = form.pos();
    const int width = form.width();

    for (int round = 0; round < 2; ++round) {
        QTest::mouseClick(form.Button5(), Qt::LeftButton);
        QCOMPARE(form.Button5()->text(), QStringLiteral("恢复窗口"));
        QCOMPARE(form.height(), 45);
        QCOMPARE(form.width(), width);
        QCOMPARE(form.pos(), where);
        // The top strip still holds the two buttons of that row, within the frame.
        const QRect client = form.contentsRect();
        QCOMPARE(client.height(), 45 - zq::TitleBarFrame::kFrameHeight);
        QVERIFY(client.height() >= 18);
        QCOMPARE(form.clientArea()->geometry(), client);
        QVERIFY(form.Button5()->isVisible());
        QVERIFY(form.Button2()->isVisible());

        QTest::mouseClick(form.Button5(), Qt::LeftButton);
        QCOMPARE(form.Button5()->text(), QStringLiteral("小化窗口"));
        QCOMPARE(form.height(), 202);
        QCOMPARE(form.clientArea()->height(), 202 - zq::TitleBarFrame::kFrameHeight);
        QCOMPARE(form.pos(), where);
    }
}

void ControlWindowTest::labelOpensTheHomePage()
{
    UrlCatcher browser;
    const QUrl home(zq::textConstant(zq::HomePageText));
    QVERIFY(home.isValid());
    QDesktopServices::setUrlHandler(home.scheme(), &browser, "open");

    TForm1 form{zq::ControlDialogs{}};
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(form.preview()));
    QTest::mouseClick(form.Label1(), Qt::LeftButton, {}, QPoint(10, 6));
    QDesktopServices::unsetUrlHandler(home.scheme());
    QCOMPARE(browser.opened, QList<QUrl>{home});
}

void ControlWindowTest::closeEndsTheProgramWithoutAsking()
{
    TForm1 form{zq::ControlDialogs{}};
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(form.preview()));

    // The program's own event loop ends with the click; a timer stands guard in case not.
    bool guardFired = false;
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, qApp, [&] {
        guardFired = true;
        QCoreApplication::exit(1);
    });
    guard.start(10000);
    QTimer::singleShot(0, form.Button2(), [&] { QTest::mouseClick(form.Button2(), Qt::LeftButton); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!guardFired);
    QVERIFY(!form.isVisible());
    QVERIFY(!form.preview()->isVisible());
}

QTEST_MAIN(ControlWindowTest)
#include "control_window_test.moc"
