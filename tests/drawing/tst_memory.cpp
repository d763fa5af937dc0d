// Memory between runs: start, change, quit, start again, with the settings
// in a test folder of their own.
#include "DrawingWindowFixture.h"

#include "drawing/ExportDialog.h"
#include "profiles/ProfileStore.h"
#include "ui/Memory.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

namespace
{
// The file Memory reads and writes.
struct settings : QSettings {
    settings() : QSettings(Memory::kOrganisation, QCoreApplication::applicationName()) {}
};
} // namespace

class TstMemory : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void lastProfileAndTemplate_data();
    void lastProfileAndTemplate();
    void windowSizeAndPlace();
    void exportSettings();
    void damagedValuesReadAsDefaults_data();
    void damagedValuesReadAsDefaults();
    void offUntilTurnedOn();
};

void TstMemory::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    Memory::setEnabled(true);
}

void TstMemory::init()
{
    settings().clear();
}

void TstMemory::cleanupTestCase()
{
    settings().clear();
}

void TstMemory::lastProfileAndTemplate_data()
{
    QTest::addColumn<int>("profile");
    QTest::addColumn<int>("templ");
    QTest::addColumn<QByteArray>("nextDatabase");
    QTest::addColumn<int>("shownProfile");
    QTest::addColumn<int>("shownTemplate");
    const QByteArray same = threeNacaProfiles();
    QTest::newRow("third template") << 0 << 2 << same << 0 << 2;
    QTest::newRow("second profile") << 1 << 0 << same << 1 << 0;
    QTest::newRow("profile without template") << 2 << -1 << same << 2 << -1;
    QTest::newRow("profile gone since")
        << 1 << 0 << (nacaProfileText("0012", 21, {"GABARIT 100;10;"}) + nacaProfileText("4412", 21))
        << 0 << 0;
    QTest::newRow("template gone since")
        << 0 << 2 << nacaProfileText("0012", 21, {"GABARIT 100;10;", "GABARIT 120;10;"}) << 0 << 0;
}

void TstMemory::lastProfileAndTemplate()
{
    QFETCH(int, profile);
    QFETCH(int, templ);
    QFETCH(QByteArray, nextDatabase);
    QFETCH(int, shownProfile);
    QFETCH(int, shownTemplate);
    {
        DrawingWindowFixture first(threeNacaProfiles());
        first.chooseProfile(profile);
        if (templ >= 0)
            first.chooseTemplate(templ);
        first.form->Btquit->click();
    }
    DrawingWindowFixture second(nextDatabase);
    QCOMPARE(second.store().currentProfile, shownProfile);
    QCOMPARE(second.store().currentTemplate, shownTemplate);
    QCOMPARE(second.form->Cb1->currentIndex(), shownProfile);
    QCOMPARE(second.form->CB2->currentIndex(), shownTemplate);
}

void TstMemory::windowSizeAndPlace()
{
    const QRect chosen(60, 50, 720, 430);
    {
        QWidget w;
        w.setObjectName(QStringLiteral("Sized"));
        Memory::keepGeometry(&w);
        w.show();
        w.setGeometry(chosen);
        QTRY_COMPARE(w.geometry().size(), chosen.size());
        w.hide();
    }
    QWidget again;
    again.setObjectName(QStringLiteral("Sized"));
    again.resize(200, 100);
    Memory::keepGeometry(&again);
    again.show();
    QCOMPARE(again.geometry().size(), chosen.size());
    // Another window keeps its own.
    QWidget other;
    other.setObjectName(QStringLiteral("Other"));
    other.resize(200, 100);
    Memory::keepGeometry(&other);
    other.show();
    QCOMPARE(other.size(), QSize(200, 100));
}

void TstMemory::exportSettings()
{
    {
        ExportDialog d(nullptr);
        d.CbFormat->setCurrentIndex(d.CbFormat->count() - 1);
        d.EditSheetWidth->setValue(450);
        d.EditSheetHeight->setValue(120.5);
        d.EditGap->setValue(4);
        d.EditKerf->setValue(0.15);
        d.accept();
    }
    ExportDialog next(nullptr);
    QCOMPARE(next.CbFormat->currentIndex(), next.CbFormat->count() - 1);
    QCOMPARE(next.EditSheetWidth->value(), 450.0);
    QCOMPARE(next.EditSheetHeight->value(), 120.5);
    QCOMPARE(next.EditGap->value(), 4.0);
    QCOMPARE(next.EditKerf->value(), 0.15);
    // Cancel keeps nothing.
    next.EditGap->setValue(9);
    next.reject();
    QCOMPARE(ExportDialog(nullptr).EditGap->value(), 4.0);
}

void TstMemory::damagedValuesReadAsDefaults_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<double>("read");
    QTest::newRow("in range") << QVariant(12.5) << 12.5;
    QTest::newRow("text") << QVariant(QStringLiteral("wide")) << 3.0;
    QTest::newRow("too large") << QVariant(1e9) << 3.0;
    QTest::newRow("negative") << QVariant(-1) << 3.0;
    QTest::newRow("not a number") << QVariant(QStringLiteral("nan")) << 3.0;
    QTest::newRow("missing") << QVariant() << 3.0;
}

void TstMemory::damagedValuesReadAsDefaults()
{
    QFETCH(QVariant, stored);
    QFETCH(double, read);
    if (stored.isValid())
        settings().setValue(Memory::kExportGap, stored);
    QCOMPARE(Memory::real(Memory::kExportGap, 3, 0, 100), read);
    QCOMPARE(ExportDialog(nullptr).EditGap->value(), read);
}

void TstMemory::offUntilTurnedOn()
{
    Memory::setEnabled(false);
    Memory::set(Memory::kProfile, QStringLiteral("NACA 2412"));
    Memory::setEnabled(true);
    QVERIFY(!settings().contains(Memory::kProfile));
}

QTEST_MAIN(TstMemory)
#include "tst_memory.moc"
