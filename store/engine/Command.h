#pragma once

#include "store/engine/EngineConstants.h"

#include <QString>

#include <memory>

namespace engine {

class Connection;
class Recordset;

// A statement bound to a connection, run by Execute.
class Command {
public:
    void SetActiveConnection(std::shared_ptr<Connection> connection) { m_connection = std::move(connection); }
    const std::shared_ptr<Connection>& GetActiveConnection() const { return m_connection; }
    void SetCommandText(const QString& text) { m_text = text; }
    const QString& GetCommandText() const { return m_text; }

    // Runs the command text. `recordsAffected` receives the number of rows the
    // statement changed (-1 for a query). The returned record set holds the
    // rows of a query and is closed for any other statement.
    std::shared_ptr<Recordset> Execute(qint64* recordsAffected = nullptr, int options = adCmdText);

private:
    std::shared_ptr<Connection> m_connection;
    QString m_text;
};

} // namespace engine
