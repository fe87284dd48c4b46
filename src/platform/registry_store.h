#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace pendra::platform {

enum class RegType { String, ExpandString };

// A value as the registry keeps it: its type and its raw Windows-1252 bytes, the
// terminating NUL included for values written as text.
struct RegValue {
    RegType type = RegType::String;
    QByteArray data;

    static RegValue fromText(const QString& text, RegType type = RegType::String);
    // The characters before the first NUL.
    QString text() const;
};

struct RegNamedValue {
    QString name;
    RegValue value;
};

// InvalidName: a key or value name with a line break, which the file cannot hold.
enum class RegStatus { Ok, NotFound, HasSubkeys, Damaged, IoError, InvalidName };

struct RegResult {
    RegStatus status = RegStatus::Ok;
    QString message;  // German, for the user; empty on success

    bool ok() const { return status == RegStatus::Ok; }
};

// The registry below HKEY_LOCAL_MACHINE, kept in one text file in the layout of a registry
// export ("REGEDIT4", Windows-1252, CR LF). Key paths are relative to HKEY_LOCAL_MACHINE and
// separated by backslashes; key and value names match without regard to case and keep the
// case they were created with. Every call reads the file afresh; writes replace it
// atomically under an advisory lock. A damaged file is reported, never overwritten.
class RegistryStore {
public:
    explicit RegistryStore(QString file);
    // The store of the machine: <system root>/registry.reg.
    static RegistryStore system();

    const QString& file() const { return file_; }

    RegResult keyExists(const QString& key) const;
    RegResult queryValue(const QString& key, const QString& name, RegValue* value) const;
    RegResult values(const QString& key, std::vector<RegNamedValue>* values) const;
    RegResult subkeys(const QString& key, QStringList* names) const;

    // Creates the key and every missing key above it. A name with a line break is refused.
    RegResult createKey(const QString& key);
    // Sets a value of an existing key. A value name with a line break is refused.
    RegResult setValue(const QString& key, const QString& name, const RegValue& value);
    RegResult deleteValue(const QString& key, const QString& name);
    enum class Subkeys { Refuse, Delete };
    // Deletes the key with its values; a key with subkeys is refused unless asked otherwise.
    RegResult deleteKey(const QString& key, Subkeys subkeys = Subkeys::Refuse);

private:
    QString file_;
};

// "HKLM\Software\x", "HKEY_LOCAL_MACHINE\Software\x" -> "Software\x"; empty for other roots.
bool splitMachineKey(const QString& fullPath, QString* key);

}  // namespace pendra::platform
