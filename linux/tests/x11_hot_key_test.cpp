// The global hot key in a private Xvfb server, pressed with xdotool as a user would.
#include "linux/hotkey/x11_hot_key.h"

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "sandbox.h"

namespace horatta::hotkey {
namespace {

constexpr std::int32_t ctrlAltZ = 0x065A;
constexpr std::uint16_t ctrlAlt = controlMask | mod1Mask;
const std::vector<std::uint16_t> everyLockState{ctrlAlt, ctrlAlt | lockMask, ctrlAlt | mod2Mask,
                                                ctrlAlt | lockMask | mod2Mask};
QStringList qtComplaints;

void keepComplaints(QtMsgType, const QMessageLogContext&, const QString& message) { qtComplaints << message; }

bool xdotool(const QStringList& arguments) { return QProcess::execute("xdotool", arguments) == 0; }

template <typename Predicate>
bool waitFor(Predicate done, int timeoutMs = 3000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

// Lets every event that is on its way arrive.
void settle() { waitFor([] { return false; }, 200); }

// Another program on the same display, holding Ctrl+Alt+Z's key before us or after us.
class OtherProgram {
public:
    OtherProgram() : c_(xcb_connect(nullptr, nullptr)), root_(xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root) {}
    ~OtherProgram() {
        // Checked, so that the grabs are gone before whatever the test does next.
        std::free(xcb_request_check(c_, xcb_ungrab_key_checked(c_, XCB_GRAB_ANY, root_, XCB_MOD_MASK_ANY)));
        xcb_disconnect(c_);
    }

    // Returns how many of the grabs the server granted.
    int grab(const std::vector<std::uint16_t>& states) {
        const std::uint8_t key = keycodesFor(readKeyboardMapping(c_), 'z').front();
        int held = 0;
        for (std::uint16_t state : states) {
            xcb_generic_error_t* error = xcb_request_check(
                c_, xcb_grab_key_checked(c_, 0, root_, state, key, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
            held += error == nullptr;
            std::free(error);
        }
        return held;
    }

    // Takes the keyboard, as a click in another program does.
    void focusRoot() {
        std::free(xcb_request_check(
            c_, xcb_set_input_focus_checked(c_, XCB_INPUT_FOCUS_POINTER_ROOT, XCB_INPUT_FOCUS_POINTER_ROOT,
                                            XCB_CURRENT_TIME)));
    }

    // Swaps the keys of z and y, as a German layout has them; a second swap puts them back.
    void swapZAndY() {
        KeyboardMapping m = readKeyboardMapping(c_);
        const std::size_t per = m.keysymsPerKeycode;
        const std::size_t z = (keycodesFor(m, 'z').front() - m.firstKeycode) * per;
        const std::size_t y = (keycodesFor(m, 'y').front() - m.firstKeycode) * per;
        for (std::size_t i = 0; i < per; ++i) std::swap(m.keysyms[z + i], m.keysyms[y + i]);
        const auto count = static_cast<std::uint8_t>(m.keysyms.size() / per);
        xcb_generic_error_t* error = xcb_request_check(
            c_, xcb_change_keyboard_mapping_checked(c_, count, m.firstKeycode, m.keysymsPerKeycode, m.keysyms.data()));
        EXPECT_EQ(error, nullptr);
        std::free(error);
    }

private:
    xcb_connection_t* c_;
    xcb_window_t root_;
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
        // A refused grab must not reach Qt's error log either.
        EXPECT_TRUE(qtComplaints.isEmpty()) << qtComplaints.join(QLatin1Char('\n')).toStdString();
    }

    // Presses Ctrl+Alt+Z with the given lock keys on; true when the press is reported.
    bool pressWithLocks(const QStringList& locks) {
        for (const QString& key : locks) EXPECT_TRUE(xdotool({"key", key}));  // on
        const int before = pressed;
        EXPECT_TRUE(xdotool({"key", "ctrl+alt+z"}));
        const bool reported = waitFor([&] { return pressed > before; }, 1000);
        for (const QString& key : locks) EXPECT_TRUE(xdotool({"key", key}));  // off again
        return reported;
    }

    std::unique_ptr<X11HotKey> hotKey;
    int pressed = 0;
    int released = 0;
};

TEST_F(HotKeyTest, WorksWhateverLockKeyIsOn) {
    hotKey->setHotKey(ctrlAltZ);
    EXPECT_EQ(hotKey->grabsHeld().size(), 4u);
    for (const QStringList& locks : std::vector<QStringList>{{}, {"Caps_Lock"}, {"Num_Lock"}, {"Caps_Lock", "Num_Lock"}}) {
        EXPECT_TRUE(pressWithLocks(locks)) << locks.join(QLatin1Char('+')).toStdString();
    }
}

TEST_F(HotKeyTest, OnlyTheHotKeyAndTheReleaseAfterItAreReported) {
    hotKey->setHotKey(ctrlAltZ);
    for (const char* keys : {"ctrl+z", "alt+z", "z", "ctrl+alt+x", "ctrl+alt+shift+z", "super+ctrl+alt+z"}) {
        ASSERT_TRUE(xdotool({"key", keys}));
    }
    settle();
    EXPECT_EQ(pressed + released, 0);

    ASSERT_TRUE(xdotool({"keydown", "ctrl+alt+z"}));
    EXPECT_TRUE(waitFor([&] { return pressed == 1; }));
    settle();
    EXPECT_EQ(released, 0) << "a key held down does nothing yet";
    ASSERT_TRUE(xdotool({"keyup", "z"}));
    EXPECT_TRUE(waitFor([&] { return released == 1; }));
    // The keyboard stays with the hot key's window: every later release is reported too.
    ASSERT_TRUE(xdotool({"keyup", "ctrl+alt"}));
    EXPECT_TRUE(waitFor([&] { return released == 3; }));

    // Until the keyboard goes elsewhere.
    OtherProgram().focusRoot();
    settle();
    ASSERT_TRUE(xdotool({"key", "a"}));
    settle();
    EXPECT_EQ(pressed, 1);
    EXPECT_EQ(released, 3);
}

TEST_F(HotKeyTest, ACombinationHeldByAnotherProgramIsSkipped) {
    OtherProgram other;
    ASSERT_EQ(other.grab({ctrlAlt}), 1);
    hotKey->setHotKey(ctrlAltZ);
    EXPECT_EQ(hotKey->grabsHeld().size(), 3u);
    EXPECT_FALSE(pressWithLocks({})) << "the other program's";
    EXPECT_TRUE(pressWithLocks({"Caps_Lock"}));
}

TEST_F(HotKeyTest, FollowsTheKeyToANewLayout) {
    hotKey->setHotKey(ctrlAltZ);
    OtherProgram other;
    other.swapZAndY();
    // xdotool presses whichever key now gives a z; the new grab follows the mapping's news.
    EXPECT_TRUE(waitFor([&] { return xdotool({"key", "ctrl+alt+z"}) && waitFor([&] { return pressed > 0; }, 300); }));
    other.swapZAndY();
    settle();
}

TEST_F(HotKeyTest, LettingGoOrEndingFreesTheCombination) {
    hotKey->setHotKey(ctrlAltZ);
    hotKey->setHotKey(0);
    EXPECT_EQ(OtherProgram().grab(everyLockState), 4);
    hotKey->setHotKey(ctrlAltZ);
    ASSERT_EQ(hotKey->grabsHeld().size(), 4u);
    hotKey.reset();
    EXPECT_EQ(OtherProgram().grab(everyLockState), 4);
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
