// The global hot key in a private Xvfb server, pressed with xdotool as a user would.
#include "linux/hotkey/x11_hot_key.h"

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "sandbox.h"

namespace horatta::hotkey {
namespace {

constexpr std::int32_t ctrlAltZ = 0x065A;
QStringList qtComplaints;

void keepComplaints(QtMsgType, const QMessageLogContext&, const QString& message) { qtComplaints << message; }

bool xdotool(const QStringList& arguments) { return e2e::run(QStringLiteral("xdotool"), arguments) == 0; }

template <typename Predicate>
bool waitFor(Predicate done, int timeoutMs = 3000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

// Lets every event that is on its way arrive: one round trip to the server and back.
void settle() {
    waitFor([] { return false; }, 200);
}

// Another program on the same display, for holding key combinations before we do.
class OtherProgram {
public:
    OtherProgram() : connection_(xcb_connect(nullptr, nullptr)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    }
    ~OtherProgram() { xcb_disconnect(connection_); }

    // Grabs the hot key's key with the given modifier states; returns how many it got.
    int grab(std::int32_t value, const std::vector<std::uint16_t>& states) {
        const auto grabs = grabsFor(*hotKeyFromValue(value), readKeyboardMapping(connection_),
                                    readModifierMapping(connection_));
        int held = 0;
        for (const Grab& g : grabs) {
            if (std::find(states.begin(), states.end(), g.modifiers) == states.end()) continue;
            auto cookie = xcb_grab_key_checked(connection_, 0, root_, g.modifiers, g.keycode, XCB_GRAB_MODE_ASYNC,
                                               XCB_GRAB_MODE_ASYNC);
            xcb_generic_error_t* error = xcb_request_check(connection_, cookie);
            if (!error) ++held;
            std::free(error);
        }
        return held;
    }

    // Swaps what two keysyms' keys produce, as a new keyboard layout would; returns the
    // mapping as it was, for restoring.
    KeyboardMapping swapKeys(std::uint32_t a, std::uint32_t b) {
        const KeyboardMapping before = readKeyboardMapping(connection_);
        KeyboardMapping after = before;
        const std::uint8_t codeA = keycodesFor(before, a).front();
        const std::uint8_t codeB = keycodesFor(before, b).front();
        const std::size_t per = before.keysymsPerKeycode;
        for (std::size_t i = 0; i < per; ++i) {
            std::swap(after.keysyms[(codeA - before.firstKeycode) * per + i],
                      after.keysyms[(codeB - before.firstKeycode) * per + i]);
        }
        setMapping(after);
        return before;
    }

    void setMapping(const KeyboardMapping& mapping) {
        const auto count = static_cast<std::uint8_t>(mapping.keysyms.size() / mapping.keysymsPerKeycode);
        xcb_generic_error_t* error = xcb_request_check(
            connection_, xcb_change_keyboard_mapping_checked(connection_, count, mapping.firstKeycode,
                                                             mapping.keysymsPerKeycode, mapping.keysyms.data()));
        EXPECT_EQ(error, nullptr);
        std::free(error);
    }

private:
    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
};

class HotKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        qtComplaints.clear();
        hotKey = std::make_unique<X11HotKey>();
        ASSERT_TRUE(hotKey->hasX11());
        hotKey->onPressed = [this] { ++pressed; };
        hotKey->onReleased = [this] { ++released; };
    }
    void TearDown() override {
        hotKey.reset();
        EXPECT_TRUE(qtComplaints.isEmpty()) << qtComplaints.join(QLatin1Char('\n')).toStdString();
    }

