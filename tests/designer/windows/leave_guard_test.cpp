// Unsaved edits are never lost without the user's word: every way of setting the skin aside
// asks 保存更改 while the skin has unsaved changes, and each answer does what it says.

#include "document/skin_workspace.h"
#include "editing/layout_editor.h"
#include "fixtures/designer_fixture.h"
#include "view/preview_window.h"
#include "windows/control_window.h"
#include "windows/text_constants.h"

#include <QDir>
#include <QPushButton>
#include <QTest>

#include <cmath>

using zq::Element;
using zq::SaveChoice;

namespace {

// How the skin is set aside.
enum class Way { OpenButton, OpenKey, NewButton, NewKey, DropSkin, CloseButton, WindowClose, SessionEnd };

// How the question is answered; Unchanged: there are no unsaved changes, so nothing asks.
enum class Answer { Cancel, Discard, Save, SaveFails, Unchanged };

const QString kStar = QStringLiteral(" *");

} // namespace

Q_DECLARE_METATYPE(Way)
Q_DECLARE_METATYPE(Answer)

class LeaveGuardTest : public QObject {
    Q_OBJECT
private slots:
    void everyWayOfLeavingAsksFirst_data();
    void everyWayOfLeavingAsksFirst();
    void aSessionThatMayNotAskEndsWithoutAQuestion();
};

void LeaveGuardTest::everyWayOfLeavingAsksFirst_data()
{
    QTest::addColumn<Way>("way");
    QTest::addColumn<Answer>("answer");
    const std::pair<Way, const char *> ways[] = {
        {Way::OpenButton, "打开皮肤"},       {Way::OpenKey, "Ctrl+O"},
        {Way::NewButton, "新建皮肤"},        {Way::NewKey, "Ctrl+N"},
        {Way::DropSkin, "skin dropped"},     {Way::CloseButton, "关闭"},
        {Way::WindowClose, "window closed"}, {Way::SessionEnd, "session ends"}};
    const std::pair<Answer, const char *> answers[] = {{Answer::Cancel, "取消"},
                                                       {Answer::Discard, "不保存"},
                                                       {Answer::Save, "保存"},
                                                       {Answer::SaveFails, "保存 fails"},
                                                       {Answer::Unchanged, "nothing unsaved"}};
    for (const auto &[way, wayName] : ways)
        for (const auto &[answer, answerName] : answers)
            QTest::addRow("%s, %s", wayName, answerName) << way << answer;
}

