#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <iterator>
#include <vector>

// An ordered list of text lines held back to back in one buffer, with the
// end of each line beside it: a profile's hundred point lines cost two
// allocations instead of a hundred strings. The text is kept in the
// database's code page (Windows-1252), one byte a character, as it is read
// and written; a line with a character the code page lacks turns the list
// to 16-bit characters, so that nothing is lost before the file is written.
// Reading a line gives a new QString: keep it in a variable of its own
// before taking a QStringView of it.
class LineList
{
public:
    LineList() = default;
    LineList(const QStringList &lines); // NOLINT: a list of lines converts both ways

    qsizetype size() const { return qsizetype(m_ends.size()); }
    qsizetype count() const { return size(); }
    qsizetype length() const { return size(); }
    bool isEmpty() const { return m_ends.empty(); }

    QString at(qsizetype i) const;
    QString operator[](qsizetype i) const { return at(i); }
    QString value(qsizetype i) const { return at(i); }
    QString first() const { return at(0); }
    QString last() const { return at(size() - 1); }
    bool contains(QStringView line) const;

    void append(QStringView line);
    LineList &operator<<(QStringView line)
    {
        append(line);
        return *this;
    }
    LineList &operator<<(const QString &line) { return *this << QStringView(line); }
    // Appends a line already in the code page, as read from the file.
    void appendBytes(const char *data, qsizetype size);
    void replace(qsizetype i, QStringView line);
    void removeAt(qsizetype i);
    void clear();
    // Room for lines of so many characters in all, before they come.
    void reserve(qsizetype lines, qsizetype characters);
    // Gives back the room reserved for lines still to come.
    void squeeze();

    QStringList toList() const;
    operator QStringList() const { return toList(); } // NOLINT
    // Appends every line, each followed by CR LF, in the code page.
    void writeTo(QByteArray &out) const;
    // Characters of all lines together, line ends not counted.
    qsizetype textSize() const { return m_ends.empty() ? 0 : m_ends.back(); }

    class const_iterator
    {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = QString;
        using difference_type = qsizetype;
        using pointer = void;
        using reference = QString;

        const_iterator(const LineList *list, qsizetype i) : m_list(list), m_i(i) {}
        QString operator*() const { return m_list->at(m_i); }
        const_iterator &operator++()
        {
            ++m_i;
            return *this;
        }
        bool operator==(const const_iterator &o) const { return m_i == o.m_i; }
        bool operator!=(const const_iterator &o) const { return m_i != o.m_i; }

    private:
        const LineList *m_list;
        qsizetype m_i;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }
    const_iterator constBegin() const { return begin(); }
    const_iterator constEnd() const { return end(); }

    friend bool operator==(const LineList &a, const LineList &b);
    friend bool operator==(const LineList &a, const QStringList &b);
    friend bool operator==(const QStringList &a, const LineList &b) { return b == a; }
    friend bool operator!=(const LineList &a, const LineList &b) { return !(a == b); }
    friend bool operator!=(const LineList &a, const QStringList &b) { return !(a == b); }
    friend bool operator!=(const QStringList &a, const LineList &b) { return !(b == a); }

private:
    qsizetype startOf(qsizetype i) const { return i == 0 ? 0 : m_ends[size_t(i - 1)]; }
    QStringView wideLine(qsizetype i) const;
    void widen();

    QByteArray m_narrow;
    QString m_wide;
    bool m_isWide = false;
    std::vector<qsizetype> m_ends;
};
