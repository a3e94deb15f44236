#pragma once

#include "store/engine/Recordset.h"
#include "store/engine/Variant.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

namespace engine {
class Command;
class Connection;
} // namespace engine

// The program's one database connection. Every engine error raised inside an
// operation is caught there, shown once in the message box with the engine's
// description, and turned into a false result.
//
// Reading a query: OpenRecordset, then GetRecordset; while !IsEOF(), read
// columns with Collect(name) (skip IsNull() values, else ToText()), MoveNext;
// finally Close the record set before the next OpenRecordset.
//
// One thread at a time may use it; that thread need not be the one that
// opened it.
class CAdoConnection {
public:
    CAdoConnection();
    ~CAdoConnection();
    CAdoConnection(const CAdoConnection&) = delete;
    CAdoConnection& operator=(const CAdoConnection&) = delete;

    // Opens the database. When `dataLinkFile` names an existing file, the
    // connection string is read from it; otherwise `connectionString` is used.
    bool Open(const QString& userId, const QString& password, const QString& dataLinkFile, int options,
              const QString& connectionString);
    void Close();
    bool Execute(const QString& statement);
    // As Execute, except that a unique key's refusal (the row is stored
    // already, perhaps by another desk a moment ago) is not shown: it gives
    // false with `alreadyStored` set, for the caller to tell in its own words.
    bool ExecuteInsert(const QString& statement, bool& alreadyStored);
    bool OpenRecordset(const QString& query);
    // All statements in one transaction: every one of them is stored, or none.
    bool ExecuteBatch(const QStringList& statements);
    std::shared_ptr<engine::Recordset> GetRecordset();

    // Rows of the last opened result, or rows changed by the last Execute.
    int32_t GetRecordCount() const { return m_nRecordCount; }
    // Columns of the last opened result.
    int32_t GetFieldCount() const { return m_nFieldCount; }

private:
    bool RunStatement(const QString& statement, bool* alreadyStored);

    int32_t m_nRecordCount = 0;
    int32_t m_nFieldCount = 0;
    std::shared_ptr<engine::Connection> m_pConnection;
    std::shared_ptr<engine::Command> m_pCommand;
    std::shared_ptr<engine::Recordset> m_pRecordset;
};