void LeaveGuardTest::everyWayOfLeavingAsksFirst()
{
    QFETCH(Way, way);
    QFETCH(Answer, answer);
    SkinCopy skin, other;
    QVERIFY(skin.isValid() && other.isValid());
    ControlHarness h;
    h.open(skin.layout());
    QCOMPARE(h.workspace().state(), zq::SkinWorkspace::State::SkinOpen);
    QVERIFY(QTest::qWaitForWindowExposed(h.preview()));

    // An unsaved edit: the 登陆 tab three pixels to the right, by keys.
    zq::TImageButtonA *logTab = h.element(Element::LogTab);
    const QPoint moved = h.panel(Element::LogTab)->pos() + QPoint(3, 0);
    if (answer != Answer::Unchanged) {
        h.form->editor().select(h.panel(Element::LogTab));
        for (int i = 0; i < 3; ++i)
            h.key(Qt::Key_Right);
        QCOMPARE(h.panel(Element::LogTab)->pos(), moved);
        QVERIFY(h.form->windowTitle().endsWith(kStar));
    }
    const int edits = h.undo().count();
    if (answer == Answer::SaveFails) {
        // A folder where a picture should be: no one can write there, not even root.
        QVERIFY(QFile::remove(skin.path(QStringLiteral("zqLOG.bmp"))));
        QVERIFY(QDir().mkdir(skin.path(QStringLiteral("zqLOG.bmp"))));
    }
    skin.ageFiles();
    h.nextAnswer = answer == Answer::Cancel    ? SaveChoice::Cancel
                   : answer == Answer::Discard ? SaveChoice::Discard
                                               : SaveChoice::Save;
    h.nextLayout = other.layout();
    h.nextNewSkin = other.layout();

    bool sessionGoesOn = true;
    switch (way) {
    case Way::OpenButton:
        QTest::mouseClick(h.form->Button1(), Qt::LeftButton);
        break;
    case Way::OpenKey:
        h.key(Qt::Key_O, Qt::ControlModifier);
        break;
    case Way::NewButton:
        QTest::mouseClick(h.form->Button6(), Qt::LeftButton);
        break;
    case Way::NewKey:
        h.key(Qt::Key_N, Qt::ControlModifier);
        break;
    case Way::DropSkin:
        QVERIFY(dropFiles(h.window(), QPoint(5, 5), {other.folder()}));
        break;
    case Way::CloseButton:
        QTest::mouseClick(h.form->Button2(), Qt::LeftButton);
        break;
    case Way::WindowClose:
        h.window()->close();
        break;
    case Way::SessionEnd:
        sessionGoesOn = h.form->sessionMayEnd(true);
        break;
    }

    const bool asked = answer != Answer::Unchanged;
    const bool goesOn = answer == Answer::Discard || answer == Answer::Save || answer == Answer::Unchanged;
    QCOMPARE(h.questions, asked ? 1 : 0);
    // Only a failed save is an error, and it names the file that failed.
    QCOMPARE(h.errors.size(), answer == Answer::SaveFails ? 1 : 0);
    if (answer == Answer::SaveFails)
        QVERIFY2(h.errors[0].contains(QStringLiteral("zqLOG.bmp")), qPrintable(h.errors[0]));

    // What the way of leaving does next, and only when it may.
    switch (way) {
    case Way::OpenButton:
    case Way::OpenKey:
        QCOMPARE(h.layoutDialogRuns, goesOn ? 2 : 1);
        break;
    case Way::NewButton:
    case Way::NewKey:
        QCOMPARE(h.newSkinRuns, goesOn ? 1 : 0);
        break;
    case Way::DropSkin:
        break;
    case Way::CloseButton:
    case Way::WindowClose:
        QCOMPARE(h.preview()->isVisible(), !goesOn);
        QCOMPARE(h.form->isVisible(), !goesOn);
        break;
    case Way::SessionEnd:
        QCOMPARE(sessionGoesOn, goesOn);
        break;
    }
    const bool opensOther = way != Way::CloseButton && way != Way::WindowClose && way != Way::SessionEnd;
    if (opensOther) {
        QCOMPARE(h.workspace().layoutPath(), goesOn ? other.layout() : skin.layout());
        if (goesOn) {
            // The other skin, with nothing to undo.
            QCOMPARE(h.undo().count(), 0);
            QVERIFY(!h.form->windowTitle().endsWith(kStar));
        }
    }
    if (!goesOn) {
        // Back to the skin untouched: its element, its place, its edits, its caption.
        QCOMPARE(h.element(Element::LogTab), logTab);
        QCOMPARE(h.panel(Element::LogTab)->pos(), moved);
        QCOMPARE(h.undo().count(), edits);
        QVERIFY(h.form->windowTitle().endsWith(kStar));
    }

    // The skin's files: all eight after 保存, none otherwise. A save that fails at the blocked
    // picture replaces none of them, not even the layout before it in the save's order.
    const QStringList written = answer == Answer::Save ? kSaveOrder : QStringList();
    QCOMPARE(skin.writtenFiles(), written);
    if (answer == Answer::Save)
        QCOMPARE(int(std::trunc(skin.value(QStringLiteral("Normal"), QStringLiteral("log1left")).toDouble() *
                                1920)),
                 moved.x());
}

void LeaveGuardTest::aSessionThatMayNotAskEndsWithoutAQuestion()
{
    SkinCopy skin;
    QVERIFY(skin.isValid());
    ControlHarness h;
    h.open(skin.layout());
    QVERIFY(QTest::qWaitForWindowExposed(h.preview()));
    h.form->editor().select(h.panel(Element::ManTab));
    h.key(Qt::Key_Down);
    QCOMPARE(h.undo().count(), 1);
    skin.ageFiles();
    QVERIFY(h.form->sessionMayEnd(false));
    QCOMPARE(h.questions, 0);
    QCOMPARE(skin.writtenFiles(), QStringList());

    // 不保存 at the session's end lets the edits go: the close that follows asks no more,
    // unless the skin was edited again in between.
    h.nextAnswer = SaveChoice::Discard;
    QVERIFY(h.form->sessionMayEnd(true));
    QCOMPARE(h.questions, 1);
    h.key(Qt::Key_Down);
    h.nextAnswer = SaveChoice::Cancel;
    QTest::mouseClick(h.form->Button2(), Qt::LeftButton);
    QCOMPARE(h.questions, 2);
    QVERIFY(h.preview()->isVisible());

    h.nextAnswer = SaveChoice::Discard;
    QVERIFY(h.form->sessionMayEnd(true));
    QCOMPARE(h.questions, 3);
    QTest::mouseClick(h.form->Button2(), Qt::LeftButton);
    QCOMPARE(h.questions, 3);
    QVERIFY(!h.preview()->isVisible());
    QCOMPARE(skin.writtenFiles(), QStringList());
}

QTEST_MAIN(LeaveGuardTest)
#include "leave_guard_test.moc"
