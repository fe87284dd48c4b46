#include "setup/cli/unattended.h"

#include "setup/ComponentChoice.h"
#include "setup/cli/UnattendedView.h"
#include "setup/folder_choice.h"
#include "setup/installer_runner.h"
#include "setup/product_key.h"
#include "setup/work_pages.h"

#include <QCoreApplication>

#include <array>
#include <optional>
#include <ostream>

namespace pendra::setup::cli {

namespace {

const char* const kHelp =
    "Aufruf: setup                      öffnet den Installationsassistenten\n"
    "        setup --unattended complete [--dir ORDNER]\n"
    "        setup --unattended custom --components pendra,datev,online [--dir ORDNER]\n"
    "        setup --unattended uninstall [--components pendra,datev,online]\n"
    "        setup --help\n"
    "\n"
    "Ohne Fenster geht der Assistent dieselben Schritte wie im Fenster:\n"
    "  complete   installiert jede Komponente, die noch fehlt\n"
    "  custom     installiert die genannten Komponenten (pendra = die Anwendung,\n"
    "             datev = DATEV-Schnittstelle, online = Online-Banking)\n"
    "  uninstall  entfernt die genannten Komponenten, ohne --components alle\n"
    "             vorhandenen; mit pendra wird alles entfernt\n"
    "  --dir      Installationsordner der Anwendung (Vorgabe: ProgramFilesDir/Pendra/)\n"
    "\n"
    "Jede Zeile und jede Meldung wird auf einer eigenen Zeile ausgegeben; Fehler auch auf\n"
    "der Fehlerausgabe. Es wird nichts gefragt.\n"
    "Rückgabewerte: 0 fertig, 1 ein Fehler wurde gemeldet, 2 falscher Aufruf,\n"
    "3 nichts zu tun oder eine Prüfung hat den Lauf beendet.\n";

using Ticks = std::array<bool, 3>;

struct Request {
    ComponentChoice::Option option = ComponentChoice::Complete;
    std::optional<Ticks> components;
    QString dir;
};

std::optional<Ticks> parseComponents(const QString& list) {
    Ticks ticks{};
    for (const QString& word : list.split(u',')) {
        const QString name = word.trimmed().toLower();
        if (name == QLatin1String("pendra")) {
            ticks[ComponentChoice::MainApplication] = true;
        } else if (name == QLatin1String("datev")) {
            ticks[ComponentChoice::DatevInterface] = true;
        } else if (name == QLatin1String("online")) {
            ticks[ComponentChoice::OnlineBanking] = true;
        } else {
            return std::nullopt;
        }
    }
    return ticks;
}

std::optional<ComponentChoice::Option> parseOption(const QString& word) {
    if (word == QLatin1String("complete")) {
        return ComponentChoice::Complete;
    }
    if (word == QLatin1String("custom")) {
        return ComponentChoice::Custom;
    }
    if (word == QLatin1String("uninstall")) {
        return ComponentChoice::Uninstall;
    }
    return std::nullopt;
}

// The options after the mode word; false on anything it does not know.
bool parseOptions(const QStringList& words, Request& request) {
    for (qsizetype i = 0; i < words.size(); i += 2) {
        if (i + 1 >= words.size()) {
            return false;
        }
        if (words[i] == QLatin1String("--components")) {
            request.components = parseComponents(words[i + 1]);
            if (!request.components) {
                return false;
            }
        } else if (words[i] == QLatin1String("--dir") && words[i + 1].startsWith(u'/')) {
            request.dir = words[i + 1].endsWith(u'/') ? words[i + 1] : words[i + 1] + u'/';
        } else {
            return false;
        }
    }
    const bool custom = request.option == ComponentChoice::Custom;
    const bool uninstall = request.option == ComponentChoice::Uninstall;
    return (custom == request.components.has_value() || uninstall) &&
           !(uninstall && !request.dir.isEmpty());
}

std::optional<Request> parse(const QStringList& arguments) {
    if (arguments.size() < 2 || arguments[0] != QLatin1String("--unattended")) {
        return std::nullopt;
    }
    Request request;
    const auto option = parseOption(arguments[1]);
    if (!option) {
        return std::nullopt;
    }
    request.option = *option;
    if (!parseOptions(arguments.mid(2), request)) {
        return std::nullopt;
    }
    return request;
}

// Messages of a run without a window: each on its own line, exactly its text; failures go to
// standard error as well and are remembered. No question is asked: the only one, whether to
// cancel, is answered No.
class ConsoleSink : public ui::MessageSink {
public:
    explicit ConsoleSink(const Console& console) : console_(console) {}
    ui::Answer ask(const ui::Message& message) override {
        console_.out << message.text.toStdString() << '\n' << std::flush;
        if (message.caption == QLatin1String("Fehler")) {
            console_.err << message.text.toStdString() << '\n' << std::flush;
            failed_ = true;
        }
        return message.buttons == ui::Buttons::YesNo ? ui::Answer::No : ui::Answer::Ok;
    }
    bool failed() const { return failed_; }

private:
    const Console& console_;
    bool failed_ = false;
};

// The choice page's rules, applied to what the command line asked for.
ChoiceFlags chosen(SetupContext& context, const Request& request) {
    ComponentChoice choice(context);
    if (request.option == ComponentChoice::Uninstall) {
        choice.chooseUninstall();
    } else if (request.option == ComponentChoice::Custom) {
        choice.chooseCustom();
    } else {
        choice.chooseComplete();
    }
    if (request.components) {
        for (const auto item : {ComponentChoice::MainApplication, ComponentChoice::DatevInterface,
                                ComponentChoice::OnlineBanking}) {
            choice.setTick(item, (*request.components)[item]);
        }
    }
    return choice.flags();
}

enum class Walk { Finished, Stuck, Stopped };

// Presses "Weiter >>" as a user would until the finish page is left. A press that shows no
// page (a copy that failed) is repeated once, as a user would try again.
Walk walk(Wizard& wizard, UnattendedView& view) {
    while (!view.finished()) {
        if (!view.nextEnabled()) {
            return Walk::Stopped;
        }
        const int shown = view.pagesShown();
        wizard.next();
        if (!view.finished() && view.pagesShown() == shown) {
            wizard.next();
            if (view.pagesShown() == shown) {
                return Walk::Stuck;
            }
        }
    }
    return Walk::Finished;
}

int outcome(Walk walked, const ChoiceFlags& flags, const ConsoleSink& messages,
            const UnattendedView& view) {
    if (walked == Walk::Stuck && !flags.mainApplication && !mainApplicationInstalled()) {
        return Stopped;  // a component needs the main application first; the message said so
    }
    if (walked != Walk::Finished || messages.failed() || view.removalFailed()) {
        return Failed;
    }
    return Completed;
}

}  // namespace

int run(const QStringList& arguments, const Console& console) {
    if (arguments == QStringList{QStringLiteral("--help")}) {
        console.out << kHelp;
        return Completed;
    }
    const std::optional<Request> request = parse(arguments);
    if (!request) {
        console.err << "Falscher Aufruf.\n\n" << kHelp;
        return Usage;
    }
    ConsoleSink messages(console);
    SetupContext context{messages, sourceDirectoryOf(QCoreApplication::applicationFilePath()), {}};
    const ChoiceFlags flags = chosen(context, *request);
    if (!flags.mainApplication && !flags.datev && !flags.online) {
        messages.show(flags.uninstall ? QStringLiteral("Es ist nichts zu deinstallieren.")
                                      : QStringLiteral("Es ist nichts zu installieren."));
        return Stopped;
    }
    const QString folder = request->dir.isEmpty() ? proposedInstallationFolder() : request->dir;
    if (flags.mainApplication && !flags.uninstall && folder.isEmpty()) {
        messages.show(
            QStringLiteral("Der Installationsordner ist unbekannt. Bitte mit --dir "
                           "angeben."));
        return Stopped;
    }
    UnattendedView view(context, flags, folder, console.out);
    Wizard wizard(context, view);
    view.showPage(Page::Choice);
    const Walk walked = walk(wizard, view);
    view.waitForStarted();
    return outcome(walked, flags, messages, view);
}

}  // namespace pendra::setup::cli
