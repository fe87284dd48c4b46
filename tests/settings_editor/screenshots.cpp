// Renders the editor's three forms, filled with sample settings, into PNG files for the
// documentation: editor_screenshots <folder>. Runs on the offscreen platform.
#include "settings_editor/Context.h"
#include "settings_editor/gui/StartForm.h"
#include "ui/recording_message_sink.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>

namespace {

// The form as a desktop shows it: its picture under a plain title bar with its caption.
QImage framed(QWidget& form) {
    const QPixmap content = form.grab();
    const int bar = 30;
    QImage image(content.width() + 2, content.height() + bar + 1, QImage::Format_RGB32);
    image.fill(QColor(0x5a, 0x5a, 0x5a));
    QPainter painter(&image);
    painter.fillRect(1, 1, image.width() - 2, bar - 1, QColor(0x2b, 0x4a, 0x7a));
    QFont font = QApplication::font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(12, 1, image.width() - 24, bar - 1), Qt::AlignVCenter | Qt::AlignLeft,
                     form.windowTitle());
    painter.drawPixmap(1, bar, content);
    return image;
}

bool save(QWidget& form, const QString& folder, const char* name) {
    const QString file = QDir(folder).filePath(QString::fromLatin1(name));
    if (!framed(form).save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

// The start form with its "&Pendra" menu pulled down.
bool saveWithMenuOpen(QMainWindow& start, const QString& folder, const char* name) {
    QMenu* menu = nullptr;
    for (QMenu* candidate : start.findChildren<QMenu*>(QStringLiteral("mnumain"))) {
        if (candidate->property("index").toInt() == 0) {
            menu = candidate;
        }
    }
    if (menu == nullptr) {
        return false;
    }
    const QRect title = start.menuBar()->actionGeometry(menu->menuAction());
    menu->popup(start.mapToGlobal(start.menuBar()->mapTo(&start, title.bottomLeft())));
    QImage image = framed(start);
    QPainter painter(&image);
    painter.drawPixmap(start.menuBar()->mapTo(&start, title.bottomLeft()) + QPoint(1, 30),
                       menu->grab());
    painter.end();
    menu->hide();
    const QString file = QDir(folder).filePath(QString::fromLatin1(name));
    return image.save(file);
}

QWidget* topLevel(const QString& name) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == name) {
            return window;
        }
    }
    return nullptr;
}

QAction* menuEntry(QWidget& start, const char* name, int index) {
    for (QAction* action : start.findChildren<QAction*>(QString::fromLatin1(name))) {
        if (action->property("index").toInt() == index) {
            return action;
        }
    }
    return nullptr;
}

void writeSample(const QString& path, const QByteArray& contents) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(contents);
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Pendra_ini"));
    if (argc != 2) {
        std::fprintf(stderr, "usage: editor_screenshots <folder>\n");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);

    QTemporaryDir work;
    const QString folder = work.path();
    QDir(folder).mkpath(QStringLiteral("Datev"));
    writeSample(QDir(folder).filePath(QStringLiteral("Pendra.ini")),
                "[Pendra_Path]\r\nPendra=/opt/Pendra/\r\nAnwendung=Pendra.mde\r\n"
                "Db=/opt/Pendra/Tabellen/\r\nDbName=Pendra_db.mdb\r\nErstaufruf=Ja\r\n"
                "[LABEL]\r\nFirma=Muster Handels GmbH\r\n"
                "[Datev]\r\ndatev_Path=/opt/Pendra/Datev/\r\nDatev=Ja\r\nWken=1\r\n"
                "[tmp_Path]\r\ntmp=/opt/Pendra/tmp\r\n[office]\r\nword=/opt/Office/Word\r\n"
                "[Vorlagen]\r\nPath=/opt/Pendra/Vorlagen\r\n"
                "fax=/opt/Pendra/Vorlagen/fax.doc\r\nbrief=/opt/Pendra/Vorlagen/brief.doc\r\n"
                "[Online]\r\nOnline=Ja\r\nProg=/opt/Banking/banking\r\n"
                "[EDI]\r\nRePath=/opt/Pendra/EDI\r\n");
    writeSample(QDir(folder).filePath(QStringLiteral("Datev/Damo32.ini")),
                "[Einstellungen]\r\nAusgabepfad=/srv/datev/ausgabe\r\n"
                "[Datev-Vorlauf]\r\nBerater=29098 ;Kanzlei Beispiel\r\nMandant=10042\r\n");

    pendra::ui::RecordingMessageSink messages;
    pendra::settings_editor::StartForm start({messages, [folder] { return folder; }});
    start.show();
    bool ok = save(start, out, "editor-start.png");
    ok = saveWithMenuOpen(start, out, "editor-start-menu.png") && ok;

    QAction* edit = menuEntry(start, "mnuPnd", 1);
    QAction* datev = menuEntry(start, "mnuDatev", 0);
    if (edit == nullptr || datev == nullptr) {
        std::fprintf(stderr, "menu entries missing\n");
        return 1;
    }
    edit->trigger();
    auto* pendraIni = topLevel(QStringLiteral("frmPendraIni"));
    if (pendraIni == nullptr) {
        std::fprintf(stderr, "frmPendraIni missing\n");
        return 1;
    }
    ok = save(*pendraIni, out, "editor-pendraini.png") && ok;

    // The DATEV form reads Damo32.ini from the sample's own DATEV folder.
    QFile::remove(QDir(folder).filePath(QStringLiteral("Pendra.ini")));
    writeSample(QDir(folder).filePath(QStringLiteral("Pendra.ini")),
                "[Datev]\r\ndatev=" + QDir(folder).filePath(QStringLiteral("Datev")).toLocal8Bit() +
                    "\r\nWken=1\r\n");
    datev->trigger();
    auto* datevForm = topLevel(QStringLiteral("frmDatev"));
    if (datevForm == nullptr) {
        std::fprintf(stderr, "frmDatev missing\n");
        return 1;
    }
    ok = save(*datevForm, out, "editor-datev.png") && ok;
    for (const QString& text : messages.texts()) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    return ok && messages.messages().empty() ? 0 : 1;
}
