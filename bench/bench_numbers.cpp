// The three number functions on the kinds of figures a tape holds: whole sums, money amounts,
// long fractions from division, negatives, and the odd huge or tiny result in exponent form.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "core/numbers.h"

namespace {

std::vector<double> spreadOfValues() {
    std::vector<double> values = {0.0,    1.0,          7.0,       12.0,      -3.0,          100.0,
                                  0.5,    0.25,         19.99,     1234.5,    -87.25,        99999.99,
                                  1e6,    123456789.12, 1.0 / 3.0, 2.0 / 7.0, -22.0 / 7.0,   1e-5,
                                  1.5e15, -4.2e20,      6.02e23,   1e-9,      999999999.995, 0.005};
    // Plus a seeded mix of amounts with cents and of quotients, so no run depends on the clock.
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> cents(-5000000, 5000000);
    std::uniform_int_distribution<int> divisor(3, 97);
    for (int i = 0; i < 40; ++i)
        values.push_back(cents(random) / 100.0);
    for (int i = 0; i < 40; ++i)
        values.push_back(cents(random) / 100.0 / divisor(random));
    return values;
}

const std::vector<double>& values() {
    static const std::vector<double> v = spreadOfValues();
    return v;
}

// The texts as the tape stores them: entries carry their operator, line 1 two blanks.
const std::vector<std::string>& texts() {
    static const std::vector<std::string> t = [] {
        std::vector<std::string> out;
        const char* ops[] = {" +", " -", " x", " /", "  ", ""};
        std::size_t i = 0;
        for (double v : values())
            out.push_back(*tally::numbertext(v) + ops[i++ % 6]);
        return out;
    }();
    return t;
}

void BM_numbertext(benchmark::State& st) {
    const auto& v = values();
    std::size_t i = 0;
    for (auto _ : st) {
        benchmark::DoNotOptimize(tally::numbertext(v[i]));
        if (++i == v.size())
            i = 0;
    }
}
BENCHMARK(BM_numbertext);

void BM_textvalue(benchmark::State& st) {
    const auto& t = texts();
    std::size_t i = 0;
    for (auto _ : st) {
        benchmark::DoNotOptimize(tally::textvalue(t[i]));
        if (++i == t.size())
            i = 0;
    }
}
BENCHMARK(BM_textvalue);

void formatValues(benchmark::State& st, const char* pattern) {
    const auto& v = values();
    std::size_t i = 0;
    for (auto _ : st) {
        benchmark::DoNotOptimize(tally::formatnumber(v[i], pattern));
        if (++i == v.size())
            i = 0;
    }
}
BENCHMARK_CAPTURE(formatValues, subtotal_pattern, "###,###,###.00")->Name("BM_formatnumber/subtotal");
BENCHMARK_CAPTURE(formatValues, entry_pattern, "##,###.00######")->Name("BM_formatnumber/entry");

// The text form, as the tape view calls it on stored subtotals (it first checks the text is a number).
void BM_formatnumber_text(benchmark::State& st) {
    std::vector<std::string> subtotals;
    for (double v : values())
        subtotals.push_back(*tally::numbertext(v));
    std::size_t i = 0;
    for (auto _ : st) {
        benchmark::DoNotOptimize(tally::formatnumber(subtotals[i], "###,###,###.00"));
        if (++i == subtotals.size())
            i = 0;
    }
}
BENCHMARK(BM_formatnumber_text)->Name("BM_formatnumber/subtotal_text");

} // namespace

BENCHMARK_MAIN();
