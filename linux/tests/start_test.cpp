#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <sys/stat.h>

#include "linux/single_instance.h"

namespace horatta::shell {
namespace {

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
