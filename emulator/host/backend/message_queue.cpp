// The queue of window messages and the files dropped on the window.
#include "host/backend/message_queue.h"

#include <cstring>
#include <deque>
#include <map>
#include <string>

namespace backend {
namespace {

std::deque<platform::Message> queue;

// Dropped files until the window procedure takes them; a few are kept, since their
// messages may be dropped unread (as a closing menu does).
constexpr size_t keptDrops = 8;
std::map<uint32_t, std::string> drops;
uint32_t lastDrop = 0;

}  // namespace

void pushMessage(platform::Message message) { queue.push_back(message); }
bool messageQueued() { return !queue.empty(); }

bool takeMessage(platform::Message& message) {
    if (queue.empty()) return false;
    message = queue.front();
    queue.pop_front();
    return true;
}

void pushDroppedFile(const char* path) {
    drops[++lastDrop] = path;
    if (drops.size() > keptDrops) drops.erase(drops.begin());
    pushMessage({platform::msgDropFile, lastDrop});
}

}  // namespace backend

namespace platform {

bool takeDroppedFile(uint32_t drop, char* path, int size) {
    const auto found = backend::drops.find(drop);
    if (found == backend::drops.end()) return false;
    const std::string name = found->second;
    backend::drops.erase(found);
    if (size <= 0 || name.size() >= static_cast<size_t>(size)) return false;
    std::memcpy(path, name.c_str(), name.size() + 1);
    return true;
}

void postMessage(const Message& message) { backend::pushMessage(message); }

}  // namespace platform
