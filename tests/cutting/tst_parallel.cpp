// The helper thread of a run of short jobs: each job done before the caller
// goes on, by the helper or, not yet taken up, by the caller.
#include "cutting/Parallel.h"

#include <QtTest>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

class TstParallel : public QObject
{
    Q_OBJECT
private slots:
    void helperRounds_data();
    void helperRounds();
};

void TstParallel::helperRounds_data()
{
    QTest::addColumn<int>("rounds");
    QTest::addColumn<int>("work"); // steps of busy work in each job
    QTest::addColumn<bool>("overlap"); // mine waits for theirs to start
    QTest::newRow("many short jobs") << 20000 << 10 << false;
    QTest::newRow("fewer longer jobs") << 200 << 20000 << false;
    QTest::newRow("theirs started before mine ends") << 200 << 20000 << true;
}

// Each round's two jobs write their own slots; the caller reads both right
// after both() returns, so a job still running would show as a slot short.
void TstParallel::helperRounds()
{
    QFETCH(int, rounds);
    QFETCH(int, work);
    QFETCH(bool, overlap);
    std::vector<long> mine(size_t(rounds), 0), theirs(size_t(rounds), 0);
    std::set<std::thread::id> helperThreads;
    const std::thread::id caller = std::this_thread::get_id();
    {
        Parallel::Helper helper;
        for (int r = 0; r < rounds; ++r) {
            std::atomic<bool> started{false}, mineDone{false};
            auto busy = [&](std::vector<long> &into) {
                long sum = 0;
                for (int k = 0; k < work; ++k)
                    sum += (r + k) % 7;
                into[size_t(r)] = sum + 1;
            };
            helper.both(
                [&] {
                    busy(mine);
                    // With a helper, theirs is taken up within a second.
                    QDeadlineTimer deadline(1000);
                    while (overlap && Parallel::threads() > 1 && !started && !deadline.hasExpired())
                        std::this_thread::yield();
                    mineDone = true;
                },
                [&] {
                    started = true;
                    // Still running well after the caller's own job ends.
                    while (overlap && !mineDone)
                        std::this_thread::yield();
                    if (overlap)
                        std::this_thread::sleep_for(std::chrono::microseconds(100));
                    busy(theirs);
                    helperThreads.insert(std::this_thread::get_id());
                });
            QVERIFY2(mine[size_t(r)] > 0 && mine[size_t(r)] == theirs[size_t(r)],
                     qPrintable(QStringLiteral("round %1").arg(r)));
        }
    }
    // Theirs on the helper, or taken back by the caller: no third thread,
    // and no other at all with one core. Waited for, it ran on the helper.
    const bool byCaller = helperThreads.erase(caller) > 0;
    QVERIFY(helperThreads.size() <= (Parallel::threads() > 1 ? 1u : 0u));
    if (overlap && Parallel::threads() > 1)
        QVERIFY(!byCaller && helperThreads.size() == 1);
}

QTEST_GUILESS_MAIN(TstParallel)
#include "tst_parallel.moc"
