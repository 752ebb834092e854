// The tape without a window: the keypad rule and the keyboard's key table driving it, the entry
// codec, the cell texts, which line stands on which of the nine rows, and the recalculation.
#include <QtTest>

#include "core/keypad.h"
#include "core/keys.h"
#include "core/taperule.h"
#include "tape/cells.h"
#include "tape/recalc.h"
#include "tapes.h"

using namespace tally;

// Lines from..nextline-1 as "entry=subtotal", "|" between them.
static QString linesOf(const State& s, int from) {
    QStringList lines;
    for (int n = from; n < s.nextline; ++n) lines << q(s.entries[n]) + '=' + q(s.subtotals[n]);
    return lines.join('|');
}

static QString rule(KeyRule r) {
    static const char* const names[] = {"Pass", "Swallow", "Add", "Subtract", "Multiply", "Divide",
                                        "Exit", "ClearTape", "Store", "Constant", "Preview", "Cancel"};
    return QString("%1/%2").arg(names[int(r.command)]).arg(r.sound == Sound::None ? QString("-") : QString::number(int(r.sound)));
}

class TestTape : public QObject {
    Q_OBJECT
private slots:
    void keypad_data() {
        columns<int>({"before"}); // lines already on the tape
        // Keys: keypad keys, and what stands in braces typed into the box. Tape: the lines written.
        columns({"keys", "tape", "box", "trace"});
        // Per typed key its sound; per keypad press its sound and what came of it: Typed,
        // line Written, Ignored, tape Full. Sound 1 is the operator click, 2 the digit click.
        const QString huge = "1" + QString(309, '0'), locked = QString(15, 'i');
        QTest::newRow("running subtotal") << 0 << "5+3x4-2/" << "5  =5|3 x=15|4 -=11|2 /=5.5" << "" << "2t1w2t1w2t1w2t1w";
        QTest::newRow("division by zero; the next line counts from 0") << 0 << "8+{00/}5+" << "8  =8|0 /=|5 +=5" << "" << "2t1w2211w2t1w";
        QTest::newRow("second point ends the number; a lone point is 0") << 0 << "1.2.3+.x" << "1.2  =1.2|0 x=0" << "" << "2t2t2t2t2t1w2t1w";
        QTest::newRow("line 1 ignores its operator") << 0 << "9/" << "9  =9" << "" << "2t1w";
        QTest::newRow("typed number rewritten") << 0 << "{00012.50+}" << "12.5  =12.5" << "" << "2222222211w";
        QTest::newRow("typed blank and comma reach the box") << 0 << "{1 2,5*}" << "12  =12" << "" << "2121211w";
        QTest::newRow("typed minus on an empty box starts a number") << 0 << "{-5\r}" << "-5  =-5" << "" << "1211w";
        QTest::newRow("typed minus after a digit subtracts") << 1 << "{7-2+}" << "7 -=-6|2 +=-4" << "" << "211w211w";
        QTest::newRow("operators on an empty box do nothing") << 0 << "+x/" << "" << "" << "iii";
        QTest::newRow("minus on an empty box, silently, then locks") << 0 << "-0123456789.+-x/" << "" << "-" << "t" + locked;
        QTest::newRow("a lone zero locks") << 0 << "00123456789.+-x/" << "" << "0" << "2t" + locked;
        QTest::newRow("typing frees the lone minus") << 0 << "-{5}+" << "-5  =-5" << "" << "t21w";
        QTest::newRow("line 1000 is the last") << 999 << "5+7+" << "5 +=1004" << "7" << "2t1w2tf";
        QTest::newRow("too large as line 1: kept, no subtotal") << 0 << "{" + huge + "+}6+" << huge + "  =|6 +=6" << "" << QString(310, '2') + "11w2t1w";
        QTest::newRow("too large as line 2") << 1 << "{" + huge + "*}" << huge + " x=" << "" << QString(310, '2') + "11w";
    }
    void keypad() {
        const int before = fetch<int>("before");
        State s = tapeOf(before);
        std::string text;
        QString got;
        auto sound = [&](Sound sd) { if (sd != Sound::None) got += QString::number(int(sd)); };
        bool typing = false;
        for (QChar c : fetch("keys")) {
            if (c == '{' || c == '}') {
                typing = c == '{';
                continue;
            }
            int index = QStringLiteral("0123456789.?+-x?/").indexOf(c);
            if (typing) { // as the window's character handler does
                const KeyRule r = entryBoxKey(c.unicode(), text.empty());
                sound(r.sound);
                if (r.command == KeyCommand::Pass) text += c.toLatin1();
                const int op = int(r.command) - int(KeyCommand::Add);
                if (op < 0 || op > 3) continue;
                index = std::array{kAdd, kSubtract, kMultiply, kDivide}[op];
            }
            const Press p = pressKey(s, text, index);
            if (!typing && p.outcome == Press::Typed && index <= kPointKey) QCOMPARE(q(p.keyed), QString(c));
            sound(p.sound);
            got += "itwf"[p.outcome];
            text = p.box;
        }
        QCOMPARE(linesOf(s, before + 1), fetch("tape"));
        QCOMPARE(q(text), fetch("box"));
        QCOMPARE(got, fetch("trace"));
    }

