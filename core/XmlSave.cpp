#include "XmlSave.h"

#include "platform/os/FilePath.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <tinyxml.h>
#include <unistd.h>

bool SaveXmlFile(const TiXmlDocument& document, const std::string& path) {
    // A settings file that is a link to another file stays a link: the file behind it is the one replaced.
    std::string target = LocalFilePath(path);
    if (char* resolved = realpath(target.c_str(), nullptr)) {
        target = resolved;
        std::free(resolved);
    }
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1);
    std::string temp = folder + (slash == std::string::npos ? "/" : "") + ".save-XXXXXX";

    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return false;

    // The new file keeps the old one's permissions; mkstemp would make it private to the owner.
    struct stat old {};
    if (stat(target.c_str(), &old) == 0)
        fchmod(fd, old.st_mode & 07777);
    else
        fchmod(fd, 0644);

    FILE* out = fdopen(fd, "wb");
    if (!out) {
        close(fd);
        unlink(temp.c_str());
        return false;
    }
    bool ok = document.SaveFile(out);
    ok = (std::fflush(out) == 0) && ok && !std::ferror(out);
    ok = (fsync(fileno(out)) == 0) && ok;
    ok = (std::fclose(out) == 0) && ok;
    if (ok)
        ok = std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok)
        unlink(temp.c_str());
    return ok;
}
