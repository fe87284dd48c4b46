#pragma once

#include "settings_editor/Context.h"
#include "ui/recording_message_sink.h"

#include <QString>

namespace pendra::test {

// The editor working in a fixed folder; the empty folder stands for one that cannot be
// determined.
inline settings_editor::Context editorIn(ui::RecordingMessageSink& messages,
                                         const QString& folder) {
    return {messages, [folder] { return folder; }};
}

}  // namespace pendra::test
