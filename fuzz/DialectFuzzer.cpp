// The engine's statement translation. Any text either translates or raises
// EngineError; date literals round-trip through their stored form; and no
// value put into a catalogue statement with Statements::Format changes the
// statement's structure: it comes back as exactly one parameter holding the
// value (or the statement is refused for a date that is not one).
#include "backup/BackupField.h"
#include "backup/ImportStatement.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInput.h"
#include "store/Statements.h"
#include "store/engine/Dialect.h"
#include "store/engine/EngineError.h"

#include <QStringList>
#include <QVariantList>

#include <optional>

using engine::Dialect;
using engine::EngineError;
using engine::TranslatedStatement;
using engine::Variant;

namespace {

std::optional<TranslatedStatement> TryTranslate(const QString& statement)
{
    try {
        return Dialect::Translate(statement);
    } catch (const EngineError&) {
        return std::nullopt;
    }
}

void CheckDateLiteral(const QString& text)
{
    const auto date = Dialect::ParseDateLiteral(text);
    if (!date)
        return;
    FUZZ_CHECK(date->isValid());
    FUZZ_CHECK(date->date().year() >= 100 && date->date().year() <= 9999);
    const auto stored = Dialect::ParseStorageText(Dialect::StorageText(*date));
    FUZZ_CHECK(stored && *stored == *date);
}

// One place of a statement: a text value, or a date literal's contents.
struct Place {
    QString value;
    bool date = false;
};

// Translates `statement` (formatted from `places`) and the same template filled
// with harmless values; they must have the same SQL, and the parameters must
// be the values themselves. A date that is not one refuses the statement.
void CheckStructure(const QString& statement, const QString& reference, const QList<Place>& places)
{
    bool datesValid = true;
    for (const Place& place : places)
        datesValid = datesValid && (!place.date || Dialect::ParseDateLiteral(place.value).has_value());

    const auto translated = TryTranslate(statement);
    FUZZ_CHECK(translated.has_value() == datesValid);
    if (!translated)
        return;
    const auto expected = TryTranslate(reference);
    FUZZ_CHECK(expected.has_value());
    FUZZ_CHECK(translated->Sql() == expected->Sql());
    FUZZ_CHECK(translated->Parameters().size() == places.size());
    for (qsizetype i = 0; i < places.size(); ++i) {
        const Variant& parameter = translated->Parameters().at(i);
        if (places[i].date)
            FUZZ_CHECK(parameter.IsDate() && parameter.ToDateTime() == *Dialect::ParseDateLiteral(places[i].value));
        else
            FUZZ_CHECK(parameter.GetType() == Variant::Type::Text && parameter.ToText() == places[i].value);
    }
}

void CheckLookup(const QStringList& values)
{
    const QString number = values.value(0);
    const QString code = values.value(1);
    CheckStructure(Statements::Format(Statements::SelectInvoiceByNumberAndCode, {number, code}),
                   Statements::Format(Statements::SelectInvoiceByNumberAndCode, {QString(), QString()}),
                   {{number}, {code}});
}

void CheckRegistrationInsert(const QStringList& values)
{
    // Top type, sub type, code, number, amount, invoice date, check code,
    // check bit, registration date, auto-scan flag, remark.
    QVariantList arguments;
    QVariantList harmless;
    QList<Place> places;
    for (int i = 0; i < 11; ++i) {
        const bool date = i == 5 || i == 8;
        if (i == 9) {
            // The statement's own status literal '1' comes first.
            places.append({QStringLiteral("1")});
            arguments.append(1);
            harmless.append(1);
            places.append({QStringLiteral("1")});
            continue;
        }
        arguments.append(values.value(i));
        harmless.append(date ? QStringLiteral("2000-01-01") : QString());
        places.append({values.value(i), date});
    }
    CheckStructure(Statements::Format(Statements::InsertInvoiceWithDate, arguments),
                   Statements::Format(Statements::InsertInvoiceWithDate, harmless), places);
}

void CheckImportInsert(const QStringList& values)
{
    QStringList fields;
    QStringList harmless;
    QList<Place> places;
    for (int i = 0; i < BackupFieldCount; ++i) {
        const QString value = values.value(i);
        fields.append(value);
        const bool date = i == BackupDate || i == BackupOpDate;
        // An empty date is stored as no date: it is no parameter at all.
        harmless.append(date && !value.isEmpty() ? QStringLiteral("2000-01-01") : QString());
        if (!(date && value.isEmpty()))
            places.append({value, date});
    }
    CheckStructure(ImportStatement::Build(fields), ImportStatement::Build(harmless), places);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = FuzzInput::Text(data, size);

    if (const auto translated = TryTranslate(text)) {
        int markers = 0;
        translated->Sql([&markers](int) {
            ++markers;
            return QStringLiteral("?");
        });
        FUZZ_CHECK(markers == translated->Parameters().size());
    }
    CheckDateLiteral(text);

    // '|' separates the values put into the catalogue's statements.
    const QStringList values = text.split(QLatin1Char('|'));
    CheckLookup(values);
    CheckRegistrationInsert(values);
    CheckImportInsert(values);
    return 0;
}
