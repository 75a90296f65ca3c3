#include "linux/system_services.h"

#include <QElapsedTimer>
#include <QThread>
#include <cstdio>

namespace horatta::shell {

void SystemServices::beep(int, int ms) {
    // The clock relies on a tone holding its tick for the tone's length.
    if (ms <= 0) return;
    QElapsedTimer elapsed;
    elapsed.start();
    for (qint64 left = ms; left > 0; left = ms - elapsed.elapsed()) QThread::msleep(static_cast<unsigned long>(left));
}

void SystemServices::enableShutdownPrivilege() {}

void SystemServices::exitWindows(std::uint32_t flags, std::uint32_t) {
    std::fprintf(stderr, "horatta: power-off requested (flags %u); this build does not power off\n",
                 static_cast<unsigned>(flags));
    std::fflush(stderr);
}

void SystemServices::setHotKey(std::int32_t) {}

}  // namespace horatta::shell
