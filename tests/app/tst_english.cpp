// Every window in both languages: an English run shows none of the French
// captions, a French run none of their English texts. The captions are read
// from the translation source kept in the repository, not from the program.
#include "DrawingWindowFixture.h"
#include "ScriptedPrompts.h"
#include "app/Startup.h"
#include "app/TIntro.h"
#include "app/Translator.h"
#include "catalogue/TFormlect.h"
#include "drawing/ExportDialog.h"
#include "drawing/TForm1.h"
#include "drawing/TForm2.h"
#include "drawing/TForm3.h"
#include "hybrid/TForm4.h"
#include "hybrid/TFormpanneau.h"
#include "ui/Help.h"
#include "ui/Language.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace
{

struct Message {
    QString context, source, translation;
};

QList<Message> readTs(const QString &path)
{
    QList<Message> out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    QXmlStreamReader xml(&f);
    QString context, source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const bool unfinished = xml.attributes().value(QLatin1String("type")) ==
                                    QLatin1String("unfinished");
            const QString text = xml.readElementText();
            out << Message{context, source, unfinished ? QString() : text};
        }
    }
    return out;
}

QString tsPath()
{
    return QStringLiteral(NERVURIA_SOURCE_DIR "/translations/nervuria_en.ts");
}

// The words of a caption, without its keyboard marker; short ones (units,
// "de", "du") say nothing about the language.
QSet<QString> words(const QString &text)
{
    QSet<QString> out;
    static const QRegularExpression split(QStringLiteral("[^\\p{L}]+"));
    for (const QString &w : QString(text).remove(QLatin1Char('&')).split(split, Qt::SkipEmptyParts))
        if (w.size() >= 3)
            out << w.toLower();
    return out;
}

// Words that belong to one language only: those of one side of the
// translations that the other side never uses.
QSet<QString> onlyIn(const QList<Message> &messages, bool french)
{
    QSet<QString> mine, theirs;
    for (const Message &m : messages) {
        mine += words(french ? m.source : m.translation);
        theirs += words(french ? m.translation : m.source);
    }
    return mine - theirs;
}

// Every text a user reads in the window: its title, captions, tooltips,
// menus, list items offered to choose from and table headers. Typed values
// (line edits, the editable lists' text) are data, not captions.
QStringList shownTexts(QWidget *window)
{
    QStringList out{window->windowTitle()};
    QList<QWidget *> all = window->findChildren<QWidget *>();
    all.prepend(window);
    for (QWidget *w : all) {
        out << w->toolTip();
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            out << b->text();
        else if (auto *l = qobject_cast<QLabel *>(w))
            out << l->text();
        else if (auto *g = qobject_cast<QGroupBox *>(w))
            out << g->title();
        else if (auto *c = qobject_cast<QComboBox *>(w)) {
            out << c->placeholderText();
            for (int i = 0; i < c->count(); ++i)
                out << c->itemText(i);
        } else if (auto *e = qobject_cast<QLineEdit *>(w))
            out << e->placeholderText();
        else if (auto *t = qobject_cast<QTableWidget *>(w)) {
            for (int c = 0; c < t->columnCount(); ++c) {
                if (QTableWidgetItem *h = t->horizontalHeaderItem(c))
                    out << h->text();
                if (t->rowCount() > 0 && t->item(0, c))
                    out << t->item(0, c)->text();
            }
        }
        for (QAction *a : w->actions()) {
            out << a->text() << a->toolTip();
            if (a->menu())
                for (QAction *sub : a->menu()->actions())
                    out << sub->text();
        }
    }
    out.removeAll(QString());
    return out;
}

} // namespace

class TestEnglish : public QObject
{
    Q_OBJECT
private slots:
    void translationsComplete();
    void englishForEveryOtherLanguage_data();
    void englishForEveryOtherLanguage();
    void everyWindow_data();
    void everyWindow();
    void helpTopics_data();
    void helpTopics();
};

void TestEnglish::translationsComplete()
{
    const QList<Message> messages = readTs(tsPath());
    QVERIFY2(messages.size() > 100, qPrintable(tsPath()));
    QSet<QString> seen;
    for (const Message &m : messages) {
        QVERIFY2(!m.translation.isEmpty(), qPrintable(m.context + QLatin1Char('/') + m.source));
        // An accelerator in the French caption keeps one in the English.
        QCOMPARE(m.translation.count(QLatin1Char('&')) > 0, m.source.count(QLatin1Char('&')) > 0);
        seen << m.context;
    }
    for (const char *window : {"TIntro", "TForm1", "TForm2", "TForm3", "TForm4", "TFormlect",
                               "TFormpanneau", "ExportDialog", "HelpViewer", "CoordinateTable"})
        QVERIFY2(seen.contains(QLatin1String(window)), window);

    // The built-in English texts are those of the kept source.
    QTranslator english;
    QVERIFY(loadProgramTranslations(english, QLocale(QLocale::English)));
    for (const Message &m : messages)
        QCOMPARE(english.translate(m.context.toUtf8(), m.source.toUtf8()), m.translation);
    QTranslator none;
    QVERIFY(!loadProgramTranslations(none, QLocale(QLocale::French)));
}

