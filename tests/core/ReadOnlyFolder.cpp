#include "ReadOnlyFolder.h"

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr unsigned kOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

bool ChangeEffective(bool drop) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    if (drop)
        data[0].effective &= ~kOverrides;
    else
        data[0].effective |= data[0].permitted & kOverrides;
    return syscall(SYS_capset, &header, data) == 0;
}

} // namespace

ReadOnlyFolder::ReadOnlyFolder(const std::string& path) : m_path(path), m_mode(0755), m_droppedOverride(false) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0)
        m_mode = info.st_mode & 07777;
    chmod(path.c_str(), 0555);
    m_droppedOverride = ChangeEffective(true);
}

ReadOnlyFolder::~ReadOnlyFolder() {
    if (m_droppedOverride)
        ChangeEffective(false);
    chmod(m_path.c_str(), m_mode);
}
