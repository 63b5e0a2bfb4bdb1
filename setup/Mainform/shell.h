#pragma once
// What the setup program asks of the desktop: message boxes, starting the
// emulator and opening addresses. Each goes through a replaceable function so
// the program can be driven without a person answering boxes or a real emulator.

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace varnoksetup {

enum class MessageKind { Information, Error };

using MessageBoxFunction = std::function<void(QWidget* owner, MessageKind kind, const QString& text)>;
using LaunchFunction = std::function<void(const QString& program)>;
using OpenUrlFunction = std::function<void(const QUrl& address)>;
// A question the user answers with Yes (true) or No.
using QuestionFunction = std::function<bool(QWidget* owner, const QString& text)>;

// Each setter returns the function it replaces; an empty function restores the desktop's own.
MessageBoxFunction setMessageBoxFunction(MessageBoxFunction function);
LaunchFunction setLaunchFunction(LaunchFunction function);
OpenUrlFunction setOpenUrlFunction(OpenUrlFunction function);
QuestionFunction setQuestionFunction(QuestionFunction function);

void showMessage(QWidget* owner, MessageKind kind, const QString& text);
bool askQuestion(QWidget* owner, const QString& text);
// Starts the program (found by findProgram, places.h) without parameters in our
// current directory and does not wait for it.
void launch(const QString& program);
void openUrl(const QUrl& address);

// The emulator's program file name on this platform.
QString emulatorProgramName();

}  // namespace varnoksetup
