// kestrin-initdb: makes the invoice database of a new installation.
//
//   kestrin-initdb PATH              a new encrypted file at PATH
//   kestrin-initdb CONNECTION        the tables in an empty PostgreSQL database
//   kestrin-initdb FILE.udl          the same, with the string read from a data link file
//
// It never touches a database that already holds data.

#include "store/InvoiceSchema.h"
#include "store/engine/ConnectionString.h"
#include "store/engine/DataLinkFile.h"
#include "store/engine/EngineError.h"
#include "store/engine/ProviderFactory.h"

#include <QFileInfo>
#include <QString>

#include <cstdio>

namespace {

const char kUsage[] =
    "usage: kestrin-initdb PATH\n"
    "       kestrin-initdb \"Provider=PostgreSQL;Host=HOST;Port=PORT;Database=NAME;User ID=USER;Password=PASSWORD\"\n"
    "       kestrin-initdb FILE.udl\n"
    "\n"
    "PATH: creates a new encrypted invoice database at PATH (normally invoice.ss\n"
    "beside kestrin). An existing file is refused and left untouched.\n"
    "\n"
    "A connection string starting with \"Provider=PostgreSQL\", or the path of a data\n"
    "link file (.udl, such as the invoice.udl beside kestrin) holding one: creates the\n"
    "invoice tables, the configuration row and the indexes in that PostgreSQL\n"
    "database. The database must exist already and hold no table; one that holds\n"
    "tables is refused and left untouched.\n";

bool IsConnectionString(const QString& argument)
{
    return argument.trimmed().startsWith(QLatin1String("Provider="), Qt::CaseInsensitive);
}

bool IsDataLinkFile(const QString& argument)
{
    return argument.endsWith(QLatin1String(".udl"), Qt::CaseInsensitive);
}

int Fail(const QString& message)
{
    std::fprintf(stderr, "kestrin-initdb: %s\n", qUtf8Printable(message));
    return 1;
}

// Names the server database for the messages; never the password.
QString Describe(const engine::ConnectionString& connection)
{
    QString host;
    for (const char* keyword : {"Host", "Server", "Data Source"}) {
        if (host.isEmpty())
            host = connection.Value(QLatin1String(keyword));
    }
    if (host.isEmpty())
        host = QStringLiteral("the local server");
    QString database = connection.Value(QStringLiteral("Database"));
    if (database.isEmpty())
        database = connection.Value(QStringLiteral("Initial Catalog"));
    return QStringLiteral("database %1 on %2").arg(database, host);
}

int CreateOnServer(const QString& connectionString, const QString& source)
{
    const engine::ConnectionString parsed = engine::ConnectionString::Parse(connectionString);
    const QString provider = parsed.Value(QStringLiteral("Provider"));
    bool isServer = false;
    try {
        isServer = engine::ProviderFactory::KindOf(provider) == engine::ProviderKind::PostgreSql;
    } catch (const engine::EngineError& error) {
        return Fail(error.Description());
    }
    if (!isServer)
        return Fail(QStringLiteral("%1 names the provider \"%2\"; a connection string can only name "
                                   "PostgreSQL. For an encrypted file give its path.")
                        .arg(source, provider));
    QString error;
    if (!CreateInvoiceSchema(connectionString, &error))
        return Fail(QStringLiteral("cannot create the invoice tables in %1: %2").arg(Describe(parsed), error));
    std::printf("kestrin-initdb: created the invoice tables in %s\n", qUtf8Printable(Describe(parsed)));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || argv[1][0] == '\0') {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const QString argument = QString::fromLocal8Bit(argv[1]);

    if (IsConnectionString(argument))
        return CreateOnServer(argument, QStringLiteral("the connection string"));

    if (IsDataLinkFile(argument)) {
        try {
            return CreateOnServer(engine::DataLinkFile::ReadConnectionString(argument),
                                  QStringLiteral("the data link file %1").arg(argument));
        } catch (const engine::EngineError& error) {
            return Fail(error.Description());
        }
    }

    if (QFileInfo::exists(argument))
        return Fail(QStringLiteral("%1 already exists; it was left untouched.").arg(argument));
    QString error;
    if (!CreateInvoiceDatabase(argument, &error))
        return Fail(QStringLiteral("cannot create %1: %2").arg(argument, error));
    std::printf("kestrin-initdb: created %s\n", argv[1]);
    return 0;
}
