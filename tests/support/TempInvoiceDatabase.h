#pragma once

#include "store/CAdoConnection.h"
#include "store/engine/Variant.h"
#include "tests/support/MessageBoxCapture.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A fresh encrypted invoice database ("invoice.ss" in a temporary folder)
// with a CAdoConnection opened on it as the program opens its own, and
// message boxes captured for the fixture's lifetime.
class TempInvoiceDatabase {
public:
    enum class Connect { Yes, No };
    explicit TempInvoiceDatabase(Connect connect = Connect::Yes);
    ~TempInvoiceDatabase();
    TempInvoiceDatabase(const TempInvoiceDatabase&) = delete;
    TempInvoiceDatabase& operator=(const TempInvoiceDatabase&) = delete;

    // False when the database could not be made or opened; Error() says why.
    bool IsValid() const { return m_valid; }
    const QString& Error() const { return m_error; }

    QString Directory() const { return m_directory.path(); }
    QString Path() const { return m_path; }
    QString ConnectionString() const;

    CAdoConnection& Connection() { return *m_connection; }
    MessageBoxCapture& MessageBoxes() { return m_messageBoxes; }
    QStringList Messages() const { return m_messageBoxes.Messages(); }

    // Reads a query through a connection of its own, leaving Connection()
    // untouched. Keys are the column names as the table declares them.
    // Throws engine::EngineError when the query fails.
    QList<QMap<QString, engine::Variant>> ReadRows(const QString& query) const;
    // Runs a statement through a connection of its own (throws on failure).
    void Run(const QString& statement) const;

private:
    QTemporaryDir m_directory;
    QString m_path;
    QString m_error;
    bool m_valid = false;
    MessageBoxCapture m_messageBoxes;
    std::unique_ptr<CAdoConnection> m_connection;
};
