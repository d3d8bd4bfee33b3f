#include "replace_file.h"

#include "regular_file.h"
#include "unique_fd.h"

#include <algorithm>
#include <cerrno>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kMarker = ".orvex-tmp.";
constexpr std::string_view kUniquePart = "XXXXXX"; // what mkostemp fills with letters and digits

struct Location
{
    std::string folder;
    std::string name;
};

Location locate(const std::string &path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

bool isLetterOrDigit(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// "<target><marker><six letters or digits>", of `target` or, when it is empty, of any file.
bool isTemporaryName(std::string_view name, std::string_view target)
{
    if (name.size() <= kMarker.size() + kUniquePart.size())
        return false;
    const std::string_view unique = name.substr(name.size() - kUniquePart.size());
    if (!std::all_of(unique.begin(), unique.end(), isLetterOrDigit))
        return false;
    const std::string_view stem = name.substr(0, name.size() - kUniquePart.size());
    if (!stem.ends_with(kMarker))
        return false;
    return target.empty() || stem.substr(0, stem.size() - kMarker.size()) == target;
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Removes `name` from the folder open as `folder` when it is a plain file whose lock nobody
// holds, and it is still the file that was locked.
bool removeIfAbandoned(int folder, const char *name)
{
    struct stat named{};
    // Nothing but a plain file is ever opened: opening a device can act on it.
    if (::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(named.st_mode))
        return false;
    const UniqueFd fd(::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened{};
    if (!fd.valid() || ::fstat(fd.get(), &opened) != 0 || !sameFile(named, opened))
        return false;
    // Held: a writer is still at work. Refused (a file system without locks): no way to tell.
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        return false;
    // Its writer may have renamed it over its target in the meantime, and let go of the lock.
    if (::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) != 0 || !sameFile(named, opened))
        return false;
    return ::unlinkat(folder, name, 0) == 0;
}

// A new temporary file for `path`, locked; the errno of the failure otherwise.
int createLocked(const std::string &path, UniqueFd *fd, std::string *temp)
{
    // A sweeper may open a new file in the moment before it is locked, take it for abandoned
    // and remove it; the writer then finds its name gone and starts again under another.
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string name = path + std::string(kMarker) + std::string(kUniquePart);
        UniqueFd created(::mkostemp(name.data(), O_CLOEXEC));
        if (!created.valid())
            return errno;
        int locked = 0;
        do
            locked = ::flock(created.get(), LOCK_EX);
        while (locked != 0 && errno == EINTR);
        // Without locks no sweeper can take the file either: write on unprotected.
        struct stat opened{};
        struct stat named{};
        if (::fstat(created.get(), &opened) == 0 && ::lstat(name.c_str(), &named) == 0 && sameFile(opened, named)) {
            *fd = std::move(created);
            *temp = std::move(name);
            return 0;
        }
    }
    return EAGAIN;
}

// Best effort: a folder that cannot be opened or synced (some file systems refuse) still has
// the renamed file; only its durability across a power cut is weaker.
void syncFolder(const std::string &folder)
{
    const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid())
        (void)::fsync(fd.get());
}

// The errno of the first failing step of writing `data` to `fd` and syncing it; 0 when all
// worked.
int writeSynced(int fd, std::string_view data)
{
    ::fchmod(fd, 0644);
    if (!WriteAll(fd, data))
        return errno != 0 ? errno : EIO;
    if (::fsync(fd) != 0)
        return errno;
    return 0;
}

struct DirCloser
{
    void operator()(DIR *dir) const { ::closedir(dir); }
};

// Removes the abandoned temporaries of `target` (of every file when it is empty) in the folder
// `dir` and, while `depth` levels remain, in every real folder below it. A link is never
// followed: it may lead into any other tree.
int sweep(DIR *dir, std::string_view target, int depth)
{
    int removed = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (isTemporaryName(name, target)) {
            if (removeIfAbandoned(::dirfd(dir), entry->d_name))
                ++removed;
            continue;
        }
        const bool mayBeFolder = entry->d_type == DT_DIR || entry->d_type == DT_UNKNOWN;
        if (depth == 0 || !mayBeFolder || name == "." || name == "..")
            continue;
        // Only a real folder opens so: a link, a FIFO or a device is refused before it is opened.
        constexpr int kFolderOnly = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
        UniqueFd sub(::openat(::dirfd(dir), entry->d_name, kFolderOnly));
        if (!sub.valid())
            continue;
        const std::unique_ptr<DIR, DirCloser> subDir(::fdopendir(sub.get()));
        if (!subDir)
            continue;
        sub.release();
        removed += sweep(subDir.get(), target, depth - 1);
    }
    return removed;
}

} // namespace

int ReplaceFileContents(const std::string &path, std::string_view data)
{
    // A FIFO, a device or a folder in the target's place stays what it is: a rename would put a
    // plain file there, and whoever reads it would no longer find what they put there.
    if (const int kind = CheckReplaceableFile(path); kind != 0)
        return kind;
    const Location location = locate(path);
    RemoveLeftTemporaries(location.folder, location.name);

    UniqueFd fd;
    std::string temp;
    int err = createLocked(path, &fd, &temp);
    if (err != 0)
        return err;
    // The lock is held until after the rename, so that no sweeper ever takes the file for
    // abandoned while it still has its temporary name.
    err = writeSynced(fd.get(), data);
    if (err == 0 && ::rename(temp.c_str(), path.c_str()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        return err;
    }
    fd.close();
    syncFolder(location.folder);
    return 0;
}

int RemoveLeftTemporaries(const std::string &folder, std::string_view target)
{
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    return dir ? sweep(dir.get(), target, 0) : 0;
}

int RemoveLeftTemporariesBelow(const std::string &folder)
{
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid())
        return 0;
    const std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd.get()));
    if (!dir)
        return 0;
    fd.release();
    return sweep(dir.get(), {}, kTemporarySweepDepth);
}
