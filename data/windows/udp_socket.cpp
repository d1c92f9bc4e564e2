// UDP on Windows: Winsock 2, started once per process.
#include "udp_socket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace {

// Room for a burst between two reads of the receiving thread.
constexpr int kReceiveBufferBytes = 4 << 20;

// Winsock stays started for the process's life once a socket is made.
bool startWinsock()
{
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

std::string lastError()
{
    return "Winsock error " + std::to_string(WSAGetLastError());
}

SOCKET handle(long long socket) { return static_cast<SOCKET>(socket); }

}  // namespace

UdpSocket::UdpSocket() : socket_(-1) {}

UdpSocket::~UdpSocket()
{
    if (socket_ >= 0)
        closesocket(handle(socket_));
}

bool UdpSocket::open(const std::string& address, int port, bool bind, std::string* error)
{
    const std::string where = address + ":" + std::to_string(port);
    if (!startWinsock()) {
        *error = where + ": Winsock cannot start";
        return false;
    }
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV | (bind ? AI_PASSIVE : 0);
    addrinfo* found = nullptr;
    if (getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
        *error = where + ": not a numeric address";
        return false;
    }
    const SOCKET s = socket(found->ai_family, found->ai_socktype, 0);
    if (s == INVALID_SOCKET) {
        *error = where + ": cannot create a socket: " + lastError();
        freeaddrinfo(found);
        return false;
    }
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    const int size = kReceiveBufferBytes;
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof size);
    const int length = static_cast<int>(found->ai_addrlen);
    const int done = bind ? ::bind(s, found->ai_addr, length) : connect(s, found->ai_addr, length);
    freeaddrinfo(found);
    if (done != 0) {
        *error = where + ": cannot " + (bind ? "listen: " : "send: ") + lastError();
        closesocket(s);
        return false;
    }
    socket_ = static_cast<long long>(s);
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
    int length = sizeof bound;
    if (socket_ < 0 || getsockname(handle(socket_), reinterpret_cast<sockaddr*>(&bound), &length) != 0)
        return 0;
    if (bound.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&bound)->sin6_port);
    return ntohs(reinterpret_cast<const sockaddr_in*>(&bound)->sin_port);
}

bool UdpSocket::WaitReadable(int timeoutMs)
{
    if (socket_ < 0)
        return false;
    WSAPOLLFD entry = {handle(socket_), POLLRDNORM, 0};
    return WSAPoll(&entry, 1, timeoutMs) > 0 && (entry.revents & POLLRDNORM);
}

int UdpSocket::Receive(char* buffer, int size)
{
    if (socket_ < 0)
        return -1;
    const int got = recv(handle(socket_), buffer, size, 0);
    return got < 0 ? -1 : got;
}

bool UdpSocket::Send(const char* bytes, int size)
{
    return socket_ >= 0 && send(handle(socket_), bytes, size, 0) == size;
}
