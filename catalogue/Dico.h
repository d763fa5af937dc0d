#pragma once

#include <QString>
#include <QStringList>

// The collection's index, dico.txt: one entry per line, a reference (the
// file's path below the Airfoils folder, beginning with "\"), a ";" and a
// description.
class Dico
{
public:
    static inline const QString kFileName = QStringLiteral("dico.txt");
    // Bigger than any index; the rest of a larger file is not read.
    static constexpr qint64 kMaxBytes = 16 << 20;

    // Reads the index of startFolder; false when there is none.
    bool load(const QString &startFolder);
    void loadBytes(const QByteArray &bytes);

    // The lines holding the typed text upper-cased, letter case respected on
    // the line's side, in file order. An empty text matches nothing.
    QStringList search(const QString &typed) const;

    // The text after the first ";" (the whole line when it has none).
    static QString description(const QString &line);
    // The text before the first ";".
    static QString reference(const QString &line);
    // The real path of a line's file below airfoilsFolder; empty when the
    // reference climbs out of it.
    static QString filePath(const QString &airfoilsFolder, const QString &line);

    QStringList lines;
};
