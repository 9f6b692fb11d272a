#include "platform/os/SerialTermios.h"

#include <gtest/gtest.h>

namespace {

struct termios Blank() {
    struct termios t {};
    // Settings a terminal may come with: cooked mode, echo, flow control.
    t.c_iflag = ICRNL | IXON | INPCK;
    t.c_oflag = OPOST | ONLCR;
    t.c_lflag = ICANON | ECHO | ISIG | IEXTEN;
    t.c_cflag = CS7 | PARENB | CRTSCTS;
    return t;
}

DCB Dcb(DWORD baud, BYTE bits, BYTE parity, BYTE stop) {
    DCB d{};
    d.DCBlength = sizeof(DCB);
    d.BaudRate = baud;
    d.ByteSize = bits;
    d.Parity = parity;
    d.StopBits = stop;
    return d;
}

tcflag_t ParityBits(const struct termios& t) { return t.c_cflag & (PARENB | PARODD | CMSPAR); }

} // namespace

TEST(SerialTermios, EveryParityIndexMapsToItsFlags) {
    const struct {
        BYTE parity;
        tcflag_t flags;
    } cases[] = {
        {NOPARITY, 0},
        {ODDPARITY, PARENB | PARODD},
        {EVENPARITY, PARENB},
        {MARKPARITY, PARENB | CMSPAR | PARODD},
        {SPACEPARITY, PARENB | CMSPAR},
    };
    for (const auto& c : cases) {
        TermiosMapping m;
        ASSERT_TRUE(DcbToTermios(Dcb(9600, 8, c.parity, ONESTOPBIT), Blank(), m)) << int(c.parity);
        EXPECT_EQ(ParityBits(m.settings), c.flags) << int(c.parity);
    }
}

TEST(SerialTermios, DataBitsAndStopBitsFollowThePlatformRules) {
    const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    for (BYTE bits = 5; bits <= 8; ++bits) {
        TermiosMapping m;
        ASSERT_TRUE(DcbToTermios(Dcb(9600, bits, NOPARITY, ONESTOPBIT), Blank(), m));
        EXPECT_EQ(m.settings.c_cflag & CSIZE, sizes[bits - 5]);
        EXPECT_FALSE(m.settings.c_cflag & CSTOPB);

        // One and a half only with 5 data bits, two only with 6 to 8; both are CSTOPB on the wire.
        bool oneAndHalf = DcbToTermios(Dcb(9600, bits, NOPARITY, ONE5STOPBITS), Blank(), m);
        EXPECT_EQ(oneAndHalf, bits == 5) << int(bits);
        if (oneAndHalf) {
            EXPECT_TRUE(m.settings.c_cflag & CSTOPB);
        }
        bool two = DcbToTermios(Dcb(9600, bits, NOPARITY, TWOSTOPBITS), Blank(), m);
        EXPECT_EQ(two, bits != 5) << int(bits);
        if (two) {
            EXPECT_TRUE(m.settings.c_cflag & CSTOPB);
        }
    }
}

TEST(SerialTermios, OutOfRangeValuesAreRefused) {
    TermiosMapping m;
    EXPECT_FALSE(DcbToTermios(Dcb(9600, 4, NOPARITY, ONESTOPBIT), Blank(), m));
    EXPECT_FALSE(DcbToTermios(Dcb(9600, 9, NOPARITY, ONESTOPBIT), Blank(), m));
    EXPECT_FALSE(DcbToTermios(Dcb(9600, 8, 5, ONESTOPBIT), Blank(), m));
    EXPECT_FALSE(DcbToTermios(Dcb(9600, 8, NOPARITY, 3), Blank(), m));
    EXPECT_FALSE(DcbToTermios(Dcb(0, 8, NOPARITY, ONESTOPBIT), Blank(), m));
}

TEST(SerialTermios, StandardRatesUseTheirConstantsOthersAreSetByNumber) {
    const struct {
        DWORD rate;
        speed_t speed;
    } standard[] = {{1200, B1200},   {9600, B9600},     {19200, B19200},  {38400, B38400},
                    {57600, B57600}, {115200, B115200}, {230400, B230400}};
    for (const auto& s : standard) {
        TermiosMapping m;
        ASSERT_TRUE(DcbToTermios(Dcb(s.rate, 8, NOPARITY, ONESTOPBIT), Blank(), m));
        EXPECT_FALSE(m.customBaud) << s.rate;
        EXPECT_EQ(cfgetospeed(&m.settings), s.speed);
        EXPECT_EQ(cfgetispeed(&m.settings), s.speed);
    }
    for (DWORD rate : {14400u, 56000u, 128000u, 256000u, 12345u}) {
        TermiosMapping m;
        ASSERT_TRUE(DcbToTermios(Dcb(rate, 8, NOPARITY, ONESTOPBIT), Blank(), m));
        EXPECT_TRUE(m.customBaud) << rate;
        EXPECT_EQ(m.baudRate, rate);
    }
}

TEST(SerialTermios, TheLineIsRawWithoutFlowControl) {
    TermiosMapping m;
    ASSERT_TRUE(DcbToTermios(Dcb(9600, 8, NOPARITY, ONESTOPBIT), Blank(), m));
    const struct termios& t = m.settings;
    EXPECT_FALSE(t.c_oflag & OPOST);
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN));
    EXPECT_FALSE(t.c_iflag & (ICRNL | IXON | INPCK));
    EXPECT_FALSE(t.c_cflag & CRTSCTS);
    EXPECT_TRUE(t.c_cflag & CLOCAL);
    EXPECT_TRUE(t.c_cflag & CREAD);
}

TEST(SerialTermios, SettingsReadBackAsTheyWereGiven) {
    for (BYTE bits = 5; bits <= 8; ++bits) {
        for (BYTE parity = NOPARITY; parity <= SPACEPARITY; ++parity) {
            for (BYTE stop = ONESTOPBIT; stop <= TWOSTOPBITS; ++stop) {
                TermiosMapping m;
                if (!DcbToTermios(Dcb(19200, bits, parity, stop), Blank(), m))
                    continue;
                DCB back{};
                TermiosToDcb(m.settings, back);
                EXPECT_EQ(back.BaudRate, 19200u);
                EXPECT_EQ(back.ByteSize, bits);
                EXPECT_EQ(back.Parity, parity);
                EXPECT_EQ(back.StopBits, stop);
            }
        }
    }
}
