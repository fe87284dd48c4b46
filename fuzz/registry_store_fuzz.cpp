// The registry store (src/platform/registry_store.*): its parser of the REGEDIT4 file and its
// writer. Invariants, from registry_store.h and docs/decisions.md "Registry store":
// - any file reads either as a store or as damaged; a damaged store fails every read and every
//   write with RegStatus::Damaged and is never overwritten;
// - what a store holds (keys, their values with type and bytes, their subkeys) is the same
//   after the store wrote itself back (a write that changes nothing), and a second such write
//   gives the same bytes;
// - queryValue finds the first value of a name, without regard to case; subkeys lists the
//   children of a key once each;
// - a write (create a key, set, delete a value, delete a key) changes what the documented
//   rules say and nothing else, and the file it leaves is read back as it was meant.
//
// Input: operation NUL key NUL name NUL data NUL file contents. The operation's first letter:
// c create the key, s set a text, e set an expandable text, b set the data bytes as a string
// value, d delete the value, k delete the key, K delete the key with its subkeys. Key, name and
// text are Windows-1252 bytes.

#include "fuzz_support.h"
#include "platform/codepage.h"
#include "platform/registry_store.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <vector>

using namespace pendra::platform;
using pendra::fuzz::shown;

namespace {

constexpr qsizetype kMaxDepth = 64;

struct KeyState {
    QStringList path;
    std::vector<RegNamedValue> values;
};

// What a store holds, as its reads tell: every key reachable from the root, sorted.
using Snapshot = std::vector<KeyState>;

QString folded(const QStringList& path) {
    return path.join(QLatin1Char('\\')).toCaseFolded();
}

bool samePath(const QStringList& a, const QStringList& b) {
    return a.size() == b.size() && folded(a) == folded(b);
}

bool isBelow(const QStringList& path, const QStringList& ancestor) {
    return path.size() > ancestor.size() && samePath(path.mid(0, ancestor.size()), ancestor);
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QByteArray describe(const Snapshot& snapshot) {
    QByteArray out;
    for (const KeyState& key : snapshot) {
        out += "[" + shown(key.path.join(QLatin1Char('\\'))) + "]";
        for (const RegNamedValue& v : key.values) {
            out += " " + shown(v.name) + (v.value.type == RegType::String ? "=" : "=(2)") +
                   shown(v.value.data);
        }
        out += "\n";
    }
    return out;
}

void sortSnapshot(Snapshot& snapshot) {
    std::sort(snapshot.begin(), snapshot.end(),
              [](const KeyState& a, const KeyState& b) { return folded(a.path) < folded(b.path); });
}

bool equal(const Snapshot& a, const Snapshot& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!samePath(a[i].path, b[i].path) || a[i].values.size() != b[i].values.size()) {
            return false;
        }
        for (std::size_t j = 0; j < a[i].values.size(); ++j) {
            const RegNamedValue& x = a[i].values[j];
            const RegNamedValue& y = b[i].values[j];
            if (x.name != y.name || x.value.type != y.value.type || x.value.data != y.value.data) {
                return false;
            }
        }
    }
    return true;
}

