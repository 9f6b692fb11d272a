// The desktop the end-to-end tests drive the program on.
#include "XDesktop.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

TEST(XDesktop, AToolThatComesAndGoesDoesNotCutOffAProgramStillConnecting) {
    XDesktop desktop(false);
    ASSERT_TRUE(desktop.Error().empty()) << desktop.Error();
    // A program halfway in: connected to the server's socket, its greeting not sent yet.
    const std::string name = "/tmp/.X11-unix/X" + desktop.Environment().value("DISPLAY").mid(1).toStdString();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    name.copy(address.sun_path + 1, name.size()); // the abstract name, as the X libraries take it
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address),
                      socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size())),
              0);
    desktop.Tool("xdotool", {"getmouselocation"});
    // A server that resets once its last client has gone closes the half-made connection within a moment.
    pollfd closed{fd, POLLIN, 0};
    EXPECT_EQ(poll(&closed, 1, 1000), 0) << "the server closed the connection";
    // Little-endian, protocol 11.0, no authorisation: the server answers 1 when it takes the client.
    const char greeting[12] = {'l', 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    char status = 0;
    EXPECT_TRUE(send(fd, greeting, sizeof greeting, MSG_NOSIGNAL) == ssize_t(sizeof greeting) &&
                read(fd, &status, 1) == 1 && status == 1);
    close(fd);
}
