// A template chord beyond what can be drawn is refused at selection, as a
// chord of 0 is; the longest one allowed is drawn and exported whole.
#include "Naca.h"
#include "ScriptedPrompts.h"
#include "cutting/RibVectors.h"
#include "profiles/Cp1252.h"
#include "profiles/ProfileStore.h"
#include "profiles/TemplateValues.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QTest>

class TstChordLimit : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Language::setFrench(true); }
    void chordAtSelection_data();
    void chordAtSelection();
};

void TstChordLimit::chordAtSelection_data()
{
    QTest::addColumn<QString>("templateLine");
    QTest::addColumn<int>("drawnChord"); // 0: refused
    QTest::newRow("chord 0") << "GABARIT 0;10;" << 0;
    QTest::newRow("chord 150") << "GABARIT 150;10;" << 150;
    QTest::newRow("chord at the limit") << "GABARIT 10000;10;" << 10000;
    QTest::newRow("one millimetre beyond") << "GABARIT 10001;10;" << 0;
    QTest::newRow("a hundred kilometres") << "GABARIT 100000000;15;" << 0;
    QTest::newRow("largest whole number") << "GABARIT 2147483647;15;" << 0;
}

void TstChordLimit::chordAtSelection()
{
    QFETCH(QString, templateLine);
    QFETCH(int, drawnChord);
    QCOMPARE(TemplateValues::kMaxChord, 10000);
    const Naca::Section section = Naca::fourDigit("2412");
    QStringList lines{"PROFIL P"};
    lines << Naca::pointLines(section) << templateLine;
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(Cp1252::encode(lines.join("\r\n") + "\r\n"));
    QCOMPARE(prompts.messages, QStringList{});

    TemplateDrawing view(&store);
    view.SelectProfile(0, 0);
    if (drawnChord == 0) {
        QCOMPARE(prompts.messages,
                 QStringList{"Le gabarit n° 1 du profil P ne peut pas être dessiné : ligne <" +
                             templateLine + ">"});
    } else {
        QCOMPARE(prompts.messages, QStringList{});
        QCOMPARE(view.working().chord, float(drawnChord));
    }

    // The export refuses it too, rather than stepping through it for ever;
    // the longest chord comes out whole, nose to tail.
    prompts.clear();
    RibVectors::Builder builder;
    RibVectors::Rib rib;
    QString error;
    const bool built = builder.fromStore(store, 0, 0, 50, &rib, &error);
    QCOMPARE(built, drawnChord > 0);
    if (!built)
        return;
    QRectF profile, camber;
    for (const RibVectors::Shape &s : rib.shapes) {
        if (s.layer == RibVectors::Profile)
            profile |= s.path.boundingRect();
        if (s.layer == RibVectors::Marks && s.kind == RibVectors::Shape::Path &&
            s.path.elementCount() > 3)
            camber |= s.path.boundingRect();
    }
    QVERIFY(std::abs(profile.width() - drawnChord) < 0.002 * drawnChord + 0.1);
    // The camber line runs from the nose to the trailing edge.
    QVERIFY2(camber.left() < 0.01 * drawnChord && camber.right() > 0.99 * drawnChord,
             qPrintable(QStringLiteral("%1 to %2").arg(camber.left()).arg(camber.right())));
}

QTEST_MAIN(TstChordLimit)
#include "tst_chordlimit.moc"
