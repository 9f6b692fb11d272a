#include "XmlSave.h"

#include "platform/os/FilePath.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <tinyxml.h>
#include <unistd.h>

namespace {

const char kSaveMark[] = ".save-";
constexpr size_t kUniqueLength = 6;
// A name this long would not leave room for the marks within the file system's limit of 255 bytes.
constexpr size_t kLongestMarkedName = 240;

bool StartsWith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

// ".<name>.save-" and six characters; also the plain ".save-" and six that earlier versions used for any file.
bool IsTemporaryOf(const std::string& entry, const std::string& fileName) {
    const std::string own = "." + fileName + kSaveMark;
    if (StartsWith(entry, own) && entry.size() == own.size() + kUniqueLength)
        return true;
    const std::string plain = kSaveMark;
    return StartsWith(entry, plain) && entry.size() == plain.size() + kUniqueLength;
}

// Removes the temporary files of earlier saves of this file that nobody is writing: a save holds a lock on its
// file until it is renamed, and the lock goes with the process when a save is killed.
void RemoveStaleTemporaries(const std::string& folder, const std::string& fileName) {
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (!IsTemporaryOf(name, fileName))
            continue;
        const std::string path = folder + name;
        const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
            unlink(path.c_str());
        close(fd);
    }
    closedir(dir);
}

bool Fail(int* error, int code) {
    if (error)
        *error = code;
    return false;
}

// Why the file may not be written, or 0. A write-protected file is not replaced behind its protection, though
// the rename needs only the folder's permission. Root may write any file, so for root the file's own bits
// decide: with no write bit set, it stays as it is.
int WriteRefusal(const std::string& path, const struct stat& info) {
    if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        return errno;
    return geteuid() == 0 && (info.st_mode & 0222) == 0 ? EACCES : 0;
}

// The rename is an entry in the folder: until the folder is on disk too, a power cut may bring back the old file.
int SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int failure = fsync(fd) == 0 ? 0 : errno;
    close(fd);
    // Some file systems cannot sync a folder and say so; they keep what they keep.
    return failure == EINVAL || failure == EROFS ? 0 : failure;
}

} // namespace

std::string SaveTemporaryPattern(const std::string& fileName) {
    if (fileName.size() > kLongestMarkedName)
        return std::string(kSaveMark) + "XXXXXX";
    return "." + fileName + kSaveMark + "XXXXXX";
}

bool SaveXmlFile(const TiXmlDocument& document, const std::string& path, int* error) {
    // A settings file that is a link to another file stays a link: the file behind it is the one replaced.
    std::string target = LocalFilePath(path);
    if (char* resolved = realpath(target.c_str(), nullptr)) {
        target = resolved;
        std::free(resolved);
    }
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string("./") : target.substr(0, slash + 1);
    const std::string fileName = slash == std::string::npos ? target : target.substr(slash + 1);

    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists)
        if (const int refusal = WriteRefusal(target, old))
            return Fail(error, refusal);

    RemoveStaleTemporaries(folder, fileName);

    std::string temp = folder + SaveTemporaryPattern(fileName);
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return Fail(error, errno);
    // Held until the new file has its name, through a second descriptor that outlives the stream.
    const int lockFd = dup(fd);
    if (lockFd >= 0)
        flock(lockFd, LOCK_EX | LOCK_NB);

    // The new file keeps the old one's permissions; mkstemp would make it private to the owner.
    if (exists)
        fchmod(fd, old.st_mode & 07777);
    else
        fchmod(fd, 0644);

    int failure = 0;
    FILE* out = fdopen(fd, "wb");
    if (!out) {
        failure = errno;
        close(fd);
    } else {
        errno = 0;
        document.SaveFile(out);
        if (std::fflush(out) != 0 || std::ferror(out))
            failure = errno ? errno : EIO;
        if (!failure && fsync(fileno(out)) != 0)
            failure = errno;
        if (std::fclose(out) != 0 && !failure)
            failure = errno;
    }
    bool renamed = false;
    if (!failure) {
        renamed = std::rename(temp.c_str(), target.c_str()) == 0;
        failure = renamed ? SyncFolder(folder) : errno;
    }
    if (failure && !renamed)
        unlink(temp.c_str());
    if (lockFd >= 0)
        close(lockFd);
    return failure ? Fail(error, failure) : true;
}
