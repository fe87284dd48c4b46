#include "platform/registry_store.h"

#include "platform/codepage.h"
#include "platform/file_lock.h"
#include "platform/paths.h"
#include "platform/system_error_text.h"
#include "platform/system_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace pendra::platform {

namespace {

constexpr auto kRootName = "HKEY_LOCAL_MACHINE";
constexpr auto kHeader = "REGEDIT4";

struct Key {
    QStringList path;
    std::vector<RegNamedValue> values;
};

struct Model {
    std::vector<Key> keys;
};

QStringList keyPath(const QString& key) {
    return key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

bool samePath(const QStringList& a, const QStringList& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].compare(b[i], Qt::CaseInsensitive) != 0) {
            return false;
        }
    }
    return true;
}

bool isBelow(const QStringList& path, const QStringList& ancestor) {
    return path.size() > ancestor.size() && samePath(path.mid(0, ancestor.size()), ancestor);
}

Key* findKey(Model& model, const QStringList& path) {
    for (Key& key : model.keys) {
        if (samePath(key.path, path)) {
            return &key;
        }
    }
    return nullptr;
}

bool exists(const Model& model, const QStringList& path) {
    return path.isEmpty() || std::any_of(model.keys.begin(), model.keys.end(), [&](const Key& k) {
               return samePath(k.path, path) || isBelow(k.path, path);
           });
}

RegNamedValue* findValue(Key& key, const QString& name) {
    for (RegNamedValue& value : key.values) {
        if (value.name.compare(name, Qt::CaseInsensitive) == 0) {
            return &value;
        }
    }
    return nullptr;
}

// ---- reading the file ------------------------------------------------------------------

class Parser {
public:
    Parser(const QString& file, const QByteArray& contents) : file_(file), contents_(contents) {}

    std::optional<Model> parse(RegResult* error) {
        if (contents_.isEmpty()) {
            return Model{};
        }
        if (!contents_.endsWith('\n')) {
            return fail(error, contents_.count('\n') + 1,
                        QStringLiteral("die letzte Zeile ist unvollständig"));
        }
        Model model;
        bool headerSeen = false;
        int number = 0;
        for (QByteArray raw : contents_.split('\n')) {
            ++number;
            if (raw.endsWith('\r')) {
                raw.chop(1);
            }
            const QString line = fromAnsi(raw).trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) {
                continue;
            }
            if (!headerSeen) {
                if (line != QLatin1String(kHeader)) {
                    return fail(error, number, QStringLiteral("die Kennung REGEDIT4 fehlt"));
                }
                headerSeen = true;
            } else if (line.startsWith(QLatin1Char('['))) {
                if (!line.endsWith(QLatin1Char(']'))) {
                    return fail(error, number,
                                QStringLiteral("der Schlüsselname ist unvollständig"));
                }
                QString key;
                if (!splitMachineKey(line.mid(1, line.size() - 2), &key)) {
                    return fail(error, number,
                                QStringLiteral("nur HKEY_LOCAL_MACHINE wird unterstützt"));
                }
                model.keys.push_back({keyPath(key), {}});
            } else {
                if (model.keys.empty()) {
                    return fail(error, number,
                                QStringLiteral("ein Wert steht vor jedem Schlüssel"));
                }
                auto value = parseValue(line);
                if (!value) {
                    return fail(error, number, QStringLiteral("der Wert ist unlesbar"));
                }
                model.keys.back().values.push_back(*value);
            }
        }
        return model;
    }

