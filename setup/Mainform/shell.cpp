#include "Mainform/shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>

#include "Mainform/places.h"

namespace varnoksetup {

namespace {

bool desktopMessageBox(QWidget* owner, MessageKind kind, const QString& text) {
    if (kind == MessageKind::Question)
        return QMessageBox::warning(owner, QStringLiteral("Warning"), text,
                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    if (kind == MessageKind::Error)
        QMessageBox::critical(owner, QStringLiteral("Error"), text, QMessageBox::Ok);
    else
        QMessageBox::information(owner, QStringLiteral("Information"), text, QMessageBox::Ok);
    return true;
}

void desktopLaunch(const QString& program) {
    QString path = findProgram(program);
    // The shell tells the user when a program cannot be started; do the same.
    if (path.isEmpty() || !QProcess::startDetached(path, {}, QDir::currentPath()))
        showMessage(nullptr, MessageKind::Error, QStringLiteral("Cannot start %1.").arg(program));
}

void desktopOpenUrl(const QUrl& address) { QDesktopServices::openUrl(address); }

QString desktopOpenFile(QWidget* owner, const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(owner, QString(), folder, filter);
}

MessageBoxFunction messageBoxFunction = desktopMessageBox;
LaunchFunction launchFunction = desktopLaunch;
OpenUrlFunction openUrlFunction = desktopOpenUrl;
OpenFileFunction openFileFunction = desktopOpenFile;

template <typename Function>
Function replace(Function& slot, Function function, Function desktop) {
    Function previous = std::move(slot);
    slot = function ? std::move(function) : std::move(desktop);
    return previous;
}

}  // namespace

MessageBoxFunction setMessageBoxFunction(MessageBoxFunction function) {
    return replace(messageBoxFunction, std::move(function), MessageBoxFunction(desktopMessageBox));
}
LaunchFunction setLaunchFunction(LaunchFunction function) {
    return replace(launchFunction, std::move(function), LaunchFunction(desktopLaunch));
}
OpenUrlFunction setOpenUrlFunction(OpenUrlFunction function) {
    return replace(openUrlFunction, std::move(function), OpenUrlFunction(desktopOpenUrl));
}

OpenFileFunction setOpenFileFunction(OpenFileFunction function) {
    return replace(openFileFunction, std::move(function), OpenFileFunction(desktopOpenFile));
}

bool showMessage(QWidget* owner, MessageKind kind, const QString& text) {
    return messageBoxFunction(owner, kind, text);
}
QString chooseFile(QWidget* owner, const QString& folder, const QString& filter) {
    return openFileFunction(owner, folder, filter);
}
void launch(const QString& program) { launchFunction(program); }
void openUrl(const QUrl& address) { openUrlFunction(address); }

QString emulatorProgramName() {
#ifdef Q_OS_WIN
    return QStringLiteral("varnok.exe");
#else
    return QStringLiteral("varnok");
#endif
}

}  // namespace varnoksetup
