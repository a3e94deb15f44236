#pragma once

#include "store/CAdoConnection.h"
#include "store/engine/ProviderKind.h"
#include "store/engine/Variant.h"
#include "tests/support/MessageBoxCapture.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A fresh invoice database with a CAdoConnection opened on it as the program
// opens its own, and message boxes captured for the fixture's lifetime. The
// database is an encrypted file ("invoice.ss" in a temporary folder) or, for
// ProviderKind::PostgreSql, a new database on the test program's throwaway
// PostgreSQL server (PostgreSqlServer), dropped again at the end. Either way
// it is made as kestrin-initdb makes it, and a temporary folder is there for
// other files.
class TempInvoiceDatabase {
public:
    enum class Connect { Yes, No };
    explicit TempInvoiceDatabase(Connect connect = Connect::Yes);
    explicit TempInvoiceDatabase(engine::ProviderKind kind, Connect connect = Connect::Yes);
    ~TempInvoiceDatabase();
    TempInvoiceDatabase(const TempInvoiceDatabase&) = delete;
    TempInvoiceDatabase& operator=(const TempInvoiceDatabase&) = delete;

    // False when the database could not be made or opened; Error() says why.
    bool IsValid() const { return m_valid; }
    const QString& Error() const { return m_error; }

    engine::ProviderKind Kind() const { return m_kind; }
    QString Directory() const { return m_directory.path(); }
    QString Path() const { return m_path; } // the file; empty on the server
    QString DatabaseName() const { return m_databaseName; } // on the server; empty for a file
    QString ConnectionString() const;

    CAdoConnection& Connection() { return *m_connection; }
    MessageBoxCapture& MessageBoxes() { return m_messageBoxes; }
    QStringList Messages() const { return m_messageBoxes.Messages(); }

    // Reads a query through a connection of its own, leaving Connection()
    // untouched. Keys are the column names as the program's schema spells
    // them (INV_CODE, url), whatever case the database reports them in.
    // Throws engine::EngineError when the query fails.
    QList<QMap<QString, engine::Variant>> ReadRows(const QString& query) const;
    // Runs a statement through a connection of its own (throws on failure).
    void Run(const QString& statement) const;

    // A column name as the program's schema spells it; other names unchanged.
    static QString ProgramColumnName(const QString& name);

private:
    void Make(Connect connect);

    engine::ProviderKind m_kind;
    QTemporaryDir m_directory;
    QString m_path;
    QString m_databaseName;
    QString m_error;
    bool m_valid = false;
    MessageBoxCapture m_messageBoxes;
    std::unique_ptr<CAdoConnection> m_connection;
};