private:
    std::optional<Model> fail(RegResult* error, qsizetype line, const QString& reason) const {
        *error = {RegStatus::Damaged,
                  QStringLiteral("Die Registrierungsdatei \"%1\" ist beschädigt (Zeile %2: %3).")
                      .arg(file_)
                      .arg(line)
                      .arg(reason)};
        return std::nullopt;
    }

    // A quoted text starting at `pos`; on success `pos` stands behind the closing quote.
    static std::optional<QString> quoted(const QString& line, qsizetype& pos) {
        if (pos >= line.size() || line[pos] != QLatin1Char('"')) {
            return std::nullopt;
        }
        QString text;
        for (++pos; pos < line.size(); ++pos) {
            const QChar c = line[pos];
            if (c == QLatin1Char('"')) {
                ++pos;
                return text;
            }
            if (c == QLatin1Char('\\')) {
                if (++pos >= line.size()) {
                    return std::nullopt;
                }
            }
            text.append(line[pos]);
        }
        return std::nullopt;
    }

    static std::optional<QByteArray> hexBytes(const QString& list) {
        QByteArray bytes;
        if (list.isEmpty()) {
            return bytes;
        }
        for (const QString& item : list.split(QLatin1Char(','))) {
            bool ok = false;
            const uint byte = item.trimmed().toUInt(&ok, 16);
            if (!ok || item.trimmed().size() != 2) {
                return std::nullopt;
            }
            bytes.append(static_cast<char>(byte));
        }
        return bytes;
    }

    static std::optional<RegNamedValue> parseValue(const QString& line) {
        RegNamedValue value;
        qsizetype pos = 0;
        if (line.startsWith(QLatin1Char('@'))) {
            pos = 1;
        } else {
            const auto name = quoted(line, pos);
            if (!name) {
                return std::nullopt;
            }
            value.name = *name;
        }
        if (pos >= line.size() || line[pos] != QLatin1Char('=')) {
            return std::nullopt;
        }
        const QString data = line.mid(pos + 1);
        if (data.startsWith(QLatin1Char('"'))) {
            qsizetype dataPos = 0;
            const auto text = quoted(data, dataPos);
            if (!text || dataPos != data.size()) {
                return std::nullopt;
            }
            value.value = RegValue::fromText(*text);
            return value;
        }
        for (const auto& [prefix, type] :
             {std::pair{"hex(1):", RegType::String}, std::pair{"hex(2):", RegType::ExpandString}}) {
            if (data.startsWith(QLatin1String(prefix), Qt::CaseInsensitive)) {
                const auto bytes = hexBytes(data.mid(7));
                if (!bytes) {
                    return std::nullopt;
                }
                value.value = {type, *bytes};
                return value;
            }
        }
        return std::nullopt;
    }

    const QString& file_;
    const QByteArray& contents_;
};

std::optional<Model> load(const QString& file, RegResult* error) {
    QFile in(resolvePath(file));
    // Opened first: QFile::exists() reports a file that a writer is just renaming over as
    // missing (its old inode, no longer linked), which would read as an empty store.
    if (!in.open(QIODevice::ReadOnly)) {
        if (!in.exists()) {
            return Model{};
        }
        *error = {RegStatus::IoError,
                  QStringLiteral("Die Registrierungsdatei \"%1\" kann nicht gelesen werden: %2")
                      .arg(file, germanSystemError(in.errorString()))};
        return std::nullopt;
    }
    const QByteArray contents = in.readAll();
    return Parser(file, contents).parse(error);
}

// ---- writing the file ------------------------------------------------------------------

QByteArray quotedText(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('"'), QLatin1String("\\\""));
    return "\"" + toAnsi(escaped) + "\"";
}

bool plainText(const RegValue& value) {
    if (value.type != RegType::String || !value.data.endsWith('\0')) {
        return false;
    }
    const QByteArray body = value.data.chopped(1);
    return std::none_of(body.begin(), body.end(),
                        [](char c) { return c == '\0' || c == '\r' || c == '\n'; });
}

