// UDP on POSIX: BSD sockets.
#include "udp_socket.h"

#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Room for a burst between two reads of the receiving thread.
constexpr int kReceiveBufferBytes = 4 << 20;

}  // namespace

UdpSocket::UdpSocket() : socket_(-1) {}

UdpSocket::~UdpSocket()
{
    if (socket_ >= 0)
        close(static_cast<int>(socket_));
}

bool UdpSocket::open(const std::string& address, int port, bool bind, std::string* error)
{
    const std::string where = address + ":" + std::to_string(port);
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV | (bind ? AI_PASSIVE : 0);
    addrinfo* found = nullptr;
    const int status = getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (status != 0) {
        *error = where + ": not a numeric address: " + gai_strerror(status);
        return false;
    }
    const int s = socket(found->ai_family, found->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (s < 0) {
        *error = where + ": cannot create a socket: " + std::strerror(errno);
        freeaddrinfo(found);
        return false;
    }
    const int size = kReceiveBufferBytes;
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    const int done = bind ? ::bind(s, found->ai_addr, found->ai_addrlen) : connect(s, found->ai_addr, found->ai_addrlen);
    freeaddrinfo(found);
    if (done != 0) {
        *error = where + ": cannot " + (bind ? "listen: " : "send: ") + std::strerror(errno);
        close(s);
        return false;
    }
    socket_ = s;
    return true;
}

bool UdpSocket::Bind(const std::string& address, int port, std::string* error)
{
    return open(address, port, true, error);
}

bool UdpSocket::Connect(const std::string& address, int port, std::string* error)
{
    return open(address, port, false, error);
}

int UdpSocket::Port() const
{
    sockaddr_storage bound = {};
    socklen_t length = sizeof bound;
    if (socket_ < 0 || getsockname(static_cast<int>(socket_), reinterpret_cast<sockaddr*>(&bound), &length) != 0)
        return 0;
    if (bound.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&bound)->sin6_port);
    return ntohs(reinterpret_cast<const sockaddr_in*>(&bound)->sin_port);
}

bool UdpSocket::WaitReadable(int timeoutMs)
{
    pollfd entry = {static_cast<int>(socket_), POLLIN, 0};
    return socket_ >= 0 && poll(&entry, 1, timeoutMs) > 0 && (entry.revents & POLLIN);
}

int UdpSocket::Receive(char* buffer, int size)
{
    if (socket_ < 0)
        return -1;
    const ssize_t got = recv(static_cast<int>(socket_), buffer, static_cast<size_t>(size), MSG_DONTWAIT);
    return got < 0 ? -1 : static_cast<int>(got);
}

bool UdpSocket::Send(const char* bytes, int size)
{
    return socket_ >= 0 && send(static_cast<int>(socket_), bytes, static_cast<size_t>(size), 0) == size;
}
