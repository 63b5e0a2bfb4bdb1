// The queue of window messages and the window procedure they are handed to.
#include "host/backend/message_queue.h"

#include <deque>

namespace backend {
namespace {

std::deque<platform::Message> queue;
platform::WindowProc windowProcedure = nullptr;

}  // namespace

void pushMessage(platform::Message message) { queue.push_back(message); }
bool messageQueued() { return !queue.empty(); }

bool takeMessage(platform::Message& message) {
    if (queue.empty()) return false;
    message = queue.front();
    queue.pop_front();
    return true;
}

}  // namespace backend

namespace platform {

bool getMessage(Message& message) {
    waitMessage();
    backend::takeMessage(message);
    return message.type != msgQuit;
}

void dispatchMessage(const Message& message) {
    if (backend::windowProcedure) backend::windowProcedure(message);
    // What the window procedure leaves to default processing: a close destroys the window.
    if (message.type == msgClose) destroyMainWindow();
}

void postQuitMessage(int32_t exitCode) { backend::pushMessage({msgQuit, static_cast<uint32_t>(exitCode)}); }
void postCloseRequest() { backend::pushMessage({msgClose, 0}); }
void setWindowProc(WindowProc proc) { backend::windowProcedure = proc; }

}  // namespace platform
