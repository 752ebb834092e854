// A seeded walk through the real window: keys typed and clicked, clicks on tape rows and edits,
// scrolling, the slider, the memory, conversions, Save As then Open. After every step the
// invariants must hold; a seed that once failed stays as a row of its own.
#include <QComboBox>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <array>
#include <clocale>
#include <random>

#include "fixture.h"
#include "tape/cells.h"
#include "tape/recalc.h"

namespace {

// What is wrong with the window and its state; empty when every invariant holds.
QString broken(const CalcRig& rig) {
    const tally::State& s = rig.state;
    const Calculator& w = rig.window;
    if (s.nextline < 1 || s.nextline > tally::kTapeLines + 1) return QString("nextline %1").arg(s.nextline);
    const QScrollBar* bar = w.VScroll1;
    if (bar->minimum() != 1 || bar->value() < 1 || bar->value() > bar->maximum() || bar->maximum() > tally::kTapeLines)
        return QString("scroll bar %1 in [%2, %3]").arg(bar->value()).arg(bar->minimum()).arg(bar->maximum());
    auto copy = std::make_unique<tally::State>(s);
    tally::recalculate(*copy);
    for (int i = 1; i < s.nextline; ++i)
        if (copy->subtotals[i] != s.subtotals[i])
            return QString("line %1 holds subtotal \"%2\", recomputed \"%3\"")
                .arg(i).arg(QString::fromStdString(s.subtotals[i]), QString::fromStdString(copy->subtotals[i]));
    // The rows show the nine lines that end with the bottom row's line, each as the state has it.
    const std::string pattern(tally::kSubtotalPatterns.at(w.Slider1->value()));
    const int bottom = lineOnRow(w, 0);
    if (bottom >= s.nextline) return QString("the bottom row shows line %1 of %2").arg(bottom).arg(s.nextline - 1);
    for (int r = 0; r < tally::kVisibleRows; ++r) {
        for (const auto* column : {&w.Label10, &w.Label11, &w.Label12})
            if ((*column)[r]->accessibleName() != (*column)[r]->text()) return (*column)[r]->objectName() + " accessible name";
        const int n = std::max(bottom - r, 0);
        const std::string& entry = s.entries[n];
        const std::string& subtotal = s.subtotals[n];
        const QString shown = rowText(w, r);
        const auto cells = [&](const std::string& sub) {
            return QString::fromStdString(tally::lineNumberCell(n) + '|' + tally::entryCell(entry).value_or(entry) + '|' + sub);
        };
        if (n == 0 ? shown != "||"
                   : shown != cells(tally::subtotalCell(subtotal, pattern)) &&
                         shown != cells(tally::newestSubtotalCell(subtotal, pattern)))
            return QString("row %1 shows \"%2\" with line %3 on the bottom row").arg(r).arg(shown).arg(bottom);
    }
    return {};
}

// Random steps through the window; `failure` tells when a Save As then Open does not bring the
// same tape back.
struct Walk {
    CalcRig& rig;
    std::mt19937 rng;
    QString file;
    QString failure;

    QString trace; // the picks of the step: the first says what it did

    int pick(int n) {
        const int picked = static_cast<int>(rng() % static_cast<unsigned>(n));
        trace += ' ' + QString::number(picked);
        return picked;
    }
    void clickAt(QAbstractItemView* view, QRect r) { QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center()); }

