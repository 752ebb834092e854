// The pure core without a window, one table per rule. Every row runs under a comma-decimal locale when
// the machine has one: "." stays the point whatever the process locale says.
#include <QtTest>
#include <clocale>
#include <numeric>
#include <sys/stat.h>
#include <unistd.h>

#include "conversion/factortable.h"
#include "core/keypad.h"
#include "core/keys.h"
#include "core/numbers.h"
#include "core/operators.h"
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
#include "tape/spokenline.h"
#include "tapes.h"

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
Tape loaded(const std::vector<TapeLine>& lines) {
    Tape t;
    applyTape(t, lines);
    return t;
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
// A key rule in words: the command (an operator by its tape character), then the sound file it plays.
QString said(KeyRule rule) {
    static const L commands{"pass", "swallow", "operate", "exit", "clear", "store", "constant", "preview", "cancel"};
    static const L sounds{"", " calc1", " calc2"};
    const QString command =
        rule.command == KeyCommand::Operate ? QString(operatorChar(rule.op)) : commands[int(rule.command)];
    return command + sounds[int(rule.sound)];
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
        const QString sevens(2'000'000, '7'), largest = "179,769,313,486,232" + QString(",000").repeated(98) + ".0000";
        add("entry with blanks around the sign", {"  -3 x", -3.0, false, kNone, "  -3 x"});
        add("blanks, tab, line feed inside", {"1 2\t3\n4", 1234.0, false, kNone, "1 2\t3\n4"});
        add("carriage return stops", {"1\r2", 1.0, false, kNone, "1\r2"});
        add("leading comma: no number", {",5", 0.0, false, kNone, ",5"});
        add("leading point, zeros after it", {".05", 0.05, true, 0.05, ".0500"});
        add("exponent letter d", {"2d3", 2000.0, true, 2000.0, "2,000.0000"});
        add("exponent without digits", {"4e+x", 4.0, false, kNone, "4e+x"});
        add("underflow reads 0", {"1e-999", 0.0, true, 0.0, ".0000"});
        add("text of the largest double", {"1.79769313486232E+308", kMax, true, kMax, largest});
        add("just above that text", {"1.797693134862321E+308", kNone, true, kNone, "1.797693134862321E+308"});
        add("exponent beyond any integer", {"1e99999999999999999999", kNone, true, kNone, "1e99999999999999999999"});
        add("row of the memory list", {"   1,234.5000\t", 1.0, true, 1234.5, "1,234.5000"});
        add("plus sign, point at the end", {"+5.", 5.0, true, 5.0, "5.0000"});
        add("two million digits", {sevens, kNone, true, kNone, sevens}); // and none of these hangs
        add("two million decimals", {"0." + sevens, 0.7777777777777778, true, 0.7777777777777778, ".7778"});
        add("a million blanks first", {QString(1'000'000, ' ') + "5", 5.0, true, 5.0, "5.0000"});
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
        add("0.1+0.2 at 15 digits", {0.1 + 0.2, "", "0.3"});
        add("1e15 in exponent form", {1e15, "", "1E+15"});
        add("0.0001 plain", {0.0001, "", "0.0001"});
        add("0.00001, two exponent digits", {0.00001, "", "1E-05"});
        add("negative zero", {-0.0, "", "0"});
        add("largest double", {kMax, "", "1.79769313486232E+308"});
        add("negative half away from zero", {-2.5, "###,###,###", "-3"});
        add("binary tie", {0.125, "#.##", ".13"});
        add("point without digits", {12.0, "#####.#####", "12."});
        add("carry into a new group", {999999.996, "###,###,###.00", "1,000,000.00"});
        add("zero placeholders pad", {5.0, "00.00", "05.00"});
        add("no digit beyond the tape's 15",
            {12345678901234567890.0, "###,###,###.00", "12,345,678,901,234,600,000.00"});
        add("15 digits below 1E15 too", {1234567890.123456, "##,###.00######", "1,234,567,890.12346"});
        add("a keyed half rounds up", {2.345, "#.##", "2.35"});
        add("rounds to zero: no sign", {-0.4, "###,###,###", ""});
        add("rounds to zero at two places", {-0.00001, "###,###,###.00", ".00"});
        add("inf", {qInf(), "###,###,###", ""});
        add("pattern of 10,001 characters",
            {1.0, QString(5000, '0') + '.' + QString(5000, '#'), QString(4999, '0') + "1."});
    }
    void formatnumber() { QCOMPARE(q(tally::formatnumber(fetch<double>("value"), str("pattern"))), fetch("text")); }
    // A figure too wide for its cell takes the exponent form with as many digits as fit.
    void fitFigure_data() {
        columns<double>({"value"});
        columns<int>({"room"});
        columns({"text"});
        add("fewer digits", {12345678901234567890.0, 12, "1.2346E+19 +"});
        add("one digit at least", {-1.5e300, 3, "-2E+300 +"});
    }
    void fitFigure() {
        const double v = fetch<double>("value");
        const auto fits = [room = std::size_t(fetch<int>("room"))](std::string_view t) { return t.size() <= room; };
        QCOMPARE(q(tally::fitFigure(tally::formatnumber(v, "###,###,###.00"), v, " +", fits)), fetch("text"));
    }
    // Where windows open: the main window centred, (W - 661) / 2 and (H - 464) / 2 halves to even, in twips (x 14.4).
    void centredOrigin_data() {
        columns<int>({"width", "height"});
        columns({"origin"});
        add("1366 x 768, 352.5 -> 352", {1366, 768, "5068.8 2188.8"});
        add("640 x 480, no clamp: -10.5 -> -10", {640, 480, "-144 115.2"});
    }
    void centredOrigin() {
        const WindowOrigin o = tally::centredOrigin(fetch<int>("width"), fetch<int>("height"));
        QCOMPARE(QString::number(o.left) + ' ' + QString::number(o.top), fetch("origin"));
    }
    // Other windows move wholly into the area, here 1280 x 994 below a 30-pixel panel: left top width height.
    void fitWithin_data() {
        columns({"window", "placed"});
        add("below the bottom: lifted", {"300 543 408 500", "300 524 408 500"});
        add("above and left: pushed in", {"-50 0 408 500", "0 30 408 500"});
        add("taller than the area: top edge", {"10 400 408 1200", "10 30 408 1200"});
    }
    void fitWithin() {
        const L n = fetch("window").split(' ');
        const Box b = tally::fitWithin({n[0].toInt(), n[1].toInt(), n[2].toInt(), n[3].toInt()}, {0, 30, 1280, 994});
        QCOMPARE(QString("%1 %2 %3 %4").arg(b.left).arg(b.top).arg(b.width).arg(b.height), fetch("placed"));
    }

    // ---- The tape ----
    // What may stand in a tape line: whatever a Latin-1 tape file carries inside its quotes. A number too large to
    // read is kept as typed, less what could not be saved.
    void savable_data() {
        columns({"typed", "kept"});
        add("Latin-1 letters", {"5 \u00e9\u00b5", "5 \u00e9\u00b5"});
        add("double quote", {"7\"", "7"});
        add("control characters but tab", {"7\x01\t\x7f", "7\t"});
        add("beyond Latin-1", {"5\u20ac\U0001F600\u0439", "5"});
    }
    void savable() {
        const std::string typed = str("typed"), kept = str("kept");
        QCOMPARE(q(keepSavable(typed)), q(kept));
        QCOMPARE(tally::savable(typed), typed == kept);
        Tape state;
        QVERIFY(writeLine(state, "1e999" + typed, '+'));
        QCOMPARE(q(state.entries[1]), q("1e999" + kept + "  "));
    }
    // A paste into the entry box or the editor: a grouped figure without its commas, any other text with a comma
    // refused, as is what a tape file cannot carry.
    void pastedText_data() {
        columns({"clipboard", "pasted"});
        add("grouped, line end after it", {"-12,345.5\n", "-12345.5"});
        add("plain text as it is", {" 12.5", " 12.5"});
        add("groups of four refused", {"1,2345", "<none>"});
        add("comma after the point refused", {"1.234,5", "<none>"});
        add("quote refused", {"7\"", "<none>"});
    }
    void pastedText() { QCOMPARE(q(tally::pastedText(str("clipboard"))), fetch("pasted")); }
    // The editor's text unchanged keeps the stored number, however many decimals the editor showed.
    void editedEntry_data() {
        columns({"stored", "opened", "typed", "operator", "written"});
        add("only the operator changes", {"0.123456789 +", "0.12346", "0.12346", "-", "0.123456789 -"});
        add("a typed number", {"0.123456789 +", "0.12346", "0.1234", "x", "0.1234 x"});
    }
    void editedEntry() {
        const std::string written = tally::editedEntry(str("stored"), str("opened"), str("typed"), str("operator")[0]);
        QCOMPARE(q(written), fetch("written"));
    }
    // Keypad keys, with what stands in braces typed straight into the box (what typing sounds is the key table's).
    // Sound 1 is calc1, the operator click; 2 is calc2, the digit click.
    void keypad_data() {
        columns<int>({"before"}); // lines already on the tape
        columns({"keys", "tape", "box", "sounds", "last press"});
        const QString huge = "1" + QString(309, '0');
        add("running subtotal", {0, "5+3x4-2/", "5  =5|3 x=15|4 -=11|2 /=5.5", "", "21212121", "written"});
        add("division by zero; the next line counts from 0",
            {0, "8+{00}/5+", "8  =8|0 /=|5 +=5", "", "21121", "written"});
        add("a second point ends it; a lone point is 0", {0, "1.2.3+.x", "1.2  =1.2|0 x=0", "", "22222121", "written"});
        add("typed number rewritten", {0, "{00012.50}+", "12.5  =12.5", "", "1", "written"});
        add("operators on an empty box do nothing", {0, "+x/", "", "", "", "ignored"});
        add("minus on an empty box, silently, then locks", {0, "-0123456789.+-x/", "", "-", "", "ignored"});
        add("a lone zero locks", {0, "00123456789.+-x/", "", "0", "2", "ignored"});
        add("typing frees the lone minus", {0, "-{5}+", "-5  =-5", "", "1", "written"});
        add("line 1000 is the last", {999, "5+7+", "5 +=1004", "7", "212", "full"});
        add("too large as line 1: kept", {0, "{" + huge + "}+6+", huge + "  =|6 +=6", "", "121", "written"});
        add("too large as line 2", {1, "{" + huge + "}x", huge + " x=", "", "1", "written"});
    }
    void keypad() {
        static const L outcomes{"ignored", "typed", "written", "full"};
        Tape s = tapeOf(fetch<int>("before"));
        std::string box;
        QString sounds, last;
        bool typing = false;
        for (QChar c : fetch("keys")) {
            if (c == '{' || c == '}')
                typing = c == '{';
            else if (typing)
                box += c.toLatin1();
            else {
                const int index = QStringLiteral("0123456789.?+-x?/").indexOf(c); // the keypad's key indices
                const Press p = pressKey(s, box, index);
                if (p.outcome == Press::Typed && index <= kPointKey)
                    QCOMPARE(q(p.keyed), QString(c));
                sounds += p.sound == Sound::None ? "" : QString::number(int(p.sound));
                last = outcomes[p.outcome];
                box = p.box;
            }
        }
        L lines;
        for (int n = fetch<int>("before") + 1; n < s.nextline; ++n)
            lines << q(s.entries[n]) + '=' + q(s.subtotals[n]);
        QCOMPARE(lines.join('|') + " / " + q(box) + " / " + sounds + " / " + last,
                 fetch("tape") + " / " + fetch("box") + " / " + fetch("sounds") + " / " + fetch("last press"));
    }
    // What each character does in the entry box (holding text unless `empty`) and in the row editor; a letter in either
    // case. Where a row names one result per key, they stand in the keys' order.
    void keys_data() {
        columns({"keys"});
        columns<bool>({"empty"});
        columns({"entry box", "editor"});
        add("digits and point", {"0123456789.", false, "pass calc2", "pass calc2"});
        add("Enter", {"\r", false, "+ calc1", "pass calc1"});
        add("operators", {"+-*/", false, "+ calc1|- calc1|x calc1|/ calc1", "+ calc1|- calc1|x calc1|/ calc1"});
        add("- on an empty box", {"-", true, "pass calc1", "- calc1"});
        add("letters", {"ocskxe", true, "exit calc1|clear calc1|store calc1|constant calc1|swallow calc1|swallow calc1",
                        "swallow calc1|swallow calc1|store|swallow calc1|exit|preview"});
        add("Esc", {"\x1b", false, "pass calc1", "cancel"});
        add("Backspace", {"\b", true, "pass calc1", "pass calc2"});
        add("Delete edits the box, types nothing", {"\x7f", false, "pass", "pass"});
        add("other codes below 0", {" ,!#$%&()\x16", false, "pass calc1", "pass calc1"});
        add("double quote (no tape file carries it), codes above 9",
            {QString("\":;<=>?@[]az~\u00e9\u043c"), false, "swallow calc1", "swallow calc1"});
    }
    void keys() {
        const QString keys = fetch("keys");
        const L box = fetch("entry box").split('|'), editor = fetch("editor").split('|');
        for (int i = 0; i < keys.size(); ++i)
            for (QChar key : {keys[i], keys[i].toUpper()})
                QCOMPARE(said(entryBoxKey(key.unicode(), fetch<bool>("empty"))) + " | " +
                             said(editorKey(key.unicode())),
                         box.value(i, box.last()) + " | " + editor.value(i, editor.last()));
    }
    void cells_data() {
        columns<int>({"line"});
        columns({"lineCell", "entry", "entryCell", "subtotal"});
        columns<int>({"places"});
        columns({"scrolled", "newest"});
        add("grouped", {7, "7 #", "1234.5 +", "1,234.50 +", "1234.56", 2, "1,234.56 =", "1,234.56 ="});
        add("four places", {1000, "1000 #", "1234 -", "1,234.00 -", "1234.56", 4, "1,234.5600 =", "1,234.5600 ="});
        add("eight decimals at most", {3, "3 #", "0.123456789 /", ".12345679 /", "-2.5", 2, "-2.50 =", "-2.50 ="});
        add("line 1, failed subtotal", {1, "1 #", "15  ", "15.00  ", "", 2, " =", ""});
        add("loaded texts", {2, "2 #", "5", "5.00", "abc", 2, "abc =", "abc"});
        add("too large an entry",
            {9, "9 #", "1e309 +", "<none>", "1E+16", 0, "10,000,000,000,000,000 =", "10,000,000,000,000,000 ="});
    }
    void cells() {
        const std::string_view places = kSubtotalPatterns[fetch<int>("places")];
        QCOMPARE(q(lineNumberCell(fetch<int>("line"))) + " | " + q(entryCell(str("entry"))) + " | " +
                     q(subtotalCell(str("subtotal"), places)) + " | " + q(newestSubtotalCell(str("subtotal"), places)),
                 fetch("lineCell") + " | " + fetch("entryCell") + " | " + fetch("scrolled") + " | " + fetch("newest"));
    }
    // A line as a screen reader says it, from its cells as shown (a preview line's number is padded).
    void spokenLine_data() {
        columns({"number", "entry", "subtotal", "said"});
        add("times, on the preview", {"  7 #", "2.00 x", "14.00 =", "line 7, 2.00 times, subtotal 14.00"});
        add("divided by, failed", {"5 #", "0.00 /", "", "line 5, 0.00 divided by, no subtotal"});
        add("line 1 has no operator", {"1 #", "12.50  ", " =", "line 1, 12.50, no subtotal"});
        add("a loaded text", {"2 #", "abc", "abc =", "line 2, abc, subtotal abc"});
        add("a page row beyond the tape", {" 61 #", "", "", ""});
    }
    void spokenLine() { QCOMPARE(q(tally::spokenLine(str("number"), str("entry"), str("subtotal"))), fetch("said")); }
    // Recomputed from line 1; then Clear Entries empties every line, and what an edit left past the end.
    void recalculate_data() {
        columns({"entries", "subtotals"}); // "|" between lines
        add("line 2 edited to 7 +", {"10  |7 +|2 x", "10|17|34"});
        add("line 1 ignores an operator", {"4 x|5 +|2 x", "4|9|18"});
        add("a lone point, a bare exponent, a double minus", {"2  |. +|1e +|-- +", "2|2|3|3"});
        add("no operator keeps the subtotal", {"2  |5|1 +", "2|stale|1"});
    }
    void recalculate() {
        std::vector<TapeLine> lines;
        for (const QString& e : fetch("entries").split('|'))
            lines.push_back({e.toStdString(), "stale"});
        Tape s = loaded(lines);
        s.entries[s.nextline] = "9 +"; // beyond the tape
        tally::recalculate(s);
        L got;
        for (int i = 1; i <= s.nextline; ++i)
            got << q(s.subtotals[i]);
        QCOMPARE(got.join('|'), fetch("subtotals") + "|");
        tally::clearTape(s);
        QCOMPARE(q(std::accumulate(s.entries.begin(), s.entries.end(), std::string())), QString());
        QCOMPARE(s.nextline, 1);
    }
    void copyText_data() {
        columns<L>({"lines"}); // "entry|subtotal"
        columns<int>({"places"});
        columns({"text"});
        const QString known = "1\t1,234.50\t\t1,234.50\n2\t2.00\t+\t1,236.50\n3\t3.00\tx\t3,709.50\n";
        add("known tape", {L{"1234.5  |1234.5", "2 +|1236.5", "3 x|3709.5"}, 2, known});
        add("failed subtotal stays empty", {L{"5  |5", "0 /|"}, 1, "1\t5.00\t\t5.0\n2\t.00\t/\t\n"});
        add("loaded tab keeps four columns", {L{"5  |a\tb"}, 2, "1\t5.00\t\ta b\n"});
    }
    void copyText() {
        std::vector<TapeLine> tape;
        for (const QString& l : fetch<L>("lines"))
            tape.push_back({l.section('|', 0, 0).toStdString(), l.section('|', 1).toStdString()});
        QCOMPARE(q(tally::copyText(loaded(tape), kSubtotalPatterns.at(fetch<int>("places")))), fetch("text"));
    }

    // ---- Memory: the rows and total both lists show, Store, Remove, Clear, recall ----
    // Store each value, then Remove the row selected (-1: none): both lists, right-aligned, and what memory then holds
    // ({}: what was stored, nothing removed).
    void storeRemove_data() {
        columns<L>({"values"});
        columns<int>({"selected"});
        columns<L>({"rows", "memory"});
        columns({"total"});
        add("total 0, nothing selected", {L{"5", "-5"}, -1, L{"5.0000", "-5.0000"}, L{}, ".0000"});
        // A row wider than its 23 characters takes the exponent form rather than losing its front.
        add("23 characters grouped",
            {L{"12345678901234"}, -1, L{"12,345,678,901,234.0000"}, L{}, "12,345,678,901,234.0000"});
        add("total too large", {L{"1.7E+308", "1.7E+308"}, -1, L{"1.7E+308", "1.7E+308"}, L{}, "<none>"});
        add("15 digits survive in exponent form", {L{"123456789012345", "1.5"}, 1, L{"1.23456789012345E+14"},
                                                   L{"123456789012345.0000"}, "1.23456789012345E+14"});
        // Memory keeps the rounded values, so later totals add those.
        add("rounded to four decimals",
            {L{"1.00004", "1.00004", "5"}, 2, L{"1.0000", "1.0000"}, L{"1.0000", "1.0000"}, "2.0000"});
        add("first of three", {L{"1", "-2.5", "3"}, 0, L{"-2.5000", "3.0000"}, L{"-2.5000", "3.0000"}, ".5000"});
        add("past the last row", {L{"1", "2"}, 2, L{"1.0000", "2.0000"}, L{}, "3.0000"});
    }
    void storeRemove() {
        const L values = fetch<L>("values"), memory = fetch<L>("memory");
        State s;
        StoreOutcome stored;
        for (const QString& v : values) { // a tape line with each subtotal, stored from the newest line
            s.tape.entries[s.tape.nextline] = "1 +";
            s.tape.subtotals[s.tape.nextline++] = v.toStdString();
            stored = storeSubtotal(s, 0, 0);
        }
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
        add("scrolled to line 1", {2, 1, "10"});
        add("scrolled to a failed line", {2, 3, ""});
        add("scrolled past the end", {2, 5, ""});
        add("scrolled to line 0", {2, 0, ""});
    }
    void storeChoosesLine() {
        const QString stored = fetch("stored");
        State s;
        s.tape = loaded({{"1  ", "10"}, {"1 +", "30"}, {"1 /", ""}, {"1 +", "60"}});
        s.tape.subtotals[0] = "99"; // not lines of the tape
        s.tape.subtotals[5] = "99";
        const StoreOutcome out = storeSubtotal(s, fetch<int>("viewmode"), fetch<int>("scrollline"));
        QCOMPARE(out.result, stored.isEmpty() ? StoreResult::NothingToStore : StoreResult::Stored);
        QCOMPARE(memoryOf(s), stored.isEmpty() ? L{} : L{stored});
    }
    // A row of either list, recalled into the entry box.
    void recall_data() {
        columns({"row", "recalled"});
        add("grouped, four decimals", {"   1,234.5678", "1234.5678"});
        add("15 digits", {"123,456,789,012,345.0000", "123456789012345"});
    }
    void recall() { QCOMPARE(q(recallText(str("row"))), fetch("recalled")); }

    // ---- Conversion: the entry times the factor picked ("<none>": none yet), or what the user is told ----
    void convertEntry_data() {
        columns({"entry", "factor", "result"});
        const QString tooLarge = "The converted number would be too large, so the entry was not converted.";
        add("12.5 in to cm", {"12.5", "2.54", "31.75"});
        add("no factor counts as 0", {"12.5", "<none>", "0"});
        add("entry not a number", {"12 +", "2.54", "The entry is not a number, so it cannot be converted."});
        add("factor not a number",
            {"12", "two", "The conversion factor in the table is not a number, so the entry was not converted."});
        add("product overflows", {"1E+300", "1E+10", tooLarge});
        add("entry too large", {"1E+400", "1", tooLarge});
    }
    void convertEntry() {
        const std::string factor = str("factor");
        const Conversion c =
            tally::convertEntry(str("entry"), factor == "<none>" ? std::nullopt : std::optional(factor));
        QCOMPARE(q(c.fault == ConversionFault::None ? c.text : conversionFaultText(c.fault)), fetch("result"));
    }

    // ---- Printed sheets (pictures in the print tests): nextline / 120 rounded up, an empty tape still dated ----
    void sheets_data() {
        columns<int>({"lines", "sheets"});
        add("empty tape", {0, 1});
        add("120 lines fill one sheet", {120, 1});
        add("121 lines", {121, 2});
    }
    void sheets() { QCOMPARE(int(paperSheets(tapeOf(fetch<int>("lines"))).size()), fetch<int>("sheets")); }

    // ---- Files: records, tape files, factor tables, the state folder, writing to disk ----
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
        // Trailing blanks, failed (empty) subtotals, a comma, Latin-1 from 0x80 up and a full tape come back exactly.
        std::vector<TapeLine> lines = {
            {"5  ", "5"}, {"0 /", ""}, {"1.5E+20 x  ", ""}, {"1,234 +", "1,239"}, {"caf\u00e9\u0080 +", " "}};
        for (int i = 0; i < 995; ++i)
            lines.push_back({std::to_string(i) + " +", std::to_string(i * 3)});
        const Tape saved = loaded(lines);
        const std::string file = encodeTape(saved);
        const Result<std::vector<TapeLine>> back = tally::decodeTape(file);
        QCOMPARE(q(back.reason()), QString());
        QVERIFY(*back == lines);
        QCOMPARE(saved.nextline, 1001);
        QCOMPARE(readsBack(saved, file).reason(), std::string());
        Tape quoted = saved; // a quote would end the field early and shift the line's texts
        quoted.entries[2] = "7\" +";
        QCOMPARE(q(readsBack(quoted, encodeTape(quoted)).reason()).left(7), QString("Line 2 "));
        Tape restored = saved;
        applyTape(restored, {{"7  ", "7"}, {"1 +", "8"}}); // a shorter tape leaves none of the old lines behind
        QCOMPARE(encodeTape(restored), std::string("\"7  \",\"7\"\r\n\"1 +\",\"8\"\r\n"));
        QVERIFY(restored.entries[3].empty());
        QCOMPARE(bytes(encodeTape(loaded({{"\u00b5 x", "\u20ac"}}))), QByteArray("\"\xb5 x\",\"?\"\r\n")); // Latin-1
        QCOMPARE(encodeTape(Tape{}), std::string()); // an empty tape, an empty file
    }
    void decodeTape_data() {
        columns<QByteArray>({"bytes"});
        columns<int>({"lines"}); // -1: refused, and no line given
        columns({"last entry or message"});
        const QString thirdText = "of the file holds more than two texts";
        add("1000 records", {records(1000), 1000, "1000 +"});
        add("1001 records refused", {records(1001), -1, "The file holds more than 1000 lines"});
        add("one-field last record", {records(3) + "\"4 +\"\r\n", -1, "The last line of the file holds only one"});
        add("empty file", {QByteArray(), 0, ""});
        add("blank lines at end ignored", {records(2) + "\r\n  \r\n", 2, "2 +"});
        add("LF, bare fields, no last line end", {QByteArray("5  ,5\n2 +,7"), 2, "2 +"});
        add("one record per field line", {QByteArray("\"5  \"\r\n\"5\"\r\n"), 1, "5  "});
        // A third text would shift every later line's texts.
        add("a third text refused",
            {QByteArray("\"5  \",\"5\",\"note\"\r\n\"3 +\",\"8\",\"note\"\r\n"), -1, "Line 1 " + thirdText});
        add("a trailing comma refused", {records(2) + "\"3 +\",\"6\",\r\n", -1, "Line 3 " + thirdText});
        add("a control character refused",
            {records(2) + "\"3\x7f +\",\"6\"\r\n", -1, "Line 3 of the file holds a control character"});
    }
    void decodeTape() { // a refused file gives no lines, and its message names the line at fault
        const Result<std::vector<TapeLine>> result = tally::decodeTape(view(fetch<QByteArray>("bytes")));
        const QString expected = fetch("last entry or message");
        const QString told = !result ? q(result.reason()) : result->empty() ? QString() : q(result->back().entry);
        QCOMPARE(result ? int(result->size()) : -1, fetch<int>("lines"));
        QCOMPARE(told.left(expected.size()), expected);
    }
    // What stands at the name ("link X": a link to X; "umask U": nothing, under that umask): a link leads to the file
    // it names; what is not a file the user may write is refused and left as it was. A new file takes its mode from the
    // umask (022 unless told), a replaced one keeps its own. Nothing is left beside it either way.
    void writeRefused_data() {
        columns({"before", "told", "after"}); // after: what the name leads to, as type, mode and bytes
        add("a link: the file it names, its mode kept", {"link file 640", "", "file 640 new"});
        add("a link to no file yet: it is made, the link stays", {"link", "", "file 644 new"});
        add("a new file in a group-shared folder", {"umask 002", "", "file 664 new"});
        add("a read-only file", {"file 444", "The file is read-only.", "file 444 old"});
        add("a link to a pipe", {"link pipe", "It is not a file", "pipe 600 "});
    }
    void writeRefused() {
        const QString before = fetch("before");
        QTemporaryDir dir;
        const std::string name = dir.filePath("t.cal").toStdString(), real = dir.filePath("real").toStdString();
        const std::string made = before.startsWith("link") ? real : name;
        if (before.contains("file")) {
            QVERIFY(writeFile(made, "old"));
            QCOMPARE(::chmod(made.c_str(), before.right(3).toUInt(nullptr, 8)), 0);
        }
        if (before.endsWith("pipe"))
            QCOMPARE(::mkfifo(made.c_str(), 0600), 0);
        if (before.startsWith("link"))
            QCOMPARE(::symlink(real.c_str(), name.c_str()), 0);
        const mode_t umask = ::umask(before.startsWith("umask") ? before.right(3).toUInt(nullptr, 8) : 022);
        const Result<> written = tally::replaceFile(name, "new");
        ::umask(umask);
        QVERIFY2(q(written.reason()).startsWith(fetch("told")), written.reason().c_str());
        struct stat after {};
        QCOMPARE(::stat(name.c_str(), &after), 0);
        QFile file(q(name));
        const QString bytes = S_ISREG(after.st_mode) && file.open(QIODevice::ReadOnly) ? file.readAll() : "";
        const char* type = S_ISREG(after.st_mode) ? "file" : "pipe";
        QCOMPARE(QString("%1 %2 %3").arg(type).arg(after.st_mode & 07777, 0, 8).arg(bytes), fetch("after"));
        QCOMPARE(QFileInfo(q(name)).isSymLink(), before.startsWith("link"));
        QCOMPARE(QDir(dir.path()).entryList({".t.cal*"}, QDir::AllEntries | QDir::Hidden | QDir::System), L{});
    }
    // After a quoted and a bare record; a record cut short by the end of the file is dropped.
    void factorFile_data() {
        columns<QByteArray>({"tail"});
        columns({"rows"});
        add("three records",
            {QByteArray("\"Grams\",\"0.001\",\"Kilograms\",\"g > kg\"\r\n\r\n"), "|Grams,0.001,Kilograms,g > kg"});
        add("three fields last", {QByteArray("\"Grams\",\"0.001\",\"Kilograms\"\r\n"), ""});
        add("one field last", {QByteArray("\"Grams\""), ""});
    }
    void factorFile() {
        L read; // from,factor,to,caption per record
        const QByteArray file = "\"Inches\",\"2.54\",\"Centimetres\",\"in > cm\"\r\nFeet, 0.3048, Metres, ft > m\n" +
                                fetch<QByteArray>("tail");
        for (const FactorRow& r : readFactorTable(view(file)))
            read << q(r.from + ',' + r.factor + ',' + r.to + ',' + r.caption);
        QCOMPARE(read.join('|'), "Inches,2.54,Centimetres,in > cm|Feet,0.3048,Metres,ft > m" + fetch("rows"));
    }
    void stateFolder_data() {
        columns({"XDG_STATE_HOME", "HOME", "folder"});
        add("XDG_STATE_HOME first", {"/var/st/", "/home/u", "/var/st/tallyroll"});
        add("HOME when the other is relative", {"st", "/home/u", "/home/u/.local/state/tallyroll"});
        add("neither absolute", {"", "u", ""});
    }
    void stateFolder() { QCOMPARE(q(tally::stateFolder(str("XDG_STATE_HOME"), str("HOME"))), fetch("folder")); }
    // A session's files are named by its start and process; only such names, and the one file earlier versions
    // kept, are taken for kept tapes (kind 1) or locks (2).
    void keptName_data() {
        columns({"name", "kind stem"});
        add("a tape", {"tape-2026-12-01-090507-42.cal", "1 tape-2026-12-01-090507-42"});
        add("a lock", {"tape-2026-12-01-090507-42-1.lock", "2 tape-2026-12-01-090507-42-1"});
        add("earlier versions' file", {"last-session.cal", "1 last-session"});
        add("a path in disguise", {"tape-../x.cal", "0 "});
        add("a temporary file", {".tape-2026-12-01-1.cal.Ab12Cd", "0 "});
    }
    void keptName() {
        const KeptName name = tally::keptName(str("name"));
        QCOMPARE(QString::number(name.kind) + ' ' + q(name.stem), fetch("kind stem"));
        const KeptTape one{"", 0, {2026, 3, 4, 9, 5, 59}, 1, "", false}; // and a kept tape's menu row
        QCOMPARE(q(tally::keptRowText(one)), QString("03-04-2026 09:05, 1 line, no subtotal"));
    }
    // Kept tapes as "stem:changed:lines", ":run" when the program still runs: which are offered, which removed.
    void chooseKept_data() {
        columns({"tapes", "offered", "removed"});
        add("newest first, running left out", {"a:1:2 b:3:1 c:2:4 r:9:3:run", "b c a", ""});
        add("same time: by name", {"a:5:1 b:5:1", "b a", ""});
        add("ended empty tape removed", {"a:1:2 e:5:0 r:6:0:run", "a", "e"});
        L many, newest;
        for (int i = 1; i <= 22; ++i) {
            many << QString("t%1:%1:1").arg(i, 2, 10, QChar('0'));
            newest.prepend(many.last().left(3));
        }
        add("beyond twenty removed", {many.join(' '), newest.mid(0, 20).join(' '), "t02 t01"});
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
    // The state folder as found; a session ran before, one runs beside, and this one keeps a tape. Result: how this
    // session's keep went, the line counts of the tapes offered, the folder's mode as the first session left it.
    void keptFolder_data() {
        columns({"result"});
        add("none yet: made private whatever the umask", {"kept; offered 2; mode 700"});
        add("a file, not a folder", {"it is a file, not a folder; offered ; mode 644"});
        add("another user's folder", {"the folder belongs to another user; offered ; mode 777"});
        add("links, pipes, damaged and foreign tapes in a folder open to all", {"kept; offered 2; mode 700"});
        add("a keep over the file cap: the stale tape goes",
            {"the tape would make a file of 512 KiB, and a tape file holds at most 512 KiB; offered 2; mode 700"});
    }
    void keptFolder() {
        const QString tag = QTest::currentDataTag();
        const QTemporaryDir dir;
        const std::string folder = dir.filePath("tallyroll").toStdString();
        const std::string outside = dir.filePath("x.cal").toStdString();
        const QByteArray tape = "\"5  \",\"5\"\r\n\"2 +\",\"7\"\r\n";
        QVERIFY(writeFile(outside, tape));
        const std::string planted = folder + "/tape-2001-01-01-000000-"; // then a process number
        const bool root = ::geteuid() == 0;
        const mode_t umask = ::umask(022);
        if (tag.startsWith("a file"))
            QVERIFY(writeFile(folder, ""));
        else if (!tag.startsWith("none")) {
            QCOMPARE(::mkdir(folder.c_str(), 0700), 0);
            QCOMPARE(::chmod(folder.c_str(), 0777), 0);
        }
        if (tag.contains("another") && (!root || ::chown(folder.c_str(), 65534, 65534) != 0))
            QSKIP("needs root to give a folder to another user");
        if (tag.contains("links")) {
            QCOMPARE(::symlink(outside.c_str(), (planted + "1.cal").c_str()), 0);
            QCOMPARE(::mkfifo((planted + "2.cal").c_str(), 0600), 0);
            QVERIFY(writeFile(planted + "3.cal", "\"5  \"")); // cut short
            if (root) {                                       // a tape of another user's
                QVERIFY(writeFile(folder + "/last-session.cal", tape));
                QCOMPARE(::chown((folder + "/last-session.cal").c_str(), 65534, 0), 0);
            }
        }
        KeptSession(folder).keep(view(tape));
        struct stat info {};
        ::stat(folder.c_str(), &info); // a later session must not be needed to mend it
        KeptSession beside(folder), ours(folder);
        beside.keep(view(tape));
        Result<> kept = ours.keep(view(records(1)));
        ::umask(umask);
        if (tag.contains("cap")) { // the tape kept before must not be offered once the session ends
            kept = ours.keep(std::string(kLargestTapeFile + 1, '\n'));
            ours.end();
        }
        L offered;
        for (const KeptTape& t : tally::chooseKept(readKeptTapes(folder)).offered)
            offered << QString::number(t.lines);
        const QString result =
            QString("%1; offered %2; mode %3").arg(kept ? "kept" : q(kept.reason()), offered.join(' '));
        QCOMPARE(result.arg(info.st_mode & 0777, 0, 8), fetch("result"));
    }
    // The data is on disk before the new file takes the old one's name, and the folder after it, so a power cut
    // leaves the old file or the new one whole. Watched with strace on a second run of this very test.
    void durableWrite() {
        if (qEnvironmentVariableIsSet("TALLYROLL_WRITE_ONLY")) {
            QCOMPARE(replaceFile(qgetenv("TALLYROLL_WRITE_ONLY").toStdString(), "new").reason(), std::string());
            return;
        }
        const QTemporaryDir dir;
        QProcess traced;
        qputenv("TALLYROLL_WRITE_ONLY", dir.filePath("t.cal").toLocal8Bit()); // for the traced run only
        traced.start("strace", {"-f", "-y", "-e", "trace=fsync,fdatasync,rename,renameat,renameat2", "-o",
                                dir.filePath("trace"), QCoreApplication::applicationFilePath(), "durableWrite"});
        if (!traced.waitForFinished() || traced.exitCode() != 0)
            QSKIP("strace cannot run here");
        QFile trace(dir.filePath("trace"));
        QVERIFY(trace.open(QIODevice::ReadOnly));
        L steps; // each call on the folder or a file in it
        const QRegularExpression call("\\b(fsync|rename)\\w*\\((?:\\d+<|\")" + QRegularExpression::escape(dir.path()) +
                                      "(/?)");
        for (const QRegularExpressionMatch& m : call.globalMatch(QString::fromUtf8(trace.readAll())))
            steps << m.captured(1) + (m.captured(2).isEmpty() ? " folder" : " file");
        QCOMPARE(steps.join(", "), QString("fsync file, rename file, fsync folder"));
    }
};

QTEST_GUILESS_MAIN(TestCore)
#include "test_core.moc"
