#pragma once

namespace pendra::test {

// Where a bookings run was when it was killed.
enum class RunPhase {
    StartUp,   // no database open yet: process start, settings
    Database,  // connecting, looking values up, selecting months with nothing left to export
    Export,    // an interface file open, or lines in it that no marking covers yet
    Marking,   // a marker written, its marking not yet committed
    HandOver,  // a DATEV program running as its child
};
constexpr int kRunPhases = 5;

const char* phaseName(RunPhase phase);

// What /proc shows of a running process: whether a DATEV program runs as its child, and
// whether it holds the database or an interface file open.
struct ProcessView {
    bool runsDatevProgram = false;
    bool holdsDatabase = false;
    bool holdsInterfaceFile = false;
};
ProcessView processView(long long pid);

}  // namespace pendra::test
