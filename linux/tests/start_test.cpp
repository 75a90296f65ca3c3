#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <sys/stat.h>

#include "linux/command_line.h"
#include "linux/single_instance.h"

namespace horatta::shell {
namespace {

TEST(CommandLine, EachArgumentIsOneRequestHelpWinsAndAnythingElseIsMisuse) {
    const std::pair<std::vector<std::string>, const char*> lines[] = {
        {{}, "0"}, {{"--help"}, "1"}, {{"--version", "-h"}, "1"}, {{"-V"}, "2"}, {{"--version", "-V"}, "2"},
        {{"--autostart", "on"}, "3"}, {{"--autostart=off"}, "4"}, {{"--autostart", "off", "--autostart=off"}, "4"},
        {{"--autostart", "off", "--help"}, "1"}, {{"--autostart=on", "--version"}, "5 one request at a time"},
        {{"--autostart"}, "5 --autostart takes on or off"}, {{"--autostart=maybe", "on"}, "5 --autostart takes on or off"},
        {{"--autostarton"}, "5 unknown option: --autostarton"}, {{"-x", "--help"}, "5 unknown option: -x"}};
    for (const auto& [arguments, expected] : lines) {
        const CommandLine line = parseCommandLine(arguments);
        EXPECT_EQ(std::to_string(int(line.request)) + (line.problem.empty() ? "" : " " + line.problem), expected) << (arguments.empty() ? "" : arguments[0]);
    }
    const std::string text = usage("horatta-t");
    EXPECT_TRUE(text.starts_with("Usage: horatta-t [--autostart on|off]") && text.ends_with("See horatta-t(1).\n")) << text;
}

// A second clock is refused whatever stands where the lock goes; the settings folder the lock
// makes is the user's alone.
TEST(OneClock, ASecondClockIsRefusedWhateverTakesTheLocksName) {
    const std::pair<const char*, std::function<bool(const QString&)>> places[] = {
        {"nothing", nullptr},
        {"a file", [](const QString& lock) { return QFile(lock).open(QIODevice::WriteOnly); }}, {"a folder", [](const QString& lock) { return QDir().mkdir(lock); }},
        {"a link to nowhere", [](const QString& lock) { return QFile::link(lock + ".gone", lock); }},
        {"a link to a file", [](const QString& lock) { return QFile(lock + ".real").open(QIODevice::WriteOnly) && QFile::link(lock + ".real", lock); }},
        {"a FIFO", [](const QString& lock) { return ::mkfifo(lock.toLocal8Bit().constData(), 0600) == 0; }}};
    for (const auto& [what, make] : places) {
        QTemporaryDir dir;
        const QString settings = dir.path() + "/config/qom/time.ini";
        const bool nothing = !make;  // nor the folders: the lock makes them
        ASSERT_TRUE(nothing || (QDir().mkpath(dir.path() + "/config/qom") && make(settings + ".running"))) << what;
        EXPECT_TRUE(becomeTheOnlyClock(settings)) << what;
        EXPECT_FALSE(becomeTheOnlyClock(settings)) << what << ": a second clock ran";
        for (const char* made : {"/config", "/config/qom"}) {
            struct stat info{};
            EXPECT_TRUE(!nothing || (::stat((dir.path() + made).toLocal8Bit().constData(), &info) == 0 && (info.st_mode & 07777) == 0700)) << made;
        }
    }
}

}  // namespace
}  // namespace horatta::shell