void TestEnglish::englishForEveryOtherLanguage_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("english");
    QTest::newRow("France") << "fr_FR" << false;
    QTest::newRow("Canada, French") << "fr_CA" << false;
    QTest::newRow("United States") << "en_US" << true;
    QTest::newRow("Germany") << "de_DE" << true;
    QTest::newRow("C locale") << "C" << true;
}

// A run is French or English, as the start window's speed label decides:
// any language but French gets the English captions, French none.
void TestEnglish::englishForEveryOtherLanguage()
{
    QFETCH(QString, locale);
    QFETCH(bool, english);
    QTranslator translator;
    QCOMPARE(loadProgramTranslations(translator, QLocale(locale)), english);
    BuiltinTranslator builtin{QLocale(locale)};
    QCOMPARE(builtin.isEmpty(), english);
    if (english)
        QCOMPARE(translator.translate("TForm1", "Nouveau"), QStringLiteral("New"));
}

void TestEnglish::everyWindow_data()
{
    QTest::addColumn<bool>("french");
    QTest::newRow("English run") << false;
    QTest::newRow("French run") << true;
}

void TestEnglish::everyWindow()
{
    QFETCH(bool, french);
    const QList<Message> messages = readTs(tsPath());
    // What the other language's words would be in this run.
    const QSet<QString> foreign = onlyIn(messages, !french);
    QVERIFY(foreign.size() > 40);

    const QLocale locale(french ? QLocale::French : QLocale::English);
    BuiltinTranslator builtin(locale);
    QTranslator english;
    loadProgramTranslations(english, locale);
    QCoreApplication::installTranslator(&builtin);
    QCoreApplication::installTranslator(&english);

    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    QFile db(dir.filePath(QStringLiteral("Profils.pro")));
    QVERIFY(db.open(QIODevice::WriteOnly));
    db.write(threeNacaProfiles());
    db.close();
    QDir::setCurrent(dir.path());
    ScriptedPrompts prompts;
    Prompts::install(&prompts);
    {
        Windows windows(Windows::Start::AllWindows);
        QCOMPARE(Language::french(), french);
        windows.form1->prepareToShow();
        windows.form1->BttableauClick();
        ExportDialog exporter(&windows.form1->store());
        HelpViewer help;
        const QList<QWidget *> all{windows.intro.get(),  windows.form1.get(),
                                   windows.form3.get(),  windows.catalogue.get(),
                                   windows.form2.get(),  windows.form4.get(),
                                   windows.formpanneau.get(), &exporter, &help};
        QStringList found;
        for (QWidget *w : all) {
            const QStringList texts = shownTexts(w);
            QVERIFY2(texts.size() >= 2, w->metaObject()->className());
            for (const QString &text : texts) {
                const QSet<QString> bad = words(text) & foreign;
                if (!bad.isEmpty())
                    found << w->metaObject()->className() + QStringLiteral(": \"") + text +
                                 QLatin1Char('"');
            }
        }
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    }
    Prompts::install(nullptr);
    QDir::setCurrent(before);
    QCoreApplication::removeTranslator(&english);
    QCoreApplication::removeTranslator(&builtin);
}

void TestEnglish::helpTopics_data()
{
    QTest::addColumn<QString>("french");
    QTest::addColumn<QString>("english");
    QTest::newRow("start window") << "MAININDEX" << "CONTENTS";
    QTest::newRow("drawing window") << "DESSINGABARITS" << "TEMPLATES";
    QTest::newRow("catalogue") << "CATALOGUE" << "DATABASE";
    QTest::newRow("hybrid dialog") << "HYBRIDE" << "HYBRID";
    QTest::newRow("wing panel") << "PANNEAU" << "PANEL";
    QTest::newRow("foam cores") << "NOYAUX" << "FOAM";
}

// Each French topic of the sample help has its English one, and each run
// opens the start window's help on the topic of its language.
void TestEnglish::helpTopics()
{
    QFETCH(QString, french);
    QFETCH(QString, english);
    const QString file = QStringLiteral(NERVURIA_SOURCE_DIR "/sample/NERVURIA.HLP");
    QVERIFY(HelpViewer::fileHasTopic(file, french));
    QVERIFY(HelpViewer::fileHasTopic(file, english));
    if (french != QLatin1String("MAININDEX"))
        return;
    const QString before = QDir::currentPath();
    QDir::setCurrent(QStringLiteral(NERVURIA_SOURCE_DIR "/sample"));
    ScriptedPrompts prompts;
    Prompts::install(&prompts);
    for (bool inFrench : {true, false}) {
        TIntro intro;
        Language::setFrench(inFrench);
        intro.Index1Click();
        QCOMPARE(HelpViewer::instance().topic(), inFrench ? french : english);
        HelpViewer::instance().close();
    }
    Prompts::install(nullptr);
    QDir::setCurrent(before);
}

QTEST_MAIN(TestEnglish)
#include "tst_english.moc"
