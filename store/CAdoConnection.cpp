#include "store/CAdoConnection.h"

#include "store/engine/Command.h"
#include "store/engine/Connection.h"
#include "store/engine/EngineError.h"
#include "ui/kit/MessageBox.h"

#include <QFileInfo>

namespace {

// A missing object (after a failed open) raises an error without a description.
template <typename T>
T& Require(const std::shared_ptr<T>& object)
{
    if (!object)
        throw engine::EngineError();
    return *object;
}

void ShowError(const engine::EngineError& error)
{
    kit::ShowMessageBox(error.Description());
}

} // namespace

CAdoConnection::CAdoConnection() = default;

CAdoConnection::~CAdoConnection()
{
    Close();
}

bool CAdoConnection::Open(const QString& userId, const QString& password, const QString& dataLinkFile,
                          int options, const QString& connectionString)
{
    if (m_pConnection && m_pConnection->State() != engine::adStateClosed)
        m_pConnection->Close();

    try {
        // A failed open leaves neither record set nor command behind.
        m_pRecordset.reset();
        m_pCommand.reset();
        m_pConnection = std::make_shared<engine::Connection>();

        if (!dataLinkFile.isEmpty() && QFileInfo::exists(dataLinkFile)) {
            m_pConnection->SetConnectionString(QStringLiteral("File Name=") + dataLinkFile);
            m_pConnection->Open(QString(), QString(), QString(), options);
        } else {
            m_pConnection->SetConnectionString(connectionString);
            m_pConnection->Open(QString(), userId, password, options);
        }
        if (m_pConnection->State() == engine::adStateClosed) {
            kit::ShowMessageBox(QStringLiteral("连接失败!"));
            return false;
        }

        m_pRecordset = std::make_shared<engine::Recordset>();
        m_pCommand = std::make_shared<engine::Command>();
        return true;
    } catch (const engine::EngineError& error) {
        ShowError(error);
        return false;
    }
}

void CAdoConnection::Close()
{
    if (m_pRecordset) {
        if (m_pRecordset->State() != engine::adStateClosed)
            m_pRecordset->Close();
        m_pRecordset.reset();
        m_pCommand.reset();
        if (m_pConnection && m_pConnection->State() != engine::adStateClosed)
            m_pConnection->Close();
    }
    // Objects left over (after a failed open) simply go.
    m_pRecordset.reset();
    m_pCommand.reset();
    m_pConnection.reset();
}

bool CAdoConnection::Execute(const QString& statement)
{
    return RunStatement(statement, nullptr);
}

bool CAdoConnection::ExecuteInsert(const QString& statement, bool& alreadyStored)
{
    alreadyStored = false;
    return RunStatement(statement, &alreadyStored);
}

bool CAdoConnection::RunStatement(const QString& statement, bool* alreadyStored)
{
    try {
        engine::Command& command = Require(m_pCommand);
        command.SetActiveConnection(m_pConnection);
        command.SetCommandText(statement);
        qint64 affected = 0;
        m_pRecordset = command.Execute(&affected, engine::adCmdText);
        m_nRecordCount = static_cast<int32_t>(affected);
        return true;
    } catch (const engine::EngineError& error) {
        m_nRecordCount = 0;
        if (alreadyStored != nullptr && error.IsUniqueViolation())
            *alreadyStored = true;
        else
            ShowError(error);
        return false;
    }
}

bool CAdoConnection::OpenRecordset(const QString& query)
{
    m_nFieldCount = 0;
    m_nRecordCount = 0;
    try {
        engine::Recordset& recordset = Require(m_pRecordset);
        recordset.SetCursorLocation(engine::adUseClient);
        recordset.Open(query, m_pConnection, engine::adOpenDynamic, engine::adLockOptimistic,
                       engine::adCmdText);
        m_nFieldCount = recordset.FieldCount();
        m_nRecordCount = static_cast<int32_t>(recordset.RecordCount());
        return true;
    } catch (const engine::EngineError& error) {
        ShowError(error);
        return false;
    }
}

bool CAdoConnection::ExecuteBatch(const QStringList& statements)
{
    const qsizetype count = statements.size();
    try {
        engine::Connection& connection = Require(m_pConnection);
        connection.BeginTrans();
        try {
            for (qsizetype i = 0; i < count; ++i)
                connection.Execute(statements.at(i), nullptr, engine::adCmdText);
            connection.CommitTrans();
        } catch (const engine::EngineError&) {
            try {
                connection.RollbackTrans();
            } catch (const engine::EngineError&) {
                // A transaction that could not be undone was never begun, or
                // the engine has already undone it; the first error is the one to show.
            }
            throw;
        }
        return true;
    } catch (const engine::EngineError& error) {
        ShowError(error);
        return false;
    }
}

std::shared_ptr<engine::Recordset> CAdoConnection::GetRecordset()
{
    return m_pRecordset;
}
