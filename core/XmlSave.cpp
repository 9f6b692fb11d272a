#include "XmlSave.h"

#include "ErrorMessage.h"
#include "platform/os/FilePath.h"
#include "platform/os/MessageBox.h"

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

// Why the file may not be written, or 0. A write-protected file is not replaced behind its protection, though
// the rename needs only the folder's permission. Root may write any file, so for root the file's own bits
// decide: with no write bit set, it stays as it is.
int WriteRefusal(const std::string& path, const struct stat& info) {
    if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        return errno;
    return geteuid() == 0 && (info.st_mode & 0222) == 0 ? EACCES : 0;
}

SaveFaultHandler& FaultHandler() {
    static SaveFaultHandler handler;
    return handler;
}

int Injected(SaveStep step) { return FaultHandler() ? FaultHandler()(step) : 0; }

// The rename is an entry in the folder: until the folder is on disk too, a power cut may bring back the old file.
int SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int failure = Injected(SaveStep::kSyncFolder);
    if (!failure && fsync(fd) != 0)
        failure = errno;
    close(fd);
    // Some file systems cannot sync a folder and say so; they keep what they keep.
    return failure == EINVAL || failure == EROFS ? 0 : failure;
}

// The new file is the old one's: a save by another user, root included, must not hand the file over to that user.
int KeepOwner(int fd, const struct stat& old) {
    struct stat now {};
    if (fstat(fd, &now) != 0)
        return errno;
    if (now.st_uid == old.st_uid && now.st_gid == old.st_gid)
        return 0;
    const uid_t owner = now.st_uid == old.st_uid ? static_cast<uid_t>(-1) : old.st_uid;
    const gid_t group = now.st_gid == old.st_gid ? static_cast<gid_t>(-1) : old.st_gid;
    return fchown(fd, owner, group) == 0 ? 0 : errno;
}

// Set after the owner, whose change may clear the set-id bits.
int SetMode(int fd, mode_t mode) {
    if (const int injected = Injected(SaveStep::kSetMode))
        return injected;
    return fchmod(fd, mode) == 0 ? 0 : errno;
}

int WriteAll(int fd, const char* bytes, size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return 0;
}

// The document as the parser's own writer prints it, in memory, so that what is measured is what is written.
class Printed {
public:
    explicit Printed(const TiXmlDocument& document) {
        FILE* out = open_memstream(&m_bytes, &m_size);
        if (!out) {
            m_error = errno;
            return;
        }
        errno = 0;
        document.SaveFile(out);
        if (std::fflush(out) != 0 || std::ferror(out))
            m_error = errno ? errno : ENOMEM;
        std::fclose(out);
    }
    Printed(const Printed&) = delete;
    Printed& operator=(const Printed&) = delete;
    ~Printed() { std::free(m_bytes); }

    int Error() const { return m_error; }
    std::string_view Bytes() const { return {m_bytes ? m_bytes : "", m_size}; }

private:
    char* m_bytes = nullptr;
    size_t m_size = 0;
    int m_error = 0;
};

XmlSaveResult Failed(int error, const char* step = nullptr) {
    XmlSaveResult result;
    result.outcome = XmlSaveOutcome::kFailed;
    result.error = error;
    result.step = step;
    return result;
}

void TellOverLimit(const std::string& path, const XmlLoadStatus& limit) {
    TellOperator("Could not save \"" + FullPathForDisplay(path) + "\": with this change it " +
                     XmlLoadStatusText(limit) + ". The change is not saved, and the file stays as it was.",
                 MB_ICONERROR);
}

} // namespace

std::string SaveTemporaryPattern(const std::string& fileName) {
    if (fileName.size() > kLongestMarkedName)
        return std::string(kSaveMark) + "XXXXXX";
    return "." + fileName + kSaveMark + "XXXXXX";
}

XmlSaveResult SaveXmlFile(const TiXmlDocument& document, const std::string& path) {
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
            return Failed(refusal);

    const Printed printed(document);
    if (printed.Error())
        return Failed(printed.Error());
    // Read back under the name it is read by, with that name's limits.
    XmlSaveResult result;
    result.limit = XmlOverLimits(printed.Bytes(), document, XmlLimitsOf(path));
    if (result.limit.fault != XmlLoadFault::kNone) {
        result.outcome = XmlSaveOutcome::kOverLimit;
        return result;
    }

    RemoveStaleTemporaries(folder, fileName);

    std::string temp = folder + SaveTemporaryPattern(fileName);
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return Failed(errno);
    // Held until the new file has its name, through a second descriptor that outlives the first.
    const int lockFd = dup(fd);
    if (lockFd >= 0)
        flock(lockFd, LOCK_EX | LOCK_NB);

    // mkstemp makes the file private to whoever saves; it is to be the old one's.
    int failure = exists ? KeepOwner(fd, old) : 0;
    const char* step = failure ? "the new file could not be given the old one's owner and group" : nullptr;
    if (!failure) {
        failure = SetMode(fd, exists ? old.st_mode & 07777 : 0644);
        step = failure ? "the new file could not be given the old one's permissions" : nullptr;
    }
    if (!failure)
        failure = WriteAll(fd, printed.Bytes().data(), printed.Bytes().size());
    if (!failure && fsync(fd) != 0)
        failure = errno;
    if (close(fd) != 0 && !failure)
        failure = errno;
    bool renamed = false;
    if (!failure) {
        renamed = std::rename(temp.c_str(), target.c_str()) == 0;
        failure = renamed ? 0 : errno;
    }
    if (!renamed)
        unlink(temp.c_str());
    if (lockFd >= 0)
        close(lockFd);
    if (!renamed)
        return Failed(failure, step);
    result.error = SyncFolder(folder);
    if (result.error)
        result.outcome = XmlSaveOutcome::kUnsynced;
    return result;
}

XmlSaveOutcome SaveXmlFileTelling(const TiXmlDocument& document, const std::string& path) {
    const XmlSaveResult result = SaveXmlFile(document, path);
    switch (result.outcome) {
    case XmlSaveOutcome::kSaved: break;
    case XmlSaveOutcome::kUnsynced:
        TellOperator("Saved \"" + FullPathForDisplay(path) + "\", but its folder could not be synced (" +
                         SystemErrorText(result.error) + "): the change may not survive a power cut.",
                     MB_ICONWARNING);
        break;
    case XmlSaveOutcome::kFailed:
        ShowSaveFailure(path, result.step ? std::string(result.step) + " (" + SystemErrorText(result.error) + ")"
                                          : SystemErrorText(result.error));
        break;
    case XmlSaveOutcome::kOverLimit: TellOverLimit(path, result.limit); break;
    }
    return result.outcome;
}

bool FitsXmlFileTelling(const TiXmlDocument& document, const std::string& path) {
    const Printed printed(document);
    // A document that cannot even be printed fails in the save, and is told there.
    if (printed.Error())
        return true;
    const XmlLoadStatus limit = XmlOverLimits(printed.Bytes(), document, XmlLimitsOf(path));
    if (limit.fault == XmlLoadFault::kNone)
        return true;
    TellOverLimit(path, limit);
    return false;
}

SaveFaultHandler SetSaveFaultHandler(SaveFaultHandler handler) {
    SaveFaultHandler previous = std::move(FaultHandler());
    FaultHandler() = std::move(handler);
    return previous;
}
