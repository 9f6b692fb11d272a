// termios2 lives in the kernel's headers, which clash with <termios.h>: this file includes only them.
#include <asm/ioctls.h>
#include <asm/termbits.h>

#include "Types.h"

extern "C" int ioctl(int fd, unsigned long request, ...);

bool SetCustomBaudRate(int fd, DWORD baudRate) {
    struct termios2 t;
    if (ioctl(fd, TCGETS2, &t) != 0)
        return false;
    t.c_cflag &= ~CBAUD;
    t.c_cflag |= BOTHER;
    t.c_cflag &= ~(CBAUD << IBSHIFT);
    t.c_cflag |= BOTHER << IBSHIFT;
    t.c_ispeed = baudRate;
    t.c_ospeed = baudRate;
    return ioctl(fd, TCSETS2, &t) == 0;
}
