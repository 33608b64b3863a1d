#include "profile/profile_document.h"

#include "platform/line_ending.h"

#include <algorithm>
#include <limits>

namespace zq {

namespace {

// Names are ASCII; bytes of other code pages must match exactly.
bool sameName(QByteArrayView a, QByteArrayView b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

// The name inside "[name]", or nothing when the line is no section header.
bool sectionName(QByteArrayView line, QByteArrayView &name)
{
    line = line.trimmed();
    if (!line.startsWith('['))
        return false;
    const qsizetype close = line.lastIndexOf(']');
    if (close < 0)
        return false;
    name = line.sliced(1, close - 1).trimmed();
    return true;
}

// Splits "key=value"; false for headers, comments and lines without "=".
bool keyLine(QByteArrayView line, QByteArrayView &key, QByteArrayView &value)
{
    const QByteArrayView trimmed = line.trimmed();
    if (trimmed.startsWith('[') || trimmed.startsWith(';'))
        return false;
    const qsizetype equals = line.indexOf('=');
    if (equals < 0)
        return false;
    key = line.first(equals).trimmed();
    value = line.sliced(equals + 1).trimmed();
    return true;
}

} // namespace

ProfileDocument::ProfileDocument(const QByteArray &bytes)
    : source_(bytes)
{
    lines_.reserve(std::size_t(bytes.count('\n')) + 1);
    const auto add = [this](qsizetype start, qsizetype length, Ending ending) {
        if (length > qsizetype(std::numeric_limits<quint32>::max()))
            lines_.push_back(ownedLine(source_.sliced(start, length), ending));
        else
            lines_.push_back({start, quint32(length), ending, false});
    };
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        if (newline < 0) {
            add(start, bytes.size() - start, Ending::None);
            break;
        }
        const bool crlf = newline > start && bytes[newline - 1] == '\r';
        const qsizetype textEnd = crlf ? newline - 1 : newline;
        add(start, textEnd - start, crlf ? Ending::CrLf : Ending::Lf);
        start = newline + 1;
    }
}

QByteArrayView ProfileDocument::text(const Line &line) const
{
    if (line.owned)
        return owned_[std::size_t(line.start)];
    return QByteArrayView(source_).sliced(line.start, line.length);
}

ProfileDocument::Line ProfileDocument::ownedLine(QByteArray text, Ending ending)
{
    owned_.push_back(std::move(text));
    return {qsizetype(owned_.size() - 1), 0, ending, true};
}

QByteArray ProfileDocument::value(QByteArrayView section, QByteArrayView key) const
{
    const SectionSpan span = findSection(section);
    const qsizetype index = findKey(span, key);
    if (index < 0)
        return {};
    QByteArrayView name, text;
    keyLine(this->text(lines_[static_cast<std::size_t>(index)]), name, text);
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
        text = text.sliced(1, text.size() - 2);
    return text.first(std::min(text.size(), maxValueLength)).toByteArray();
}

void ProfileDocument::setValue(QByteArrayView section, QByteArrayView key, QByteArrayView value)
{
    const SectionSpan span = findSection(section);
    const qsizetype index = findKey(span, key);
    if (index >= 0) {
        // Keep the key as it is spelled in the file; only the value changes.
        Line &line = lines_[static_cast<std::size_t>(index)];
        const QByteArrayView old = text(line);
        line = ownedLine(old.first(old.indexOf('=') + 1).toByteArray() + value.toByteArray(), line.ending);
        return;
    }
    const Ending ending = newLineEnding();
    const QByteArray entry = key.toByteArray() + '=' + value.toByteArray();
    if (span.header < 0) {
        endLastLine();
        lines_.push_back(ownedLine('[' + section.toByteArray() + ']', ending));
        lines_.push_back(ownedLine(entry, ending));
        return;
    }
    // After the section's last key, so comments heading the next section stay with it.
    qsizetype after = span.header;
    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        QByteArrayView name, text;
        if (keyLine(this->text(lines_[static_cast<std::size_t>(i)]), name, text))
            after = i;
    }
    if (after == static_cast<qsizetype>(lines_.size()) - 1)
        endLastLine();
    const Line added = ownedLine(entry, ending);
    lines_.insert(lines_.begin() + after + 1, added);
}

QByteArray ProfileDocument::bytes() const
{
    qsizetype size = 0;
    for (const Line &line : lines_)
        size += text(line).size() + 2;
    QByteArray result;
    result.reserve(size);
    for (const Line &line : lines_) {
        result += text(line);
        if (line.ending == Ending::CrLf)
            result += "\r\n";
        else if (line.ending == Ending::Lf)
            result += '\n';
    }
    return result;
}

ProfileDocument::SectionSpan ProfileDocument::findSection(QByteArrayView section) const
{
    SectionSpan span;
    const auto count = static_cast<qsizetype>(lines_.size());
    for (qsizetype i = 0; i < count; ++i) {
        QByteArrayView name;
        if (!sectionName(text(lines_[static_cast<std::size_t>(i)]), name))
            continue;
        if (span.header >= 0) {
            span.end = i;
            return span;
        }
        if (sameName(name, section))
            span.header = i;
    }
    span.end = count;
    return span;
}

qsizetype ProfileDocument::findKey(const SectionSpan &span, QByteArrayView key) const
{
    if (span.header < 0)
        return -1;
    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        QByteArrayView name, text;
        if (keyLine(this->text(lines_[static_cast<std::size_t>(i)]), name, text) && sameName(name, key))
            return i;
    }
    return -1;
}

ProfileDocument::Ending ProfileDocument::newLineEnding() const
{
    // New lines follow the file's own endings.
    for (const Line &line : lines_)
        if (line.ending != Ending::None)
            return line.ending;
    return platform::newProfileLineEnding() == QByteArrayView("\r\n") ? Ending::CrLf : Ending::Lf;
}

void ProfileDocument::endLastLine()
{
    if (!lines_.empty() && lines_.back().ending == Ending::None)
        lines_.back().ending = newLineEnding();
}

} // namespace zq
