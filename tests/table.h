#pragma once
// Columns of a QTest _data() table declared and read by name; "<none>" stands for no text, unlike "".
#include <QtTest>
#include <optional>
#include <string>
template <typename T = QString>
void columns(std::initializer_list<const char*> names) {
    for (auto n : names)
        QTest::addColumn<T>(n);
}
template <typename T = QString>
T fetch(const char* name) {
    return *static_cast<T*>(QTest::qData(name, qMetaTypeId<T>()));
}
inline std::string str(const char* name) {
    return fetch(name).toStdString();
}
inline QTestData& row(const char* name) {
    return QTest::newRow(name);
}
inline QString q(const std::string& s) {
    return QString::fromStdString(s);
}
inline QString q(const std::optional<std::string>& s) {
    return s ? q(*s) : QStringLiteral("<none>");
}
