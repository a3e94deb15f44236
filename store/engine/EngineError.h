#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace engine {

// The one error the engine raises. Its description is meant for the user and
// may be empty (a missing object carries none). Its kind lets a caller tell
// apart the refusals it can act on, whatever the binding.
class EngineError : public std::exception {
public:
    enum class Kind {
        Other,
        UniqueViolation, // a unique key refused the row: it is already stored
        Busy,            // another connection held what was needed for too long
    };

    explicit EngineError(QString description = QString(), Kind kind = Kind::Other);

    const QString& Description() const noexcept { return m_description; }
    Kind GetKind() const noexcept { return m_kind; }
    bool IsUniqueViolation() const noexcept { return m_kind == Kind::UniqueViolation; }
    bool IsBusy() const noexcept { return m_kind == Kind::Busy; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_description;
    Kind m_kind;
    QByteArray m_utf8;
};

} // namespace engine
