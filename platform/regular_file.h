#pragma once
// Opening a data file (settings, rules, site files, metadata, branding) so that no file a user
// or an attacker puts in its place can hold the program: the open never blocks (a FIFO without
// a writer, a device), and what is opened is kept only when it is a plain file. Reading a
// device such as /dev/zero would never end, and opening some devices acts on them, so anything
// but a regular file is refused. Links are followed: a link to a plain file is that file.
//
// Thread-safe: nothing is shared but the file system.

#include "unique_fd.h"

#include <cerrno>
#include <cstddef>
#include <string>

// The errno for something that exists but is neither a plain file nor a folder (a FIFO, a
// device node, a socket); a folder gives EISDIR.
inline constexpr int kNotRegularFileError = EINVAL;

// The file open for reading, or an invalid descriptor with `*error` set: the open's errno
// (ENOENT, EACCES...), EISDIR for a folder, kNotRegularFileError for any other kind.
[[nodiscard]] UniqueFd OpenRegularFile(const std::string &path, int *error);

// The whole content of a plain file of at most `maxBytes` bytes into `*contents`. Returns 0, the
// errno of OpenRegularFile or of the read, or EFBIG when the file is larger than `maxBytes`
// (nothing is read then). `*contents` is changed only on success.
[[nodiscard]] int ReadRegularFile(const std::string &path, std::size_t maxBytes, std::string *contents);

// 0 when `path` is missing or a plain file (following links): a writer may put a file there.
// Otherwise EISDIR for a folder, kNotRegularFileError for a FIFO, device or socket, which a
// writer must leave alone rather than replace by a plain file.
[[nodiscard]] int CheckReplaceableFile(const std::string &path);

// What an error of the functions above means for a file, in words for a trace line: "it is a
// folder", "it is not a plain file (a FIFO, a device or a socket)", "the file is too large", or
// the system's text ("No such file or directory").
[[nodiscard]] std::string DescribeFileError(int error);
