#include "elements/set_ui.h"
#include "numbers/strict_int.h"
#include "shared/error_report.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <memory>

using zq::TSetUi;

namespace {

// What an opener's OK action saw: every dialog that called it, with the fields as read.
struct OkCall {
    TSetUi *dialog;
    QString top, left, width, height;
};

// A stand-in for the element's apply action: converts left, top, width, height in that
// order and applies each as soon as it converts.
struct FakeElement {
    QRect bounds{0, 0, 0, 0};
    void apply(TSetUi &d)
    {
        bounds.moveLeft(zq::strToIntStrict(d.Edit2()->text()));
        bounds.moveTop(zq::strToIntStrict(d.Edit1()->text()));
        bounds.setWidth(zq::strToIntStrict(d.Edit3()->text()));
        bounds.setHeight(zq::strToIntStrict(d.Edit4()->text()));
    }
};

} // namespace

class SetUiTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void windowProperties();
    void controlsSitWhereTheLayoutPutsThem_data();
    void controlsSitWhereTheLayoutPutsThem();
    void tabOrder();
    void everyControlHasAnAccessibleName();
    void showBoundsFillsTheFieldsTopFirst();
    void upArrowStepsTopAndAppliesOnce();
    void arrowsStepTheirField_data();
    void arrowsStepTheirField();
    void arrowStopsAtTheEndsOfTheRange();
    void arrowWithBadTextShowsItAndChangesNothing_data();
    void arrowWithBadTextShowsItAndChangesNothing();
    void okWithAnEmptyFieldAppliesTheFieldsBeforeIt();
    void enterDoesNothingAndEscapeHides();
    void placedBesideTheItemClearOfTheControlWindow_data();
    void placedBesideTheItemClearOfTheControlWindow();
    void closeBoxHides();
    void eachDialogAppliesItsOwnFields();

private:
    std::unique_ptr<TSetUi> makeDialog();

    QStringList m_errors;
    QList<OkCall> m_calls;
};

void SetUiTest::init()
{
    m_errors.clear();
    m_calls.clear();
    zq::setErrorPresenter([this](QWidget *, const QString &text) { m_errors << text; });
}

void SetUiTest::cleanup()
{
    zq::setErrorPresenter({});
}

std::unique_ptr<TSetUi> SetUiTest::makeDialog()
{
    auto d = std::make_unique<TSetUi>();
    d->setButton1Click([this](TSetUi &dialog) {
        m_calls.append({&dialog, dialog.Edit1()->text(), dialog.Edit2()->text(), dialog.Edit3()->text(),
                        dialog.Edit4()->text()});
    });
    return d;
}

