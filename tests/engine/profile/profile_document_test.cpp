#include "profile/profile_document.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

using zq::ProfileDocument;

namespace {

QByteArray edited(const QByteArray &before, const char *section, const char *key, const char *value)
{
    ProfileDocument document(before);
    document.setValue(section, key, value);
    return document.bytes();
}

} // namespace

TEST(ProfileDocument, NamesMatchWithoutRegardToCase)
{
    const ProfileDocument document("[NORMAL]\nFIL1LEFT=0.25\n");
    EXPECT_EQ(document.value("Normal", "fil1left"), "0.25");
    EXPECT_EQ(document.value("normal", "Fil1Left"), "0.25");
    EXPECT_EQ(edited("[NORMAL]\nFIL1LEFT=0.25\n", "Normal", "Fil1left", "0.5"), "[NORMAL]\nFIL1LEFT=0.5\n");
}

TEST(ProfileDocument, ValuesAreTrimmedAndUnquoted)
{
    const ProfileDocument document(
        "[S]\n  a  =  1 2  \nb=\"x y\"\nc='z'\nd=\"unmatched'\ne=\"\n\tf\t=\t7\t\n");
    EXPECT_EQ(document.value("S", "a"), "1 2");
    EXPECT_EQ(document.value("S", "b"), "x y");
    EXPECT_EQ(document.value("S", "c"), "z");
    EXPECT_EQ(document.value("S", "d"), "\"unmatched'");
    EXPECT_EQ(document.value("S", "e"), "\"");
    EXPECT_EQ(document.value("S", "f"), "7");
}

TEST(ProfileDocument, MissingPiecesReadEmpty)
{
    const ProfileDocument document("[S]\na=1\nb=\n[T]\n");
    EXPECT_EQ(document.value("S", "b"), "");
    EXPECT_EQ(document.value("S", "c"), "");
    EXPECT_EQ(document.value("T", "a"), "");
    EXPECT_EQ(document.value("U", "a"), "");
    EXPECT_EQ(ProfileDocument().value("S", "a"), "");
}

TEST(ProfileDocument, FirstOfDuplicatesWins)
{
    const QByteArray text = "[S]\na=1\nA=2\n[s]\na=3\nz=4\n";
    const ProfileDocument document(text);
    EXPECT_EQ(document.value("S", "a"), "1");
    EXPECT_EQ(document.value("S", "z"), ""); // only the first section counts
    EXPECT_EQ(edited(text, "S", "a", "9"), "[S]\na=9\nA=2\n[s]\na=3\nz=4\n");
}

TEST(ProfileDocument, OtherLinesAreKeptAndIgnored)
{
    const QByteArray text = "; made by hand\r\n\r\n[S]\r\n;a=5\r\nnot a pair\r\n[broken\r\na=1\r\n";
    const ProfileDocument document(text);
    EXPECT_EQ(document.value("S", ";a"), "");
    EXPECT_EQ(document.value("S", "a"), "1"); // a header without "]" does not end the section
    EXPECT_EQ(document.bytes(), text);
    EXPECT_EQ(edited(text, "S", "a", "2"),
              "; made by hand\r\n\r\n[S]\r\n;a=5\r\nnot a pair\r\n[broken\r\na=2\r\n");
}

TEST(ProfileDocument, LongValuesAreCutAt2047Characters)
{
    const QByteArray longValue(3000, '7');
    const ProfileDocument document("[S]\na=" + longValue + "\n");
    EXPECT_EQ(document.value("S", "a"), longValue.left(2047));
}

TEST(ProfileDocument, ReplacementKeepsTheKeySpellingAndLineEnding)
{
    EXPECT_EQ(edited("[S]\r\nKey = old value\r\nnext=1", "s", "KEY", "new"), "[S]\r\nKey =new\r\nnext=1");
}

TEST(ProfileDocument, MissingKeyGoesAfterTheSectionsLastKey)
{
    EXPECT_EQ(edited("[S]\r\na=1\r\n\r\n; about T\r\n[T]\r\nb=2\r\n", "S", "c", "3"),
              "[S]\r\na=1\r\nc=3\r\n\r\n; about T\r\n[T]\r\nb=2\r\n");
    EXPECT_EQ(edited("[S]\n[T]\n", "S", "c", "3"), "[S]\nc=3\n[T]\n");
    EXPECT_EQ(edited("[S]\na=1", "S", "c", "3"), "[S]\na=1\nc=3\n");
}

TEST(ProfileDocument, MissingSectionIsAppendedWithTheFilesLineEndings)
{
    EXPECT_EQ(edited("[S]\na=1\n", "T", "b", "2"), "[S]\na=1\n[T]\nb=2\n");
    EXPECT_EQ(edited("[S]\r\na=1", "T", "b", "2"), "[S]\r\na=1\r\n[T]\r\nb=2\r\n");
}

TEST(ProfileDocument, ANewFileIsWrittenInWriteOrderWithCrlf)
{
    ProfileDocument document;
    document.setValue("Normal", "log1left", "0");
    document.setValue("PageLog", "logbox1left", "1");
    document.setValue("Normal", "log1Top", "2");
    document.setValue("PageLog", "logbox1Top", "3");
    EXPECT_EQ(document.bytes(),
              "[Normal]\r\nlog1left=0\r\nlog1Top=2\r\n[PageLog]\r\nlogbox1left=1\r\nlogbox1Top=3\r\n");
}

TEST(ProfileDocument, NonAsciiNamesMatchOnlyExactly)
{
    // Letters of other code pages are not folded; only ASCII ignores case.
    const ProfileDocument document("[S]\n\xC9=1\n");
    EXPECT_EQ(document.value("S", "\xC9"), "1");
    EXPECT_EQ(document.value("S", "\xE9"), "");
}
