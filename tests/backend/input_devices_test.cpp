// The keyboard device's states as both backends keep them. Linked without the test
// platform, which defines these platform functions itself; the backend's own parts
// (its input, its window, its clock) are stood in for here.
#include "host/backend/input_devices.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bool inputPresent = true;

}  // namespace

bool backend::openInput() { return inputPresent; }
void backend::pollInput() {}
double backend::inputMilliseconds() { return 0; }
bool platform::windowExists() { return true; }

namespace {

using platform::Result;

enum class Op { open, read, close, focus, blur };

// The answer of a read, or of an open (ok when every step was done); the others answer ok.
Result apply(Op op) {
    uint8_t keys[256];
    if (op == Op::open) return platform::openKeyboard().result;
    if (op == Op::read) return platform::readKeys(keys);
    if (op == Op::close) platform::closeKeyboard();
    if (op == Op::focus || op == Op::blur) backend::keyboardFocusChanged(op == Op::focus);
    return platform::ok;
}

TEST(KeyboardDevice, StatesFollowTheCallsAndTheFocus) {
    using enum Op;
    struct Case {
        const char* name;
        std::vector<Op> ops;
        Result lastAnswer;
    };
    const Case cases[] = {
        {"never opened", {read}, platform::failed},
        {"opened", {open, read}, platform::ok},
        {"not held without the focus", {blur, open}, platform::failed},
        {"focus lost while held", {open, blur, read}, platform::inputLost},
        {"lost stays lost while the focus is away", {open, blur, read, read}, platform::inputLost},
        {"taken again by a read once the focus is back", {open, blur, focus, read}, platform::inputLost},
        {"and read after that", {open, blur, focus, read, read}, platform::ok},
        {"closed", {open, close, read}, platform::failed},
    };
    for (const Case& c : cases) {
        apply(close);
        apply(focus);
        Result answer = platform::ok;
        for (Op op : c.ops) answer = apply(op);
        EXPECT_EQ(answer, c.lastAnswer) << c.name;
    }
}

TEST(KeyboardDevice, OpenNamesTheStepThatFailed) {
    inputPresent = false;
    EXPECT_EQ(platform::openKeyboard().failedAt, platform::inputObject);
    inputPresent = true;
    backend::keyboardFocusChanged(false);
    EXPECT_EQ(platform::openKeyboard().failedAt, platform::keyboardAcquired);
    backend::keyboardFocusChanged(true);
    EXPECT_EQ(platform::openKeyboard().failedAt, platform::setUpDone);
}

}  // namespace
