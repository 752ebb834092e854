#include <QtTest>

#include <cmath>
#include <fstream>
#include <iterator>
#include <map>

#include "conversion/factortable.h"
#include "core/numbers.h"

using namespace tally;

namespace {

// Size of each unit in one base unit of its category (metre, square metre, litre, kilogram, and
// the plain fraction for concentrations, taking a litre of water as one kilogram), from the
// units' definitions. The shipped factors must agree with the ratios of these.
const std::map<QString, std::map<QString, double>> kUnitSizes = {
    {"Length",
     {{"Inches", 0.0254}, {"Centimetres", 0.01}, {"Millimetres", 0.001}, {"Feet", 12 * 0.0254},
      {"Metres", 1}, {"Yards", 36 * 0.0254}, {"Miles", 5280 * 12 * 0.0254}, {"Kilometres", 1000},
      {"Nautical miles", 1852}}},
    {"Area",
     {{"Square inches", 0.0254 * 0.0254}, {"Square centimetres", 1e-4},
      {"Square feet", 0.3048 * 0.3048}, {"Square metres", 1}, {"Square yards", 0.9144 * 0.9144},
      {"Acres", 4840 * 0.9144 * 0.9144}, {"Hectares", 1e4},
      {"Square miles", 1609.344 * 1609.344}, {"Square kilometres", 1e6}}},
    {"Volume",
     {{"US gallons", 231 * 0.016387064}, {"Imperial gallons", 4.54609}, {"Litres", 1},
      {"US fluid ounces", 231 * 0.016387064 / 128}, {"Imperial fluid ounces", 4.54609 / 160},
      {"Millilitres", 0.001}, {"Cubic feet", 1728 * 0.016387064}, {"Cubic metres", 1000},
      {"US quarts", 231 * 0.016387064 / 4}, {"US pints", 231 * 0.016387064 / 8},
      {"Imperial pints", 4.54609 / 8}, {"Cubic inches", 2.54 * 2.54 * 2.54 / 1000},
      {"Cubic centimetres", 0.001}}},
    {"Weight",
     {{"Pounds", 0.45359237}, {"Kilograms", 1}, {"Ounces", 0.45359237 / 16}, {"Grams", 0.001},
      {"Stones", 14 * 0.45359237}, {"Short tons", 2000 * 0.45359237},
      {"Long tons", 2240 * 0.45359237}, {"Tonnes", 1000}, {"Troy ounces", 480 * 0.00006479891},
      {"Grains", 0.45359237 / 7000}}},
    {"Concentration",
     {{"Percent", 1e-2}, {"Per mille", 1e-3}, {"Parts per million", 1e-6},
      {"Parts per billion", 1e-9}, {"Milligrams per litre (water)", 1e-6},
      {"Micrograms per litre (water)", 1e-9}, {"Grams per litre (water)", 1e-3}}},
};

QString q(const std::string& s) { return QString::fromStdString(s); }

double number(const std::string& text) {
    return wholeNumber(text).value_or(std::nan(""));
}

bool closeTo(double actual, double expected, double relative) {
    return std::fabs(actual - expected) <= relative * std::fabs(expected);
}

} // namespace

class TestFactorTables : public QObject {
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void unitLabels_data();
    void unitLabels();
    void convert_data();
    void convert();
    void shippedTables_data();
    void shippedTables();
};

void TestFactorTables::read_data() {
    QTest::addColumn<QByteArray>("tail"); // after "Inches" and "Feet"
    QTest::addColumn<int>("rows");
    QTest::newRow("three records") << QByteArray("\"Grams\",\"0.001\",\"Kilograms\",\"g > kg\"\r\n\r\n") << 3;
    QTest::newRow("three fields last") << QByteArray("\"Grams\",\"0.001\",\"Kilograms\"\r\n") << 2;
    QTest::newRow("one field last") << QByteArray("\"Grams\"") << 2;
    QTest::newRow("unterminated quote last") << QByteArray("\"Grams,0.001") << 2;
}

void TestFactorTables::read() {
    QFETCH(QByteArray, tail);
    QFETCH(int, rows);
    const QByteArray bytes = "\"Inches\",\"2.54\",\"Centimetres\",\"in > cm\"\r\nFeet, 0.3048, Metres, ft > m\n" + tail;
    const auto read = readFactorTable({bytes.constData(), std::size_t(bytes.size())});
    QCOMPARE(int(read.size()), rows);
    QVERIFY((read[0] == FactorRow{"Inches", "2.54", "Centimetres", "in > cm"}));
    QVERIFY((read[1] == FactorRow{"Feet", "0.3048", "Metres", "ft > m"}));
    if (rows == 3) QVERIFY((read[2] == FactorRow{"Grams", "0.001", "Kilograms", "g > kg"}));
}

