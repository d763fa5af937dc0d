// Pieces of a job shared among threads: each piece done once, its result in
// its own slot, the same as one thread working through them in order.
#include "cutting/Parallel.h"

#include <QTest>

#include <atomic>
#include <memory>
#include <vector>

class TstParallel : public QObject
{
    Q_OBJECT
private slots:
    void eachOnce_data();
    void eachOnce();
};

void TstParallel::eachOnce_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("uneven"); // late pieces far dearer than early ones
    QTest::newRow("nothing") << 0 << false;
    QTest::newRow("one piece") << 1 << false;
    QTest::newRow("as many as threads") << Parallel::threads() << false;
    QTest::newRow("one more than threads") << Parallel::threads() + 1 << true;
    QTest::newRow("a database") << 5000 << true;
}

void TstParallel::eachOnce()
{
    QFETCH(int, count);
    QFETCH(bool, uneven);
    // Each piece: a sum of its own, worked out again below in one loop.
    auto piece = [&](size_t i) {
        unsigned long long sum = i;
        for (size_t k = 0; k < (uneven ? i * 10 : 10); ++k)
            sum = sum * 6364136223846793005ULL + 1442695040888963407ULL;
        return sum;
    };
    std::vector<unsigned long long> result(size_t(count), 0);
    const auto visits = std::make_unique<std::atomic<int>[]>(size_t(count) + 1);
    std::atomic<bool> workersKnown{true};
    Parallel::forEach(size_t(count), [&](size_t i, int worker) {
        if (worker < 0 || worker >= Parallel::threads())
            workersKnown = false;
        ++visits[i];
        result[i] = piece(i);
    });
    QVERIFY(workersKnown);
    for (size_t i = 0; i < size_t(count); ++i) {
        QCOMPARE(visits[i].load(), 1);
        QCOMPARE(result[i], piece(i));
    }
}

QTEST_MAIN(TstParallel)
#include "tst_parallel.moc"
