#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace pendra::platform {

// Windows-1252, the code page of every file, profile and registry value the suite exchanges
// with other programs. A character the code page lacks is written as "?", as Windows does.
struct Encoded {
    QByteArray bytes;
    int replaced = 0;  // characters that became "?"
};

Encoded encodeAnsi(QStringView text);
// The same for UTF-8 bytes; plain ASCII is copied as it is.
Encoded encodeUtf8AsAnsi(QByteArrayView utf8);
// Appends the UTF-8 text in Windows-1252 to `out`, so that a caller writing many lines
// reuses one buffer; returns the number of characters that became "?".
int appendUtf8AsAnsi(QByteArrayView utf8, QByteArray& out);
QByteArray toAnsi(QStringView text);
QString fromAnsi(const QByteArray& bytes);

}  // namespace pendra::platform
