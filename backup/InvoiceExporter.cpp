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

#include <QLocale>

#include <array>

namespace {

constexpr qsizetype kLinesPerWrite = 256;

QString FieldText(const engine::Variant& value, const QLocale& locale)
{
    if (value.IsNull())
        return QString();
    // One fixed form, whatever the regional settings.
    if (value.IsDate())
        return BackupDateText::Format(value.ToDateTime());
    return value.ToText(locale);
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

    // Lines go to the file a few hundred at a time: one write each, not one
    // per line. The writer keeps whole lines only, so a failure part-way
    // still leaves a file of complete lines.
    QStringList pending;
    auto writePending = [&] {
        const qsizetype written = writer.WriteLines(pending);
        result.rowsWritten += static_cast<int32_t>(written);
        const bool allWritten = written == pending.size();
        pending.clear();
        if (!allWritten) {
            result.outcome = Outcome::FileFailed;
            result.error = writer.ErrorString();
        }
        return allWritten;
    };

    // Looked up once: other values are written in the regional settings.
    const QLocale locale = QLocale::system();
    const auto recordset = connection.GetRecordset();
    try {
        BackupProgress share(recordset->RecordCount());
        qint64 rowsHandled = 0;
        QStringList values;
        values.reserve(BackupFieldCount);
        for (; !recordset->IsEOF(); recordset->MoveNext()) {
            values.clear();
            for (const QString& column : columns)
                values.append(FieldText(recordset->Collect(column), locale));

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
            pending.append(BackupLineComposer::Compose(values));
            if (pending.size() == kLinesPerWrite && !writePending())
                break;
        }
    } catch (const engine::EngineError& error) {
        result.outcome = Outcome::ReadFailed;
        result.error = error.Description();
    }
    recordset->Close();
    // The rows read before a failure to read are still written.
    if (!pending.isEmpty() && result.outcome != Outcome::FileFailed)
        writePending();

    if (!writer.Close() && result.outcome == Outcome::Done) {
        result.outcome = Outcome::FileFailed;
        result.error = writer.ErrorString();
    }
    return result;
}
