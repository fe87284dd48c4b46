#include "transfer/cli/batch.h"

#include "common/failure.h"
#include "transfer/CommandRun.h"
#include "transfer/commands.h"
#include "ui/console_message_sink.h"

#include <ostream>
#include <string>

namespace pendra::transfer::cli {

namespace {

constexpr auto kHelpStart =
    "Aufruf: pendra_transfer [--batch BEFEHL [--yes]]\n"
    "\n"
    "Ohne Argumente öffnet sich das Fenster der DATEV-Schnittstelle.\n"
    "\n"
    "Mit --batch läuft ein Befehl ohne Fenster, wie der Menüpunkt gleichen Namens:\n";

constexpr auto kHelpEnd =
    "\n"
    "Jede Meldung erscheint als eigene Zeile auf der Standardausgabe. Fragen (etwa nach der\n"
    "Diskette) beantwortet --yes mit OK; sonst wird am Terminal gefragt, ohne Terminal gilt\n"
    "Abbrechen.\n"
    "\n"
    "Rückgabewerte:\n"
    "  0  der Befehl lief bis zu seinem Ende (auch wenn nichts auszuspielen war)\n"
    "  1  ein Fehler der Datenbank, einer Datei oder eines Programmstarts beendete ihn\n"
    "  2  falscher Aufruf\n"
    "  3  eine Prüfung hielt ihn an (fehlende Einstellung, Abbrechen, ungültige Daten)\n";

// The help with one line per command, the descriptions aligned in one column.
std::string helpText() {
    constexpr std::size_t kWordWidth = 22;
    std::string text = kHelpStart;
    for (const Command& command : kCommands) {
        const std::string word = command.batchWord;
        text += "  " + word + std::string(kWordWidth - word.size(), ' ') + command.helpLine + '\n';
    }
    return text + kHelpEnd;
}

// Shows the number of records written on the terminal's last line and clears that line
// before any message is printed.
class TerminalProgress : public ui::MessageSink {
public:
    TerminalProgress(ui::MessageSink& inner, std::ostream& err) : inner_(inner), err_(err) {}

    ui::Answer ask(const ui::Message& message) override {
        clear();
        return inner_.ask(message);
    }

    void show(int records) {
        if (records % 250 == 0) {
            err_ << "\rDatensätze geschrieben: " << records << std::flush;
            showing_ = true;
        }
    }

    void clear() {
        if (showing_) {
            err_ << "\r\033[K" << std::flush;
            showing_ = false;
        }
    }

private:
    ui::MessageSink& inner_;
    std::ostream& err_;
    bool showing_ = false;
};

int usage(const Console& console, const char* problem) {
    console.err << "pendra_transfer: " << problem << "\n\n" << helpText();
    return Usage;
}

int runCommand(const Command& command, bool assumeYes, const Console& console) {
    ui::ConsoleMessageSink consoleSink(console.out, console.in,
                                       console.inputIsTerminal
                                           ? ui::ConsoleMessageSink::Input::Terminal
                                           : ui::ConsoleMessageSink::Input::None,
                                       assumeYes);
    TerminalProgress progress(consoleSink, console.err);
    CommandRun::Progress onRecord;
    if (console.errorIsTerminal) {
        onRecord = [&progress](int records) { progress.show(records); };
    }
    CommandRun commandRun(progress, onRecord);
    try {
        command.function(commandRun);
    } catch (const Failure& failure) {
        progress.clear();
        console.err << failure.message().toStdString() << '\n';
        return Failed;
    }
    progress.clear();
    return commandRun.stopped() ? Stopped : Completed;
}

}  // namespace

int run(const QStringList& arguments, const Console& console) {
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        console.out << helpText();
        return Completed;
    }
    QStringList rest = arguments;
    const bool assumeYes = rest.removeAll(QStringLiteral("--yes")) > 0;
    if (rest.size() != 2 || rest[0] != QLatin1String("--batch")) {
        return usage(console, "erwartet wird --batch BEFEHL");
    }
    const Command* command = commandOfBatchWord(rest[1]);
    if (command == nullptr) {
        return usage(console, "unbekannter Befehl");
    }
    return runCommand(*command, assumeYes, console);
}

}  // namespace pendra::transfer::cli
