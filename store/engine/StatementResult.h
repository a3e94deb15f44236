#pragma once

#include "store/engine/Variant.h"

#include <QStringList>

#include <vector>

namespace engine {

// What a binding gives back for one statement: the whole result when the
// statement returns rows, else the number of rows it changed.
struct StatementResult {
    bool ReturnsRows = false;
    QStringList Columns;
    std::vector<std::vector<Variant>> Rows;
    qint64 RowsAffected = -1; // -1 for a statement that returns rows
};

} // namespace engine
