#pragma once
// For the core tests: tapes made directly in the state, texts in the form QCOMPARE prints, and
// the columns of a _data() table declared and read by name.
#include <QtTest>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "core/state.h"

// A tape of `lines` lines: line k has entry "k +" (line 1 "1  ") and subtotal "k".
inline tally::State tapeOf(int lines) {
    tally::State state;
    for (int k = 1; k <= lines; ++k) {
        state.entries[k] = std::to_string(k) + (k == 1 ? "  " : " +");
        state.subtotals[k] = std::to_string(k);
    }
    state.nextline = lines + 1;
    return state;
}

inline QString q(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }
inline QString q(const std::string& s) { return q(std::string_view(s)); }
// "<none>" stands for no text at all, so that it differs from the empty text.
inline QString q(const std::optional<std::string>& s) { return s ? q(*s) : QStringLiteral("<none>"); }

template <typename T = QString> void columns(std::initializer_list<const char*> names) {
    for (const char* name : names) QTest::addColumn<T>(name);
}
// The current row's value in column `name`, as QFETCH reads it.
template <typename T = QString> T fetch(const char* name) {
    return *static_cast<T*>(QTest::qData(name, qMetaTypeId<T>()));
}
inline std::string str(const char* name) { return fetch(name).toStdString(); }
