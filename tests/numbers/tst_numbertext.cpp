#include "numbers/NumberText.h"

#include <QTest>

class TestNumberText : public QObject
{
    Q_OBJECT
private slots:
    void format_data();
    void format();
    void parse_data();
    void parse();
    void parseErrorIsOneConstant();
    void formatThenParseRoundTrips_data();
    void formatThenParseRoundTrips();
};

void TestNumberText::format_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    // Table cells: "###,##" in mode 1.
    QTest::newRow("cell 12.5") << "###,##" << 1 << 12.5 << " 12.50";
    QTest::newRow("cell -3.25") << "###,##" << 1 << -3.25 << " -3.25";
    QTest::newRow("cell zero") << "###,##" << 1 << 0.0 << "  0.00";
    QTest::newRow("cell overflow") << "###,##" << 1 << 1234.5 << "******";
    QTest::newRow("cell tiny") << "###,##" << 1 << 0.004 << "  0.00";
    QTest::newRow("cell 100") << "###,##" << 1 << 100.0 << "100.00";
    QTest::newRow("cell -99.99") << "###,##" << 1 << -99.99 << "-99.99";
    QTest::newRow("cell -100 overflows") << "###,##" << 1 << -100.0 << "******";
    QTest::newRow("sign follows value") << "###,##" << 1 << -0.004 << " -0.00";

    // Zero modes.
    QTest::newRow("zero mode 0 blanks") << "###,##" << 0 << 0.0 << "      ";
    QTest::newRow("zero mode 2 filled") << "###,##" << 2 << 0.0 << "000,00";
    QTest::newRow("zero mode 3 empty") << "###,##" << 3 << 0.0 << "";
    QTest::newRow("near zero mode 0 is a number") << "###,##" << 0 << 0.004 << "  0.00";
    QTest::newRow("below threshold is zero") << "###,##" << 0 << 5e-11 << "      ";
    QTest::newRow("zero fill keeps group blank") << "#.###" << 2 << 0.0 << "0 000";
    QTest::newRow("zero fill minus becomes blank") << "-##,#" << 2 << 0.0 << " 00,0";

    // Catalogue rows: "#,#####" in mode 2.
    QTest::newRow("row 0.25") << "#,#####" << 2 << 0.25 << "0.25000";
    QTest::newRow("row 1") << "#,#####" << 2 << 1.0 << "1.00000";
    QTest::newRow("row zero") << "#,#####" << 2 << 0.0 << "0,00000";
    QTest::newRow("row negative overflows") << "#,#####" << 2 << -0.5 << "*******";

    // Group marks.
    QTest::newRow("group 1234") << "#.###" << 1 << 1234.0 << "1 234";
    QTest::newRow("group with decimals") << "##.###,##" << 1 << 12345.678 << "12 345.68";
    QTest::newRow("group in leading blanks") << "#.###" << 1 << 12.0 << "   12";
    QTest::newRow("group zero filled") << "#.###" << 2 << 12.0 << "0 012";
    QTest::newRow("sign fix") << "#.###" << 1 << -123.0 << " -123";
    QTest::newRow("two groups") << "#.###.###" << 1 << 1234567.0 << "1 234 567";

    // Zero fill and sign.
    QTest::newRow("fill 1.5") << "###,##" << 2 << 1.5 << "001.50";
    QTest::newRow("fill up to sign") << "#####" << 2 << -12.0 << "00-12";
    QTest::newRow("no decimals rounds") << "###" << 1 << 2.6 << "  3";

    // Wide and odd values.
    QTest::newRow("huge is asterisks") << "###,##" << 1 << 1e40 << "******";
    QTest::newRow("infinity is asterisks") << "###,##" << 1 << qInf() << "******";
    QTest::newRow("nan is asterisks") << "###,##" << 1 << qQNaN() << "******";
    QTest::newRow("long picture capped at 24")
        << QString(30, QLatin1Char('#')) << 0 << 0.0 << QString(24, QLatin1Char(' '));
    QTest::newRow("other characters count in width") << "x###,##" << 1 << 1234.5 << "1234.50";
}

void TestNumberText::format()
{
    QFETCH(QString, picture);
    QFETCH(int, mode);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(FormatNumber(picture, mode, value), expected);
}

