#pragma once

#include "settings_editor/Context.h"

#include <QString>

namespace pendra::settings_editor {

// The text boxes of the DATEV settings form, named as its controls.
struct DatevFields {
    QString NrBerater;
    QString NrMandant;
    QString AusgPath;
    QString Waehrung;
};

// The characters of the value before the first of the stop characters; the whole value when
// none occurs.
QString cutAtStop(const QString& value, const QString& stops);

// The folder of DATEV's Damo32.ini as the settings file names it: [Datev] datev, unless that
// holds the DATEV switch ("Ja"/"Nein" in any case) or nothing; then [Datev] datev_Path. The
// empty text when neither names a folder.
QString damoFolder(ui::MessageSink& messages, const QString& settingsFile);

// The load step of the form: the advisor and client numbers and the output path from
// Damo32.ini, the currency code from Pendra.ini.
DatevFields loadDatev(const settings_editor::Context& context);

// Writes the three DATEV values into Damo32.ini and the currency code into Pendra.ini.
// Returns whether the form is to close: not when nothing could be saved or a write failed,
// so nothing typed is lost.
bool acceptDatev(const settings_editor::Context& context, const DatevFields& fields);

}  // namespace pendra::settings_editor
