#include "backup/InvoiceExporter.h"

#include "backup/BackupDateText.h"
#include "backup/BackupField.h"
#include "backup/BackupFileWriter.h"
#include "backup/BackupLineComposer.h"
#include "backup/BackupProgress.h"
#include "backup/BackupValueCheck.h"
#include "store/CAdoConnection.h"
#include "store/Statements.h"
#include "store/engine/EngineError.h"

#include <array>

namespace {

QString FieldText(const engine::Variant& value)
{
    if (value.IsNull())
        return QString();
    // One fixed form, whatever the regional settings.
    if (value.IsDate())
        return BackupDateText::Format(value.ToDateTime());
    return value.ToText();
}

} // namespace

InvoiceExporter::Result InvoiceExporter::Export(CAdoConnection& connection, const QString& path,
                                                const Progress& progress)
{
    Result result;
    BackupFileWriter writer;
    if (!writer.Open(path)) {
        result.outcome = Outcome::FileFailed;
        result.error = writer.ErrorString();
        return result;
    }
    if (!connection.OpenRecordset(Statements::SelectAllInvoices)) {
        result.outcome = Outcome::QueryFailed;
        writer.Close();
        return result;
    }

    std::array<QString, BackupFieldCount> columns;
    for (int i = 0; i < BackupFieldCount; ++i)
        columns[i] = QLatin1String(kBackupColumnNames[i]);

    const auto recordset = connection.GetRecordset();
    try {
        BackupProgress share(recordset->RecordCount());
        qint64 rowsHandled = 0;
        QStringList values;
        values.reserve(BackupFieldCount);
        for (; !recordset->IsEOF(); recordset->MoveNext()) {
            values.clear();
            for (const QString& column : columns)
                values.append(FieldText(recordset->Collect(column)));

            ++rowsHandled;
            if (const auto percent = share.Update(rowsHandled); percent && progress)
                progress(*percent);

            const BackupValueCheck::Problem problem = BackupValueCheck::CheckAll(values);
            if (problem != BackupValueCheck::Problem::None) {
                ++result.rowsSkipped;
                const QString reason = BackupValueCheck::Describe(problem);
                if (!result.skipReasons.contains(reason))
                    result.skipReasons.append(reason);
                continue;
            }
            if (!writer.WriteLine(BackupLineComposer::Compose(values))) {
                result.outcome = Outcome::FileFailed;
                result.error = writer.ErrorString();
                break;
            }
            ++result.rowsWritten;
        }
    } catch (const engine::EngineError& error) {
        result.outcome = Outcome::ReadFailed;
        result.error = error.Description();
    }
    recordset->Close();

    if (!writer.Close() && result.outcome == Outcome::Done) {
        result.outcome = Outcome::FileFailed;
        result.error = writer.ErrorString();
    }
    return result;
}