void SetUiTest::windowProperties()
{
    TSetUi d;
    QCOMPARE(d.windowTitle(), QStringLiteral("Form3"));
    QCOMPARE(d.minimumSize(), QSize(225, 150));
    QCOMPARE(d.maximumSize(), QSize(225, 150));
    QVERIFY(d.isWindow());
    QVERIFY(!d.isModal());
    const Qt::WindowFlags f = d.windowFlags();
    QVERIFY(f.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(f.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!f.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!f.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(d.font().pixelSize(), 12);
    QVERIFY(d.font().families().contains(QStringLiteral("WenQuanYi Micro Hei")));
    QCOMPARE(d.Edit1()->font().pixelSize(), 12);
    QVERIFY(d.autoFillBackground());
    QCOMPARE(d.palette().color(d.backgroundRole()), d.palette().color(QPalette::Button));

    d.ShowBounds(1, 2, 3, 4);
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    const QPoint screenCentre = d.screen()->geometry().center();
    QVERIFY2((d.frameGeometry().center() - screenCentre).manhattanLength() <= 2, "not centred on the screen");
}

void SetUiTest::controlsSitWhereTheLayoutPutsThem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("Label1") << "Label1"
                            << "顶" << QRect(16, 8, 12, 12);
    QTest::newRow("Label2") << "Label2"
                            << "左" << QRect(16, 32, 12, 12);
    QTest::newRow("Label3") << "Label3"
                            << "宽" << QRect(16, 56, 12, 12);
    QTest::newRow("Label4") << "Label4"
                            << "高" << QRect(16, 80, 12, 12);
    QTest::newRow("Edit1") << "Edit1"
                           << "" << QRect(32, 8, 73, 20);
    QTest::newRow("Edit2") << "Edit2"
                           << "" << QRect(32, 32, 73, 20);
    QTest::newRow("Edit3") << "Edit3"
                           << "" << QRect(32, 56, 73, 20);
    QTest::newRow("Edit4") << "Edit4"
                           << "" << QRect(32, 80, 73, 20);
    QTest::newRow("Button1") << "Button1"
                             << "确定" << QRect(48, 112, 57, 25);
    QTest::newRow("Button2") << "Button2"
                             << "↑" << QRect(152, 16, 33, 25);
    QTest::newRow("Button3") << "Button3"
                             << "→" << QRect(184, 48, 33, 25);
    QTest::newRow("Button4") << "Button4"
                             << "↓" << QRect(152, 80, 33, 25);
    QTest::newRow("Button5") << "Button5"
                             << "←" << QRect(120, 48, 33, 25);
}

void SetUiTest::controlsSitWhereTheLayoutPutsThem()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    TSetUi d;
    auto *w = d.findChild<QWidget *>(name);
    QVERIFY(w);
    QCOMPARE(w->geometry(), geometry);
    if (auto *label = qobject_cast<QLabel *>(w))
        QCOMPARE(label->text(), caption);
    else if (auto *button = qobject_cast<QPushButton *>(w))
        QCOMPARE(button->text(), caption);
    else
        QVERIFY(qobject_cast<QLineEdit *>(w));
}

void SetUiTest::tabOrder()
{
    TSetUi d;
    d.ShowBounds(0, 0, 0, 0);
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    const QList<QWidget *> order = {d.Button1(), d.Edit1(),   d.Edit2(),   d.Edit3(),   d.Edit4(),
                                    d.Button2(), d.Button3(), d.Button4(), d.Button5(), d.Button1()};
    d.Button1()->setFocus();
    QCOMPARE(d.focusWidget(), d.Button1());
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
        QCOMPARE(d.focusWidget(), order[i]);
    }
}

void SetUiTest::everyControlHasAnAccessibleName()
{
    TSetUi d;
    const auto children = d.findChildren<QWidget *>();
    QCOMPARE(children.size(), 13);
    for (const QWidget *w : children)
        QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
    QCOMPARE(d.Edit3()->accessibleName(), QStringLiteral("Edit3"));
}

void SetUiTest::showBoundsFillsTheFieldsTopFirst()
{
    auto d = makeDialog();
    d->ShowBounds(100, 50, 80, 30);
    QCOMPARE(d->Edit1()->text(), QStringLiteral("50"));
    QCOMPARE(d->Edit2()->text(), QStringLiteral("100"));
    QCOMPARE(d->Edit3()->text(), QStringLiteral("80"));
    QCOMPARE(d->Edit4()->text(), QStringLiteral("30"));
    QVERIFY(d->isVisible());
    QVERIFY(m_calls.isEmpty());

    d->ShowBounds(-7, -2147483647 - 1, 0, 5);
    QCOMPARE(d->Edit1()->text(), QStringLiteral("-2147483648"));
    QCOMPARE(d->Edit2()->text(), QStringLiteral("-7"));
}

void SetUiTest::upArrowStepsTopAndAppliesOnce()
{
    auto d = makeDialog();
    d->ShowBounds(100, 50, 80, 30);
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    QTest::mouseClick(d->Button2(), Qt::LeftButton);

    QCOMPARE(d->Edit1()->text(), QStringLiteral("49"));
    QCOMPARE(m_calls.size(), 1);
    QCOMPARE(m_calls[0].dialog, d.get());
    QCOMPARE(m_calls[0].top, QStringLiteral("49"));
    QCOMPARE(m_calls[0].left, QStringLiteral("100"));
    QCOMPARE(m_calls[0].width, QStringLiteral("80"));
    QCOMPARE(m_calls[0].height, QStringLiteral("30"));

    QTest::mouseClick(d->Button4(), Qt::LeftButton);
    QCOMPARE(d->Edit1()->text(), QStringLiteral("50"));
    QCOMPARE(m_calls.size(), 2);
    QVERIFY(m_errors.isEmpty());
}

