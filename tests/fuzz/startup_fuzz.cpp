// Start-up on any settings file: the Linux reader takes the text as it would from disk, and the
// clock starts on it against the test platform, on one screen and on none. Nothing may crash
// or hang; on a screen the strip comes up wholly on it, and where the clock leaves it, it comes
// back.
#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "linux/settings_registry.h"
#include "support/simulator.h"

namespace horatta::testing {
namespace {

class FilePlatform : public FakePlatform {
public:
    explicit FilePlatform(const std::string& path) : ini(QString::fromStdString(path), HKEY_LOCAL_MACHINE, std::string(settingsPath)) {}
    shell::SettingsRegistry ini;
    Registry& registry() override { return ini; }
};

const std::string& folder() {
    static const std::string made = [] {
        std::string name = "/dev/shm/horatta-fuzz-XXXXXX";
        if (!::mkdtemp(name.data())) std::abort();
        return name;
    }();
    return made;
}

void emptyFolder() {
    DIR* dir = ::opendir(folder().c_str());
    while (const dirent* entry = dir ? ::readdir(dir) : nullptr)
        if (entry->d_name[0] != '.') ::unlink((folder() + "/" + entry->d_name).c_str());
    if (dir) ::closedir(dir);
}

void check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "startup fuzz: %s\n", what);
    std::abort();
}

void startOn(const std::string& text, bool screens, Build build) {
    emptyFolder();
    const std::string path = folder() + "/time.ini";
    if (FILE* f = std::fopen(path.c_str(), "wb")) std::fwrite(text.data(), 1, text.size(), f), std::fclose(f);
    FilePlatform platform(path);
    if (!screens) platform.screenRects = {{0, 0, 0, 0}};
    Form1 form(build, platform);
    form.Form_Load();
    if (!screens) return;
    check(form.Left >= 0 && form.Top >= 0 && form.Left + form.Width <= 1920 * 15 && form.Top + form.Height <= 1080 * 15,
          "the strip came up off the screen");
    if (form.reminderAlertOn != 0 || !form.Timer1.enabled()) return;
    form.Label3_DblClick();
    FilePlatform again(path);
    Form1 restarted(build, again);
    restarted.Form_Load();
    check(restarted.Left == form.Left && restarted.Top == form.Top && restarted.scrollOn == form.scrollOn,
          "the place or the mode left was not the one that came back");
}

}  // namespace
}  // namespace horatta::testing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using horatta::Build;
    const std::string text(reinterpret_cast<const char*>(data), size);
    horatta::testing::startOn(text, true, size % 2 ? Build::Masked : Build::Plain);
    horatta::testing::startOn(text, false, Build::Masked);
    return 0;
}