void TestNumberText::parse_data()
{
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    const double err = kParseError;

    QTest::newRow("comma") << 2 << "12,5" << 12.5;
    QTest::newRow("point with blanks") << 2 << " 12.50 " << 12.5;
    QTest::newRow("plus sign") << 2 << "+7" << 7.0;
    QTest::newRow("group blank") << 2 << "1 234,5" << 1234.5;
    QTest::newRow("misplaced blank") << 2 << "12 34" << err;
    QTest::newRow("three decimals") << 2 << "1.234" << err;
    QTest::newRow("no integer part") << 2 << ".5" << 0.5;
    QTest::newRow("separator only after") << 2 << "1," << 1.0;
    QTest::newRow("empty") << 2 << "" << 0.0;
    QTest::newRow("blanks") << 2 << "   " << 0.0;
    QTest::newRow("minus alone") << 2 << "-" << 0.0;
    QTest::newRow("blank after sign at boundary") << 2 << "- 123" << -123.0;
    QTest::newRow("blank after sign off boundary") << 2 << "- 12" << err;
    QTest::newRow("two signs") << 2 << "--1" << err;
    QTest::newRow("trailing sign") << 2 << "1-" << err;
    QTest::newRow("exponent") << 2 << "1e5" << err;
    QTest::newRow("two separators") << 2 << "1.2.3" << err;
    QTest::newRow("comma then point") << 2 << "1,2.3" << err;
    QTest::newRow("tab is not a blank") << 2 << "\t1" << err;
    QTest::newRow("negative value") << 2 << "-2,50" << -2.5;
    QTest::newRow("hundred") << 2 << "100,00" << 100.0;
    QTest::newRow("letter") << 0 << "a" << err;
    QTest::newRow("zero decimals trailing point") << 0 << "5." << 5.0;
    QTest::newRow("zero decimals with fraction") << 0 << "5.0" << err;
    QTest::newRow("six decimals cut at seven") << 6 << "0.1234567" << 0.123456;
    QTest::newRow("junk after sixth decimal unseen") << 6 << "0.123456x" << 0.123456;
    QTest::newRow("junk within six decimals") << 6 << "0.12x456" << err;
    QTest::newRow("sixteen of twenty digits") << 0 << "12345678901234567890" << 1234567890123456.0;
    QTest::newRow("leading blanks use the sixteen") << 6 << "      123456789012" << 1234567890.0;
    QTest::newRow("seven decimals always fail") << 7 << "1" << err;
    QTest::newRow("seven decimals even empty") << 7 << "" << err;
    QTest::newRow("the error value itself") << 2 << "-9999.99" << err;
    QTest::newRow("the error value with a zero before it") << 2 << "-09999,99" << err;
    QTest::newRow("beside the error value") << 2 << "-9999.98" << -9999.98;
}

void TestNumberText::parse()
{
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QFETCH(double, expected);
    const double got = ParseDecimal(decimals, text);
    // The file loader reads the same text from its bytes.
    const QByteArray bytes = text.toLatin1();
    QCOMPARE(ParseDecimal(decimals, QLatin1StringView(bytes)), got);
    QCOMPARE(AcceptsDecimal(decimals, QLatin1StringView(bytes)), !IsParseError(got));
    if (expected == kParseError)
        QCOMPARE(got, kParseError);
    else
        QVERIFY2(qAbs(got - expected) < 1e-9, qPrintable(QString::number(got, 'g', 17)));
}

void TestNumberText::parseErrorIsOneConstant()
{
    // Callers test failures by equality: the value must be exactly the constant.
    QVERIFY(IsParseError(ParseDecimal(2, QStringLiteral("x"))));
    QCOMPARE(ParseDecimal(2, QStringLiteral("x")), -9999.99);
}

void TestNumberText::formatThenParseRoundTrips_data()
{
    QTest::addColumn<double>("value");
    for (double v : {0.0, 0.01, -0.01, 12.34, -45.67, 99.99, 100.0, -2.5})
        QTest::newRow(qPrintable(QString::number(v))) << v;
}

void TestNumberText::formatThenParseRoundTrips()
{
    // A table cell written by FormatNumber must read back as the same value.
    QFETCH(double, value);
    const QString cell = FormatNumber(u"###,##", 1, value);
    QVERIFY(qAbs(ParseDecimal(2, cell) - value) < 1e-9);
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