void SetUiTest::arrowsStepTheirField_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("down adds to top") << 4 << 1 << "49"
                                      << "50";
    QTest::newRow("left takes from left") << 5 << 2 << "10"
                                          << "9";
    QTest::newRow("right reads hexadecimal") << 3 << 2 << "$10"
                                             << "17";
    QTest::newRow("up below zero") << 2 << 1 << "0"
                                   << "-1";
}

void SetUiTest::arrowsStepTheirField()
{
    QFETCH(int, button);
    QFETCH(int, field);
    QFETCH(QString, before);
    QFETCH(QString, after);
    auto d = makeDialog();
    d->ShowBounds(7, 8, 9, 10);
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    QLineEdit *edit = field == 1 ? d->Edit1() : d->Edit2();
    QLineEdit *other = field == 1 ? d->Edit2() : d->Edit1();
    const QString otherText = other->text();
    edit->setText(before);
    QPushButton *buttons[] = {nullptr, nullptr, d->Button2(), d->Button3(), d->Button4(), d->Button5()};
    QTest::mouseClick(buttons[button], Qt::LeftButton);

    QCOMPARE(edit->text(), after);
    QCOMPARE(other->text(), otherText);
    QCOMPARE(m_calls.size(), 1);
}

void SetUiTest::arrowStopsAtTheEndsOfTheRange()
{
    auto d = makeDialog();
    d->ShowBounds(-2147483647 - 1, 2147483647, 1, 1);
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    QTest::mouseClick(d->Button4(), Qt::LeftButton); // ↓ at the top of the range
    QTest::mouseClick(d->Button5(), Qt::LeftButton); // ← at the bottom
    QCOMPARE(d->Edit1()->text(), QStringLiteral("2147483647"));
    QCOMPARE(d->Edit2()->text(), QStringLiteral("-2147483648"));
    QVERIFY(m_errors.isEmpty());
}

void SetUiTest::arrowWithBadTextShowsItAndChangesNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("trailing blank") << QStringLiteral("12 ");
    QTest::newRow("letters") << QStringLiteral("abc");
    QTest::newRow("empty") << QString();
}

void SetUiTest::arrowWithBadTextShowsItAndChangesNothing()
{
    QFETCH(QString, text);
    auto d = makeDialog();
    d->ShowBounds(100, 50, 80, 30);
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    d->Edit1()->setText(text);
    QTest::mouseClick(d->Button2(), Qt::LeftButton);

    QCOMPARE(m_errors,
             QStringList{QStringLiteral("'") + text + QStringLiteral("' is not a valid integer value.")});
    QCOMPARE(d->Edit1()->text(), text);
    QVERIFY(m_calls.isEmpty());
    QVERIFY(d->isVisible());
}

void SetUiTest::okWithAnEmptyFieldAppliesTheFieldsBeforeIt()
{
    FakeElement element;
    element.bounds = QRect(1, 2, 3, 4);
    TSetUi d;
    d.setButton1Click([&](TSetUi &dialog) { element.apply(dialog); });
    d.ShowBounds(100, 50, 80, 30);
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.Edit3()->clear();
    QTest::mouseClick(d.Button1(), Qt::LeftButton);

    QCOMPARE(m_errors, QStringList{QStringLiteral("'' is not a valid integer value.")});
    QCOMPARE(element.bounds.left(), 100);
    QCOMPARE(element.bounds.top(), 50);
    QCOMPARE(element.bounds.size(), QSize(3, 4));

    // An arrow first writes its own field, then the action stops at the bad one.
    m_errors.clear();
    d.Edit3()->setText(QStringLiteral("80 "));
    QTest::mouseClick(d.Button2(), Qt::LeftButton);
    QCOMPARE(d.Edit1()->text(), QStringLiteral("49"));
    QCOMPARE(element.bounds.top(), 49);
    QCOMPARE(m_errors, QStringList{QStringLiteral("'80 ' is not a valid integer value.")});
    QVERIFY(d.isVisible());
}