void TestFactorTables::unitLabels_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("label");
    QTest::newRow("blank kept") << "in > cm" << " cm";
    QTest::newRow("two marks: after the first") << "a > b > c" << " b > c";
    QTest::newRow("no mark: whole caption") << "None" << "None";
    QTest::newRow("mark at end") << "in >" << "";
}

void TestFactorTables::unitLabels() {
    QFETCH(QString, caption);
    QFETCH(QString, label);
    QCOMPARE(q(unitLabel(caption.toStdString())), label);
}

void TestFactorTables::convert_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("factor"); // null: no factor picked yet
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("text");
    const int ok = int(ConversionFault::None), entryFault = int(ConversionFault::EntryNotNumber);
    const int factorFault = int(ConversionFault::FactorNotNumber), tooLarge = int(ConversionFault::NoFiniteResult);
    QTest::newRow("12.5 in to cm") << "12.5" << "2.54" << ok << "31.75";
    QTest::newRow("no factor counts as 0") << "12.5" << QString() << ok << "0";
    QTest::newRow("entry not a number") << "12 +" << "2.54" << entryFault << "";
    QTest::newRow("factor not a number") << "12" << "two" << factorFault << "";
    QTest::newRow("empty factor") << "12" << "" << factorFault << "";
    QTest::newRow("product overflows") << "1E+300" << "1E+10" << tooLarge << "";
    QTest::newRow("entry too large") << "1E+400" << "1" << tooLarge << "";
}

void TestFactorTables::convert() {
    QFETCH(QString, entry);
    QFETCH(QString, factor);
    QFETCH(int, fault);
    QFETCH(QString, text);
    const std::string f = factor.toStdString();
    const Conversion c = convertEntry(entry.toStdString(),
                                      factor.isNull() ? std::nullopt : std::optional<std::string_view>(f));
    QCOMPARE(int(c.fault), fault);
    QCOMPARE(q(c.text), text);
    QCOMPARE(conversionFaultText(c.fault).empty(), c.fault == ConversionFault::None);
}

void TestFactorTables::shippedTables_data() {
    QTest::addColumn<QString>("category");
    for (const auto& [category, units] : kUnitSizes) QTest::newRow(qPrintable(category)) << category;
}

void TestFactorTables::shippedTables() {
    QFETCH(QString, category);
    const std::string file = factorFileName(category.toStdString());
    std::ifstream in(file, std::ios::binary);
    QVERIFY2(in, file.c_str());
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto rows = readFactorTable(bytes);
    QVERIFY(!rows.empty());
    // One record per line, none lost to a broken line.
    QCOMPARE(qsizetype(rows.size()), QByteArray::fromStdString(bytes).trimmed().count('\n') + 1);

    const auto& sizes = kUnitSizes.at(category);
    std::map<std::pair<QString, QString>, double> factors;
    for (const FactorRow& row : rows) {
        const QString from = q(row.from), to = q(row.to);
        QVERIFY2(sizes.count(from) && sizes.count(to), qPrintable(from + " / " + to));
        const double factor = number(row.factor);
        const double expected = sizes.at(from) / sizes.at(to);
        QVERIFY2(closeTo(factor, expected, 1e-10),
                 qPrintable(from + " > " + to + ": " + q(row.factor) + " vs " + QString::number(expected, 'g', 17)));
        QVERIFY2(factors.emplace(std::pair{from, to}, factor).second, qPrintable("twice: " + from + " > " + to));
        QVERIFY2(q(unitLabel(row.caption)).startsWith(' ') && q(unitLabel(row.caption)).size() > 1,
                 row.caption.c_str());
    }
    for (const auto& [pair, factor] : factors) {
        const auto back = factors.find({pair.second, pair.first});
        QVERIFY2(back != factors.end(), qPrintable("no way back from " + pair.second + " to " + pair.first));
        QVERIFY2(closeTo(factor * back->second, 1.0, 1e-9), qPrintable(pair.first + " <> " + pair.second));
    }
}

QTEST_GUILESS_MAIN(TestFactorTables)
#include "test_factortables.moc"
