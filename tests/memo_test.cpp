#include <gtest/gtest.h>

#include <array>

#include "support/simulator.h"

namespace horatta::testing {
namespace {

enum class Close { Enter, DoubleClick };

void closeMemo(Form1& f, Close how) {
    if (how == Close::DoubleClick) {
        f.Text2_DblClick();
        return;
    }
    std::int16_t key = keyEnter;
    f.Text2_KeyPress(key);
    EXPECT_EQ(key, 0) << "Enter is swallowed";
}

// The memo slides open with its text selected for typing over and takes the keyboard; both
// ways of closing give the keyboard back and store the memo exactly as typed (no padding,
// nothing cut), and it comes back whole after a restart, whatever its characters.
TEST(Memo, OpensSelectedAndClosingStoresItExactlyAcrossARestart) {
    const std::vector<std::pair<std::string, int>> memos{
        {"abc", 3}, {"你好，世界", 5}, {"Café 12€", 8}, {"  two  spaces inside  and before", 32}};
    for (Build build : bothBuilds) {
        for (Close how : {Close::Enter, Close::DoubleClick}) {
            for (const auto& [memo, characters] : memos) {
                SCOPED_TRACE(std::string(buildName(build)) + (how == Close::Enter ? ", Enter, " : ", double-click, ") +
                             memo);
                Simulator clock(build, at(2026, 12, 6, 18, 36, 16, 500), {{"text", memo}});
                for (int round = 0; round < 2; ++round) {  // the second opens what the first stored
                    const std::string typed = round == 0 ? memo + "!" : memo;
                    Form1& f = clock.form();
                    f.Picture1_Click();
                    EXPECT_TRUE(f.Text2.Visible);
                    EXPECT_EQ((std::array{f.Text2.Top, f.Height}), (std::array{295.0f, 580.0f}));
                    EXPECT_EQ(f.focus(), ControlId::Text2);
                    EXPECT_EQ(f.Text2.SelStart, 0);
                    EXPECT_EQ(f.Text2.SelLength, characters + round) << "characters, not bytes";
                    f.Text2.Text = typed;  // as the native field reports what was typed
                    f.Text2.SelStart = 3;
                    closeMemo(f, how);
                    EXPECT_FALSE(f.Text2.Visible);
                    EXPECT_EQ((std::array{f.Text2.Top, f.Height}), (std::array{20.0f, 300.0f}));
                    EXPECT_NE(f.focus(), ControlId::Text2) << "a hidden memo cannot keep the keyboard";
                    EXPECT_EQ(clock.platform().stored("text"), typed);
                    clock.restart();
                    EXPECT_EQ(clock.form().Text2.Text, typed);
                    EXPECT_EQ(clock.platform().stored("text"), typed) << "start-up does not rewrite a stored memo";
                }
            }
        }
    }
}

// Typing in the memo or the reminder message goes to the text; only Enter closes it.
TEST(Memo, OnlyEnterClosesTheMemoOrTheReminderMessage) {
    Simulator clock(Build::Masked);
    Form1& f = clock.form();
    f.Picture1_Click();
    f.Text1.Visible = true;
    for (std::int16_t key : std::vector<std::int16_t>{'a', '\b', 27, 10, 0x4F60}) {
        std::int16_t memoKey = key, messageKey = key;
        f.Text2_KeyPress(memoKey);
        f.Text1_KeyPress(messageKey);
        EXPECT_EQ(memoKey, key);
        EXPECT_EQ(messageKey, key);
        EXPECT_TRUE(f.Text2.Visible);
        EXPECT_TRUE(f.Text1.Visible);
    }
    EXPECT_EQ(clock.platform().stored("text"), std::string(defaultMemo)) << "nothing stored while typing";
}

// The reminder message as it stands after a reminder was applied with the shutdown-time
// entry open over the face.
void openReminderMessage(Form1& f) {
    f.Label1_DblClick();
    f.Picture2.Top = 300;
    f.reminderField().Visible = true;
    f.Text1.Visible = true;
    f.Text1.Top = 580;
    f.Text1.Text = "Call home";
    f.Height = 870;
    f.reminderTime = *TimeOfDay::fromHms(19, 0, 0);
    f.SetFocus(ControlId::Text1);
}

TEST(ReminderMessage, EnterAndDoubleClickCloseItAndOnlyTheDoubleClickClosesTheShutdownEntry) {
    for (Build build : {Build::Masked, Build::Plain}) {
        for (Close how : {Close::Enter, Close::DoubleClick}) {
            SCOPED_TRACE(std::string(buildName(build)) + (how == Close::Enter ? ", Enter" : ", double-click"));
            Simulator clock(build);
            Form1& f = clock.form();
            openReminderMessage(f);
            if (how == Close::Enter) {
                std::int16_t key = keyEnter;
                f.Text1_KeyPress(key);
                EXPECT_EQ(key, 0);
            } else {
                f.Text1_DblClick();
            }
            EXPECT_FALSE(f.Text1.Visible);
            EXPECT_EQ(f.Text1.Top, 360);
            EXPECT_FALSE(f.reminderField().Visible);
            EXPECT_EQ(f.Picture2.Top, 0);
            EXPECT_TRUE(f.Label1.Visible);
            EXPECT_EQ(f.Height, 300);
            EXPECT_EQ(f.shutdownField().Visible, how == Close::Enter);
            EXPECT_EQ(f.Text1.Text, "Call home") << "the message is kept";
            EXPECT_EQ(f.reminderTime, *TimeOfDay::fromHms(19, 0, 0)) << "the reminder stays armed";
            EXPECT_NE(f.focus(), ControlId::Text1);
            EXPECT_EQ(clock.platform().stored("text"), std::string(defaultMemo)) << "the memo is not touched";
        }
    }
}

}  // namespace
}  // namespace horatta::testing