void SetUiTest::enterDoesNothingAndEscapeHides()
{
    for (const bool fromButton : {false, true}) {
        auto d = makeDialog();
        d->ShowBounds(1, 2, 3, 4);
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));
        QWidget *focus = fromButton ? static_cast<QWidget *>(d->Button1()) : d->Edit1();
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Return);
        QVERIFY(d->isVisible());
        QTest::keyClick(focus, Qt::Key_Escape);
        QVERIFY(m_calls.isEmpty());
        QVERIFY(!d->isVisible());
        QCOMPARE(d->Edit1()->text(), QStringLiteral("2"));
    }
}

void SetUiTest::placedBesideTheItemClearOfTheControlWindow_data()
{
    QTest::addColumn<QRect>("item");
    QTest::addColumn<QRect>("keepClear");
    QTest::addColumn<bool>("toTheRight");
    const QRect control(860, 440, 200, 200);
    QTest::newRow("room on the right") << QRect(100, 100, 150, 44) << control << true;
    QTest::newRow("screen ends on the right") << QRect(1800, 300, 110, 44) << control << false;
    QTest::newRow("control window on the right") << QRect(600, 500, 150, 44) << control << false;
    QTest::newRow("item wider than the screen") << QRect(-500, 900, 3000, 100) << control << false;
    QTest::newRow("control window beside a tall page")
        << QRect(400, 0, 450, 1080) << QRect(860, 0, 200, 1080) << false;
}

void SetUiTest::placedBesideTheItemClearOfTheControlWindow()
{
    QFETCH(QRect, item);
    QFETCH(QRect, keepClear);
    QFETCH(bool, toTheRight);
    const QRect screen(0, 0, 1920, 1080);
    const QSize size(231, 180);
    const QRect r = zq::placeBeside(screen, item, size, keepClear);
    QCOMPARE(r.size(), size);
    QVERIFY2(screen.contains(r), "off the screen");
    QVERIFY2(!r.intersects(keepClear), "over the control window");
    const QRect seen = item & screen;
    if (seen.width() < screen.width() - size.width())
        QVERIFY2(!r.intersects(seen), "over the item");
    if (toTheRight)
        QVERIFY(r.left() > item.right());
}

void SetUiTest::closeBoxHides()
{
    QWidget owner;
    QPointer<TSetUi> d = new TSetUi(&owner);
    d->ShowBounds(1, 2, 3, 4);
    QVERIFY(QTest::qWaitForWindowExposed(d));
    QVERIFY(d->isWindow());
    QVERIFY(d->close());
    QVERIFY(!d.isNull());
    QVERIFY(!d->isVisible());
    QCOMPARE(d->Edit1()->text(), QStringLiteral("2"));
}

void SetUiTest::eachDialogAppliesItsOwnFields()
{
    // Two dialogs opened for one element, the second one last.
    FakeElement element;
    auto first = std::make_unique<TSetUi>();
    auto second = std::make_unique<TSetUi>();
    for (TSetUi *d : {first.get(), second.get()})
        d->setButton1Click([&](TSetUi &dialog) { element.apply(dialog); });
    first->ShowBounds(10, 20, 30, 40);
    second->ShowBounds(110, 120, 130, 140);
    QVERIFY(QTest::qWaitForWindowExposed(first.get()));
    QVERIFY(QTest::qWaitForWindowExposed(second.get()));
    QVERIFY(first->isVisible() && second->isVisible());

    QTest::mouseClick(first->Button3(), Qt::LeftButton);
    QCOMPARE(element.bounds, QRect(11, 20, 30, 40));
    QTest::mouseClick(second->Button1(), Qt::LeftButton);
    QCOMPARE(element.bounds, QRect(110, 120, 130, 140));
    QTest::mouseClick(first->Button1(), Qt::LeftButton);
    QCOMPARE(element.bounds, QRect(11, 20, 30, 40));
}

QTEST_MAIN(SetUiTest)
#include "set_ui_test.moc"
