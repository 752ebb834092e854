// The pure core without a window, one table per rule. Every row runs under a comma-decimal locale when
// the machine has one: "." stays the point whatever the process locale says.
#include "conversion/factortable.h"
#include "core/keypad.h"
#include "core/keys.h"
#include "core/numbers.h"
#include "core/startup.h"
#include "core/taperule.h"
#include "files/diskfile.h"
#include "files/keptfiles.h"
#include "files/lastsession.h"
#include "files/records.h"
#include "files/tapefile.h"
#include "memory/memory.h"
#include "print/pagelayout.h"
#include "table.h"
#include "tape/cells.h"
#include "tape/copytext.h"
#include "tape/recalc.h"
#include "tapes.h"
#include <QtTest>
#include <clocale>
#include <numeric>
#include <sys/stat.h>
#include <unistd.h>

using namespace tally;
using Bytes = QList<QByteArray>;
using L = QStringList;

namespace {
const double kNone = qQNaN(), kMax = std::numeric_limits<double>::max(); // kNone: no number, a failure
QByteArray bytes(std::string_view s) {
    return QByteArray(s.data(), qsizetype(s.size()));
}
std::string_view view(const QByteArray& b) {
    return {b.constData(), std::size_t(b.size())};
}
L list(const std::vector<std::string>& texts) {
    L l;
    for (const auto& t : texts)
        l << q(t);
    return l;
}
L memoryOf(const State& s) {
    return list({s.memlist.begin(), s.memlist.begin() + s.memcount});
}
State loaded(const std::vector<TapeLine>& lines) {
    State s;
    applyTape(s, lines);
    return s;
}
// Writes a tape line with each subtotal, as the keypad does, and stores it from the newest line.
StoreOutcome storeAll(State& s, const L& values) {
    StoreOutcome last;
    for (const auto& v : values)
        s.entries[s.nextline] = "1 +", s.subtotals[s.nextline++] = v.toStdString(), last = storeSubtotal(s, 0, 0);
    return last;
}
// The texts placed at a row and right edge, "|" between them; "<nothing>" when none.
QString at(const std::vector<PlacedText>& texts, int row, int right) {
    L found;
    for (const PlacedText& t : texts)
        if (t.row == row && t.right == right)
            found << q(t.text);
    return found.isEmpty() ? QString("<nothing>") : found.join('|');
}
bool writeFile(const std::string& path, const QByteArray& bytes) {
    QFile f(q(path));
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
QByteArray records(int count) {
    QByteArray out;
    for (int i = 1; i <= count; ++i)
        out += QString("\"%1 +\",\"%1\"\r\n").arg(i).toLatin1();
    return out;
}
} // namespace

class TestCore : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
            qInfo("no comma-decimal locale: the rows run in the locale the test started with");
    }

    // ---- Numbers ----
    // A text read by textvalue (to the first character that cannot continue the number) and as a whole: one number,
    // too large a number, or anything else, which formatnumber leaves as it stands.
    void numberText_data() {
        columns({"text"});
        columns<double>({"value"});
        columns<bool>({"holds"});
        columns<double>({"whole"});
        columns({"shown"});
        const QString sevens(2'000'000, '7');
        row("entry with blanks around the sign") << "  -3 x" << -3.0 << false << kNone << "  -3 x";
        row("blanks, tab, line feed inside") << "1 2\t3\n4" << 1234.0 << false << kNone << "1 2\t3\n4";
        row("carriage return stops") << "1\r2" << 1.0 << false << kNone << "1\r2";
        row("leading comma: no number") << ",5" << 0.0 << false << kNone << ",5";
        row("leading point, zeros after it") << ".05" << 0.05 << true << 0.05 << ".0500";
        row("exponent letter d") << "2d3" << 2000.0 << true << 2000.0 << "2,000.0000";
        row("exponent without digits") << "4e+x" << 4.0 << false << kNone << "4e+x";
        row("bare exponent") << "1e" << 1.0 << false << kNone << "1e";
        row("underflow reads 0") << "1e-999" << 0.0 << true << 0.0 << ".0000";
        row("text of the largest double") << "1.79769313486232E+308" << kMax << true << kMax
                                          << "179,769,313,486,232" + QString(",000").repeated(98) + ".0000";
        row("text of the lowest double") << "-1.79769313486232E+308 -" << -kMax << false << kNone
                                         << "-1.79769313486232E+308 -";
        row("just above that text") << "1.797693134862321E+308" << kNone << true << kNone << "1.797693134862321E+308";
        row("exponent beyond any integer")
            << "1e99999999999999999999" << kNone << true << kNone << "1e99999999999999999999";
        row("row of the memory list") << "   1,234.5000\t" << 1.0 << true << 1234.5 << "1,234.5000";
        row("plus sign, point at the end") << "+5." << 5.0 << true << 5.0 << "5.0000";
        row("two million digits") << sevens << kNone << true << kNone << sevens; // and none of these hangs
        row("two million decimals") << "0." + sevens << 0.7777777777777778 << true << 0.7777777777777778 << ".7778";
        row("a million blanks first") << QString(1'000'000, ' ') + "5" << 5.0 << true << 5.0 << "5.0000";
    }
    void numberText() {
        QCOMPARE(tally::textvalue(str("text")).value_or(kNone), fetch<double>("value"));
        QCOMPARE(holdsOneNumber(str("text")), fetch<bool>("holds"));
        QCOMPARE(tally::wholeNumber(str("text")).value_or(kNone), fetch<double>("whole"));
        QCOMPARE(q(tally::formatnumber(str("text"), "###,###,###.0000")), fetch("shown"));
    }
    // The empty pattern gives the tape's own text of a number: 15 digits, exponent form outside 1e-5..1e15.
    void formatnumber_data() {
        columns<double>({"value"});
        columns({"pattern", "text"});
        row("0.1+0.2 at 15 digits") << 0.1 + 0.2 << ""
                                    << "0.3";
        row("1e15 in exponent form") << 1e15 << ""
                                     << "1E+15";
        row("0.0001 plain") << 0.0001 << ""
                            << "0.0001";
        row("0.00001, two exponent digits") << 0.00001 << ""
                                            << "1E-05";
        row("negative zero") << -0.0 << ""
                             << "0";
        row("negative, three exponent digits") << -2.25e-100 << ""
                                               << "-2.25E-100";
        row("largest double") << kMax << ""
                              << "1.79769313486232E+308";
        row("zero, two places") << 0.0 << "###,###,###.00"
                                << ".00";
        row("zero, no places") << 0.0 << "###,###,###"
                               << "";
        row("negative half away from zero") << -2.5 << "###,###,###"
                                            << "-3";
        row("binary tie") << 0.125 << "#.##"
                          << ".13";
        row("point without digits") << 12.0 << "#####.#####"
                                    << "12.";
        row("carry into a new group") << 999999.996 << "###,###,###.00"
                                      << "1,000,000.00";
        row("zero placeholders pad") << 5.0 << "00.00"
                                     << "05.00";
        row("no digit beyond the tape's 15") << 12345678901234567890.0 << "###,###,###.00"
                                             << "12,345,678,901,234,600,000.00";
        row("15 digits below 1E15 too") << 1234567890.123456 << "##,###.00######"
                                        << "1,234,567,890.12346";
        row("a keyed half rounds up") << 2.345 << "#.##"
                                      << "2.35";
        row("rounds to zero: no sign") << -0.4 << "###,###,###"
                                       << "";
        row("rounds to zero at two places") << -0.00001 << "###,###,###.00"
                                            << ".00";
        row("inf") << qInf() << "###,###,###"
                   << "";
        row("pattern of 10,001 characters")
            << 1.0 << QString(5000, '0') + '.' + QString(5000, '#') << QString(4999, '0') + "1.";
    }
    void formatnumber() { QCOMPARE(q(tally::formatnumber(fetch<double>("value"), str("pattern"))), fetch("text")); }
    // A figure too wide for its cell takes the exponent form with as many digits as fit.
    void fitFigure_data() {
        columns<double>({"value"});
        columns<int>({"room"});
        columns({"text"});
        row("fits") << 1234.5 << 10 << "1,234.50 +";
        row("all 15 digits") << 12345678901234567890.0 << 22 << "1.23456789012346E+19 +";
        row("fewer digits") << 12345678901234567890.0 << 12 << "1.2346E+19 +";
        row("one digit at least") << -1.5e300 << 3 << "-2E+300 +";
    }
    void fitFigure() {
        const double v = fetch<double>("value");
        const auto fits = [room = std::size_t(fetch<int>("room"))](std::string_view t) { return t.size() <= room; };
        QCOMPARE(q(tally::fitFigure(tally::formatnumber(v, "###,###,###.00"), v, " +", fits)), fetch("text"));
    }
    // Functions from one text to another, named before the colon of each row.
    void texts_data() {
        columns<QByteArray>({"input", "output"});
        row("splitEntry: keyed line") << QByteArray("12.5 x")
                                      << QByteArray("12.5| x|x"); // number|operator part|operator
        row("splitEntry: line 1's two blanks") << QByteArray("15  ") << QByteArray("15|  |");
        row("splitEntry: one character") << QByteArray("5") << QByteArray("5||");
        row("recallText: grouped, four decimals") << QByteArray("   1,234.5678") << QByteArray("1234.5678");
        row("recallText: no row selected") << QByteArray() << QByteArray("0");
        row("recallText: 15 digits") << QByteArray("123,456,789,012,345.0000") << QByteArray("123456789012345");
        row("utf8ToLatin1: euro is not Latin-1") << QByteArray("\xe2\x82\xac"
                                                               "5")
                                                 << QByteArray("?5");
        row("utf8ToLatin1: stray byte") << QByteArray("a\xff"
                                                      "b")
                                        << QByteArray("a?b");
        row("utf8ToLatin1: truncated at end") << QByteArray("a\xc3") << QByteArray("a?");
        row("utf8ToLatin1: overlong slash") << QByteArray("\xc0\xaf") << QByteArray("??");
        row("utf8ToLatin1: surrogate") << QByteArray("\xed\xa0\x80") << QByteArray("???");
        row("unitLabel: blank kept") << QByteArray("in > cm") << QByteArray(" cm");
        row("unitLabel: two marks, after the first") << QByteArray("a > b > c") << QByteArray(" b > c");
        row("unitLabel: no mark, whole caption") << QByteArray("None") << QByteArray("None");
        row("stateFolder: XDG_STATE_HOME|HOME") << QByteArray("/var/st/|/home/u") << QByteArray("/var/st/tallyroll");
        row("stateFolder: HOME when the other is relative")
            << QByteArray("st|/home/u") << QByteArray("/home/u/.local/state/tallyroll");
        row("stateFolder: neither absolute") << QByteArray("|u") << QByteArray();
        // year month day hour minute second pid attempt
        row("sessionStem: first try") << QByteArray("2026 12 1 9 5 7 4242 0")
                                      << QByteArray("tape-2026-12-01-090507-4242");
        row("sessionStem: number reused")
            << QByteArray("2026 12 1 9 5 7 4242 2") << QByteArray("tape-2026-12-01-090507-4242-2");
        row("keptName: a tape") << QByteArray("tape-2026-12-01-090507-42.cal")
                                << QByteArray("1 tape-2026-12-01-090507-42");
        row("keptName: a lock") << QByteArray("tape-2026-12-01-090507-42.lock")
                                << QByteArray("2 tape-2026-12-01-090507-42");
        row("keptName: earlier versions' file") << QByteArray("last-session.cal") << QByteArray("1 last-session");
        row("keptName: a path in disguise") << QByteArray("tape-../x.cal") << QByteArray("0 ");
        row("keptName: no stem") << QByteArray("tape-.cal") << QByteArray("0 ");
        row("keptName: a temporary file") << QByteArray(".tape-2026-12-01-1.cal.Ab12Cd") << QByteArray("0 ");
        // year month day hour minute lines|last subtotal
        row("keptRowText: one line") << QByteArray("2026 3 4 9 5 1|16.75")
                                     << QByteArray("03-04-2026 09:05, 1 line, 16.75");
        row("keptRowText: no subtotal") << QByteArray("2026 12 31 23 59 40|")
                                        << QByteArray("12-31-2026 23:59, 40 lines, no subtotal");
        // Lines on rows 8..0 (0: none) for nextline, or for the bottom line of a scrolled view, which blanks rows
        // without one.
        row("newestView: empty tape") << QByteArray("1") << QByteArray("newest 0 0 0 0 0 0 0 0 0");
        row("newestView: 10 lines") << QByteArray("11") << QByteArray("newest 2 3 4 5 6 7 8 9 10");
        row("newestView: full tape") << QByteArray("1001") << QByteArray("newest 992 993 994 995 996 997 998 999 1000");
        row("scrolledView: to line 7") << QByteArray("7") << QByteArray("scrolled 0 0 1 2 3 4 5 6 7");
        // Where windows open: the main window centred, (W - 661) / 2 and (H - 464) / 2 halves to even, in twips
        // (x 14.4); the others moved wholly into the area, here 1280 x 994 below a 30-pixel panel.
        row("centredOrigin: 1024 x 768, 181.5 -> 182") << QByteArray("1024 768") << QByteArray("2620.8 2188.8");
        row("centredOrigin: 1366 x 768, 352.5 -> 352") << QByteArray("1366 768") << QByteArray("5068.8 2188.8");
        row("centredOrigin: 640 x 480, no clamp: -10.5 -> -10") << QByteArray("640 480") << QByteArray("-144 115.2");
        row("fitWithin: below the bottom: lifted") << QByteArray("300 543 408 500") << QByteArray("300 524 408 500");
        row("fitWithin: above and left: pushed in") << QByteArray("-50 0 408 500") << QByteArray("0 30 408 500");
        row("fitWithin: taller than the area: top edge")
            << QByteArray("10 400 408 1200") << QByteArray("10 30 408 1200");
        // What may stand in a tape line: whatever a Latin-1 tape file carries inside its quotes.
        row("keepSavable: figures and blanks") << QByteArray("12.5, 3") << QByteArray("12.5, 3");
        row("keepSavable: Latin-1 letters") << QByteArray("5 \u00e9\u00b5") << QByteArray("5 \u00e9\u00b5");
        row("keepSavable: double quote") << QByteArray("7\"") << QByteArray("7");
        row("keepSavable: control characters but tab") << QByteArray("7\x01\t\x7f") << QByteArray("7\t");
        row("keepSavable: beyond Latin-1") << QByteArray("5\u20ac\U0001F600\u0439") << QByteArray("5");
        // A paste: a grouped figure without its commas; any other text with a comma refused.
        row("pastedText: grouped, line end after it") << QByteArray("-12,345.5\n") << QByteArray("-12345.5");
        row("pastedText: plain text as it is") << QByteArray(" 12.5") << QByteArray(" 12.5");
        row("pastedText: groups of four refused") << QByteArray("1,2345") << QByteArray("<none>");
        row("pastedText: comma after the point refused") << QByteArray("1.234,5") << QByteArray("<none>");
        row("pastedText: quote refused") << QByteArray("7\"") << QByteArray("<none>");
        // stored|opened|typed|operator: the editor's text unchanged keeps the stored number.
        row("editedEntry: only the operator changes")
            << QByteArray("0.123456789 +|0.12346|0.12346|-") << QByteArray("0.123456789 -");
        row("editedEntry: a typed number") << QByteArray("0.123456789 +|0.12346|0.1234|x") << QByteArray("0.1234 x");
        // entry|factor (no factor picked yet: no "|") to the converted text or the fault
        row("convertEntry: 12.5 in to cm") << QByteArray("12.5|2.54") << QByteArray("31.75");
        row("convertEntry: no factor counts as 0") << QByteArray("12.5") << QByteArray("0");
        row("convertEntry: entry not a number") << QByteArray("12 +|2.54") << QByteArray("fault: entry");
        row("convertEntry: factor not a number") << QByteArray("12|two") << QByteArray("fault: factor");
        row("convertEntry: product overflows") << QByteArray("1E+300|1E+10") << QByteArray("fault: no finite result");
        row("convertEntry: entry too large") << QByteArray("1E+400|1") << QByteArray("fault: no finite result");
    }
    void texts() {
        const QByteArray in = fetch<QByteArray>("input"),
                         function = QByteArray(QTest::currentDataTag()).split(':').first();
        std::string out;
        if (function == "splitEntry") {
            const EntryParts parts = splitEntry(view(in));
            const char op = entryOperator(view(in));
            out = std::string(parts.number) + '|' + std::string(parts.operatorPart) + '|' +
                  (op ? std::string(1, op) : "");
            if (parts.operatorPart.starts_with(' '))
                QCOMPARE(bytes(joinEntry(parts.number, op)), in); // and put together again
        } else if (function == "recallText")
            out = recallText(view(in)).value_or("<none>");
        else if (function == "utf8ToLatin1")
            out = utf8ToLatin1(view(in));
        else if (function == "pastedText")
            out = pastedText(view(in)).value_or("<none>");
        else if (function == "editedEntry") {
            const QList<QByteArray> f = in.split('|');
            out = editedEntry(view(f[0]), view(f[1]), view(f[2]), f[3][0]);
        } else if (function == "unitLabel")
            out = unitLabel(view(in));
        else if (function == "keepSavable") {
            out = keepSavable(view(in));
            QCOMPARE(savable(view(in)), bytes(out) == in);
            State state;
            QVERIFY(writeLine(state, "1e999" + std::string(view(in)),
                              '+')); // too large: kept as typed, less what cannot be saved
            QCOMPARE(q(state.entries[1]), q("1e999" + out + "  "));
        } else if (function.endsWith("View")) {
            const TapeView v = function == "newestView" ? newestView(in.toInt()) : scrolledView(in.toInt());
            out = v.scrolled ? "scrolled" : "newest";
            for (int r = kVisibleRows - 1; r >= 0; --r)
                out += ' ' + std::to_string(v.lines[r]);
        } else if (function == "centredOrigin") {
            const WindowOrigin o = centredOrigin(in.split(' ')[0].toInt(), in.split(' ')[1].toInt());
            out = QString("%1 %2").arg(QString::number(o.left), QString::number(o.top)).toStdString();
        } else if (function == "fitWithin") {
            const QList<QByteArray> n = in.split(' ');
            const Box b =
                tally::fitWithin({n[0].toInt(), n[1].toInt(), n[2].toInt(), n[3].toInt()}, {0, 30, 1280, 994});
            out = QString("%1 %2 %3 %4").arg(b.left).arg(b.top).arg(b.width).arg(b.height).toStdString();
        } else if (function == "sessionStem" || function == "keptRowText") {
            QList<int> n;
            for (const QByteArray& number : in.split('|')[0].split(' '))
                n << number.toInt();
            const LocalTime t{n[0], n[1], n[2], n[3], n[4], n[5]};
            out = function == "sessionStem" ? sessionStem(t, n[6], n[7])
                                            : keptRowText({"", 0, t, n[5], in.split('|')[1].toStdString(), false});
        } else if (function == "keptName") {
            const KeptName name = keptName(view(in));
            out = std::to_string(int(name.kind)) + ' ' + name.stem;
        } else if (function == "stateFolder")
            out = stateFolder(view(in.split('|')[0]), view(in.split('|')[1]));
        else {
            const QList<QByteArray> parts = in.split('|');
            const Conversion c =
                convertEntry(view(parts[0]), parts.size() > 1 ? std::optional(view(parts[1])) : std::nullopt);
            QCOMPARE(conversionFaultText(c.fault).empty(), c.fault == ConversionFault::None);
            const std::array<std::string, 4> faults{"", "fault: entry", "fault: factor", "fault: no finite result"};
            out = c.fault == ConversionFault::None ? c.text : faults[int(c.fault)];
        }
        QCOMPARE(bytes(out), fetch<QByteArray>("output"));
    }
    // ---- The tape ----
    // Keypad keys, and typed into the box what stands in braces. Trace: per typed key its sound; per keypad press its
    // sound and what came of it: Typed, line Written, Ignored, tape Full. Sound 1 is the operator click, 2 the digit's.
    void keypad_data() {
        columns<int>({"before"});
        columns({"keys", "tape", "box", "trace"}); // before: lines already on the tape
        const QString huge = "1" + QString(309, '0'), locked = QString(15, 'i');
        row("running subtotal") << 0 << "5+3x4-2/"
                                << "5  =5|3 x=15|4 -=11|2 /=5.5"
                                << ""
                                << "2t1w2t1w2t1w2t1w";
        row("division by zero; the next line counts from 0") << 0 << "8+{00/}5+"
                                                             << "8  =8|0 /=|5 +=5"
                                                             << ""
                                                             << "2t1w2211w2t1w";
        row("second point ends the number; a lone point is 0") << 0 << "1.2.3+.x"
                                                               << "1.2  =1.2|0 x=0"
                                                               << ""
                                                               << "2t2t2t2t2t1w2t1w";
        row("typed number rewritten") << 0 << "{00012.50+}"
                                      << "12.5  =12.5"
                                      << ""
                                      << "2222222211w";
        row("typed blank and comma reach the box") << 0 << "{1 2,5*}"
                                                   << "12  =12"
                                                   << ""
                                                   << "2121211w";
        row("typed minus on an empty box starts a number") << 0 << "{-5\r}"
                                                           << "-5  =-5"
                                                           << ""
                                                           << "1211w";
        row("operators on an empty box do nothing") << 0 << "+x/"
                                                    << ""
                                                    << ""
                                                    << "iii";
        row("minus on an empty box, silently, then locks") << 0 << "-0123456789.+-x/"
                                                           << ""
                                                           << "-"
                                                           << "t" + locked;
        row("a lone zero locks") << 0 << "00123456789.+-x/"
                                 << ""
                                 << "0"
                                 << "2t" + locked;
        row("typing frees the lone minus") << 0 << "-{5}+"
                                           << "-5  =-5"
                                           << ""
                                           << "t21w";
        row("line 1000 is the last") << 999 << "5+7+"
                                     << "5 +=1004"
                                     << "7"
                                     << "2t1w2tf";
        row("too large as line 1: kept, no subtotal") << 0 << "{" + huge + "+}6+" << huge + "  =|6 +=6"
                                                      << "" << QString(310, '2') + "11w2t1w";
        row("too large as line 2") << 1 << "{" + huge + "*}" << huge + " x="
                                   << "" << QString(310, '2') + "11w";
    }
    void keypad() {
        State s = tapeOf(fetch<int>("before"));
        std::string text;
        QString got;
        bool typing = false;
        auto sound = [&](Sound sd) {
            if (sd != Sound::None)
                got += QString::number(int(sd));
        };
        for (QChar c : fetch("keys")) {
            if (c == '{' || c == '}') {
                typing = c == '{';
                continue;
            }
            int index = QStringLiteral("0123456789.?+-x?/").indexOf(c); // the keypad's key indices
            if (typing) {                                               // as the window's character handler does
                const KeyRule r = entryBoxKey(c.unicode(), text.empty());
                sound(r.sound);
                if (r.command == KeyCommand::Pass)
                    text += c.toLatin1();
                const int op = int(r.command) - int(KeyCommand::Add);
                if (op < 0 || op > 3)
                    continue;
                index = std::array{kAdd, kSubtract, kMultiply, kDivide}[op];
            }
            const Press p = pressKey(s, text, index);
            if (!typing && p.outcome == Press::Typed && index <= kPointKey)
                QCOMPARE(q(p.keyed), QString(c));
            sound(p.sound);
            got += "itwf"[p.outcome];
            text = p.box;
        }
        L lines;
        for (int n = fetch<int>("before") + 1; n < s.nextline; ++n)
            lines << q(s.entries[n]) + '=' + q(s.subtotals[n]);
        QCOMPARE(lines.join('|') + '/' + q(text) + '/' + got,
                 fetch("tape") + '/' + fetch("box") + '/' + fetch("trace"));
    }
    // Each character in the entry box (holding text unless `empty`) and the row editor: command and sound per key, or
    // one pair for all. Pass, sWallow, + - * /, eXit, Clear tape, Store, Konstant, prEview, Quit the edit; sound as
    // above.
    void keys_data() {
        columns({"keys"});
        columns<bool>({"empty"});
        columns({"box", "editor"});
        row("digits and point") << "0123456789." << false << "P2"
                                << "P2";
        row("Enter") << "\r" << false << "+1"
                     << "P1";
        row("operators") << "+-*/" << false << "+1-1*1/1"
                         << "+1-1*1/1";
        row("- on an empty box") << "-" << true << "P1"
                                 << "-1";
        row("letters") << "oOcCsSkKxXeE" << true << "X1X1C1C1S1S1K1K1W1W1W1W1"
                       << "W1W1W1W1S-S-W1W1X-X-E-E-";
        row("Esc") << "\x1b" << false << "P1"
                   << "Q-";
        row("Backspace") << "\b" << true << "P1"
                         << "P2";
        row("other codes below 0") << " ,!#$%&()\x16" << false << "P1"
                                   << "P1";
        row("double quote: no tape file can carry it") << "\"" << false << "W1"
                                                       << "W1";
        row("other codes above 9") << QString(":;<=>?@[]az~") + QChar(0xE9) + QChar(0x43C) << false << "W1"
                                   << "W1";
    }
    void keys() {
        const QString keys = fetch("keys"), box = fetch("box"), editor = fetch("editor");
        auto code = [](KeyRule r) {
            return QString("PW+-*/XCSKEQ"[int(r.command)]) + (r.sound == Sound::None ? '-' : QChar('0' + int(r.sound)));
        };
        for (int i = 0, at = 0; i < keys.size(); ++i, at = box.size() == 2 ? 0 : 2 * i)
            QCOMPARE(code(entryBoxKey(keys[i].unicode(), fetch<bool>("empty"))) + code(editorKey(keys[i].unicode())),
                     box.mid(at, 2) + editor.mid(at, 2));
    }
    void cells_data() {
        columns<int>({"line"});
        columns({"lineCell", "entry", "entryCell", "subtotal"});
        columns<int>({"places"});
        columns({"scrolled", "newest"});
        row("grouped") << 7 << "7 #"
                       << "1234.5 +"
                       << "1,234.50 +"
                       << "1234.56" << 2 << "1,234.56 ="
                       << "1,234.56 =";
        row("four places") << 1000 << "1000 #"
                           << "1234 -"
                           << "1,234.00 -"
                           << "1234.56" << 4 << "1,234.5600 ="
                           << "1,234.5600 =";
        row("eight decimals at most") << 3 << "3 #"
                                      << "0.123456789 /"
                                      << ".12345679 /"
                                      << "-2.5" << 2 << "-2.50 ="
                                      << "-2.50 =";
        row("line 1, failed subtotal") << 1 << "1 #"
                                       << "15  "
                                       << "15.00  "
                                       << "" << 2 << " ="
                                       << "";
        row("loaded texts") << 2 << "2 #"
                            << "5"
                            << "5.00"
                            << "abc" << 2 << "abc ="
                            << "abc";
        row("too large an entry") << 9 << "9 #"
                                  << "1e309 +"
                                  << "<none>"
                                  << "1E+16" << 0 << "10,000,000,000,000,000 ="
                                  << "10,000,000,000,000,000 =";
    }
    void cells() {
        const std::string_view places = kSubtotalPatterns[fetch<int>("places")];
        QCOMPARE(q(lineNumberCell(fetch<int>("line"))) + '|' + q(entryCell(str("entry"))),
                 fetch("lineCell") + '|' + fetch("entryCell"));
        QCOMPARE(q(subtotalCell(str("subtotal"), places)) + '|' + q(newestSubtotalCell(str("subtotal"), places)),
                 fetch("scrolled") + '|' + fetch("newest"));
    }
    void recalculate_data() {
        columns({"entries", "subtotals"}); // "|" between lines
        row("line 2 edited to 7 +") << "10  |7 +|2 x"
                                    << "10|17|34";
        row("line 1 ignores an operator") << "4 x|5 +|2 x"
                                          << "4|9|18";
        row("typed text read to the first non-digit") << "1,250 +|5 -"
                                                      << "1|-4";
        row("a lone point, a bare exponent, a double minus") << "2  |. +|1e +|-- +"
                                                             << "2|2|3|3";
        row("no operator keeps the subtotal") << "2  |5|1 +"
                                              << "2|stale|1";
        row("division by zero; the next counts from 0") << "8  |0 /|5 +"
                                                        << "8||5";
        row("too large an entry") << "1e309 +|1 +"
                                  << "|1";
    }
    void recalculate() {
        std::vector<TapeLine> lines;
        for (const QString& e : fetch("entries").split('|'))
            lines.push_back({e.toStdString(), "stale"});
        State s = loaded(lines);
        s.entries[s.nextline] = "9 +"; // beyond the tape
        tally::recalculate(s);
        L got;
        for (int i = 1; i <= s.nextline; ++i)
            got << q(s.subtotals[i]);
        QCOMPARE(got.join('|'), fetch("subtotals") + "|");
    }
    void copyText_data() {
        columns<L>({"lines"});
        columns<int>({"places"});
        columns({"text"}); // lines: "entry|subtotal"
        row("known tape") << L{"1234.5  |1234.5", "2 +|1236.5", "3 x|3709.5"} << 2
                          << "1\t1,234.50\t\t1,234.50\n2\t2.00\t+\t1,236.50\n3\t3.00\tx\t3,709.50\n";
        row("failed subtotal stays empty") << L{"5  |5", "0 /|"} << 1 << "1\t5.00\t\t5.0\n2\t.00\t/\t\n";
        row("loaded tab keeps four columns") << L{"5  |a\tb"} << 2 << "1\t5.00\t\ta b\n";
    }
    void copyText() {
        std::vector<TapeLine> tape;
        for (const QString& l : fetch<L>("lines"))
            tape.push_back({l.section('|', 0, 0).toStdString(), l.section('|', 1).toStdString()});
        QCOMPARE(q(tally::copyText(loaded(tape), kSubtotalPatterns.at(fetch<int>("places")))), fetch("text"));
    }
    // ---- Memory: the rows and total both lists show, Store, Remove, Clear ----
    // Store each value, then Remove the row selected (-1: none): both lists, right-aligned, and what memory then holds
    // ({}: what was stored, nothing removed).
    void storeRemove_data() {
        columns<L>({"values"});
        columns<int>({"selected"});
        columns<L>({"rows", "memory"});
        columns({"total"});
        row("total 0, nothing selected") << L{"5", "-5"} << -1 << L{"5.0000", "-5.0000"} << L{} << ".0000";
        // A row wider than its 23 characters takes the exponent form rather than losing its front.
        row("23 characters grouped") << L{"12345678901234"} << -1 << L{"12,345,678,901,234.0000"} << L{}
                                     << "12,345,678,901,234.0000";
        row("total too large: List2 stays empty")
            << L{"1.7E+308", "1.7E+308"} << -1 << L{"1.7E+308", "1.7E+308"} << L{} << "<none>";
        row("15 digits survive in exponent form") << L{"123456789012345", "1.5"} << 1 << L{"1.23456789012345E+14"}
                                                  << L{"123456789012345.0000"} << "1.23456789012345E+14";
        // Memory keeps the rounded values, so later totals add those.
        row("rounded to four decimals") << L{"1.00004", "1.00004", "5"} << 2 << L{"1.0000", "1.0000"}
                                        << L{"1.0000", "1.0000"} << "2.0000";
        row("first of three") << L{"1", "-2.5", "3"} << 0 << L{"-2.5000", "3.0000"} << L{"-2.5000", "3.0000"}
                              << ".5000";
        row("past the last row") << L{"1", "2"} << 2 << L{"1.0000", "2.0000"} << L{} << "3.0000";
    }
    void storeRemove() {
        const L values = fetch<L>("values"), memory = fetch<L>("memory");
        State s;
        const StoreOutcome stored = storeAll(s, values);
        QCOMPARE(stored.result, StoreResult::Stored);
        QCOMPARE(memoryOf(s), values); // stored as the tape holds them
        const RemoveOutcome out = removeStored(s, stored.lists.rows, fetch<int>("selected"));
        QCOMPARE(out.result, memory.isEmpty() ? RemoveResult::NothingSelected : RemoveResult::Removed);
        const MemoryLists& lists = memory.isEmpty() ? stored.lists : out.lists;
        L expected = fetch<L>("rows") << fetch("total");
        for (QString& r : expected)
            r = r == "<none>" ? r : r.rightJustified(kMemoryRowWidth);
        QCOMPARE(list(lists.rows) << q(lists.total), expected);
        QCOMPARE(memoryOf(s), memory.isEmpty() ? values : memory);
    }
    void storeChoosesLine_data() {
        columns<int>({"viewmode", "scrollline"});
        columns({"stored"}); // "": nothing stored
        row("scrolled to line 1") << 2 << 1 << "10";
        row("scrolled to a failed line") << 2 << 3 << "";
        row("scrolled past the end") << 2 << 5 << "";
        row("scrolled to line 0") << 2 << 0 << "";
    }
    void storeChoosesLine() {
        const QString stored = fetch("stored");
        State s = loaded({{"1  ", "10"}, {"1 +", "30"}, {"1 /", ""}, {"1 +", "60"}});
        s.subtotals[0] = s.subtotals[5] = "99"; // not lines of the tape
        const StoreOutcome out = storeSubtotal(s, fetch<int>("viewmode"), fetch<int>("scrollline"));
        QCOMPARE(out.result, stored.isEmpty() ? StoreResult::NothingToStore : StoreResult::Stored);
        QCOMPARE(memoryOf(s), stored.isEmpty() ? L{} : L{stored});
    }
    // List1 keeps the newest 25 rows in sight; a full memory refuses a store; after Clear the next store is row 1.
    void manyStores() {
        State s;
        QList<int> first;
        for (int k = 1; k <= 30; ++k)
            first << storeAll(s, {QString::number(k)}).firstVisibleRow;
        QCOMPARE(first.mid(23), (QList<int>{0, 0, 1, 2, 3, 4, 5}));
        s.memcount = kMemorySlots - 1;
        QCOMPARE(storeAll(s, {"7"}).result, StoreResult::Stored);
        QCOMPARE(storeAll(s, {"8"}).result, StoreResult::Full);
        QCOMPARE(memoryOf(s).mid(kMemorySlots - 2), L({"", "7"}));
        clearMemory(s);
        QCOMPARE(q(s.memlist[2]), QString(" 0"));
        QCOMPARE(list(storeAll(s, {"4"}).lists.rows), L{QString("4.0000").rightJustified(kMemoryRowWidth)});
    }
    // ---- The preview page and the printed sheets: which text stands in which row and column ----
    // Entries keep their own decimals (at most 8 in preview, 4 on paper); subtotals carry two, and printplaces is left
    // at 2. Every one of the preview's 120 rows is numbered, whatever the tape holds; lines past 120 never show.
    void pageEntries_data() {
        columns({"entry", "preview", "paper", "subtotal", "subtotalText"}); // subtotalText: both
        row("many decimals, rounded") << "0.123456789 +"
                                      << ".12345679 +"
                                      << ".1235 +"
                                      << "0.125"
                                      << ".13 =";
        row("grouped") << "1234567 x"
                       << "1,234,567.00 x"
                       << "1,234,567.00 x"
                       << "1234.5"
                       << "1,234.50 =";
        row("first line's two blanks") << "15  "
                                       << "15.00  "
                                       << "15.00  "
                                       << ""
                                       << " =";
        // A short entry must never print as another line's figure; a too large one prints nothing.
        row("one character") << "5"
                             << "5.00"
                             << "5.00"
                             << "2"
                             << "2.00 =";
        row("empty") << ""
                     << ".00"
                     << ""
                     << "2"
                     << "2.00 =";
        row("too large") << "1e309 +"
                         << "<nothing>"
                         << "<nothing>"
                         << "2"
                         << "2.00 =";
    }
    void pageEntries() {
        const QString preview = fetch("preview"), subtotal = fetch("subtotalText");
        State state = tapeOf(200);
        state.entries[2] = state.entries[62] = str("entry");
        state.subtotals[2] = str("subtotal");
        state.nextline = 5; // the preview draws what the arrays hold, whatever nextline says
        const auto page = previewPage(state);
        QCOMPARE(page.size(), std::size_t(6 * kPageRows - (preview == "<nothing>" ? 2 : 0)));
        for (const PlacedText& t : page)
            QVERIFY(t.text.find("121") == std::string::npos);
        QCOMPARE(at(page, 7, kPreviewLeft.lineNumber) + at(page, 1, kPreviewRight.lineNumber) +
                     at(page, 60, kPreviewRight.lineNumber),
                 "  7 # 61 #120 #");
        QCOMPARE(at(page, 2, kPreviewLeft.entry) + '|' + at(page, 2, kPreviewRight.entry) + '|' +
                     at(page, 2, kPreviewLeft.subtotal) + '|' + at(page, 3, kPreviewLeft.entry),
                 preview + '|' + preview + '|' + subtotal + "|3.00 +");
        state.printplaces = 4;
        state.nextline = 71;
        const auto sheet = paperSheets(state).at(0).texts;
        QCOMPARE(state.printplaces, 2);
        QCOMPARE(at(sheet, 2, kPaperLeft.entry) + '|' + at(sheet, 2, kPaperRight.entry) + '|' +
                     at(sheet, 2, kPaperLeft.lineNumber) + '|' + at(sheet, 2, kPaperLeft.subtotal) + '|' +
                     at(sheet, 3, kPaperLeft.entry),
                 fetch("paper") + '|' + fetch("paper") + "|2 #|" + subtotal + "|3.00 +");
    }
    void sheets_data() {
        columns<int>({"lines", "count", "textsOnLastSheet"});
        row("empty tape") << 0 << 1 << 0;
        row("119 lines") << 119 << 1 << 119 * 3;
        row("120 lines fill one sheet") << 120 << 1 << 120 * 3;
        row("121 lines") << 121 << 2 << 3;
    }
    void sheets() {
        const int lines = fetch<int>("lines"), count = fetch<int>("count");
        State state = tapeOf(lines);
        state.entries[181] = "99 +"; // beyond the tape: never printed
        QCOMPARE(sheetCount(state.nextline), count);
        const auto sheets = paperSheets(state);
        QCOMPARE(int(sheets.size()), count);
        for (int s = 0; s < count; ++s)
            QCOMPARE(QPair(sheets[s].baseLine, sheets[s].dateLine), QPair(s * kLinesPerSheet, s == 0));
        QCOMPARE(int(sheets.back().texts.size()), fetch<int>("textsOnLastSheet"));
        if (lines == 121)
            QCOMPARE(at(sheets[0].texts, 60, kPaperRight.lineNumber) + at(sheets[1].texts, 1, kPaperLeft.subtotal),
                     QString("120 #121.00 ="));
        QCOMPARE(q(dateText(2024, 3, 7)), QString("03-07-2024"));
    }
    // ---- Files: records, tape files, factor tables ----
    void fields_data() {
        columns<QByteArray>({"input"});
        columns<Bytes>({"fields"});
        row("quoted field holds commas") << QByteArray("\"a,b\",\"c\"\r\n") << Bytes{"a,b", "c"};
        row("bare fields keep trailing blanks") << QByteArray("3 +  ,15.5\r\n") << Bytes{"3 +  ", "15.5"};
        row("blanks before a field skipped") << QByteArray("  \"x\",\t y\r\n") << Bytes{"x", "y"};
        row("CRLF, LF and CR end lines") << QByteArray("a\r\nb\nc\rd") << Bytes{"a", "b", "c", "d"};
        row("after closing quote skip to separator") << QByteArray("\"a\" junk,b\r\nc") << Bytes{"a", "b", "c"};
        row("unterminated quote runs to end") << QByteArray("\"abc,def\r\nghi") << Bytes{"abc,def\r\nghi"};
        row("comma at end promises a field") << QByteArray("a,") << Bytes{"a", ""};
        row("two line ends, two fields") << QByteArray("\n\n") << Bytes{"", ""};
        row("only blanks: no field") << QByteArray("   ") << Bytes{};
        row("leading UTF-8 byte-order mark skipped")
            << QByteArray("\xEF\xBB\xBF\"12.5  \",\xEF\xBB\xBF") << Bytes{"12.5  ", "\xEF\xBB\xBF"};
        row("NUL bytes are plain bytes") << QByteArray("a\0b,c", 5) << Bytes{QByteArray("a\0b", 3), "c"};
    }
    void fields() {
        RecordReader reader(view(fetch<QByteArray>("input")));
        Bytes fields;
        while (auto field = reader.nextField())
            fields << bytes(*field);
        QCOMPARE(fields, fetch<Bytes>("fields"));
    }
    // Save, open, save: the same bytes and the same subtotals; Save As checks that by reading back.
    void tapeRoundTrip() {
        // Trailing blanks, failed (empty) subtotals, a comma, a Latin-1 letter and a full tape come back exactly.
        std::vector<TapeLine> lines = {
            {"5  ", "5"}, {"0 /", ""}, {"1.5E+20 x  ", ""}, {"1,234 +", "1,239"}, {"caf\u00e9 +", " "}};
        for (int i = 0; i < 995; ++i)
            lines.push_back({std::to_string(i) + " +", std::to_string(i * 3)});
        const State saved = loaded(lines);
        const std::string file = encodeTape(saved);
        QVERIFY(bytes(file).startsWith("\"5  \",\"5\"\r\n\"0 /\",\"\"\r\n"));
        const TapeDecode back = tally::decodeTape(file);
        QVERIFY2(back.ok() && back.lines == lines, back.error.c_str());
        State restored = loaded({{"9 +", "9"}});
        applyTape(restored, back.lines);
        QCOMPARE(encodeTape(restored), file);
        QVERIFY(restored.nextline == 1001 && restored.subtotals == saved.subtotals);
        QCOMPARE(readBackProblem(saved, file), std::string());
        State quoted = saved; // a quote would end the field early and shift the line's texts
        quoted.entries[2] = "7\" +";
        QVERIFY(readBackProblem(quoted, encodeTape(quoted)).starts_with("Line 2 "));
        applyTape(restored, {{"7  ", "7"}, {"1 +", "8"}}); // a shorter tape leaves none of the old lines behind
        QCOMPARE(restored.nextline, 3);
        for (int i = 3; i <= kTapeLines; ++i)
            QVERIFY(restored.entries[i].empty() && restored.subtotals[i].empty());
        QCOMPARE(bytes(encodeTape(loaded({{"\u00b5 x", "\u20ac"}}))),
                 QByteArray("\"\xb5 x\",\"?\"\r\n")); // Latin-1 on disk
        QCOMPARE(encodeTape(State{}), std::string()); // an empty tape, an empty file
        std::string all(256, ' ');                    // every Latin-1 byte comes back
        std::iota(all.begin(), all.end(), '\0');
        QCOMPARE(QString::fromUtf8(bytes(latin1ToUtf8(all))), QString::fromLatin1(bytes(all)));
        QCOMPARE(bytes(utf8ToLatin1(latin1ToUtf8(all))), bytes(all));
    }
    void decodeTape_data() {
        columns<QByteArray>({"bytes"});
        columns<int>({"lines"});
        columns({"lastEntry"}); // lines -1: refused
        row("1000 records") << records(1000) << 1000 << "1000 +";
        row("1001 records refused") << records(1001) << -1 << "";
        row("one-field last record refused") << records(3) + "\"4 +\"\r\n" << -1 << "";
        row("empty file") << QByteArray() << 0 << "";
        row("blank lines at end ignored") << records(2) + "\r\n  \r\n" << 2 << "2 +";
        row("LF, bare fields, no last line end") << QByteArray("5  ,5\n2 +,7") << 2 << "2 +";
        row("one record per field line") << QByteArray("\"5  \"\r\n\"5\"\r\n") << 1 << "5  ";
        row("binary junk refused") << QByteArray("\x01\x02\x03", 3) << -1 << "Line 1 ";
        // A third text would shift every later line's texts.
        row("a third text refused") << QByteArray("\"5  \",\"5\",\"note\"\r\n\"3 +\",\"8\",\"note\"\r\n") << -1
                                    << "Line 1 of the file holds more than two texts";
        row("a trailing comma refused") << records(2) + "\"3 +\",\"6\",\r\n"
                                        << -1 << "Line 3 of the file holds more than two texts";
        row("a control character refused") << records(2) + "\"3\x7f +\",\"6\"\r\n"
                                           << -1 << "Line 3 of the file holds a control character";
    }
    void decodeTape() { // a refused file gives no lines, and its message names the line at fault
        const TapeDecode result = tally::decodeTape(view(fetch<QByteArray>("bytes")));
        const int lines = int(result.lines.size());
        const QString last = lines ? q(result.lines.back().entry) : q(result.error).left(fetch("lastEntry").size());
        QCOMPARE(QPair(result.ok() ? lines : -1 - lines, last), QPair(fetch<int>("lines"), fetch("lastEntry")));
    }
    // Kept tapes as "stem:changed:lines", ":run" when the program still runs: which are offered, which removed.
    void chooseKept_data() {
        columns({"tapes", "offered", "removed"});
        row("newest first, running left out") << "a:1:2 b:3:1 c:2:4 r:9:3:run"
                                              << "b c a"
                                              << "";
        row("same time: by name") << "a:5:1 b:5:1"
                                  << "b a"
                                  << "";
        row("ended empty tape removed") << "a:1:2 e:5:0 r:6:0:run"
                                        << "a"
                                        << "e";
        L many, newest;
        for (int i = 1; i <= 22; ++i)
            many << QString("t%1:%1:1").arg(i, 2, 10, QChar('0')), newest.prepend(many.last().left(3));
        row("beyond twenty removed") << many.join(' ') << newest.mid(0, 20).join(' ') << "t02 t01";
    }
    void chooseKept() {
        std::vector<KeptTape> tapes;
        for (const QString& t : fetch("tapes").split(' ')) {
            const QStringList f = t.split(':');
            tapes.push_back({f[0].toStdString(), f[1].toLongLong(), {}, f[2].toInt(), "", f.size() > 3});
        }
        L offered, removed;
        const KeptChoice choice = tally::chooseKept(tapes);
        for (const KeptTape& t : choice.offered)
            offered << q(t.stem);
        for (const std::string& stem : choice.removed)
            removed << q(stem);
        QCOMPARE(offered.join(' ') + '|' + removed.join(' '), fetch("offered") + '|' + fetch("removed"));
    }
    // The state folder as found, then this session keeps a tape; another session ran before and one runs beside.
    // Result: how this session's keep went, the line counts of the tapes offered, the folder's mode.
    void keptFolder_data() {
        columns({"result"});
        row("a private folder") << "kept; offered 2; mode 700";
        row("a folder open to all: made private") << "kept; offered 2; mode 700";
        row("a file, not a folder") << "it is a file, not a folder; offered ; mode 600";
        row("another user's folder") << "the folder belongs to another user; offered ; mode 777";
        row("links, pipes, damaged and foreign tapes skipped, left alone") << "kept; offered 2; mode 700";
        row("a keep over the file cap: the stale tape goes")
            << "the tape would make a file of 512 KiB, and a tape file holds at most 512 KiB; offered 2; mode 700";
    }
    void keptFolder() {
        const QString tag = QTest::currentDataTag();
        QTemporaryDir dir;
        const std::string folder = dir.filePath("tallyroll").toStdString(),
                          outside = dir.filePath("x.cal").toStdString();
        const QByteArray tape = "\"5  \",\"5\"\r\n\"2 +\",\"7\"\r\n";
        QVERIFY(writeFile(outside, tape));
        const std::vector<std::string> planted{"tape-2001-01-01-000000-1.cal", "tape-2001-01-01-000000-2.cal",
                                               "tape-2001-01-01-000000-3.cal", "last-session.cal"};
        if (tag.contains("a file,"))
            QVERIFY(writeFile(folder, "") && ::chmod(folder.c_str(), 0600) == 0);
        else
            QVERIFY(::mkdir(folder.c_str(), 0700) == 0 &&
                    ::chmod(folder.c_str(), tag.contains("private") ? 0700 : 0777) == 0);
        if (tag.contains("another") && (::geteuid() != 0 || ::chown(folder.c_str(), 65534, 65534) != 0))
            QSKIP("needs root to give a folder to another user");
        if (tag.contains("links")) {
            QVERIFY(::symlink(outside.c_str(), (folder + '/' + planted[0]).c_str()) == 0);
            QVERIFY(::mkfifo((folder + '/' + planted[1]).c_str(), 0600) == 0);
            QVERIFY(writeFile(folder + '/' + planted[2], "\"5  \""));
            if (::geteuid() == 0) // a tape of another user's
                QVERIFY(writeFile(folder + '/' + planted[3], tape) &&
                        ::chown((folder + '/' + planted[3]).c_str(), 65534, 0) == 0);
        }
        {
            KeptSession before(folder);
            before.keep(view(tape));
        }
        KeptSession beside(folder), ours(folder);
        beside.keep(view(tape));
        Result<> kept = ours.keep(view(records(1)));
        if (tag.contains("cap")) // the tape kept before must not be offered once the session ends
            kept = ours.keep(std::string(kLargestTapeFile + 1, '\n')), ours.end();
        L offered;
        for (const KeptTape& t : tally::chooseKept(readKeptTapes(folder)).offered)
            offered << QString::number(t.lines);
        struct stat info {};
        ::stat(folder.c_str(), &info);
        QCOMPARE(QString("%1; offered %2; mode %3")
                     .arg(kept ? "kept" : q(kept.reason()), offered.join(' '))
                     .arg(info.st_mode & 0777, 0, 8),
                 fetch("result"));
        if (tag.contains("links")) {
            for (const std::string& name : planted)
                if (name != planted[3] || ::geteuid() == 0)
                    QVERIFY2(::lstat((folder + '/' + name).c_str(), &info) == 0, name.c_str());
            QCOMPARE(tally::readWholeFile(outside, 100).bytes, tape.toStdString());
        }
    }
    // After a quoted and a bare record; a record cut short by the end of the file is dropped.
    void factorFile_data() {
        columns<QByteArray>({"tail"});
        columns({"rows"});
        row("three records") << QByteArray("\"Grams\",\"0.001\",\"Kilograms\",\"g > kg\"\r\n\r\n")
                             << "|Grams,0.001,Kilograms,g > kg";
        row("three fields last") << QByteArray("\"Grams\",\"0.001\",\"Kilograms\"\r\n") << "";
        row("one field last") << QByteArray("\"Grams\"") << "";
    }
    void factorFile() {
        L read; // from,factor,to,caption per record
        const QByteArray file = "\"Inches\",\"2.54\",\"Centimetres\",\"in > cm\"\r\nFeet, 0.3048, Metres, ft > m\n" +
                                fetch<QByteArray>("tail");
        for (const FactorRow& r : readFactorTable(view(file)))
            read << q(r.from + ',' + r.factor + ',' + r.to + ',' + r.caption);
        QCOMPARE(read.join('|'), "Inches,2.54,Centimetres,in > cm|Feet,0.3048,Metres,ft > m" + fetch("rows"));
    }
};

QTEST_GUILESS_MAIN(TestCore)
#include "test_core.moc"
