#include "setup/odbc_data_source.h"
#include "support/demo_machine.h"
#include "transfer/DBConnect.h"
#include "ui/recording_message_sink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace pendra;
using pendra::test::DemoMachine;
using pendra::test::ScopedEnv;

namespace {

const QString kCaption = QStringLiteral("ODBC Installer Error");

QString listedDataSources() {
    QProcess odbcinst;
    odbcinst.start(QStringLiteral("odbcinst"), {QStringLiteral("-q"), QStringLiteral("-s")});
    odbcinst.waitForFinished(30000);
    return QString::fromUtf8(odbcinst.readAllStandardOutput());
}

}  // namespace

TEST(DataSource, AttributesAreSeparatedByNulAndTheDirectoryIsUsedAsItIs) {
    const char expected[] =
        "DSN=Pendra_DB\0Description=Pendra Datenbank\0UID=admin\0"
        "DBQ=/opt/Mein Pendra//pendra/pendra.mde\0";
    EXPECT_EQ(setup::dataSourceAttributes(QStringLiteral("/opt/Mein Pendra/")),
              QByteArray(expected, sizeof expected));
}

TEST(DataSource, AMissingOrIncompleteInstallerLibraryIsReported) {
    const DemoMachine machine;
    const QByteArray before = machine.readFile(QStringLiteral("odbc/odbc.ini"));
    ui::RecordingMessageSink messages;
    setup::createDataSource(machine.path(QStringLiteral("Pendra")), messages,
                            "libodbcinst-fehlt.so.2");
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_EQ(
        messages.messages()[0].text,
        QStringLiteral("The ODBC installer DLL (ODBCCP32.DLL) is not installed on this system."));
    EXPECT_EQ(messages.messages()[0].caption, kCaption);
    EXPECT_EQ(messages.messages()[0].icon, ui::Icon::Information);

    messages.clear();
    setup::createDataSource(machine.path(QStringLiteral("Pendra")), messages, "libm.so.6");
    ASSERT_EQ(messages.messages().size(), 1U);
    const QString prefix =
        QStringLiteral("The program ") +
        QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget() +
        QStringLiteral(
            ", or one of its DLLs attempted to call the function SQLConfigDataSource "
            "which is not supported in the loaded ODBC installer DLL (");
    const QString text = messages.messages()[0].text;
    EXPECT_TRUE(text.startsWith(prefix)) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("libm.so.6).  Press OK to proceed.")))
        << text.toStdString();
    EXPECT_EQ(messages.messages()[0].caption, kCaption);
    EXPECT_EQ(machine.readFile(QStringLiteral("odbc/odbc.ini")), before);
}

TEST(DataSource, TheWrittenSystemDataSourceOpensTheDatabaseAtDbq) {
    const DemoMachine machine;
    machine.writeFile(QStringLiteral("odbc/odbc.ini"), {});
    const ScopedEnv userIni("ODBCINI", machine.path(QStringLiteral("user-odbc.ini")));
    const QString installDir = machine.path(QStringLiteral("Mein Pendra"));
    ASSERT_TRUE(QDir().mkpath(installDir + QStringLiteral("/pendra")));
    machine.exec(QStringLiteral("insert into Wirtschaftsjahr values (1, 2026, 26, '0101', '3112');"
                                "vacuum into '%1/pendra/pendra.mde'")
                     .arg(installDir));

    ui::RecordingMessageSink messages;
    setup::createDataSource(installDir, messages);
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_TRUE(listedDataSources().contains(QStringLiteral("[Pendra_DB]")))
        << listedDataSources().toStdString();
    const QString systemIni = QString::fromUtf8(machine.readFile(QStringLiteral("odbc/odbc.ini")));
    EXPECT_TRUE(systemIni.contains(QStringLiteral("DBQ=") + installDir +
                                   QStringLiteral("/pendra/pendra.mde")))
        << systemIni.toStdString();
    QFile userFile(machine.path(QStringLiteral("user-odbc.ini")));
    EXPECT_FALSE(userFile.open(QIODevice::ReadOnly) && userFile.readAll().contains("Pendra"));

    QString period;
    EXPECT_EQ(transfer::DBConnect::CollectValues(QStringLiteral("Ausspielzeitraum"), 5, QString(),
                                                 QStringLiteral(";"), period),
              1);
    EXPECT_EQ(period, QStringLiteral("1;2026;26;0101;3112;"));
}
