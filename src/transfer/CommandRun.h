#pragma once

#include "ui/message_sink.h"

#include <functional>
#include <utility>

namespace pendra::transfer {

// One run of an export command: where its messages go, who hears of its progress, and
// whether a check stopped it before its end.
class CommandRun {
public:
    using Progress = std::function<void(int recordsWritten)>;

    explicit CommandRun(ui::MessageSink& messages, Progress progress = {})
        : messages_(messages), progress_(std::move(progress)) {}

    ui::MessageSink& messages() const { return messages_; }
    const Progress& progress() const { return progress_; }

    // A check of a setting, a value or an answer ended the command early.
    void markStopped() { stopped_ = true; }
    bool stopped() const { return stopped_; }

private:
    ui::MessageSink& messages_;
    Progress progress_;
    bool stopped_ = false;
};

}  // namespace pendra::transfer