    void step() {
        trace.clear();
        Calculator& w = rig.window;
        const int ops[] = {tally::kAdd, tally::kSubtract, tally::kMultiply, tally::kDivide};
        switch (pick(16)) {
        case 0: case 1: QTest::mouseClick(w.Command1[pick(3) ? pick(11) : ops[pick(4)]], Qt::LeftButton); break; // 10: point
        case 2: case 3: case 4: QTest::keyClick(w.Text2, "0123456789.0123+-*/\r"[pick(20)]); break;
        case 5: {
            const int row = pick(tally::kVisibleRows);
            QTest::mouseClick(w.Label11[row], Qt::LeftButton);
            QByteArray keys;
            for (int i = pick(4); i > 0; --i) keys += char('0' + pick(10));
            keys += "+-*/\x1b "[pick(6)]; // an operator, Esc, or the edit stays open
            for (char c : keys.trimmed())
                QTest::sendKeyEvent(QTest::Click, w.Text3, c == 27 ? Qt::Key_Escape : Qt::Key_unknown, c, Qt::NoModifier);
            break;
        }
        case 6: QTest::keyClick(w.Text2, pick(2) ? Qt::Key_Up : Qt::Key_Down); break;
        case 7: {
            QScrollBar* bar = w.VScroll1;
            const int to = bar->minimum() + pick(bar->maximum() - bar->minimum() + 1), how = pick(3);
            if (how == 0) bar->setValue(to);
            if (how == 1) bar->setSliderDown(true), bar->setSliderPosition(to), bar->setSliderDown(false);
            if (how == 2) bar->setFocus(Qt::MouseFocusReason), w.Text2->setFocus();
            break;
        }
        case 8: w.Slider1->setValue(pick(5)); break;
        case 9:
            pick(2) ? QTest::mouseClick(w.store, Qt::LeftButton) : QTest::keyClick(w.Text2, 's');
            break;
        case 10: {
            QListWidget* list = pick(2) ? w.List1 : w.List2;
            const int row = pick(list->count() + 1) - 1; // -1: empty space
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                               row >= 0 ? list->visualItemRect(list->item(row)).center() : QPoint(3, list->viewport()->height() - 3));
            break;
        }
        case 11: {
            const int row = pick(w.List1->count() + 1) - 1;
            if (row >= 0) clickAt(w.List1, w.List1->visualItemRect(w.List1->item(row)));
            QTest::mouseClick(w.removelist, Qt::LeftButton);
            break;
        }
        case 12: {
            w.conversion->setCurrentIndex(pick(w.conversion->count()));
            emit w.conversion->activated(w.conversion->currentIndex());
            const int row = w.ListView1->isVisible() ? pick(w.ListView1->topLevelItemCount() + 1) - 1 : -1;
            if (row >= 0) w.ListView1->scrollToItem(w.ListView1->topLevelItem(row));
            if (row >= 0) clickAt(w.ListView1, w.ListView1->visualItemRect(w.ListView1->topLevelItem(row)));
            QTest::mouseClick(w.convert, Qt::LeftButton);
            break;
        }
        case 13: {
            const auto before = std::make_unique<tally::State>(rig.state);
            const qsizetype told = rig.outside.messages.size();
            rig.outside.fileAnswers << file << file;
            w.mnuSaveAs->trigger();
            w.mnuOpen->trigger();
            if (rig.outside.messages.size() != told) failure = "Save As or Open told: " + rig.outside.messages.last();
            else if (rig.state.nextline != before->nextline || rig.state.entries != before->entries ||
                     rig.state.subtotals != before->subtotals)
                failure = "the tape opened is not the tape saved";
            break;
        }
        case 14: QTest::mouseClick(pick(3) ? w.konst : w.clearit, Qt::LeftButton); break;
        default:
            if (!pick(4)) QTest::mouseClick(w.clearlist, Qt::LeftButton);
            break;
        }
    }
};

} // namespace

class TestRandom : public QObject {
    Q_OBJECT

private slots:
    void walk_data() {
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<bool>("german"); // under a comma-decimal locale
        // Each seed once caught an Open of an empty tape pulling the scroll bar's minimum to 0;
        // seed 2 within two steps (the slider, then Save As and Open on the empty tape).
        for (unsigned seed : {1u, 2u, 3u, 4u}) QTest::addRow("seed %u", seed) << seed << false;
        QTest::newRow("seed 5, German locale") << 5u << true;
    }
    void walk() {
        QFETCH(unsigned, seed);
        QFETCH(bool, german);
        const QLocale savedLocale;
        const std::string savedC = std::setlocale(LC_ALL, nullptr);
        if (german) QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        if (german) std::setlocale(LC_ALL, "de_DE.UTF-8"); // where it is installed
        QTemporaryDir dir;
        auto rig = std::make_unique<CalcRig>();
        QVERIFY(rig->ready && dir.isValid());
        Walk walk{*rig, std::mt19937(seed), dir.filePath("walk.cal"), {}, {}};
        QStringList steps;
        QString fault;
        for (int i = 0; i < 300 && fault.isEmpty(); ++i) {
            walk.step();
            steps << walk.trace;
            fault = walk.failure.isEmpty() ? broken(*rig) : walk.failure;
        }
        rig.reset();
        QLocale::setDefault(savedLocale);
        std::setlocale(LC_ALL, savedC.c_str());
        if (!fault.isEmpty())
            QFAIL(qPrintable(QString("after step %1: %2\nlast steps:\n  %3").arg(steps.size()).arg(fault, steps.mid(steps.size() - 25).join("\n  "))));
    }
};

GUI_TEST(TestRandom)

#include "test_random.moc"