    // Every documented character of the entry box and of the row editor: command/sound
    // (1 the operator click, 2 the digit click, - none). The entry box holds text unless `empty`.
    void keys_data() {
        columns({"keys"});
        columns<bool>({"empty"});
        columns({"box", "editor"});
        QTest::newRow("digits and point") << "0123456789." << false << "Pass/2" << "Pass/2";
        QTest::newRow("Enter") << "\r" << false << "Add/1" << "Pass/1";
        QTest::newRow("+") << "+" << false << "Add/1" << "Add/1";
        QTest::newRow("-") << "-" << false << "Subtract/1" << "Subtract/1";
        QTest::newRow("- on an empty box") << "-" << true << "Pass/1" << "Subtract/1";
        QTest::newRow("*") << "*" << false << "Multiply/1" << "Multiply/1";
        QTest::newRow("/") << "/" << false << "Divide/1" << "Divide/1";
        QTest::newRow("o") << "oO" << true << "Exit/1" << "Swallow/1";
        QTest::newRow("c") << "cC" << false << "ClearTape/1" << "Swallow/1";
        QTest::newRow("s") << "sS" << false << "Store/1" << "Store/-";
        QTest::newRow("k") << "kK" << true << "Constant/1" << "Swallow/1";
        QTest::newRow("x") << "xX" << false << "Swallow/1" << "Exit/-";
        QTest::newRow("e") << "eE" << false << "Swallow/1" << "Preview/-";
        QTest::newRow("Esc") << "\x1b" << false << "Pass/1" << "Cancel/-";
        QTest::newRow("Backspace") << "\b" << true << "Pass/1" << "Pass/2";
        QTest::newRow("other codes below 0") << " ,!#$%&()\x16" << false << "Pass/1" << "Pass/1";
        QTest::newRow("double quote: no tape file can carry it") << "\"" << false << "Swallow/1" << "Swallow/1";
        QTest::newRow("other codes above 9") << QString(":;<=>?@[]az~") + QChar(0xE9) + QChar(0x43C) << false << "Swallow/1" << "Swallow/1";
    }
    void keys() {
        for (QChar k : fetch("keys")) {
            QCOMPARE(rule(entryBoxKey(k.unicode(), fetch<bool>("empty"))), fetch("box"));
            QCOMPARE(rule(editorKey(k.unicode())), fetch("editor"));
        }
    }

    // An entry taken apart: its number, its operator part, its operator; and put together again.
    void entryCodec_data() {
        columns({"entry", "number", "part", "op"});
        QTest::newRow("keyed line") << "12.5 x" << "12.5" << " x" << "x";
        QTest::newRow("line 1's two blanks") << "15  " << "15" << "  " << "";
        QTest::newRow("one character") << "5" << "5" << "" << "";
        QTest::newRow("empty") << "" << "" << "" << "";
    }
    void entryCodec() {
        const std::string e = str("entry");
        const EntryParts parts = splitEntry(e);
        const char op = entryOperator(e);
        QCOMPARE(q(parts.number) + '|' + q(parts.operatorPart) + '|' + (op ? QString(QChar(op)) : QString()),
                 fetch("number") + '|' + fetch("part") + '|' + fetch("op"));
        if (parts.operatorPart.starts_with(' ')) QCOMPARE(q(joinEntry(parts.number, op)), q(e));
    }

    // What may stand in a tape line: whatever a Latin-1 tape file carries inside its quotes.
    void savableText_data() {
        columns({"text", "kept"});
        QTest::newRow("figures and blanks") << "12.5, 3" << "12.5, 3";
        QTest::newRow("Latin-1 letters") << "5 \u00e9\u00b5" << "5 \u00e9\u00b5";
        QTest::newRow("double quote") << "7\"" << "7";
        QTest::newRow("beyond Latin-1") << "5\u20ac\U0001F600" << "5";
    }
    void savableText() {
        const std::string text = str("text");
        QCOMPARE(q(keepSavable(text)), fetch("kept"));
        QCOMPARE(savable(text), fetch("kept") == fetch("text"));
        State state;
        QVERIFY(writeLine(state, "1e999" + text, '+')); // too large: kept as typed, less what cannot be saved
        QCOMPARE(q(state.entries[1]), "1e999" + fetch("kept") + "  ");
    }