// `thorough`: also asks keyExists and queryValue of every key and value found.
RegResult walk(const RegistryStore& store, const QStringList& path, Snapshot* out, bool thorough) {
    const QString key = path.join(QLatin1Char('\\'));
    KeyState state{path, {}};
    RegResult result = store.values(key, &state.values);
    if (!result.ok()) {
        return result;
    }
    QStringList children;
    result = store.subkeys(key, &children);
    PENDRA_FUZZ_CHECK(result.ok(), "values read, subkeys not: " + shown(key));
    PENDRA_FUZZ_CHECK(!thorough || store.keyExists(key).ok(),
                      "a listed key does not exist: " + shown(key));
    for (const RegNamedValue& v : thorough ? state.values : std::vector<RegNamedValue>{}) {
        RegValue found;
        PENDRA_FUZZ_CHECK(store.queryValue(key, v.name, &found).ok(),
                          shown(key) + " " + shown(v.name));
        const auto first =
            std::find_if(state.values.begin(), state.values.end(),
                         [&](const RegNamedValue& w) { return sameName(w.name, v.name); });
        PENDRA_FUZZ_CHECK(
            found.type == first->value.type && found.data == first->value.data,
            "queryValue is not the first value of its name: " + shown(key) + " " + shown(v.name));
    }
    out->push_back(state);
    for (qsizetype i = 0; i < children.size(); ++i) {
        PENDRA_FUZZ_CHECK(!children[i].isEmpty() && !children[i].contains(QLatin1Char('\\')),
                          "subkey name " + shown(children[i]));
        for (qsizetype j = 0; j < i; ++j) {
            PENDRA_FUZZ_CHECK(!sameName(children[i], children[j]),
                              "subkey twice: " + shown(children[i]));
        }
        if (path.size() >= kMaxDepth) {
            break;  // deeper keys are left out of the snapshot, before and after alike
        }
        result = walk(store, path + QStringList{children[i]}, out, thorough);
        PENDRA_FUZZ_CHECK(result.ok(), "a subkey cannot be read: " + shown(children[i]));
    }
    return {};
}

RegResult snapshotOf(const RegistryStore& store, Snapshot* snapshot, bool thorough = false) {
    snapshot->clear();
    const RegResult result = walk(store, {}, snapshot, thorough);
    sortSnapshot(*snapshot);
    return result;
}

KeyState* find(Snapshot& snapshot, const QStringList& path) {
    for (KeyState& key : snapshot) {
        if (samePath(key.path, path)) {
            return &key;
        }
    }
    return nullptr;
}

bool hasSubkeys(const Snapshot& snapshot, const QStringList& path) {
    return std::any_of(snapshot.begin(), snapshot.end(),
                       [&](const KeyState& k) { return isBelow(k.path, path); });
}

bool hasLineBreak(const QString& name) {
    return name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n'));
}

// Applies the operation to the snapshot by the documented rules; returns the status the store
// must give.
RegStatus expect(Snapshot& s, char op, const QString& keyName, const QString& name,
                 const RegValue& value) {
    const QStringList path = keyName.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    KeyState* key = find(s, path);
    switch (op) {
        case 'c':
            if (hasLineBreak(keyName)) {
                return RegStatus::InvalidName;  // the file cannot hold it
            }
            for (qsizetype depth = 1; depth <= path.size(); ++depth) {
                if (find(s, path.mid(0, depth)) == nullptr) {
                    s.push_back({path.mid(0, depth), {}});
                }
            }
            sortSnapshot(s);
            return RegStatus::Ok;
        case 's':
        case 'e':
        case 'b': {
            if (hasLineBreak(name)) {
                return RegStatus::InvalidName;
            }
            if (key == nullptr) {
                return RegStatus::NotFound;
            }
            const auto existing =
                std::find_if(key->values.begin(), key->values.end(),
                             [&](const RegNamedValue& v) { return sameName(v.name, name); });
            if (existing != key->values.end()) {
                existing->value = value;
            } else {
                key->values.push_back({name, value});
            }
            return RegStatus::Ok;
        }
        case 'd': {
            if (key == nullptr) {
                return RegStatus::NotFound;
            }
            const auto count = std::erase_if(
                key->values, [&](const RegNamedValue& v) { return sameName(v.name, name); });
            return count == 0 ? RegStatus::NotFound : RegStatus::Ok;
        }
        case 'k':
        case 'K':
            if (path.isEmpty() || key == nullptr) {
                return RegStatus::NotFound;
            }
            if (op == 'k' && hasSubkeys(s, path)) {
                return RegStatus::HasSubkeys;
            }
            std::erase_if(s, [&](const KeyState& k) {
                return samePath(k.path, path) || isBelow(k.path, path);
            });
            return RegStatus::Ok;
        default:
            return RegStatus::Ok;
    }
}

