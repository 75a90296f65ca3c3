#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace horatta::shell::settings_file {

// The settings file as a whole, read and replaced so that nothing the user stored is lost:
// only a regular file of a sensible size is read, and it is opened without blocking, so a
// FIFO or a device in its place can neither stall the clock nor fill its memory. Each new
// version reaches the disk before it replaces the old one (the machine may be powered off
// right after), and a file that is set aside never replaces one set aside earlier.

enum class State { Missing, Read, Unreadable, TooLarge };

// Enough of a file's status to tell that it is no longer what was read or written: another
// program either replaces it (a new inode) or writes it in place (a new modification time),
// and a change of permissions may make it unreadable.
struct Stamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint32_t mode = 0;
    std::int64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds
    std::int64_t changed = 0;   // nanoseconds
    bool operator==(const Stamp&) const = default;
};

// The stamp of what stands at the path now; none when nothing does or it cannot be seen.
std::optional<Stamp> stamp(const std::string& path);

struct Contents {
    State state = State::Missing;
    std::string bytes;
    Stamp stamp;  // of the file the bytes were read from
};

Contents read(const std::string& path, std::size_t largest);

// Writes the bytes to a temporary file beside the path, flushes it to the disk, renames it
// over the path and flushes the folder. Keeps the old file's permissions. The stamp, when
// asked for, is that of the file written, or none when another has already taken its place.
bool replace(const std::string& path, std::string_view bytes, std::optional<Stamp>* written = nullptr);

// Keeps the file whole under the first free name of "<path>.corrupt", "<path>.corrupt.1", … :
// as a second link, so that it stays in place until the write that follows replaces it, or,
// on a file system without links, moved there.
bool setAside(const std::string& path);

// Makes the folder and its missing parents for the user alone (0700), as the files in it are;
// a folder that exists stays as it is. False when no folder stands there in the end.
bool makeFolder(const std::string& path);

// Removes the temporary files that a write interrupted before its rename left behind.
void removeLeftovers(const std::string& path);

}  // namespace horatta::shell::settings_file
