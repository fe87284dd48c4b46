#pragma once

#include <QCoreApplication>

namespace pendra::ui {

// Loads Qt's own German texts, so that standard buttons read "Ja", "Nein", "Abbrechen".
// The translation stays installed for the application's lifetime. Returns whether it was
// found.
bool installGermanTranslation(QCoreApplication& app);

}  // namespace pendra::ui
