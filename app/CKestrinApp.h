#pragma once

#include "store/CAdoConnection.h"

#include <QString>

// The program version, shown in the About box and sent with the start page address.
extern const QString g_strVersion;

// The application object: holds the process's one database connection,
// opens it at start-up and runs the main window until it is closed. The
// connection is closed when the object goes.
class CKestrinApp {
public:
    CKestrinApp();
    ~CKestrinApp();
    CKestrinApp(const CKestrinApp&) = delete;
    CKestrinApp& operator=(const CKestrinApp&) = delete;

    // Opens the database, shows the main window and returns when it was
    // closed. Always false: there is nothing left to run afterwards.
    bool StartUp();
    void OpenDatabase();

    CAdoConnection& Connection() { return m_connection; }

private:
    CAdoConnection m_connection;
};
