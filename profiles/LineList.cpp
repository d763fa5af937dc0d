#include "profiles/LineList.h"

#include "profiles/Cp1252.h"

#include <cstring>

LineList::LineList(const QStringList &lines)
{
    m_ends.reserve(size_t(lines.size()));
    for (const QString &line : lines)
        append(line);
}

QStringView LineList::wideLine(qsizetype i) const
{
    const qsizetype start = startOf(i);
    return QStringView(m_wide).mid(start, m_ends[size_t(i)] - start);
}

QString LineList::at(qsizetype i) const
{
    if (i < 0 || i >= size())
        return QString();
    if (m_isWide)
        return wideLine(i).toString();
    const qsizetype start = startOf(i);
    return Cp1252::decode(m_narrow.constData() + start, m_ends[size_t(i)] - start);
}

bool LineList::contains(QStringView line) const
{
    if (m_isWide) {
        for (qsizetype i = 0; i < size(); ++i) {
            if (wideLine(i) == line)
                return true;
        }
        return false;
    }
    QByteArray bytes;
    if (!Cp1252::appendEncoded(line, bytes))
        return false;
    for (qsizetype i = 0; i < size(); ++i) {
        const qsizetype start = startOf(i);
        if (m_ends[size_t(i)] - start == bytes.size() &&
            std::memcmp(m_narrow.constData() + start, bytes.constData(), size_t(bytes.size())) == 0)
            return true;
    }
    return false;
}

void LineList::widen()
{
    m_wide = Cp1252::decode(m_narrow);
    m_narrow = QByteArray();
    m_isWide = true;
}

void LineList::append(QStringView line)
{
    if (!m_isWide) {
        const qsizetype before = m_narrow.size();
        if (Cp1252::appendEncoded(line, m_narrow)) {
            m_ends.push_back(m_narrow.size());
            return;
        }
        m_narrow.truncate(before);
        widen();
    }
    m_wide.append(line);
    m_ends.push_back(m_wide.size());
}

void LineList::appendBytes(const char *data, qsizetype size)
{
    if (m_isWide) {
        const qsizetype start = m_wide.size();
        m_wide.resize(start + size);
        Cp1252::decodeInto(data, size, m_wide.data() + start);
        m_ends.push_back(m_wide.size());
    } else {
        const qsizetype start = m_narrow.size();
        m_narrow.resize(start + size);
        std::memcpy(m_narrow.data() + start, data, size_t(size));
        m_ends.push_back(m_narrow.size());
    }
}

void LineList::replace(qsizetype i, QStringView line)
{
    if (i < 0 || i >= size())
        return;
    // Rebuilt whole: a profile holds a few hundred short lines at most.
    const QStringList lines = toList();
    clear();
    for (qsizetype k = 0; k < lines.size(); ++k)
        append(k == i ? line : QStringView(lines[k]));
}

void LineList::removeAt(qsizetype i)
{
    if (i < 0 || i >= size())
        return;
    QStringList lines = toList();
    lines.removeAt(i);
    clear();
    for (const QString &line : lines)
        append(line);
}

void LineList::clear()
{
    m_narrow = QByteArray();
    m_wide = QString();
    m_isWide = false;
    m_ends.clear();
}

void LineList::reserve(qsizetype lines, qsizetype characters)
{
    m_ends.reserve(size_t(lines));
    if (m_isWide)
        m_wide.reserve(characters);
    else
        m_narrow.reserve(characters);
}

void LineList::squeeze()
{
    if (m_narrow.capacity() > m_narrow.size())
        m_narrow.squeeze();
    if (m_wide.capacity() > m_wide.size())
        m_wide.squeeze();
    if (m_ends.capacity() > m_ends.size())
        m_ends.shrink_to_fit();
}

QStringList LineList::toList() const
{
    QStringList list;
    list.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        list.append(at(i));
    return list;
}

void LineList::writeTo(QByteArray &out) const
{
    for (qsizetype i = 0; i < size(); ++i) {
        const qsizetype start = startOf(i);
        if (m_isWide)
            Cp1252::appendEncoded(wideLine(i), out);
        else
            out.append(m_narrow.constData() + start, m_ends[size_t(i)] - start);
        out.append("\r\n", 2);
    }
}

bool operator==(const LineList &a, const LineList &b)
{
    if (a.size() != b.size())
        return false;
    if (!a.m_isWide && !b.m_isWide)
        return a.m_ends == b.m_ends && a.m_narrow == b.m_narrow;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a.at(i) != b.at(i))
            return false;
    }
    return true;
}

bool operator==(const LineList &a, const QStringList &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a.at(i) != b[i])
            return false;
    }
    return true;
}
