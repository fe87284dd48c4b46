#pragma once

#include "ui/message_sink.h"

#include <QByteArray>
#include <QString>

namespace pendra::setup {

// The ODBC installer library, loaded when a data source is created.
inline constexpr const char* kOdbcInstaller = "libodbcinst.so.2";

// The attribute list of the data source "Pendra_DB" for the database below the installation
// directory: "DSN=", "Description=", "UID=" and "DBQ=" entries, each ended by a NUL, and a
// second NUL behind the last. The directory is used as it is.
QByteArray dataSourceAttributes(const QString& installDir);

// Registers the system data source "Pendra_DB" of the accounting database below the
// installation directory. When the installer library cannot be loaded or lacks the function,
// the user is told and no data source is created; a failure of the driver is not reported.
void createDataSource(const QString& installDir, ui::MessageSink& messages,
                      const char* installerLibrary = kOdbcInstaller);

}  // namespace pendra::setup
