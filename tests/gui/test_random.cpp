// A seeded walk through the real window: keys, clicks on tape rows and edits, scrolling, the slider,
// Store, Save As then Open. After every step the invariants must hold. The suite runs under a
// comma-decimal locale.
#include <random>

#include "fixture.h"
#include "tape/cells.h"

namespace {
// What is wrong with the window and its state; empty when every invariant holds.
QString broken(const CalcRig& rig) {
    const tally::Tape& tape = rig.state.tape;
    const QScrollBar* bar = rig.bar();
    if (bar->minimum() != 1 || bar->value() < 1 || bar->value() > bar->maximum() || bar->maximum() > tally::kTapeLines)
        return QString("scroll bar %1 in [%2, %3]").arg(bar->value()).arg(bar->minimum()).arg(bar->maximum());
    auto copy = std::make_unique<tally::Tape>(tape);
    tally::recalculate(*copy);
    for (int i = 1; i < tape.nextline; ++i)
        if (copy->subtotals[i] != tape.subtotals[i])
            return QString("line %1's subtotal is not recomputed").arg(i);
    // The rows show the nine lines that end with the bottom row's line, each as the tape has it.
    const std::string pattern(tally::kSubtotalPatterns.at(rig.find<QSlider>("Slider1")->value()));
    const int bottom = rig.lineOnRow(0);
    if (bottom >= tape.nextline)
        return QString("the bottom row shows line %1 of %2").arg(bottom).arg(tape.nextline - 1);
    for (int r = 0; r < tally::kVisibleRows; ++r) {
        const int n = std::max(bottom - r, 0);
        const std::string& e = tape.entries[n];
        auto cells = [&](const std::string& sub) {
            return QString::fromStdString(tally::lineNumberCell(n) + '|' + tally::entryCell(e).value_or(e) + '|' + sub);
        };
        const QString shown = rig.row(r);
        if (shown.contains("E+"))
            continue; // too wide for its cell: the window's short form, measured in pixels
        const bool right = n == 0 ? shown == "||"
                                  : shown == cells(tally::subtotalCell(tape.subtotals[n], pattern)) ||
                                        shown == cells(tally::newestSubtotalCell(tape.subtotals[n], pattern));
        if (!right)
            return QString("row %1 shows \"%2\" with line %3 on the bottom row").arg(r).arg(shown).arg(bottom);
        if (rig.cell("Label11", r)->accessibleName() != rig.cell("Label11", r)->text())
            return QString("row %1's accessible name").arg(r);
    }
    return {};
}

// One random step; returns a fault of Save As then Open, which must bring the same tape back.
QString step(CalcRig& rig, const std::function<int(int)>& pick, const QString& file) {
    QScrollBar* bar = rig.bar();
    const int to = bar->minimum() + pick(bar->maximum() - bar->minimum() + 1);
    switch (pick(10)) {
    case 0:
    case 1:
        rig.click(QString("Command1_%1").arg(std::array{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 16}[pick(15)]));
        break;
    case 2:
    case 3:
    case 4:
        QTest::keyClick(rig.box(), "0123456789.0123+-*/\rs"[pick(21)]);
        break;
    case 5: {
        QTest::mouseClick(rig.cell("Label11", pick(tally::kVisibleRows)), Qt::LeftButton);
        for (int i = pick(4); i > 0; --i)
            QTest::keyClick(rig.editor(), char('0' + pick(10)));
        const char end = "+-*/\x1b "[pick(6)]; // an operator, Esc, or the edit stays open
        if (end != ' ')
            QTest::sendKeyEvent(QTest::Click, rig.editor(), end == 27 ? Qt::Key_Escape : Qt::Key_unknown, end,
                                Qt::NoModifier);
        break;
    }
    case 6:
        QTest::keyClick(rig.box(), pick(2) ? Qt::Key_Up : Qt::Key_Down);
        break;
    case 7:
        bar->setValue(to);
        break;
    case 8:
        if (pick(2))
            rig.find<QSlider>("Slider1")->setValue(pick(5));
        else
            rig.click("store");
        break;
    default: {
        if (pick(3)) {
            rig.click(pick(3) ? "konst" : "clearit");
            return {};
        }
        const std::string before = tally::encodeTape(rig.state.tape);
        const qsizetype told = rig.outside.told.size();
        rig.outside.fileAnswers << file << file;
        rig.trigger("mnuSaveAs");
        rig.trigger("mnuOpen");
        if (rig.outside.told.size() != told)
            return "Save As or Open told: " + rig.outside.told.last();
        if (tally::encodeTape(rig.state.tape) != before)
            return "the tape opened is not the tape saved";
    }
    }
    return {};
}
} // namespace

// Each seed once caught an Open of an empty tape pulling the scroll bar's minimum to 0.
void randomWalk(unsigned seed) {
    QTemporaryDir dir;
    CalcRig rig;
    QVERIFY(rig.ready);
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    for (int i = 1; i <= 300; ++i) {
        QString fault = step(rig, pick, dir.filePath("walk.cal"));
        if (fault.isEmpty())
            fault = broken(rig);
        if (!fault.isEmpty())
            QFAIL(qPrintable(QString("after step %1: %2").arg(i).arg(fault)));
    }
}