RegResult apply(RegistryStore& store, char op, const QString& key, const QString& name,
                const RegValue& value) {
    switch (op) {
        case 'c':
            return store.createKey(key);
        case 's':
        case 'e':
        case 'b':
            return store.setValue(key, name, value);
        case 'd':
            return store.deleteValue(key, name);
        case 'k':
            return store.deleteKey(key);
        case 'K':
            return store.deleteKey(key, RegistryStore::Subkeys::Delete);
        default:
            return {};
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> parts = pendra::fuzz::fields(data, size, 4);
    const char op = parts[0].isEmpty() ? 'c' : parts[0][0];
    const QString key = fromAnsi(parts[1]);
    const QString name = fromAnsi(parts[2]);
    const QByteArray contents = parts[4];
    RegValue value;
    if (op == 'b') {
        value = {RegType::String, parts[3]};
    } else {
        value = RegValue::fromText(fromAnsi(parts[3]),
                                   op == 'e' ? RegType::ExpandString : RegType::String);
    }

    const QString file = pendra::fuzz::scratchFolder() + QStringLiteral("/registry.reg");
    pendra::fuzz::writeFile(file, contents);
    RegistryStore store(file);
    const QByteArray detail = "op " + QByteArray(1, op) + " key " + shown(key) + " name " +
                              shown(name) + " data " + shown(value.data) + " file:\n" +
                              shown(contents);

    Snapshot held;
    const RegResult read = snapshotOf(store, &held, true);
    if (!read.ok()) {
        PENDRA_FUZZ_CHECK(read.status == RegStatus::Damaged, "unexpected status: " + detail);
        PENDRA_FUZZ_CHECK(!read.message.isEmpty(), detail);
        const RegResult write = apply(
            store, op == 'c' || op == 'd' || op == 'k' || op == 'K' ? op : 's', key, name, value);
        PENDRA_FUZZ_CHECK(write.status == RegStatus::Damaged,
                          "a damaged store was written: " + detail);
        PENDRA_FUZZ_CHECK(pendra::fuzz::readFile(file) == contents,
                          "a damaged store changed: " + detail);
        return 0;
    }

    // The store writes itself back: it holds the same, and a second time gives the same bytes.
    PENDRA_FUZZ_CHECK(store.createKey(QString()).ok(), detail);
    const QByteArray canonical = pendra::fuzz::readFile(file);
    Snapshot rewritten;
    PENDRA_FUZZ_CHECK(
        snapshotOf(store, &rewritten).ok(),
        "the written store cannot be read: " + detail + "\nwritten:\n" + shown(canonical));
    PENDRA_FUZZ_CHECK(equal(held, rewritten), "the store changed by writing it back: " + detail +
                                                  "\nbefore:\n" + describe(held) + "after:\n" +
                                                  describe(rewritten));
    PENDRA_FUZZ_CHECK(store.createKey(QString()).ok(), detail);
    PENDRA_FUZZ_CHECK(pendra::fuzz::readFile(file) == canonical,
                      "a second write differs: " + detail);

    // One change, by the rules.
    Snapshot expected = held;
    const RegStatus status = expect(expected, op, key, name, value);
    const RegResult result = apply(store, op, key, name, value);
    const QByteArray changed = pendra::fuzz::readFile(file);
    PENDRA_FUZZ_CHECK(result.status == status,
                      "status " + QByteArray::number(static_cast<int>(result.status)) +
                          ", expected " + QByteArray::number(static_cast<int>(status)) + ": " +
                          detail);
    PENDRA_FUZZ_CHECK(result.ok() == result.message.isEmpty(), detail);
    if (!result.ok()) {
        PENDRA_FUZZ_CHECK(changed == canonical, "a refused change wrote the file: " + detail);
    }
    Snapshot now;
    PENDRA_FUZZ_CHECK(snapshotOf(store, &now).ok(), "the changed store cannot be read: " + detail +
                                                        "\nwritten:\n" + shown(changed));
    PENDRA_FUZZ_CHECK(equal(expected, now), "the change is not the one asked for: " + detail +
                                                "\nexpected:\n" + describe(expected) + "found:\n" +
                                                describe(now));
    PENDRA_FUZZ_CHECK(store.createKey(QString()).ok(), detail);
    PENDRA_FUZZ_CHECK(pendra::fuzz::readFile(file) == changed,
                      "a written store is not canonical: " + detail);
    return 0;
}
