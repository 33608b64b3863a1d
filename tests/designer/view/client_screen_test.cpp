#include "fixtures/designer_fixture.h"
#include "view/client_screen.h"
#include "view/skin_canvas.h"
#include "view/zoom_steps.h"
#include "windows/client_screen_menu.h"
#include "windows/control_dialogs.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QTest>

using zq::ClientScreenChoice;
using zq::Element;
using zq::SkinCanvas;

namespace {

const QRgb kCut = qRgb(255, 64, 0);

// The sample skin (1920 × 1080) opened on a 1366 × 768 screen.
class Laptop : public ControlHarness {
public:
    Laptop()
    {
        preview()->setGeometry(0, 0, 1366, 768);
        open(skin.layout());
    }

    SkinCanvas *canvas() const { return preview()->canvas(); }

    SkinCopy skin;
};

} // namespace

class ClientScreenTest : public QObject {
    Q_OBJECT
private slots:
    void outlinesTheScreenAndMarksWhatLiesBeyond_data();
    void outlinesTheScreenAndMarksWhatLiesBeyond();
    void theChoiceIsRemembered();
};

void ClientScreenTest::outlinesTheScreenAndMarksWhatLiesBeyond_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<double>("zoom"); // 0: fit
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<bool>("manTabBeyond");
    // 登陆 is moved to (10, 10), well inside any screen, and 充值 to 20 pixels before the
    // screen's right edge, so that it reaches past it; 管理 stays at (1605, 405).
    QTest::newRow("1366 × 768 at fit") << QStringLiteral("1366x768") << 0.0 << QSize(1366, 768) << true;
    QTest::newRow("1024 × 768 at 50 %") << QStringLiteral("1024x768") << 0.5 << QSize(1024, 768) << true;
    QTest::newRow("1920 × 1080 at 100 %") << QStringLiteral("1920x1080") << 1.0 << QSize(1920, 1080) << false;
    QTest::newRow("the background's size at fit")
        << QStringLiteral("background") << 0.0 << QSize(1920, 1080) << false;
    QTest::newRow("none at 50 %") << QString() << 0.5 << QSize() << false;
}

void ClientScreenTest::outlinesTheScreenAndMarksWhatLiesBeyond()
{
    QFETCH(QString, choice);
    QFETCH(double, zoom);
    QFETCH(QSize, screen);
    QFETCH(bool, manTabBeyond);
    Laptop h;
    QVERIFY(QTest::qWaitForWindowExposed(h.preview()));
    QVERIFY(h.errors.isEmpty());
    SkinCanvas *canvas = h.canvas();
    const int right = screen.isValid() ? screen.width() : 1920;
    h.element(Element::LogTab)->ApplyBounds(10, 10, 0, 0, false, zq::TImageButtonA::Edit::Key);
    h.element(Element::FilTab)->ApplyBounds(right - 20, 100, 0, 0, false, zq::TImageButtonA::Edit::Key);
    canvas->setClientScreen(ClientScreenChoice::fromKey(choice));
    if (zoom == 0.0) {
        canvas->zoomToFit();
    } else {
        canvas->setZoom(zoom);
        // The right edge in the middle of the view.
        canvas->panTo(QPoint(zq::zoomedEdge(right, zoom) - 683, 0));
    }
    QCOMPARE(canvas->clientScreen().value_or(QSize()), screen);

    const QImage shot = h.skinShown();
    // An item's mark runs along the inside of its edges.
    auto marked = [&](Element e) {
        const QRect shown = canvas->viewRect(h.panel(e));
        const QPoint at(shown.left(), shown.center().y());
        return QRect(QPoint(0, 0), shot.size()).contains(at) && shot.pixel(at) == kCut;
    };
    const bool beyondOne = screen.isValid();
    if (zoom != 1.0)
        QCOMPARE(marked(Element::ManTab), manTabBeyond);
    QCOMPARE(marked(Element::FilTab), beyondOne);
    QVERIFY(!marked(Element::LogTab));
    // Pages are hidden: nothing of them is marked.
    QVERIFY(!h.panel(Element::LogPage)->isVisible());

    if (!beyondOne)
        return;
    // The screen's last column, down to its last row (or the view's), is the dashed line.
    const int column = canvas->toView(QPoint(screen.width(), 0)).x() - 1;
    const int lastRow = std::min(canvas->toView(QPoint(0, screen.height())).y(), shot.height()) - 1;
    QVERIFY(column >= 0 && column < shot.width());
    int cut = 0;
    for (int y = 0; y <= lastRow; ++y) {
        const QRgb p = shot.pixel(column, y);
        if (p == qRgb(255, 0, 255))
            continue; // the control window
        QVERIFY2(p == kCut || p == qRgb(255, 255, 255), qPrintable(QString::number(y)));
        cut += p == kCut;
    }
    QVERIFY(cut > lastRow / 4);

    // An item moved back inside loses its mark.
    h.element(Element::FilTab)->ApplyBounds(right - 400, 100, 0, 0, false, zq::TImageButtonA::Edit::Key);
    QCoreApplication::processEvents();
    const QImage after = h.skinShown();
    const QRect shown = canvas->viewRect(h.panel(Element::FilTab));
    QVERIFY(after.pixel(shown.left(), shown.center().y()) != kCut);
    QVERIFY(h.errors.isEmpty());
}

void ClientScreenTest::theChoiceIsRemembered()
{
    QTemporaryDir config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    zq::ControlDialogs dialogs;
    dialogs.loadClientScreen = zq::loadClientScreenKey;
    dialogs.saveClientScreen = zq::saveClientScreenKey;
    const ClientScreenChoice chosen{ClientScreenChoice::Kind::Size, QSize(1366, 768)};
    {
        zq::TForm1 form(dialogs);
        QVERIFY(!form.preview()->canvas()->clientScreen());
        // The preview's menu carries the zoom commands and the screens.
        QVERIFY(form.viewMenu()->actions().contains(form.clientScreens().menu()->menuAction()));
        QAction *entry = form.clientScreens().entry(chosen);
        QVERIFY(entry);
        entry->trigger();
        QCOMPARE(form.preview()->canvas()->clientScreenChoice(), chosen);
    }
    {
        zq::TForm1 form(dialogs);
        QCOMPARE(form.preview()->canvas()->clientScreenChoice(), chosen);
        QVERIFY(form.clientScreens().entry(chosen)->isChecked());
        const ClientScreenChoice background{ClientScreenChoice::Kind::Background, {}};
        form.clientScreens().entry(background)->trigger();
    }
    zq::TForm1 form(dialogs);
    QCOMPARE(form.preview()->canvas()->clientScreenChoice().kind, ClientScreenChoice::Kind::Background);
}

QTEST_MAIN(ClientScreenTest)
#include "client_screen_test.moc"
