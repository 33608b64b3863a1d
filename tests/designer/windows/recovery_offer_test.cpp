// Unsaved edits outlive a designer that dies: a new run on the same skin offers them back.

#include "document/recovery_keeper.h"
#include "editing/layout_editor.h"
#include "fixtures/designer_fixture.h"
#include "recovery/recovery_store.h"

#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using zq::Element;

namespace {

// How the first run ends, and what the second run's question is answered.
enum class Ending {
    KilledRecovered,
    EndedAtOnceRecovered,
    SavedElsewhereRecovered,  // the skin's files saved again after the copy was made
    BackgroundResizedDropped, // the copy no longer fits
    KilledDiscarded,
    SavedThenKilled,
    KilledUnchanged
};

const QString kStar = QStringLiteral(" *");

} // namespace

Q_DECLARE_METATYPE(Ending)

class RecoveryOfferTest : public QObject {
    Q_OBJECT
private slots:
    void aNewRunOffersWhatTheLastOneLeftUnsaved_data();
    void aNewRunOffersWhatTheLastOneLeftUnsaved();
};

void RecoveryOfferTest::aNewRunOffersWhatTheLastOneLeftUnsaved_data()
{
    QTest::addColumn<Ending>("ending");
    QTest::newRow("killed after two edits, 恢复") << Ending::KilledRecovered;
    QTest::newRow("ended right after two edits, 恢复") << Ending::EndedAtOnceRecovered;
    QTest::newRow("killed, skin saved elsewhere, 恢复") << Ending::SavedElsewhereRecovered;
    QTest::newRow("killed, background of another size") << Ending::BackgroundResizedDropped;
    QTest::newRow("killed after two edits, 放弃") << Ending::KilledDiscarded;
    QTest::newRow("saved, then killed") << Ending::SavedThenKilled;
    QTest::newRow("killed with nothing unsaved") << Ending::KilledUnchanged;
}

void RecoveryOfferTest::aNewRunOffersWhatTheLastOneLeftUnsaved()
{
    QFETCH(Ending, ending);
    SkinCopy skin;
    QTemporaryDir data;
    QVERIFY(skin.isValid() && data.isValid());
    const zq::RecoveryStore store(data.path());
    const bool edited = ending != Ending::KilledUnchanged;
    const bool recovered = ending == Ending::KilledRecovered || ending == Ending::EndedAtOnceRecovered ||
                           ending == Ending::SavedElsewhereRecovered;
    const bool dropped = ending == Ending::BackgroundResizedDropped;

    // The first run: two edits, the 登陆 tab three pixels right and the 充值 tab two down.
    const Element tabs[2] = {Element::LogTab, Element::FilTab};
    QPoint onDisk[2];
    QPoint moved[2];
    {
        auto first = std::make_unique<ControlHarness>(data.path());
        first->open(skin.layout());
        QCOMPARE(first->workspace().state(), zq::SkinWorkspace::State::SkinOpen);
        QVERIFY(QTest::qWaitForWindowExposed(first->preview()));
        const QPoint steps[2] = {QPoint(3, 0), QPoint(0, 2)};
        QSignalSpy written(&first->form->recovery(), &zq::RecoveryKeeper::copyWritten);
        for (int i = 0; i < 2; ++i) {
            onDisk[i] = first->panel(tabs[i])->pos();
            moved[i] = onDisk[i] + steps[i];
            if (!edited)
                continue;
            first->form->editor().select(first->panel(tabs[i]));
            for (int n = 0; n < steps[i].manhattanLength(); ++n)
                first->key(steps[i].x() ? Qt::Key_Right : Qt::Key_Down);
            QCOMPARE(first->panel(tabs[i])->pos(), moved[i]);
        }
        if (edited)
            QCOMPARE(first->undo().count(), 2);
        if (edited && ending != Ending::EndedAtOnceRecovered) {
            QTRY_COMPARE_WITH_TIMEOUT(written.count(), 1, 5000);
            QCOMPARE(written.at(0).at(1).toBool(), true);
            QVERIFY(store.find(skin.layout()));
        }
        if (ending == Ending::SavedThenKilled) {
            first->key(Qt::Key_S, Qt::ControlModifier);
            QVERIFY(first->errors.isEmpty());
            QVERIFY(!store.find(skin.layout()));
        }
        // Gone without a word: no question, no close, as when the process is killed or the
        // session ends without leave to ask (which lets the edits not copied yet be copied).
    }

    // Between the runs.
    if (ending == Ending::SavedElsewhereRecovered) {
        zq::SkinDocument elsewhere(skin.layout());
        QVERIFY(elsewhere.open());
        elsewhere.save();
    }
    if (dropped) {
        QImage smaller(800, 600, QImage::Format_RGB32);
        smaller.fill(Qt::darkBlue);
        QVERIFY(smaller.save(skin.path(QStringLiteral("zqLOCKPIC.jpg"))));
    }
    zq::SkinDocument disk(skin.layout());
    QVERIFY(disk.open());
    for (int i = 0; i < 2; ++i)
        onDisk[i] = QPoint(disk.element(tabs[i]).X(), disk.element(tabs[i]).Y());

    // The next run on the same skin.
    ControlHarness next(data.path());
    next.recoveryAnswer = ending == Ending::KilledDiscarded ? QStringLiteral("放弃") : QStringLiteral("恢复");
    next.open(skin.layout());
    QCOMPARE(next.workspace().state(), zq::SkinWorkspace::State::SkinOpen);
    const bool asked = recovered || ending == Ending::KilledDiscarded;
    QCOMPARE(next.recoveryQuestions.size(), asked ? 1 : 0);
    QVERIFY(next.errors.isEmpty());
    QCOMPARE(next.notices.size(), dropped ? 1 : 0);

    const bool shown = recovered || ending == Ending::SavedThenKilled;
    for (int i = 0; i < 2; ++i)
        QCOMPARE(next.panel(tabs[i])->pos(), shown ? moved[i] : onDisk[i]);
    // Recovered edits are unsaved, and their copy stays until they are saved.
    QCOMPARE(next.form->windowTitle().endsWith(kStar), recovered);
    QCOMPARE(store.find(skin.layout()).has_value(), recovered);
    if (!recovered)
        return;

    // One undo takes both edits back, one redo brings them again.
    QVERIFY(QTest::qWaitForWindowExposed(next.preview()));
    next.key(Qt::Key_Z, Qt::ControlModifier);
    for (int i = 0; i < 2; ++i)
        QCOMPARE(next.panel(tabs[i])->pos(), onDisk[i]);
    QVERIFY(!next.form->windowTitle().endsWith(kStar));
    next.key(Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(next.form->windowTitle().endsWith(kStar));

    // A save writes them, and the copy goes.
    next.key(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(next.errors.isEmpty());
    QVERIFY(!next.form->windowTitle().endsWith(kStar));
    QVERIFY(!store.find(skin.layout()));
    zq::SkinDocument saved(skin.layout());
    QVERIFY(saved.open());
    QCOMPARE(QPoint(saved.element(Element::LogTab).X(), saved.element(Element::LogTab).Y()), moved[0]);
    QCOMPARE(QPoint(saved.element(Element::FilTab).X(), saved.element(Element::FilTab).Y()), moved[1]);
}

QTEST_MAIN(RecoveryOfferTest)
#include "recovery_offer_test.moc"
