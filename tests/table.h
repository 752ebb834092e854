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
// One row of the current _data() table: its name, then its values in the order of the columns.
inline void add(const char* name, std::initializer_list<QVariant> values) {
    QTestData& data = QTest::newRow(name);
    for (const QVariant& value : values)
        data.append(value.userType(), value.constData());
}
