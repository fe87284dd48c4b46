#pragma once

#include "settings_editor/Context.h"

#include <QString>

namespace pendra::settings_editor::ReadPnd {

// The text boxes of the application settings form, named as its controls.
struct PendraIniFields {
    QString Label;
    QString AnwPfad;
    QString AnwName;
    QString dbPath;
    QString DbName;
    QString TmpPath;
    QString Vorlagen;
    QString OfficePath;
    QString BriefPath;
    QString FaxPath;
    QString DatevPath;
    QString WKen;
    QString HomePrg;
    QString EDIPath;
};

// Writes the defaults derived from the working folder into its Pendra.ini, field by field,
// and puts them into the fields. The company label is left as it is.
void InitSettings(const settings_editor::Context& context, PendraIniFields& fields);

// Fills the fields from the working folder's Pendra.ini. The DATEV folder and currency and the
// online-banking program are loaded only when their switch is on; otherwise those fields keep
// what they hold.
void ReadSettings(const settings_editor::Context& context, PendraIniFields& fields);

// Writes every field and both component switches into the working folder's Pendra.ini.
// Returns whether the form is to close: not when a write failed, so nothing typed is lost.
bool acceptSettings(const settings_editor::Context& context, const PendraIniFields& fields);

}  // namespace pendra::settings_editor::ReadPnd
