#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace engine {

// The one error the engine raises. Its description is meant for the user and
// may be empty (a missing object carries none).
class EngineError : public std::exception {
public:
    explicit EngineError(QString description = QString());

    const QString& Description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_description;
    QByteArray m_utf8;
};

} // namespace engine
