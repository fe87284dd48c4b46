#include "tools/component_installer/cabinet.h"

#include "common/failure.h"

#include <QFile>

#include <libgcab.h>

#include <memory>

namespace pendra::tools {

namespace {

struct GObjectRelease {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectRelease>;

struct GErrorRelease {
    void operator()(GError* error) const { g_error_free(error); }
};
using GErrorPtr = std::unique_ptr<GError, GErrorRelease>;

[[noreturn]] void fail(const QString& cabinet, GError* error) {
    const GErrorPtr owned(error);
    throw Failure(QStringLiteral("Die Archivdatei %1 kann nicht entpackt werden: %2")
                      .arg(cabinet, QString::fromUtf8(owned ? owned->message : "")));
}

struct Unpacking {
    std::vector<CabinetFile> files;
    QString folder;
};

// Called by the library before each file: records its stored name and gives it a number.
gboolean renameBeforeUnpacking(GCabFile* file, gpointer data) {
    auto* unpacking = static_cast<Unpacking*>(data);
    const QString number = QString::number(unpacking->files.size());
    QString name = QString::fromUtf8(gcab_file_get_name(file));
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    unpacking->files.push_back({name, unpacking->folder + QLatin1Char('/') + number});
    gcab_file_set_extract_name(file, number.toUtf8().constData());
    return TRUE;
}

}  // namespace

std::vector<CabinetFile> unpackCabinet(const QString& cabinet, const QString& folder) {
    const QByteArray cabinetPath = QFile::encodeName(cabinet);
    const GObjectPtr<GFile> source(g_file_new_for_path(cabinetPath.constData()));
    GError* error = nullptr;
    const GObjectPtr<GFileInputStream> stream(g_file_read(source.get(), nullptr, &error));
    if (!stream) {
        fail(cabinet, error);
    }
    const GObjectPtr<GCabCabinet> archive(gcab_cabinet_new());
    if (!gcab_cabinet_load(archive.get(), G_INPUT_STREAM(stream.get()), nullptr, &error)) {
        fail(cabinet, error);
    }
    Unpacking unpacking{{}, folder};
    const GObjectPtr<GFile> target(g_file_new_for_path(QFile::encodeName(folder).constData()));
    if (!gcab_cabinet_extract(archive.get(), target.get(), renameBeforeUnpacking, nullptr,
                              &unpacking, nullptr, &error)) {
        fail(cabinet, error);
    }
    return unpacking.files;
}

}  // namespace pendra::tools
