#pragma once

namespace engine {

// The bindings the engine has. Callers that must write a statement one way
// for one binding and another way for the other (only the schema does) ask
// the open connection for its kind.
enum class ProviderKind {
    SqlCipher,  // an encrypted SQLite file
    PostgreSql, // a database on a PostgreSQL server, through libpq
};

} // namespace engine