    std::unique_ptr<X11HotKey> hotKey;
    int pressed = 0;
    int released = 0;
};

constexpr std::uint16_t ctrlAlt = controlMask | mod1Mask;

TEST_F(HotKeyTest, HoldsCtrlAltZInEveryLockState) {
    hotKey->setHotKey(ctrlAltZ);
    EXPECT_EQ(hotKey->grabsHeld().size(), 4u);
    // Nobody else can take it now.
    OtherProgram other;
    EXPECT_EQ(other.grab(ctrlAltZ, {ctrlAlt, ctrlAlt | lockMask, ctrlAlt | mod2Mask, ctrlAlt | lockMask | mod2Mask}), 0);
}

TEST_F(HotKeyTest, ThePressAndTheNextReleaseAreReported) {
    hotKey->setHotKey(ctrlAltZ);
    ASSERT_TRUE(xdotool({"keydown", "ctrl+alt+z"}));
    EXPECT_TRUE(waitFor([&] { return pressed == 1; }));
    settle();
    EXPECT_EQ(released, 0) << "a key held down does nothing yet";

    ASSERT_TRUE(xdotool({"keyup", "z"}));
    EXPECT_TRUE(waitFor([&] { return released == 1; }));

    // The grab ended with the release: the modifiers going up are not ours.
    ASSERT_TRUE(xdotool({"keyup", "ctrl+alt"}));
    settle();
    EXPECT_EQ(pressed, 1);
    EXPECT_EQ(released, 1);
}

TEST_F(HotKeyTest, WorksWhateverLockKeyIsOn) {
    hotKey->setHotKey(ctrlAltZ);
    const std::vector<QStringList> locks{{}, {"Caps_Lock"}, {"Num_Lock"}, {"Caps_Lock", "Num_Lock"}};
    for (const QStringList& lock : locks) {
        SCOPED_TRACE(lock.join(QLatin1Char('+')).toStdString());
        for (const QString& key : lock) ASSERT_TRUE(xdotool({"key", key}));  // on
        const int before = pressed;
        ASSERT_TRUE(xdotool({"key", "ctrl+alt+z"}));
        EXPECT_TRUE(waitFor([&] { return pressed == before + 1; }));
        for (const QString& key : lock) ASSERT_TRUE(xdotool({"key", key}));  // off again
    }
}

TEST_F(HotKeyTest, OtherCombinationsAreLeftAlone) {
    hotKey->setHotKey(ctrlAltZ);
    for (const char* keys : {"ctrl+z", "alt+z", "z", "ctrl+alt+x", "ctrl+alt+shift+z", "super+ctrl+alt+z"}) {
        ASSERT_TRUE(xdotool({"key", keys}));
    }
    settle();
    EXPECT_EQ(pressed, 0);
    EXPECT_EQ(released, 0);
}

TEST_F(HotKeyTest, ACombinationHeldByAnotherProgramIsSkipped) {
    OtherProgram other;
    ASSERT_EQ(other.grab(ctrlAltZ, {ctrlAlt}), 1);
    hotKey->setHotKey(ctrlAltZ);
    EXPECT_EQ(hotKey->grabsHeld().size(), 3u);
    // The other program gets the plain combination; with CapsLock on it is ours.
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+z"}));
    settle();
    EXPECT_EQ(pressed, 0);
    ASSERT_TRUE(xdotool({"key", "Caps_Lock"}));
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+z"}));
    EXPECT_TRUE(waitFor([&] { return pressed == 1; }));
    ASSERT_TRUE(xdotool({"key", "Caps_Lock"}));
}

TEST_F(HotKeyTest, AHotKeyHeldWhollyByAnotherProgramDoesNothing) {
    OtherProgram other;
    ASSERT_EQ(other.grab(ctrlAltZ, {ctrlAlt, ctrlAlt | lockMask, ctrlAlt | mod2Mask, ctrlAlt | lockMask | mod2Mask}), 4);
    hotKey->setHotKey(ctrlAltZ);
    EXPECT_TRUE(hotKey->grabsHeld().empty());
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+z"}));
    settle();
    EXPECT_EQ(pressed, 0);
}

TEST_F(HotKeyTest, FollowsTheKeyToANewLayout) {
    hotKey->setHotKey(ctrlAltZ);
    OtherProgram other;
    const KeyboardMapping before = other.swapKeys('z', 'y');  // as a German layout has them
    // xdotool presses whichever key now gives a z.
    EXPECT_TRUE(waitFor([&] {
        return xdotool({"key", "ctrl+alt+z"}) && waitFor([&] { return pressed > 0; }, 300);
    }));
    other.setMapping(before);
    settle();
    const int now = pressed;
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+z"}));
    EXPECT_TRUE(waitFor([&] { return pressed == now + 1; }));
}

TEST_F(HotKeyTest, LettingGoFreesTheCombination) {
    hotKey->setHotKey(ctrlAltZ);
    hotKey->setHotKey(0);
    EXPECT_TRUE(hotKey->grabsHeld().empty());
    OtherProgram other;
    EXPECT_EQ(other.grab(ctrlAltZ, {ctrlAlt}), 1);
}

TEST_F(HotKeyTest, EndingTheProgramFreesTheCombination) {
    hotKey->setHotKey(ctrlAltZ);
    hotKey.reset();
    OtherProgram other;
    EXPECT_EQ(other.grab(ctrlAltZ, {ctrlAlt}), 1);
}

}  // namespace
}  // namespace horatta::hotkey

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    horatta::e2e::VirtualDisplay display;
    if (!display.running()) {
        std::fprintf(stderr, "cannot start Xvfb\n");
        return 1;
    }
    ::setenv("DISPLAY", display.display().toLocal8Bit().constData(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    QGuiApplication app(argc, argv);
    qInstallMessageHandler(horatta::hotkey::keepComplaints);
    return RUN_ALL_TESTS();
}
