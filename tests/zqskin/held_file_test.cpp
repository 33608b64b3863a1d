// A save while another program holds a file of the skin open: Windows refuses to replace that
// file. zqskin must say which file, and the skin must stay exactly as it was.

#include "skin_files.h"
#include "support/held_file.h"
#include "zqskin_run.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace zqtest;

TEST(HeldFile, ASaveRefusedByAHeldFileNamesItAndKeepsTheWholeSkin)
{
    using Sharing = HeldFile::Sharing;
    struct Case {
        const char *held;
        Sharing sharing;
        QStringList edit;
    };
    // Held sharing reading, the skin opens and only the replace is refused: the background is
    // replaced last, a page picture in the middle, the layout first. Held sharing nothing, not
    // even the open can read it.
    const Case cases[] = {
        {"zqLOCKPIC.jpg", Sharing::Reading, {"set", "", "登陆", "--at", "10,20"}},
        {"zqFILed.bmp", Sharing::Reading, {"box", "", "用户名", "--rect", "12,13,200,31"}},
        {"ZqCSkin.ini", Sharing::Reading, {"set", "", "管理", "--at", "30,40"}},
        {"zqLOCKPIC.jpg", Sharing::Nothing, {"set", "", "登陆", "--at", "10,20"}},
    };
    const bool readOnlyHoldsRefuse = !runningUnderWine();
    for (const Case &c : cases) {
        const std::string label =
            std::string(c.held) + (c.sharing == Sharing::Reading ? " shared for reading" : " not shared");
        if (c.sharing == Sharing::Reading && !readOnlyHoldsRefuse) {
            std::printf("%s: left out: Wine replaces a file held open for reading\n", label.c_str());
            continue;
        }
        SampleSkinCopy skin;
        QStringList arguments = c.edit;
        arguments[1] = skin.dir.path();
        const auto before = snapshot(skin);
        Outcome outcome;
        {
            HeldFile hold(skin.path(c.held), c.sharing);
            if (!hold.held())
                GTEST_SKIP() << "only Windows refuses to replace a file that another program holds";
            outcome = zqskin(arguments);
        }
        EXPECT_NE(outcome.status, 0) << label;
        EXPECT_TRUE(outcome.err.contains(c.held)) << label << ": " << outcome.err.toStdString();
        EXPECT_EQ(snapshot(skin), before) << label;
        EXPECT_EQ(QDir(skin.dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
                  qsizetype(std::size(sampleFiles)))
            << label << ": files left beside the skin";
        // Once the file is free again the same edit saves.
        EXPECT_EQ(zqskin(arguments).status, 0) << label;
        EXPECT_NE(snapshot(skin), before) << label;
    }
}
