// The order of start-up as the user meets it: the start window on screen
// first, the work windows (and the database) right after it, and the same
// messages in the same order as when every window was created before it.
#include "Naca.h"
#include "ScriptedPrompts.h"
#include "app/Startup.h"
#include "app/TIntro.h"
#include "drawing/TForm1.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace
{

// Scripted prompts that also note whether the start window was on screen
// when each message or question came.
class WatchingPrompts : public ScriptedPrompts
{
public:
    std::function<bool()> startWindowShown;
    QList<bool> shownAtEach;

    void message(const QString &text) override
    {
        shownAtEach << startWindowShown();
        ScriptedPrompts::message(text);
    }
    QString chooseFolder(const QString &caption, const QString &start) override
    {
        shownAtEach << startWindowShown();
        return ScriptedPrompts::chooseFolder(caption, start);
    }
};

QByteArray database(bool broken)
{
    QByteArray text;
    for (const char *digits : {"2412", "0012"}) {
        const Naca::Section s = Naca::fourDigit(QString::fromLatin1(digits), 21);
        text += "\r\nPROFIL " + s.name.toLatin1() + "\r\n";
        for (const QString &l : Naca::pointLines(s))
            text += l.toLatin1() + "\r\n";
        text += broken ? "GABARIT 150;x;\r\n1,234;0;0;0;\r\n" : "GABARIT 150;10;\r\n";
    }
    return text;
}

} // namespace

class TestStartOrder : public QObject
{
    Q_OBJECT
private slots:
    void init() { Language::setFrench(false); }
    void startWindowFirst_data();
    void startWindowFirst();
};

void TestStartOrder::startWindowFirst_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: no Profils.pro at all
    QTest::addColumn<bool>("shownBeforeMessages");
    QTest::addColumn<int>("profiles");
    QTest::newRow("good database") << database(false) << true << 2;
    QTest::newRow("rejected values") << database(true) << true << 2;
    QTest::newRow("no profile in it") << QByteArray("\r\n1;2;3;4;\r\n") << true << 0;
    // The questions about a missing file come before the start window, as
    // they did when every window was created first.
    QTest::newRow("missing database") << QByteArray() << false << 0;
}

void TestStartOrder::startWindowFirst()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, shownBeforeMessages);
    QFETCH(int, profiles);
    QTemporaryDir dir;
    if (!file.isEmpty()) {
        QFile f(dir.filePath(QStringLiteral("Profils.pro")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(file);
    }
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());

    // What creating every window before showing any gives.
    QStringList expected;
    {
        ScriptedPrompts prompts;
        Windows all;
        expected = prompts.messages;
    }
    QDir::setCurrent(dir.path());

    WatchingPrompts prompts;
    Windows w(Windows::Start::StartWindowOnly);
    prompts.startWindowShown = [&w] { return w.intro->isVisible(); };
    QStringList stages;
    bool readyAtShown = true;
    QList<bool> sceneAt; // the planes' pictures are made after the first frame
    w.showStartWindow([&](const char *stage) {
        stages << QString::fromLatin1(stage);
        sceneAt << (w.intro->animation() != nullptr);
        if (stages.size() == 1)
            readyAtShown = w.workWindowsCreated();
        return false;
    });
    QTRY_COMPARE(stages, (QStringList{"shown", "ready"}));
    QDir::setCurrent(before);

    QVERIFY(!expected.isEmpty() || file == database(false));
    QCOMPARE(prompts.messages, expected);
    QCOMPARE(prompts.shownAtEach, QList<bool>(prompts.shownAtEach.size(), shownBeforeMessages));
    // The start window's first frame came before the work it does not need,
    // except when the questions had to come first.
    QCOMPARE(readyAtShown, !shownBeforeMessages);
    QCOMPARE(sceneAt, (QList<bool>{false, true}));
    QVERIFY(w.workWindowsCreated());
    QCOMPARE(w.form1->Cb1->count(), profiles);
    QCOMPARE(w.intro->BitBtn2->isEnabled(), !file.isEmpty());
}

QTEST_MAIN(TestStartOrder)
#include "tst_startorder.moc"
