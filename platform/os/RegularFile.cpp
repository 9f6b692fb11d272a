#include "RegularFile.h"

#include "FilePath.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

RegularFile OpenRegularFile(const std::string& path) {
    RegularFile file;
    const int fd = open(LocalFilePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        file.error = errno;
        file.fault = errno == ENOENT ? RegularFile::Fault::kMissing : RegularFile::Fault::kUnreadable;
        return file;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        file.error = errno;
        file.fault = RegularFile::Fault::kUnreadable;
    } else if (!S_ISREG(info.st_mode)) {
        file.fault = RegularFile::Fault::kNotAFile;
    }
    if (file.fault != RegularFile::Fault::kNone) {
        close(fd);
        return file;
    }
    file.fd = fd;
    file.size = static_cast<long long>(info.st_size);
    return file;
}
