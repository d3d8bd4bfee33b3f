#include "replace_file.h"

#include "unique_fd.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string folderOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Best effort: a folder that cannot be opened or synced (some file systems refuse) still has
// the renamed file; only its durability across a power cut is weaker.
void syncFolder(const std::string &path)
{
    const UniqueFd folder(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid())
        (void)::fsync(folder.get());
}

// The errno of the first failing step of writing, syncing and closing `fd`; 0 when all worked.
int writeSynced(UniqueFd fd, std::string_view data)
{
    ::fchmod(fd.get(), 0644);
    if (!WriteAll(fd.get(), data))
        return errno != 0 ? errno : EIO;
    if (::fsync(fd.get()) != 0)
        return errno;
    if (!fd.close())
        return errno;
    return 0;
}

} // namespace

int ReplaceFileContents(const std::string &path, std::string_view data)
{
    std::string temp = path + ".XXXXXX";
    UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd.valid())
        return errno;
    int err = writeSynced(std::move(fd), data);
    if (err == 0 && ::rename(temp.c_str(), path.c_str()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        return err;
    }
    syncFolder(path);
    return 0;
}
