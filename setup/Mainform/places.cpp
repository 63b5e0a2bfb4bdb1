#include "Mainform/places.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <initializer_list>

// setup/CMakeLists.txt defines these from packaging/install_dirs.cmake; a second copy
// of those places here could only go stale.
#ifndef VARNOK_INSTALL_BINDIR
#error "VARNOK_INSTALL_BINDIR and the other install places come from setup/CMakeLists.txt"
#endif

namespace varnoksetup {

namespace {

constexpr const char* openBasicName = "open-basic.bin";
constexpr const char* openKernalName = "open-kernal.bin";
// The build tree: VarnokSetup in setup/, the images in rom/, the manual pages in packaging/.
constexpr const char* builtRomFromSetup = "../rom";
constexpr const char* builtManFromSetup = "../packaging";

std::optional<Places> replaced;

Places realPlaces() {
    return Places{QCoreApplication::applicationDirPath(), QStringLiteral(VARNOK_INSTALL_BINDIR),
                  QStringLiteral(VARNOK_INSTALL_DATADIR), QStringLiteral(VARNOK_INSTALL_DOCDIR),
                  QStringLiteral(VARNOK_INSTALL_MANDIR),  QStringLiteral(VARNOK_SOURCE_DIR)};
}

QString inFolder(const QString& folder, const QString& relative) {
    return QDir::cleanPath(QDir(folder).absoluteFilePath(relative));
}

bool isFile(const QString& path) { return QFileInfo(path).isFile(); }

bool isProgramFile(const QString& path) {
    QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

// The first of the candidates that exists, else the last one (where an install would put it).
QString firstExisting(std::initializer_list<QString> candidates) {
    for (const QString& path : candidates)
        if (isFile(path)) return path;
    return *(candidates.end() - 1);
}

}  // namespace

const Places& places() {
    static const Places real = realPlaces();
    return replaced ? *replaced : real;
}

void setPlaces(const std::optional<Places>& replacement) { replaced = replacement; }

QString findProgram(const QString& program) {
    const Places& where = places();
    for (const QString& folder : {QDir::currentPath(), where.programFolder,
                                  inFolder(where.programFolder, QStringLiteral("..")), where.installBin}) {
        QString path = inFolder(folder, program);
        if (isProgramFile(path)) return path;
    }
    return QStandardPaths::findExecutable(program);
}

QString OpenRom::folder() const { return QFileInfo(basic).absolutePath(); }

std::optional<OpenRom> findOpenRom() {
    const Places& where = places();
    for (const QString& folder :
         {inFolder(where.programFolder, QStringLiteral(VARNOK_DATA_FROM_BIN)),
          inFolder(where.programFolder, QString::fromUtf8(builtRomFromSetup)), where.installData}) {
        OpenRom rom{inFolder(folder, QString::fromUtf8(openBasicName)),
                    inFolder(folder, QString::fromUtf8(openKernalName))};
        if (isFile(rom.basic) && isFile(rom.kernal)) return rom;
    }
    return std::nullopt;
}

bool namesOpenRom(const QString& basic, const QString& kernal) {
    return QFileInfo(basic).fileName() == QString::fromUtf8(openBasicName) &&
           QFileInfo(kernal).fileName() == QString::fromUtf8(openKernalName);
}

QUrl documentUrl(Document document) {
    const Places& where = places();
    QString path;
    if (document == Document::readme) {
        const QString name = QStringLiteral("README.md");
        path =
            firstExisting({inFolder(inFolder(where.programFolder, QStringLiteral(VARNOK_DOC_FROM_BIN)), name),
                           where.sourceTree.isEmpty() ? QString() : inFolder(where.sourceTree, name),
                           inFolder(where.installDoc, name)});
    } else {
        const QString name = document == Document::emulatorManual ? QStringLiteral("varnok.6")
                                                                  : QStringLiteral("VarnokSetup.6");
        const QString section = QStringLiteral("man6/") + name;
        path = firstExisting(
            {inFolder(inFolder(where.programFolder, QStringLiteral(VARNOK_MAN_FROM_BIN)), section),
             inFolder(inFolder(where.programFolder, QString::fromUtf8(builtManFromSetup)), name),
             inFolder(where.installMan, section)});
    }
    return QUrl::fromLocalFile(path);
}

}  // namespace varnoksetup
