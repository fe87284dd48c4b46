// pendra-reg: queries, adds and deletes keys and values of the machine's registry store,
// in the manner of the Windows "reg" command.
//
//   pendra-reg query  "HKLM\Path" [/v Name]
//   pendra-reg add    "HKLM\Path" [/v Name] [/d Data] [/t REG_SZ|REG_EXPAND_SZ] [/f]
//   pendra-reg delete "HKLM\Path" [/v Name] [/f]
//
// Exit codes: 0 success, 1 key or value missing or the store unusable, 2 usage error.

#include "platform/registry_store.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <optional>

using namespace pendra::platform;

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

void print(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

int usage(const QString& problem = {}) {
    if (!problem.isEmpty()) {
        print(stderr, QStringLiteral("FEHLER: ") + problem);
    }
    print(stderr, QStringLiteral("Aufruf:\n"
                                 "  pendra-reg query  \"HKLM\\Pfad\" [/v Name]\n"
                                 "  pendra-reg add    \"HKLM\\Pfad\" [/v Name] [/d Daten] "
                                 "[/t REG_SZ|REG_EXPAND_SZ] [/f]\n"
                                 "  pendra-reg delete \"HKLM\\Pfad\" [/v Name] [/f]\n"
                                 "Die Registrierung liegt im Systemordner PENDRA_SYSTEM_ROOT."));
    return kUsage;
}

int failed(const RegResult& result) {
    print(stderr, QStringLiteral("FEHLER: ") + result.message);
    return kFailed;
}

QString typeName(RegType type) {
    return type == RegType::ExpandString ? QStringLiteral("REG_EXPAND_SZ")
                                         : QStringLiteral("REG_SZ");
}

void printValue(const RegNamedValue& v) {
    const QString name = v.name.isEmpty() ? QStringLiteral("(Standard)") : v.name;
    print(stdout,
          QStringLiteral("    %1    %2    %3").arg(name, typeName(v.value.type), v.value.text()));
}

struct Options {
    QString command;
    QString fullKey;
    QString key;
    std::optional<QString> valueName;
    QString data;
    RegType type = RegType::String;
    bool force = false;
};

std::optional<Options> parse(const QStringList& args, QString* problem) {
    if (args.size() < 2) {
        *problem = QStringLiteral("Zu wenige Argumente.");
        return std::nullopt;
    }
    Options options;
    options.command = args[0].toLower();
    options.fullKey = args[1];
    if (!splitMachineKey(args[1], &options.key)) {
        *problem = QStringLiteral("Nur HKLM (HKEY_LOCAL_MACHINE) wird unterstützt.");
        return std::nullopt;
    }
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString flag = args[i].toLower();
        const bool hasArgument = i + 1 < args.size();
        if (flag == QLatin1String("/f")) {
            options.force = true;
        } else if (flag == QLatin1String("/v") && hasArgument) {
            options.valueName = args[++i];
        } else if (flag == QLatin1String("/ve")) {
            options.valueName = QString();
        } else if (flag == QLatin1String("/d") && hasArgument) {
            options.data = args[++i];
        } else if (flag == QLatin1String("/t") && hasArgument) {
            const QString type = args[++i].toUpper();
            if (type == QLatin1String("REG_SZ")) {
                options.type = RegType::String;
            } else if (type == QLatin1String("REG_EXPAND_SZ")) {
                options.type = RegType::ExpandString;
            } else {
                *problem = QStringLiteral("Unbekannter Typ \"%1\".").arg(args[i]);
                return std::nullopt;
            }
        } else {
            *problem = QStringLiteral("Ungültiges Argument \"%1\".").arg(args[i]);
            return std::nullopt;
        }
    }
    return options;
}

int query(const RegistryStore& store, const Options& o) {
    std::vector<RegNamedValue> values;
    RegResult result = store.values(o.key, &values);
    if (!result.ok()) {
        return failed(result);
    }
    if (o.valueName) {
        RegValue value;
        result = store.queryValue(o.key, *o.valueName, &value);
        if (!result.ok()) {
            return failed(result);
        }
        values = {{*o.valueName, value}};
    }
    print(stdout, {});
    print(stdout, QStringLiteral("HKEY_LOCAL_MACHINE\\") + o.key);
    for (const RegNamedValue& v : values) {
        printValue(v);
    }
    if (!o.valueName) {
        QStringList subkeys;
        result = store.subkeys(o.key, &subkeys);
        if (!result.ok()) {
            return failed(result);
        }
        print(stdout, {});
        for (const QString& subkey : subkeys) {
            print(stdout, QStringLiteral("HKEY_LOCAL_MACHINE\\%1\\%2").arg(o.key, subkey));
        }
    }
    return kOk;
}

int add(RegistryStore& store, const Options& o) {
    if (o.valueName && !o.force) {
        RegValue existing;
        if (store.queryValue(o.key, *o.valueName, &existing).ok()) {
            return usage(QStringLiteral("Der Wert \"%1\" ist schon vorhanden; /f überschreibt ihn.")
                             .arg(*o.valueName));
        }
    }
    RegResult result = store.createKey(o.key);
    if (result.ok() && o.valueName) {
        result = store.setValue(o.key, *o.valueName, RegValue::fromText(o.data, o.type));
    }
    if (!result.ok()) {
        return failed(result);
    }
    print(stdout, QStringLiteral("Der Vorgang wurde erfolgreich beendet."));
    return kOk;
}

int remove(RegistryStore& store, const Options& o) {
    if (!o.force) {
        return usage(QStringLiteral("Löschen nur mit /f."));
    }
    const RegResult result = o.valueName ? store.deleteValue(o.key, *o.valueName)
                                         : store.deleteKey(o.key, RegistryStore::Subkeys::Delete);
    if (!result.ok()) {
        return failed(result);
    }
    print(stdout, QStringLiteral("Der Vorgang wurde erfolgreich beendet."));
    return kOk;
}

}  // namespace

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    QString problem;
    const auto options = parse(QCoreApplication::arguments().mid(1), &problem);
    if (!options) {
        return usage(problem);
    }
    RegistryStore store = RegistryStore::system();
    if (store.file().isEmpty()) {
        print(stderr, QStringLiteral("FEHLER: Kein Systemordner (PENDRA_SYSTEM_ROOT) gesetzt."));
        return kFailed;
    }
    if (options->command == QLatin1String("query")) {
        return query(store, *options);
    }
    if (options->command == QLatin1String("add")) {
        return add(store, *options);
    }
    if (options->command == QLatin1String("delete")) {
        return remove(store, *options);
    }
    return usage(QStringLiteral("Unbekannter Befehl \"%1\".").arg(options->command));
}
