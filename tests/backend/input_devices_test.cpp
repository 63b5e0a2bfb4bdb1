// The keyboard device's states as both backends keep them. Linked without the test
// platform, which defines these platform functions itself.
#include "host/backend/input_devices.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::Result;

enum class Op { create, format, acquire, release, focus, blur };

// The answer of the call; the others answer nothing and count as ok.
Result apply(Op op) {
    if (op == Op::create) return platform::createKeyboardDevice();
    if (op == Op::format) return platform::setKeyboardDataFormat();
    if (op == Op::acquire) return platform::acquireKeyboard();
    if (op == Op::release) platform::releaseKeyboard();
    if (op == Op::focus || op == Op::blur) backend::keyboardFocusChanged(op == Op::focus);
    return platform::ok;
}

TEST(KeyboardDevice, StatesFollowTheCallsAndTheFocus) {
    using enum Op;
    struct Case {
        const char* name;
        std::vector<Op> ops;
        Result lastAnswer, readable;  // of the last operation; keyboardReadable afterwards
    };
    const Case cases[] = {
        {"never created", {}, platform::ok, platform::failed},
        {"format before the device", {format}, platform::failed, platform::failed},
        {"acquired", {create, format, acquire}, platform::ok, platform::ok},
        {"no acquiring without the focus",
         {create, format, blur, acquire},
         platform::failed,
         platform::failed},
        {"focus lost while acquired", {create, acquire, blur}, platform::ok, platform::inputLost},
        {"lost stays lost with the focus back",
         {create, acquire, blur, focus},
         platform::ok,
         platform::inputLost},
        {"acquired again after the loss",
         {create, acquire, blur, focus, acquire},
         platform::ok,
         platform::ok},
        {"released", {create, acquire, release}, platform::ok, platform::failed},
    };
    for (const Case& c : cases) {
        apply(release);
        apply(focus);
        Result answer = platform::ok;
        for (Op op : c.ops) answer = apply(op);
        EXPECT_EQ(answer, c.lastAnswer) << c.name;
        EXPECT_EQ(backend::keyboardReadable(), c.readable) << c.name;
    }
}

}  // namespace
