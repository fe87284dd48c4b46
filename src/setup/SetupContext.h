#pragma once

#include "ui/message_sink.h"

#include <QString>

namespace pendra::setup {

// What every page and step of one setup run shares: where its messages go, the folder the
// setup was started from and the installation folder, which the choice page sets from the
// product key and the folder page replaces.
struct SetupContext {
    ui::MessageSink& messages;
    // Ends in exactly one "/".
    QString sourceDirectory;
    // Begins at the root and ends in "/" once a page has chosen it.
    QString installationDirectory;
};

// The folder of a program file, with exactly one trailing "/".
QString sourceDirectoryOf(const QString& programPath);

}  // namespace pendra::setup
