// The helper thread of a run of short jobs: each job done before the caller
// goes on, by the helper or, not yet taken up, by the caller. Pieces made on
// every core and taken in order on the calling thread, in a few buffers.
#include "cutting/Parallel.h"

#include <QtTest>

#include <algorithm>
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
    void inOrder_data();
    void inOrder();
};

void TstParallel::helperRounds_data()
{
    QTest::addColumn<int>("rounds");
    QTest::addColumn<int>("work");     // steps of busy work in each job
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

void TstParallel::inOrder_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("ahead");
    QTest::addColumn<int>("stopAt"); // the take that says stop; -1 for none
    QTest::newRow("none") << 0 << 4 << -1;
    QTest::newRow("one piece") << 1 << 4 << -1;
    QTest::newRow("one buffer") << 300 << 1 << -1;
    QTest::newRow("three buffers") << 1000 << 3 << -1;
    QTest::newRow("more buffers than pieces") << 5 << 16 << -1;
    QTest::newRow("stopped at the first") << 200 << 4 << 0;
    QTest::newRow("stopped in the middle") << 1000 << 3 << 517;
    QTest::newRow("stopped at the last") << 50 << 4 << 49;
}

// Each piece's buffer holds its own number and stamps when taken: a buffer
// filled again before its piece was taken, or taken out of order, or off
// the calling thread, shows; so does a piece made after the stop that its
// buffer would not have been free for.
void TstParallel::inOrder()
{
    QFETCH(int, count);
    QFETCH(int, ahead);
    QFETCH(int, stopAt);
    std::vector<std::vector<long>> buffers(static_cast<size_t>(ahead));
    std::vector<std::atomic<int>> makes(static_cast<size_t>(count));
    std::atomic<bool> clash{false};
    std::vector<int> taken;
    const std::thread::id caller = std::this_thread::get_id();
    bool elsewhere = false;
    const bool ok = Parallel::inOrder(
        size_t(count), size_t(ahead),
        [&](size_t i, size_t slot) {
            ++makes[i];
            std::vector<long> &b = buffers[slot];
            // A little work of varying length, so that pieces end out of order.
            b.assign(1 + (i * 7919) % 50, long(i));
            for (long &v : b)
                v = v * 3 / 3;
            if (slot != i % size_t(ahead))
                clash = true;
        },
        [&](size_t i, size_t slot) {
            elsewhere |= std::this_thread::get_id() != caller;
            const std::vector<long> &b = buffers[slot];
            const bool whole =
                !b.empty() && std::all_of(b.begin(), b.end(), [&](long v) { return v == long(i); });
            if (!whole)
                clash = true;
            taken.push_back(int(i));
            return int(i) != stopAt;
        });
    QCOMPARE(ok, stopAt < 0);
    QVERIFY(!clash);
    QVERIFY(!elsewhere);
    const int last = stopAt < 0 ? count : stopAt + 1;
    QCOMPARE(int(taken.size()), last);
    for (int i = 0; i < last; ++i)
        QCOMPARE(taken[size_t(i)], i);
    for (int i = 0; i < count; ++i) {
        // Every piece taken made once; after a stop, none whose buffer was
        // still held by a piece not taken.
        const int made = makes[size_t(i)].load();
        if (i < last)
            QCOMPARE(made, 1);
        else if (i >= stopAt + ahead)
            QCOMPARE(made, 0);
        else
            QVERIFY(made <= 1);
    }
}

QTEST_GUILESS_MAIN(TstParallel)
#include "tst_parallel.moc"
