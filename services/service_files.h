#pragma once
// The files that the service and the parts it runs keep in the install folder: the settings,
// the point-of-sale rules, the configuration file, the trace files of the service and the
// recorder bridge, and the configuration tool's branding, metadata and message log. A client
// may name any path for a site file; none of these may be written over by one.
//
// Thread-safe: nothing is shared but the file system.

#include <optional>
#include <string>

namespace services {

// The own file of `installFolder` that `path` names, as a path in the install folder, or nothing.
// Both are resolved as the file system does (links followed, ".", ".." and doubled slashes), a
// name that does not exist yet through its folder, so that no other spelling of an own file,
// and no link to one, passes. A hard link to one counts as well.
[[nodiscard]] std::optional<std::string> ServiceFileAt(const std::string &path,
                                                     const std::string &installFolder);

} // namespace services
