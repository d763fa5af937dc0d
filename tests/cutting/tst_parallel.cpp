// The sharing of a job among the cores: every piece done once, in its own
// slot, whatever the number of threads; the helper's jobs done before the
// caller goes on, on a thread of its own when there is more than one core.
#include "cutting/Parallel.h"

#include <QtTest>

#include <algorithm>
#include <set>
#include <thread>
#include <vector>

class TstParallel : public QObject
{
    Q_OBJECT
private slots:
    void forEachOnce_data();
    void forEachOnce();
    void helperRounds_data();
    void helperRounds();
};

void TstParallel::forEachOnce_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("none") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("fewer than the cores, likely") << 3;
    QTest::newRow("many") << 100000;
}

void TstParallel::forEachOnce()
{
    QFETCH(int, count);
    std::vector<int> done(size_t(count), 0);
    Parallel::forEach(size_t(count), [&](size_t i, int) { ++done[i]; });
    QCOMPARE(std::count(done.begin(), done.end(), 1), qsizetype(count));
}

void TstParallel::helperRounds_data()
{
    QTest::addColumn<int>("rounds");
    QTest::addColumn<int>("work"); // steps of busy work in each job
    QTest::newRow("many short jobs") << 20000 << 10;
    QTest::newRow("fewer longer jobs") << 200 << 20000;
}

// Each round's two jobs write their own slots; the caller reads both right
// after both() returns, so a job still running would show as a slot short.
void TstParallel::helperRounds()
{
    QFETCH(int, rounds);
    QFETCH(int, work);
    std::vector<long> mine(size_t(rounds), 0), theirs(size_t(rounds), 0);
    std::set<std::thread::id> helperThreads;
    const std::thread::id caller = std::this_thread::get_id();
    {
        Parallel::Helper helper;
        for (int r = 0; r < rounds; ++r) {
            auto busy = [&](std::vector<long> &into) {
                long sum = 0;
                for (int k = 0; k < work; ++k)
                    sum += (r + k) % 7;
                into[size_t(r)] = sum + 1;
            };
            helper.both([&] { busy(mine); },
                        [&] {
                            busy(theirs);
                            helperThreads.insert(std::this_thread::get_id());
                        });
            QVERIFY2(mine[size_t(r)] > 0 && mine[size_t(r)] == theirs[size_t(r)],
                     qPrintable(QStringLiteral("round %1").arg(r)));
        }
    }
    QCOMPARE(int(helperThreads.size()), 1);
    QCOMPARE(*helperThreads.begin() == caller, Parallel::threads() == 1);
}

QTEST_GUILESS_MAIN(TstParallel)
#include "tst_parallel.moc"
