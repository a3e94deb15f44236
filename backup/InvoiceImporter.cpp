#include "backup/InvoiceImporter.h"

#include "backup/BackupField.h"
#include "backup/BackupFileReader.h"
#include "backup/BackupLineParser.h"
#include "backup/BackupProgress.h"
#include "backup/ImportStatement.h"
#include "store/CAdoConnection.h"
#include "store/Statements.h"
#include "store/engine/EngineError.h"

InvoiceImporter::InvoiceImporter(CAdoConnection& connection) : m_connection(connection) {}

int InvoiceImporter::ReadFile(const QString& path, const Lookup& isStored, const Progress& progress)
{
    m_nLines = m_nNew = m_nDuplicates = 0;
    m_statements.clear();
    m_newKeys.clear();

    BackupFileReader reader;
    if (!reader.Open(path))
        return kOpenFailed;
    // Line ends count in the size but not in the characters read, so the
    // bar stays just under half while the file is read.
    BackupProgress share(reader.Size(), 50);
    QString line;
    QStringList fields;
    while (reader.ReadLine(line)) {
        ++m_nLines;
        if (!BackupLineParser::Parse(line, fields)) {
            m_statements.clear();
            return kFormatError;
        }
        const QString& code = fields.at(BackupCode);
        const QString& number = fields.at(BackupNumber);
        const QPair<QString, QString> key(code, number);
        const bool stored = m_newKeys.contains(key)
            || (isStored ? isStored(code, number) : IsStored(m_connection, code, number));
        if (stored) {
            ++m_nDuplicates;
        } else {
            ++m_nNew;
            m_newKeys.insert(key);
            m_statements.append(ImportStatement::Build(fields));
        }
        if (const auto percent = share.Update(reader.CharactersRead()); percent && progress)
            progress(*percent);
    }
    if (reader.HasFailed()) {
        m_statements.clear();
        return kOpenFailed;
    }
    return 0;
}

int InvoiceImporter::Store()
{
    if (m_nNew > 0)
        return m_connection.ExecuteBatch(m_statements) ? kStored : kStoreFailed;
    return m_nLines > 0 ? kAllStored : kNoLines;
}

bool InvoiceImporter::IsStored(CAdoConnection& connection, const QString& code, const QString& number)
{
    if (!connection.OpenRecordset(Statements::Format(Statements::SelectInvoiceByCodeAndNumber, {code, number})))
        return false;
    try {
        const auto recordset = connection.GetRecordset();
        const bool found = !recordset->IsEOF();
        recordset->Close();
        return found;
    } catch (const engine::EngineError&) {
        return false;
    }
}
