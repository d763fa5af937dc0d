// The folders stack in one direction: a folder includes only from the
// folders below it. Read from the sources themselves, so a new upward
// include fails here rather than in a later untangling.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace
{

// Height of each folder; equal heights may not use each other either.
const QHash<QString, int> &heights()
{
    static const QHash<QString, int> h{
        {QStringLiteral("ui"), 0},        {QStringLiteral("numbers"), 1},
        {QStringLiteral("profiles"), 2},  {QStringLiteral("geometry"), 3},
        {QStringLiteral("render"), 4},    {QStringLiteral("cutting"), 5},
        {QStringLiteral("drawing"), 6},   {QStringLiteral("catalogue"), 6},
        {QStringLiteral("hybrid"), 7},    {QStringLiteral("app"), 8},
    };
    return h;
}

// "app/sprites" belongs to "app".
QString topFolder(const QString &path)
{
    return path.section(QLatin1Char('/'), 0, 0);
}

} // namespace

class TestLayers : public QObject
{
    Q_OBJECT

private slots:
    void includesPointDown_data()
    {
        QTest::addColumn<QString>("folder");
        for (auto it = heights().cbegin(); it != heights().cend(); ++it)
            QTest::newRow(qPrintable(it.key())) << it.key();
    }

    void includesPointDown()
    {
        QFETCH(QString, folder);
        const QString root = QStringLiteral(NERVURIA_SOURCE_DIR) + QLatin1Char('/');
        const QRegularExpression include(QStringLiteral("^#include \"([a-z]+)/[^\"]+\""),
                                         QRegularExpression::MultilineOption);
        const int own = heights().value(folder);
        int files = 0;
        QStringList wrong;
        QDirIterator it(root + folder, {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            ++files;
            const QString text = QString::fromUtf8(file.readAll());
            for (auto m = include.globalMatch(text); m.hasNext();) {
                const QString target = topFolder(m.next().captured(1));
                if (target == folder || !heights().contains(target))
                    continue;
                if (heights().value(target) >= own)
                    wrong << path.mid(root.size()) + QStringLiteral(" -> ") + target;
            }
        }
        QVERIFY2(files > 0, qPrintable(folder));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("\n"))));
    }
};

QTEST_GUILESS_MAIN(TestLayers)
#include "tst_layers.moc"
