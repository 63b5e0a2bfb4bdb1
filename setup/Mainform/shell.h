#pragma once
// What the setup program asks of the desktop: message boxes, starting the
// emulator and opening addresses. Each goes through a replaceable function so
// the program can be driven without a person answering boxes or a real emulator.

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace varnoksetup {

// A question is answered yes or no; the others only have OK.
enum class MessageKind { Information, Error, Question };

// True for OK or yes.
using MessageBoxFunction = std::function<bool(QWidget* owner, MessageKind kind, const QString& text)>;
using LaunchFunction = std::function<void(const QString& program)>;
using OpenUrlFunction = std::function<void(const QUrl& address)>;
// The file the user chose, starting in `folder`; empty when they cancelled.
using OpenFileFunction = std::function<QString(QWidget* owner, const QString& folder, const QString& filter)>;

// Each setter returns the function it replaces; an empty function restores the desktop's own.
MessageBoxFunction setMessageBoxFunction(MessageBoxFunction function);
LaunchFunction setLaunchFunction(LaunchFunction function);
OpenUrlFunction setOpenUrlFunction(OpenUrlFunction function);
OpenFileFunction setOpenFileFunction(OpenFileFunction function);

bool showMessage(QWidget* owner, MessageKind kind, const QString& text);
QString chooseFile(QWidget* owner, const QString& folder, const QString& filter);
// Starts the program (found by findProgram, places.h) without parameters in our
// current directory and does not wait for it.
void launch(const QString& program);
void openUrl(const QUrl& address);

// The emulator's program file name on this platform.
QString emulatorProgramName();

}  // namespace varnoksetup
