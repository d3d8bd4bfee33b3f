#pragma once
// Replacing a file's whole content so that readers and crashes see either the old file or the
// new one, never half of one: the data goes to a temporary file in the same folder, is synced,
// and is renamed over the target; the folder is then synced so that the rename itself survives
// a power cut. A failed step removes the temporary file and leaves the target as it was.
//
// Returns 0, or the errno of the step that failed (ENOSPC for a full disk, EFBIG past a file
// size limit, EACCES for a folder that cannot be written, ENOENT for a missing folder).

#include <string>
#include <string_view>

[[nodiscard]] int ReplaceFileContents(const std::string &path, std::string_view data);