    void cells_data() {
        columns<int>({"line"});
        columns({"lineCell", "entry", "entryCell", "subtotal"});
        columns<int>({"places"});
        columns({"scrolled", "newest"}); // the subtotal cell of the scrolled view, of the newest lines
        QTest::newRow("grouped") << 7 << "7 #" << "1234.5 +" << "1,234.50 +" << "1234.56" << 2 << "1,234.56 =" << "1,234.56 =";
        QTest::newRow("no places") << 42 << "42 #" << "2.125 x" << "2.125 x" << "1234.56" << 0 << "1,235 =" << "1,235 =";
        QTest::newRow("four places") << 1000 << "1000 #" << "1234 -" << "1,234.00 -" << "1234.56" << 4 << "1,234.5600 =" << "1,234.5600 =";
        QTest::newRow("eight decimals at most") << 3 << "3 #" << "0.123456789 /" << ".12345679 /" << "-2.5" << 2 << "-2.50 =" << "-2.50 =";
        QTest::newRow("line 1, failed subtotal") << 1 << "1 #" << "15  " << "15.00  " << "" << 2 << " =" << "";
        QTest::newRow("loaded texts") << 2 << "2 #" << "5" << "5.00" << "abc" << 2 << "abc =" << "abc";
        QTest::newRow("too large an entry") << 9 << "9 #" << "1e309 +" << "<none>" << "1E+20" << 0 << "100,000,000,000,000,000,000 =" << "100,000,000,000,000,000,000 =";
    }
    void cells() {
        const std::string_view pattern = kSubtotalPatterns[fetch<int>("places")];
        QCOMPARE(q(lineNumberCell(fetch<int>("line"))), fetch("lineCell"));
        QCOMPARE(q(entryCell(str("entry"))), fetch("entryCell"));
        QCOMPARE(q(subtotalCell(str("subtotal"), pattern)), fetch("scrolled"));
        QCOMPARE(q(newestSubtotalCell(str("subtotal"), pattern)), fetch("newest"));
    }

    // Lines on rows 8..0 (top first, 0 for none); a scrolled view blanks the rows without a line.
    void view_data() {
        columns<bool>({"scrolled"});
        columns<int>({"arg"}); // nextline for the newest lines, else the bottom line
        columns({"rows"});
        QTest::newRow("empty tape") << false << 1 << "0 0 0 0 0 0 0 0 0";
        QTest::newRow("3 lines") << false << 4 << "0 0 0 0 0 0 1 2 3";
        QTest::newRow("9 lines") << false << 10 << "1 2 3 4 5 6 7 8 9";
        QTest::newRow("10 lines") << false << 11 << "2 3 4 5 6 7 8 9 10";
        QTest::newRow("full tape") << false << 1001 << "992 993 994 995 996 997 998 999 1000";
        QTest::newRow("scrolled to 3") << true << 3 << "0 0 0 0 0 0 1 2 3";
        QTest::newRow("scrolled to 7") << true << 7 << "0 0 1 2 3 4 5 6 7";
        QTest::newRow("scrolled to 20") << true << 20 << "12 13 14 15 16 17 18 19 20";
    }
    void view() {
        const bool scrolled = fetch<bool>("scrolled");
        const TapeView v = scrolled ? scrolledView(fetch<int>("arg")) : newestView(fetch<int>("arg"));
        QStringList got;
        for (int r = kVisibleRows - 1; r >= 0; --r) got << QString::number(v.lines[r]);
        QCOMPARE(got.join(' '), fetch("rows"));
        QCOMPARE(v.scrolled, scrolled);
    }

    void recalculate_data() {
        columns({"entries", "subtotals"}); // "|" between lines
        QTest::newRow("line 2 edited to 7 +") << "10  |7 +|2 x" << "10|17|34";
        QTest::newRow("operator changed to -") << "10  |5 +|2 -" << "10|15|13";
        QTest::newRow("line 1 ignores an operator") << "4 x|5 +|2 x" << "4|9|18";
        QTest::newRow("typed text read to the first non-digit") << "1,250 +|5 +" << "1|6";
        QTest::newRow("a lone point, a bare exponent, a double minus") << "2  |. +|1e +|-- +" << "2|2|3|3";
        QTest::newRow("no operator keeps the subtotal") << "2  |5|1 +" << "2|stale|1";
        QTest::newRow("division by zero; the next counts from 0") << "8  |0 /|5 +" << "8||5";
        QTest::newRow("overflow") << "1E+308  |10 x|1 +" << "1E+308||1";
        QTest::newRow("too large an entry") << "1e309 +|1 +" << "|1";
        QTest::newRow("15 digits per step") << "0.1  |0.2 +|0.3 -" << "0.1|0.3|0";
    }
    void recalculate() {
        State s;
        const QStringList e = fetch("entries").split('|');
        for (int i = 0; i < e.size(); ++i) {
            s.entries[i + 1] = e[i].toStdString();
            s.subtotals[i + 1] = "stale";
        }
        s.nextline = int(e.size()) + 1;
        s.entries[s.nextline] = "9 +"; // beyond the tape
        tally::recalculate(s);
        QStringList got;
        for (int i = 1; i <= s.nextline; ++i) got << q(s.subtotals[i]);
        QCOMPARE(got.join('|'), fetch("subtotals") + "|");
    }
};

QTEST_GUILESS_MAIN(TestTape)
#include "test_tape.moc"
