#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace pendra::tools::damo {

// A reason why a record of the interface file is not written.
struct Problem {
    int line = 0;  // line of the interface file; 0 for the run's settings
    QString field;
    QString value;
    QString reason;
};

// Builds one DATEV-Format record field by field and collects every check that fails. Field
// positions are counted from 1, as the format description numbers them.
class RecordCheck {
public:
    RecordCheck(int line, const QStringList& columns);

    // A text field: quoted, a quote inside doubled; refused when longer than maxLength or
    // holding a character DATEV's character set (Windows-1252) or a CSV line cannot carry.
    void setText(int position, const QString& value, int maxLength);
    // A numeric field written as it is (already in the format's notation).
    void setNumber(int position, const QString& value);
    // An account: digits only, at most maxDigits of them.
    void setAccount(int position, const QString& value, int maxDigits);
    void refuse(const QString& field, const QString& value, const QString& reason);
    void refuse(int position, const QString& value, const QString& reason);
    // The line is no record of the interface file's format at all.
    void setUnreadable() { readable_ = false; }

    [[nodiscard]] bool readable() const { return readable_; }

    [[nodiscard]] bool accepted() const { return readable_ && problems_.isEmpty(); }
    [[nodiscard]] QString line() const { return fields_.join(u';'); }
    [[nodiscard]] const QList<Problem>& problems() const { return problems_; }

private:
    int line_;
    const QStringList& columns_;
    QStringList fields_;
    QList<Problem> problems_;
    bool readable_ = true;
};

}  // namespace pendra::tools::damo
