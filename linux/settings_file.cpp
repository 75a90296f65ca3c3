#include "linux/settings_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace horatta::shell::settings_file {

namespace {

constexpr std::string_view temporaryInfix = ".tmp-";

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

Stamp stampOf(const struct stat& info) {
    return {std::uint64_t(info.st_dev), std::uint64_t(info.st_ino), std::uint32_t(info.st_mode), std::int64_t(info.st_size),
            std::int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
            std::int64_t(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec};
}

void syncFolder(const std::string& path) {
    Descriptor folder(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) ::fsync(folder.get());
}

}  // namespace

std::optional<Stamp> stamp(const std::string& path) {
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return stampOf(info);
}

Contents read(const std::string& path, std::size_t largest) {
    // Looked at before it is opened, as opening some devices already does something.
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0) return {errno == ENOENT ? State::Missing : State::Unreadable, {}, {}};
    if (!S_ISREG(info.st_mode)) return {State::Unreadable, {}, {}};
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) return {errno == ENOENT ? State::Missing : State::Unreadable, {}, {}};
    // Again on what was opened: the name may have been swapped in between.
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return {State::Unreadable, {}, {}};
    std::string bytes;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return {State::Unreadable, {}, {}};
        if (n == 0) break;
        bytes.append(buffer.data(), std::size_t(n));
        if (bytes.size() > largest) return {State::TooLarge, {}, stampOf(info)};  // kept: read once, not at every value
    }
    return {State::Read, std::move(bytes), stampOf(info)};
}

bool replace(const std::string& path, std::string_view bytes, std::optional<Stamp>* written) {
    if (written) written->reset();
    std::string temporary = path + std::string(temporaryInfix) + "XXXXXX";
    Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0) return false;
    struct stat old{};
    if (::stat(path.c_str(), &old) == 0) ::fchmod(fd.get(), old.st_mode & 07777);
    struct stat ours{};
    const bool done = writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0 && ::fstat(fd.get(), &ours) == 0 && fd.close();
    if (!done || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(path);
    // The rename itself changes the status time, so the stamp is taken once it is done.
    struct stat now{};
    if (written && ::stat(path.c_str(), &now) == 0 && now.st_dev == ours.st_dev && now.st_ino == ours.st_ino)
        *written = stampOf(now);
    return true;
}

bool setAside(const std::string& path) {
    const std::string base = path + ".corrupt";
    for (int n = 0; n < 10000; ++n) {
        const std::string aside = n == 0 ? base : base + "." + std::to_string(n);
        // Neither ever replaces what is at the new name.
        const bool kept = ::link(path.c_str(), aside.c_str()) == 0 ||
                          (errno != EEXIST && ::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0);
        if (kept) {
            syncFolder(path);
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool makeFolder(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        ::mkdir(path.substr(0, slash).c_str(), 0700);
    ::mkdir(path.c_str(), 0700);
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void removeLeftovers(const std::string& path) {
    const std::string prefix = nameOf(path) + std::string(temporaryInfix);
    const std::string folder = folderOf(path);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        const std::string leftover = folder + "/" + name;
        struct stat info{};
        // mkostemp's six characters follow the prefix.
        if (name.size() == prefix.size() + 6 && name.starts_with(prefix) && ::lstat(leftover.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            ::unlink(leftover.c_str());
    }
    ::closedir(dir);
}

}  // namespace horatta::shell::settings_file
