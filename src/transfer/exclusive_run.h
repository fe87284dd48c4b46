#pragma once

#include "transfer/CommandRun.h"

namespace pendra::transfer {

// Runs the command while this process holds the run lock of the temporary folder that
// Pendra.ini names. When another transfer program runs a command on that folder, throws
// Failure before anything is written or marked: two runs would put the same bookings into
// one interface file and mark them twice.
void runExclusively(CommandRun& run, void (*command)(CommandRun&));

// The command as the window and the command line run it, under the run lock.
template <void (*command)(CommandRun&)>
void exclusively(CommandRun& run) {
    runExclusively(run, command);
}

}  // namespace pendra::transfer
