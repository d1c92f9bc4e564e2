// A UDP socket bound for receiving, and one for sending: the one
// platform-specific part of the data sources (linux/, windows/).
#pragma once

#include <string>

class UdpSocket {
public:
    UdpSocket();
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    // Binds to the numeric address (IPv4 or IPv6) and port (0: any free one)
    // for receiving; false with "ADDRESS:PORT: cause" in *error.
    bool Bind(const std::string& address, int port, std::string* error);
    // Connects to the numeric address and port for sending.
    bool Connect(const std::string& address, int port, std::string* error);
    // The bound port.
    int Port() const;
    // Waits up to timeoutMs for a datagram; true when one is waiting.
    bool WaitReadable(int timeoutMs);
    // Takes one waiting datagram into buffer without waiting: its length
    // (cut at size), or -1 when none is waiting.
    int Receive(char* buffer, int size);
    // Sends one datagram; false when the system refused it.
    bool Send(const char* bytes, int size);

private:
    bool open(const std::string& address, int port, bool bind, std::string* error);
    long long socket_;  // the platform's handle; -1 when closed
};
