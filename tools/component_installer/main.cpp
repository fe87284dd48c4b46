// Stand-in for a component's own installer, copied into the installation medium as
// "setup.exe" beside its cabinet and "Setup.lst".
//
// Started without arguments, it reads [Setup] of the "Setup.lst" beside it: "DefaultDir" (the
// installation folder), "Cabinet" (the stem of the cabinet "<stem>.CAB" beside it),
// "Uninstaller" (the cabinet's file that goes into the Windows folder) and
// "WindowsPendraIni" ("Ja": write the missing keys of the Windows folder's Pendra.ini). What it
// creates is logged in the installation folder for the uninstaller "St6unst.exe".
//
// With PENDRA_INSTALLER_HAND_OVER set (and not "0") it hands over after the installation,
// as installers of its kind do: it starts "St6unst.exe wait" from the Windows folder and ends
// at once with exit code 2. Exit code 0 when installed, 1 on a failure (told on stderr).

#include "common/failure.h"
#include "platform/process_start.h"
#include "tools/component_installer/installation.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

constexpr int kInstalled = 0;
constexpr int kFailed = 1;
constexpr int kHandedOver = 2;

bool handOverRequested() {
    const QByteArray value = qgetenv("PENDRA_INSTALLER_HAND_OVER");
    return !value.isEmpty() && value != "0";
}

}  // namespace

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    try {
        const auto setup = pendra::tools::readSetupList(QCoreApplication::applicationDirPath());
        pendra::tools::install(setup);
        if (!handOverRequested()) {
            return kInstalled;
        }
        const QString uninstaller = pendra::tools::installedUninstaller(setup);
        if (!pendra::platform::startDetached(uninstaller, {QStringLiteral("wait")})) {
            throw pendra::Failure(
                QStringLiteral("%1 kann nicht gestartet werden.").arg(uninstaller));
        }
        return kHandedOver;
    } catch (const pendra::Failure& failure) {
        std::fprintf(stderr, "Installation fehlgeschlagen: %s\n",
                     failure.message().toLocal8Bit().constData());
        return kFailed;
    }
}
