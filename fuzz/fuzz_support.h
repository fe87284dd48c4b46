#pragma once

// Shared by the libFuzzer harnesses: the check that aborts on a broken invariant, the split of
// an input into fields, and a private folder for the files the file-based parsers need.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace pendra::fuzz {

// The text, with everything outside printable ASCII as \xNN, for the message of a failed check.
inline QByteArray shown(const QByteArray& bytes) {
    QByteArray out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            out += c;
        } else {
            out += "\\x" + QByteArray::number(byte, 16).rightJustified(2, '0');
        }
    }
    return out;
}

inline QByteArray shown(const QString& text) {
    QByteArray out;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F && c != QLatin1Char('\\')) {
            out += static_cast<char>(c.unicode());
        } else {
            out += "\\u" + QByteArray::number(c.unicode(), 16).rightJustified(4, '0');
        }
    }
    return out;
}

[[noreturn]] inline void failed(const char* file, int line, const char* condition,
                                const QByteArray& detail) {
    std::fprintf(stderr, "\n==== INVARIANT BROKEN at %s:%d: %s\n%s\n", file, line, condition,
                 detail.constData());
    std::fflush(stderr);
    std::abort();  // libFuzzer keeps the input as crash-<hash>
}

// Aborts when the invariant does not hold; `detail` (a QByteArray) says what was seen.
#define PENDRA_FUZZ_CHECK(condition, detail)                                  \
    do {                                                                      \
        if (!(condition)) {                                                   \
            ::pendra::fuzz::failed(__FILE__, __LINE__, #condition, (detail)); \
        }                                                                     \
    } while (0)

// The input split at its first `count` NUL bytes: count + 1 fields, the last one holding the
// rest (NULs included). Missing fields are empty.
inline QList<QByteArray> fields(const uint8_t* data, size_t size, int count) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QList<QByteArray> parts;
    qsizetype start = 0;
    for (int i = 0; i < count; ++i) {
        const qsizetype nul = input.indexOf('\0', start);
        if (nul < 0) {
            parts.append(input.mid(start));
            start = input.size();
            continue;
        }
        parts.append(input.mid(start, nul - start));
        start = nul + 1;
    }
    parts.append(input.mid(start));
    return parts;
}

// A folder of this process for the harness's files, below TMPDIR (scripts/run-fuzz points it
// at /dev/shm when there is one). Removed when the process ends normally.
inline const QString& scratchFolder() {
    static const QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "fuzz: no temporary folder: %s\n",
                     folder.errorString().toLocal8Bit().constData());
        std::abort();
    }
    static const QString path = folder.path();
    return path;
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "fuzz: cannot write %s\n", path.toLocal8Bit().constData());
        std::abort();
    }
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

}  // namespace pendra::fuzz
