#include "SerialTermios.h"

namespace {

struct SpeedEntry {
    DWORD rate;
    speed_t speed;
};

const SpeedEntry kSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

bool SpeedForRate(DWORD rate, speed_t& speed) {
    for (const SpeedEntry& e : kSpeeds) {
        if (e.rate == rate) {
            speed = e.speed;
            return true;
        }
    }
    return false;
}

DWORD RateForSpeed(speed_t speed) {
    for (const SpeedEntry& e : kSpeeds) {
        if (e.speed == speed)
            return e.rate;
    }
    return 0;
}

} // namespace

bool DcbToTermios(const DCB& dcb, const struct termios& current, TermiosMapping& out) {
    if (dcb.ByteSize < 5 || dcb.ByteSize > 8)
        return false;
    if (dcb.Parity > SPACEPARITY || dcb.StopBits > TWOSTOPBITS)
        return false;
    if (dcb.StopBits == ONE5STOPBITS && dcb.ByteSize != 5)
        return false;
    if (dcb.StopBits == TWOSTOPBITS && dcb.ByteSize == 5)
        return false;
    if (dcb.BaudRate == 0)
        return false;

    struct termios t = current;
    // Raw mode: bytes pass untouched both ways, no echo, no signals, no flow control.
    t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;

    switch (dcb.ByteSize) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    default: t.c_cflag |= CS8; break;
    }

    switch (dcb.Parity) {
    case ODDPARITY: t.c_cflag |= PARENB | PARODD; break;
    case EVENPARITY: t.c_cflag |= PARENB; break;
    case MARKPARITY: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case SPACEPARITY: t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }

    // With 5 data bits CSTOPB makes the UART send one and a half stop bits.
    if (dcb.StopBits != ONESTOPBIT)
        t.c_cflag |= CSTOPB;

    speed_t speed;
    out.customBaud = !SpeedForRate(dcb.BaudRate, speed);
    if (out.customBaud)
        speed = B38400; // placeholder until the rate is set by number
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    out.baudRate = dcb.BaudRate;
    out.settings = t;
    return true;
}

void TermiosToDcb(const struct termios& t, DCB& dcb) {
    dcb.BaudRate = RateForSpeed(cfgetospeed(&t));
    switch (t.c_cflag & CSIZE) {
    case CS5: dcb.ByteSize = 5; break;
    case CS6: dcb.ByteSize = 6; break;
    case CS7: dcb.ByteSize = 7; break;
    default: dcb.ByteSize = 8; break;
    }
    if (!(t.c_cflag & PARENB))
        dcb.Parity = NOPARITY;
    else if (t.c_cflag & CMSPAR)
        dcb.Parity = (t.c_cflag & PARODD) ? MARKPARITY : SPACEPARITY;
    else
        dcb.Parity = (t.c_cflag & PARODD) ? ODDPARITY : EVENPARITY;
    if (!(t.c_cflag & CSTOPB))
        dcb.StopBits = ONESTOPBIT;
    else
        dcb.StopBits = (dcb.ByteSize == 5) ? ONE5STOPBITS : TWOSTOPBITS;
    dcb.fBinary = TRUE;
    dcb.fParity = (t.c_cflag & PARENB) ? TRUE : FALSE;
}
