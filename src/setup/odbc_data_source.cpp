#include "setup/odbc_data_source.h"

#include "platform/paths.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>
#include <link.h>
#include <odbcinst.h>
#include <memory>
#include <utility>
#include <vector>

namespace pendra::setup {

namespace {

// The driver entry of the SQLite ODBC driver, as its package registers it.
constexpr const char* kDriver = "SQLite3";
constexpr const char* kDataSource = "Pendra_DB";
constexpr const char* kOdbcIni = "ODBC.INI";
const QString kCaption = QStringLiteral("ODBC Installer Error");

struct LibraryCloser {
    void operator()(void* library) const { ::dlclose(library); }
};
using Library = std::unique_ptr<void, LibraryCloser>;

using ConfigDataSource = decltype(&::SQLConfigDataSource);
using WriteDsnToIni = decltype(&::SQLWriteDSNToIni);
using WriteProfileString = decltype(&::SQLWritePrivateProfileString);
using SetConfigMode = decltype(&::SQLSetConfigMode);

template <typename Function>
Function symbol(const Library& library, const char* name) {
    return reinterpret_cast<Function>(::dlsym(library.get(), name));
}

QString databasePath(const QString& installDir) {
    return installDir + QStringLiteral("/pendra/pendra.mde");
}

QString libraryPath(const Library& library, const char* name) {
    link_map* map = nullptr;
    if (::dlinfo(library.get(), RTLD_DI_LINKMAP, &map) == 0 && map != nullptr &&
        map->l_name != nullptr && *map->l_name != '\0') {
        return QFile::decodeName(map->l_name);
    }
    return QFile::decodeName(name);
}

QString programPath() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

// The pairs "name=value" of the attribute list.
std::vector<std::pair<QByteArray, QByteArray>> attributePairs(const QByteArray& attributes) {
    std::vector<std::pair<QByteArray, QByteArray>> pairs;
    for (const QByteArray& item : attributes.split('\0')) {
        const qsizetype equals = item.indexOf('=');
        if (equals > 0) {
            pairs.emplace_back(item.left(equals), item.mid(equals + 1));
        }
    }
    return pairs;
}

// The SQLite driver has no setup routine for SQLConfigDataSource to call, so the entry is
// written the way such a routine would write it. Beside the given attributes the driver needs
// "Database" for the file that "DBQ" names; a missing file is an error, not a new database.
void writeSystemDataSource(const Library& library, const QByteArray& attributes,
                           const QString& installDir) {
    const auto setConfigMode = symbol<SetConfigMode>(library, "SQLSetConfigMode");
    const auto writeDsn = symbol<WriteDsnToIni>(library, "SQLWriteDSNToIni");
    const auto writeString = symbol<WriteProfileString>(library, "SQLWritePrivateProfileString");
    if (setConfigMode == nullptr || writeDsn == nullptr || writeString == nullptr) {
        return;
    }
    setConfigMode(ODBC_SYSTEM_DSN);
    if (writeDsn(kDataSource, kDriver)) {
        auto pairs = attributePairs(attributes);
        pairs.emplace_back("Database",
                           QFile::encodeName(platform::resolvePath(databasePath(installDir))));
        pairs.emplace_back("Timeout", "5000");
        pairs.emplace_back("StepAPI", "1");
        pairs.emplace_back("NoCreat", "1");
        for (const auto& [name, value] : pairs) {
            if (name != "DSN") {
                writeString(kDataSource, name.constData(), value.constData(), kOdbcIni);
            }
        }
    }
    setConfigMode(ODBC_BOTH_DSN);
}

}  // namespace

QByteArray dataSourceAttributes(const QString& installDir) {
    QByteArray text =
        "DSN=Pendra_DB\x07"
        "Description=Pendra Datenbank\x07"
        "UID=admin\x07"
        "DBQ=" +
        QFile::encodeName(databasePath(installDir));
    text.replace('\x07', '\0');
    return text + QByteArray(2, '\0');
}

void createDataSource(const QString& installDir, ui::MessageSink& messages,
                      const char* installerLibrary) {
    // The library keeps the configuration it parsed for the life of the process; it stays
    // loaded with it, so that memory stays the library's and is not left to an unloaded one.
    const Library library(::dlopen(installerLibrary, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE));
    if (!library) {
        messages.show(QStringLiteral(
                          "The ODBC installer DLL (ODBCCP32.DLL) is not installed on this system."),
                      kCaption, ui::Icon::Information);
        return;
    }
    const auto configDataSource = symbol<ConfigDataSource>(library, "SQLConfigDataSource");
    if (configDataSource == nullptr) {
        messages.show(QStringLiteral("The program %1, or one of its DLLs attempted to call the "
                                     "function %2 which is not supported in the loaded ODBC "
                                     "installer DLL (%3).  Press OK to proceed.")
                          .arg(programPath(), QStringLiteral("SQLConfigDataSource"),
                               libraryPath(library, installerLibrary)),
                      kCaption);
        return;
    }
    const QByteArray attributes = dataSourceAttributes(installDir);
    if (!configDataSource(nullptr, ODBC_ADD_SYS_DSN, kDriver, attributes.constData())) {
        writeSystemDataSource(library, attributes, installDir);
    }
}

}  // namespace pendra::setup
