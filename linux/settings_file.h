#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace horatta::shell::settings_file {

// The settings file as a whole, read and replaced so that nothing the user stored is lost:
// only a regular file of a sensible size is read, and it is opened without blocking, so a
// FIFO or a device in its place can neither stall the clock nor fill its memory. Each new
// version reaches the disk before it replaces the old one (the machine may be powered off
// right after), and a file that is set aside never replaces one set aside earlier.

enum class State { Missing, Read, Unreadable, TooLarge };

struct Contents {
    State state = State::Missing;
    std::string bytes;
};

Contents read(const std::string& path, std::size_t largest);

// Writes the bytes to a temporary file beside the path, flushes it to the disk, renames it
// over the path and flushes the folder. Keeps the old file's permissions.
bool replace(const std::string& path, std::string_view bytes);

// Moves the file to the first free name of "<path>.corrupt", "<path>.corrupt.1", … .
bool setAside(const std::string& path);

// Removes the temporary files that a write interrupted before its rename left behind.
void removeLeftovers(const std::string& path);

}  // namespace horatta::shell::settings_file
