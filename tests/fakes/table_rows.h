#pragma once
// Compact test tables: one column "row" whose fields are separated by "|";
// each row's text is its tag.
#include <QByteArrayList>
#include <QTest>
#include <initializer_list>

namespace cifrano::testing {

inline void Rows(std::initializer_list<QByteArray> rows) {
    QTest::addColumn<QByteArrayList>("row");
    for (const QByteArray& row : rows) QTest::newRow(row.constData()) << row.split('|');
}

}  // namespace cifrano::testing
