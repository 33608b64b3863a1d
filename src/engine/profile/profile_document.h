#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <vector>

namespace zq {

// The text of a profile (INI) file held in memory, read and changed as the platform's
// profile calls do: section and key names match without regard to case, the first of
// duplicate sections or keys wins, blanks around names and values are trimmed and a value
// in matching quotes is read without them. A change touches only the line of its key (or
// adds one); every other line, and every line ending, stays as it was.
class ProfileDocument {
public:
    static constexpr qsizetype maxValueLength = 2047;

    ProfileDocument() = default;
    explicit ProfileDocument(const QByteArray &bytes);

    // Empty when the section or key is missing.
    QByteArray value(QByteArrayView section, QByteArrayView key) const;
    // Replaces the value in place, or adds the key (and its section) when missing.
    void setValue(QByteArrayView section, QByteArrayView key, QByteArrayView value);

    QByteArray bytes() const;

private:
    // Kept small, a place in the file's text rather than a copy: a file of many empty lines
    // costs little more than its own size. Changed and added lines own their text.
    enum class Ending : char { None, Lf, CrLf }; // None only on a last line without one
    struct Line {
        qsizetype start = 0; // in source_, or the index in owned_
        quint32 length = 0;  // in source_
        Ending ending = Ending::None;
        bool owned = false;
    };
    struct SectionSpan {
        qsizetype header = -1; // line index of the header, -1 when missing
        qsizetype end = 0;     // one past its last line
    };

    SectionSpan findSection(QByteArrayView section) const;
    qsizetype findKey(const SectionSpan &span, QByteArrayView key) const; // -1 when missing
    Ending newLineEnding() const;
    void endLastLine();

    QByteArrayView text(const Line &line) const;
    Line ownedLine(QByteArray text, Ending ending);

    QByteArray source_;
    std::vector<QByteArray> owned_;
    std::vector<Line> lines_;
};

} // namespace zq
