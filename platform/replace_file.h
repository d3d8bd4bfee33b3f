#pragma once
// Replacing a file's whole content so that readers and crashes see either the old file or the
// new one, never half of one: the data goes to a temporary file in the same folder, is synced,
// and is renamed over the target; the folder is then synced so that the rename itself survives
// a power cut. A failed step removes the temporary file and leaves the target as it was.
//
// A writer that is killed part way (kill -9, a power cut) cannot remove its temporary file, and a
// large site leaves a megabyte each time. So a temporary file says whose it is by its name,
// "<target>.orvex-tmp.XXXXXX" (six letters or digits), and its writer holds a lock on it (flock)
// from just after creating it until after the rename. A temporary file whose lock can be taken
// has no writer left: each replacement first removes those of its own target, and a program may
// sweep a whole folder, or a folder tree, at start. A file of any other name, anything but a
// plain file, and a temporary file locked by a live writer (in this process or another) are never
// touched.
//
// Thread-safe: nothing is shared but the file system.

#include <string>
#include <string_view>

// Returns 0, or the errno of the step that failed (ENOSPC for a full disk, EFBIG past a file
// size limit, EACCES for a folder that cannot be written, ENOENT for a missing folder). A target
// that is a folder (EISDIR), a FIFO, a device or a socket (kNotRegularFileError) is left alone.
[[nodiscard]] int ReplaceFileContents(const std::string &path, std::string_view data);

// Removes the temporary files that interrupted replacements left in `folder`: those of the file
// named `target` in it, or of every file when `target` is empty. Returns how many it removed; a
// folder that cannot be read has none.
int RemoveLeftTemporaries(const std::string &folder, std::string_view target = {});

// How many levels of folders below the swept folder RemoveLeftTemporariesBelow enters.
inline constexpr int kTemporarySweepDepth = 8;

// Removes the temporary files that interrupted replacements of any file left in `folder` and in
// every real folder below it, down to kTemporarySweepDepth levels. Links are never followed,
// not even to a folder: they may lead into another tree. Returns how many it removed; a folder
// that cannot be read has none.
int RemoveLeftTemporariesBelow(const std::string &folder);