QByteArray serialise(Model model) {
    std::stable_sort(model.keys.begin(), model.keys.end(), [](const Key& a, const Key& b) {
        const qsizetype common = std::min(a.path.size(), b.path.size());
        for (qsizetype i = 0; i < common; ++i) {
            const int order = a.path[i].compare(b.path[i], Qt::CaseInsensitive);
            if (order != 0) {
                return order < 0;
            }
        }
        return a.path.size() < b.path.size();
    });
    QByteArray out = QByteArray(kHeader) + "\r\n\r\n";
    for (const Key& key : model.keys) {
        out += "[" +
               toAnsi(QLatin1String(kRootName) + QLatin1Char('\\') +
                      key.path.join(QLatin1Char('\\'))) +
               "]\r\n";
        for (const RegNamedValue& v : key.values) {
            out += v.name.isEmpty() ? QByteArray("@") : quotedText(v.name);
            out += "=";
            if (plainText(v.value)) {
                out += quotedText(fromAnsi(v.value.data.chopped(1)));
            } else {
                out += v.value.type == RegType::String ? "hex(1):" : "hex(2):";
                out += v.value.data.toHex(',');
            }
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

// Loads the store under its lock, applies `change` and writes the result back when the
// change succeeded.
template <typename Change>
RegResult modify(const QString& file, Change change) {
    if (file.isEmpty()) {
        return {RegStatus::IoError, QStringLiteral("Kein Systemordner für die Registrierung.")};
    }
    const QString path = resolvePath(file);
    const QString folder = QFileInfo(path).absolutePath();
    QDir().mkpath(folder);
    const FolderLock lock(folder);
    if (!lock.isLocked()) {
        return {
            RegStatus::IoError,
            QStringLiteral("Die Registrierungsdatei \"%1\" kann nicht gesperrt werden.").arg(file)};
    }
    RegResult result;
    auto model = load(path, &result);
    if (!model) {
        return result;
    }
    result = change(*model);
    if (!result.ok()) {
        return result;
    }
    QString error;
    if (!replaceFile(path, serialise(*model), &error)) {
        return {RegStatus::IoError,
                QStringLiteral("Die Registrierungsdatei \"%1\" kann nicht geschrieben werden: %2")
                    .arg(file, error)};
    }
    return {};
}

RegResult missingKey(const QString& key) {
    return {RegStatus::NotFound,
            QStringLiteral("Der Schlüssel \"%1\" ist nicht vorhanden.").arg(key)};
}

// A line break in a key or value name would split its line of the file and damage the store.
std::optional<RegResult> unwritableName(const QString& name) {
    if (!name.contains(QLatin1Char('\n')) && !name.contains(QLatin1Char('\r'))) {
        return std::nullopt;
    }
    return RegResult{RegStatus::InvalidName,
                     QStringLiteral("Der Name \"%1\" enthält einen Zeilenumbruch; die "
                                    "Registrierungsdatei kann ihn nicht aufnehmen.")
                         .arg(name)};
}

RegResult missingValue(const QString& name) {
    return {RegStatus::NotFound, QStringLiteral("Der Wert \"%1\" ist nicht vorhanden.").arg(name)};
}

}  // namespace

RegValue RegValue::fromText(const QString& text, RegType type) {
    return {type, toAnsi(text) + QByteArray(1, '\0')};
}

QString RegValue::text() const {
    const qsizetype nul = data.indexOf('\0');
    return fromAnsi(nul < 0 ? data : data.left(nul));
}

bool splitMachineKey(const QString& fullPath, QString* key) {
    const qsizetype slash = fullPath.indexOf(QLatin1Char('\\'));
    const QString root = slash < 0 ? fullPath : fullPath.left(slash);
    if (root.compare(QLatin1String(kRootName), Qt::CaseInsensitive) != 0 &&
        root.compare(QLatin1String("HKLM"), Qt::CaseInsensitive) != 0) {
        return false;
    }
    *key = slash < 0 ? QString() : fullPath.mid(slash + 1);
    return true;
}

RegistryStore::RegistryStore(QString file) : file_(std::move(file)) {}

RegistryStore RegistryStore::system() {
    const QString root = systemRoot();
    return RegistryStore(root.isEmpty() ? QString()
                                        : joinPath(root, QStringLiteral("registry.reg")));
}

RegResult RegistryStore::keyExists(const QString& key) const {
    RegResult result;
    const auto model = load(file_, &result);
    if (!model) {
        return result;
    }
    return exists(*model, keyPath(key)) ? RegResult{} : missingKey(key);
}

RegResult RegistryStore::queryValue(const QString& key, const QString& name,
                                    RegValue* value) const {
    std::vector<RegNamedValue> all;
    RegResult result = values(key, &all);
    if (!result.ok()) {
        return result;
    }
    for (const RegNamedValue& v : all) {
        if (v.name.compare(name, Qt::CaseInsensitive) == 0) {
            *value = v.value;
            return {};
        }
    }
    return missingValue(name);
}

RegResult RegistryStore::values(const QString& key, std::vector<RegNamedValue>* values) const {
    RegResult result;
    auto model = load(file_, &result);
    if (!model) {
        return result;
    }
    const QStringList path = keyPath(key);
    if (!exists(*model, path)) {
        return missingKey(key);
    }
    const Key* found = findKey(*model, path);
    *values = found != nullptr ? found->values : std::vector<RegNamedValue>{};
    return {};
}

RegResult RegistryStore::subkeys(const QString& key, QStringList* names) const {
    RegResult result;
    const auto model = load(file_, &result);
    if (!model) {
        return result;
    }
    const QStringList path = keyPath(key);
    if (!exists(*model, path)) {
        return missingKey(key);
    }
    names->clear();
    for (const Key& k : model->keys) {
        if (isBelow(k.path, path)) {
            const QString child = k.path[path.size()];
            const bool known = std::any_of(names->begin(), names->end(), [&](const QString& n) {
                return n.compare(child, Qt::CaseInsensitive) == 0;
            });
            if (!known) {
                names->append(child);
            }
        }
    }
    return {};
}

RegResult RegistryStore::createKey(const QString& key) {
    return modify(file_, [&](Model& model) {
        if (const auto refused = unwritableName(key)) {
            return *refused;
        }
        const QStringList path = keyPath(key);
        for (qsizetype depth = 1; depth <= path.size(); ++depth) {
            const QStringList ancestor = path.mid(0, depth);
            if (findKey(model, ancestor) == nullptr) {
                model.keys.push_back({ancestor, {}});
            }
        }
        return RegResult{};
    });
}

RegResult RegistryStore::setValue(const QString& key, const QString& name, const RegValue& value) {
    return modify(file_, [&](Model& model) {
        if (const auto refused = unwritableName(name)) {
            return *refused;
        }
        const QStringList path = keyPath(key);
        if (!exists(model, path)) {
            return missingKey(key);
        }
        Key* found = findKey(model, path);
        if (found == nullptr) {
            model.keys.push_back({path, {}});
            found = &model.keys.back();
        }
        if (RegNamedValue* existing = findValue(*found, name)) {
            existing->value = value;
        } else {
            found->values.push_back({name, value});
        }
        return RegResult{};
    });
}

RegResult RegistryStore::deleteValue(const QString& key, const QString& name) {
    return modify(file_, [&](Model& model) {
        Key* found = findKey(model, keyPath(key));
        if (found == nullptr) {
            return exists(model, keyPath(key)) ? missingValue(name) : missingKey(key);
        }
        const auto before = found->values.size();
        std::erase_if(found->values, [&](const RegNamedValue& v) {
            return v.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        return found->values.size() == before ? missingValue(name) : RegResult{};
    });
}

RegResult RegistryStore::deleteKey(const QString& key, Subkeys subkeys) {
    return modify(file_, [&](Model& model) {
        const QStringList path = keyPath(key);
        if (path.isEmpty() || !exists(model, path)) {
            return missingKey(key);
        }
        const bool hasSubkeys = std::any_of(model.keys.begin(), model.keys.end(),
                                            [&](const Key& k) { return isBelow(k.path, path); });
        if (hasSubkeys && subkeys == Subkeys::Refuse) {
            return RegResult{RegStatus::HasSubkeys,
                             QStringLiteral("Der Schlüssel \"%1\" hat Unterschlüssel.").arg(key)};
        }
        std::erase_if(model.keys, [&](const Key& k) {
            return samePath(k.path, path) || isBelow(k.path, path);
        });
        // The parent stays even when it was only implied by the deleted key.
        const QStringList parent = path.mid(0, path.size() - 1);
        if (!parent.isEmpty() && findKey(model, parent) == nullptr) {
            model.keys.push_back({parent, {}});
        }
        return RegResult{};
    });
}

}  // namespace pendra::platform
