// The drawing window's standard keys, pressed on the shown window.
#include "DrawingWindowFixture.h"

#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"

#include <QApplication>
#include <QTest>

class TstWindowKeys : public QObject
{
    Q_OBJECT
private slots:
    void keys_data();
    void keys();
    void tooltipsNameTheKeys();
};

void TstWindowKeys::keys_data()
{
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<int>("profile"); // current profile after the key
    QTest::addColumn<int>("zoom");    // zoom level after the key
    QTest::addColumn<bool>("saved");  // whether the file was rewritten
    QTest::newRow("next profile") << QKeySequence(Qt::CTRL | Qt::Key_PageDown) << 1 << 0 << false;
    QTest::newRow("previous at the first") << QKeySequence(Qt::CTRL | Qt::Key_PageUp) << 0 << 0 << false;
    QTest::newRow("zoom in") << QKeySequence(QKeySequence::ZoomIn) << 0 << 1 << false;
    QTest::newRow("zoom out at the least") << QKeySequence(QKeySequence::ZoomOut) << 0 << 0 << false;
    QTest::newRow("save after a change") << QKeySequence(QKeySequence::Save) << 0 << 0 << true;
}

void TstWindowKeys::keys()
{
    QFETCH(QKeySequence, key);
    QFETCH(int, profile);
    QFETCH(int, zoom);
    QFETCH(bool, saved);
    DrawingWindowFixture fx(threeNacaProfiles());
    fx.form->show();
    QApplication::setActiveWindow(fx.form.get());
    QVERIFY(QTest::qWaitForWindowActive(fx.form.get()));
    if (saved) {
        // A change to save: a template deleted.
        fx.prompts.answers << true << true;
        fx.form->BtSupprgab->click();
    }
    fx.form->PaintBox1->setFocus();
    QTest::keySequence(fx.form.get(), key);
    QCOMPARE(fx.store().currentProfile, profile);
    QCOMPARE(fx.form->drawing().viewState().zoomLevel, zoom);
    QCOMPARE(fx.fileBytes() != fx.original, saved);
    QVERIFY(!fx.form->Btenregistrer->isEnabled());
}

void TstWindowKeys::tooltipsNameTheKeys()
{
    DrawingWindowFixture fx(threeNacaProfiles());
    const auto native = [](QKeySequence::StandardKey k) {
        return QKeySequence(k).toString(QKeySequence::NativeText);
    };
    QVERIFY(fx.form->Btenregistrer->toolTip().contains(native(QKeySequence::Save)));
    QVERIFY(fx.form->Btimprime->toolTip().contains(native(QKeySequence::Print)));
    QVERIFY(fx.form->BitBtn1->toolTip().contains(native(QKeySequence::HelpContents)));
    QVERIFY(fx.form->BtUndo->toolTip().contains(native(QKeySequence::Undo)));
    QVERIFY(fx.form->BtRedo->toolTip().contains(QStringLiteral("Ctrl+Y")));
}

QTEST_MAIN(TstWindowKeys)
#include "tst_windowkeys.moc"
