// Every template of the sample database, drawn on screen at two zoom levels,
// in the print preview and on a 300 dpi printer page, compared pixel for
// pixel with renders made before the template outline learnt to refuse and
// repair unsound shapes: where the outline was sound it must not move.
//
// NERVURIA_WRITE_RENDERS=<folder> writes the renders there instead of
// comparing (how the references were made).
#include "ScriptedPrompts.h"

#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPainter>
#include <QTest>

namespace
{

const QString kReferenceDir =
    QStringLiteral(NERVURIA_SOURCE_DIR "/tests/drawing/data/sample_renders");

QImage renderPage(TemplateDrawing &d, bool printer)
{
    const PageSetup page{20, 60, 1, true};
    const float scale = printer ? float(300 * 0.039370078740157480) : 1.0f;
    const QSize size(int((d.working().chord + 40) * scale), int(120 * scale));
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    const bool laidOut = printer ? d.layoutPrinter(300, page) : d.layoutPreview(page);
    QPainter p(&img);
    if (!laidOut || !d.render(p))
        return {};
    return img;
}

} // namespace

class TstSampleRenders : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Language::setFrench(true);
        QLocale::setDefault(QLocale::c());
    }
    void sampleTemplates_data();
    void sampleTemplates();
};

void TstSampleRenders::sampleTemplates_data()
{
    QTest::addColumn<QString>("mode"); // screen0, screen2, preview, printer
    QTest::addColumn<bool>("points");  // template and profile points shown
    for (const char *mode : {"screen0", "screen2", "preview", "printer"}) {
        QTest::newRow(mode) << QString::fromLatin1(mode) << false;
        QTest::newRow(QByteArray(mode) + " with points") << QString::fromLatin1(mode) << true;
    }
}

void TstSampleRenders::sampleTemplates()
{
    QFETCH(QString, mode);
    QFETCH(bool, points);
    ScriptedPrompts prompts;
    QFile file(QStringLiteral(NERVURIA_SOURCE_DIR "/sample/Profils.pro"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    ProfileStore store;
    store.loadFromBytes(file.readAll());
    TemplateDrawing d(&store);
    d.setDisplayOption(TemplateDrawing::DisplayOption::GabaritPoints, points);
    d.setDisplayOption(TemplateDrawing::DisplayOption::ProfilPoints, points);
    const QString writeDir = qEnvironmentVariable("NERVURIA_WRITE_RENDERS");

    int compared = 0;
    for (int p = 0; p < store.count(); ++p) {
        for (int t = 0; t < store.templateCount(p); ++t) {
            store.currentProfile = p;
            d.SelectProfile(p, t);
            QImage img;
            if (mode.startsWith(QLatin1String("screen"))) {
                const int zoom = mode.back().digitValue();
                while (d.viewState().zoomLevel < zoom)
                    d.zoomIn();
                QVERIFY(d.layoutScreen({1000, 324, 0}) && d.render());
                img = d.image();
            } else {
                img = renderPage(d, mode == QLatin1String("printer"));
            }
            QVERIFY(!img.isNull());
            const QString name = QStringLiteral("%1_t%2_%3%4.png")
                                     .arg(store.name(p).replace(QLatin1Char(' '), QLatin1Char('_')))
                                     .arg(t + 1)
                                     .arg(mode, points ? QStringLiteral("_points") : QString());
            if (!writeDir.isEmpty()) {
                QVERIFY(img.save(QDir(writeDir).filePath(name)));
                continue;
            }
            const QImage reference(QDir(kReferenceDir).filePath(name));
            QVERIFY2(!reference.isNull(), qPrintable(name));
            QCOMPARE(img.size(), reference.size());
            int differing = 0;
            const QImage a = img.convertToFormat(QImage::Format_RGB32);
            const QImage b = reference.convertToFormat(QImage::Format_RGB32);
            for (int y = 0; y < a.height(); ++y) {
                for (int x = 0; x < a.width(); ++x)
                    differing += a.pixel(x, y) != b.pixel(x, y);
            }
            if (differing) {
                a.save(QDir::temp().filePath(name));
                QFAIL(qPrintable(QStringLiteral("%1: %2 pixels differ (render saved in %3)")
                                     .arg(name)
                                     .arg(differing)
                                     .arg(QDir::tempPath())));
            }
            ++compared;
        }
    }
    QVERIFY(writeDir.isEmpty() || compared == 0);
    QVERIFY(!writeDir.isEmpty() || compared == 5);
}

QTEST_MAIN(TstSampleRenders)
#include "tst_samplerenders.moc"
