#include "catalogue/ProfileAdder.h"

#include "catalogue/AirfoilFile.h"
#include "catalogue/CatalogueTexts.h"
#include "profiles/ProfileStore.h"
#include "ui/Prompts.h"

#include <QCollator>
#include <QLocale>

#include <cmath>

QChar ProfileAdder::regionalDecimalPoint()
{
    const QString point = QLocale().decimalPoint();
    return point == QLatin1String(",") ? QLatin1Char(',') : QLatin1Char('.');
}

QString ProfileAdder::percentText(double fraction, QChar decimalPoint)
{
    // Written here rather than by the locale, which may group digits or use
    // a sign the database reader does not know.
    const double percent = fraction * 100.0;
    QString text = QString::number(percent, 'f', 2);
    if (text == QLatin1String("-0.00"))
        text.remove(0, 1);
    text.replace(QLatin1Char('.'), decimalPoint);
    return text;
}

int ProfileAdder::leadingEdgeIndex(const double *x, const double *y, int count)
{
    int leadingEdge = 0;
    for (int i = 0; i < count; ++i) {
        if (x[i] == 0.0 && y[i] == 0.0)
            leadingEdge = i;
    }
    return leadingEdge;
}

QStringList ProfileAdder::pairedPointLines(const double *x, const double *y, int count,
                                           QChar decimalPoint)
{
    QStringList lines;
    if (count <= 0)
        return lines;
    const QLatin1Char semi(';');
    auto line = [&](int u, int l) {
        lines << percentText(x[u], decimalPoint) + semi + percentText(y[u], decimalPoint) + semi +
                     percentText(x[l], decimalPoint) + semi + percentText(y[l], decimalPoint) +
                     semi;
    };
    const int last = count - 1;
    int u = leadingEdgeIndex(x, y, count);
    int l = u;
    line(u, l);
    while (u > 0 && l < last)
        line(--u, ++l);
    while (u > 0)
        line(--u, l);
    while (l < last)
        line(u, ++l);
    return lines;
}

namespace
{

// A stored profile that adding under this name would replace: the store
// compares names without regard to letter case.
bool nameTaken(const ProfileStore &store, const QString &name)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const QStringList names = store.names();
    for (const QString &stored : names) {
        if (collator.compare(stored, name) == 0)
            return true;
    }
    return false;
}

} // namespace

ProfileAdder::Outcome ProfileAdder::add(ProfileStore &store, AirfoilFile &file,
                                        const QString &entryText, const QString &shownFileName,
                                        QChar decimalPoint)
{
    Prompts &prompts = Prompts::current();

    // Without a file on show there is nothing exact to store.
    bool faulty = true;
    if (!file.currentFile.isEmpty()) {
        AirfoilFile disk;
        QString error;
        switch (disk.read(file.currentFile, &error)) {
        case AirfoilFile::ReadStatus::Read:
            break;
        case AirfoilFile::ReadStatus::Missing:
            prompts.message(CatalogueTexts::fileNotFound(file.currentFile));
            return Outcome::Refused;
        case AirfoilFile::ReadStatus::FileError:
            prompts.message(CatalogueTexts::fileError(file.currentFile, error));
            return Outcome::Refused;
        case AirfoilFile::ReadStatus::TooLarge:
            prompts.message(CatalogueTexts::tooLarge());
            return Outcome::Refused;
        case AirfoilFile::ReadStatus::TooManyRows:
            prompts.message(CatalogueTexts::tooManyRows());
            return Outcome::Refused;
        }
        faulty = disk.checkAfterRead();
        if (faulty && file.hasPendingCorrections()) {
            // Corrected on screen only. Reading the disk back would throw the
            // corrections away; when they would pass, the user only has to
            // write them first.
            AirfoilFile corrected = file;
            const bool correctedPasses = !corrected.checkAfterRead() && corrected.complete;
            prompts.message(correctedPasses ? CatalogueTexts::writeBackFirst()
                                            : CatalogueTexts::refuseFaulty());
            return Outcome::NotWrittenBack;
        }
        file = std::move(disk);
    }
    // Any remark refuses, a leading-edge warning included: what is stored
    // must be exactly what the file holds. An unreadable row would otherwise
    // be stored as a made-up value.
    if (faulty) {
        prompts.message(CatalogueTexts::refuseFaulty());
        return Outcome::Refused;
    }

    const QString name = file.title().toUpper();
    const bool duplicate = store.FindProfile(entryText) >= 0 || nameTaken(store, name);
    if (duplicate) {
        if (prompts.confirm(CatalogueTexts::duplicateQuestion()))
            return Outcome::Cancelled;
    } else if (!prompts.confirm(CatalogueTexts::addQuestion(shownFileName))) {
        return Outcome::Cancelled;
    }

    const int position = store.AddProfile(name);
    const QStringList lines =
        pairedPointLines(file.pointX.data(), file.pointY.data(), file.pointCount, decimalPoint);
    for (const QString &line : lines)
        store.AddPointLine(position, line);
    store.FillProfileCombo();
    store.setSaveEnabled(true);
    return Outcome::Added;
}
