#pragma once
// Where the setup program finds what it names: the emulator, the open ROM images
// and the documentation. An installed VarnokSetup finds them in its own prefix
// (bin/, share/varnok/, share/doc/varnok/, share/man/); one started from the
// build tree finds them around it (varnok one folder up, rom/, packaging/).

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace varnoksetup {

struct Places {
    QString programFolder;  // the folder VarnokSetup runs from
    QString installBin;     // the install prefix's bin folder, as configured at build time
    QString installData;    // <prefix>/share/varnok
    QString installDoc;     // <prefix>/share/doc/varnok
    QString installMan;     // <prefix>/share/man
    QString sourceTree;     // the source tree VarnokSetup was built from
};

const Places& places();
// A test puts other places in the real ones' stead; nothing restores the real ones.
void setPlaces(const std::optional<Places>& replacement);

// Where "&Run" looks for a program named without a folder, in order: the current
// folder, beside VarnokSetup, its parent folder (the build tree keeps the
// emulator there), the install prefix's bin; then the PATH. Empty when nowhere.
QString findProgram(const QString& program);

struct OpenRom {
    QString basic, kernal;  // absolute paths of the two images
    QString folder() const;
};
// The project's open ROM images, installed or built beside VarnokSetup; nothing
// when either is missing.
std::optional<OpenRom> findOpenRom();
// True for names of the open ROM's images, wherever they lie.
bool namesOpenRom(const QString& basic, const QString& kernal);

enum class Document { readme, emulatorManual, setupManual };
// A file address of the installed (or, from the build tree, the built) document.
QUrl documentUrl(Document document);

}  // namespace varnoksetup
