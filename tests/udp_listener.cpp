// A test listener standing in for a simulator: binds 127.0.0.1 on a port
// the system chooses, writes the port to PORT_FILE, then appends every
// datagram it receives to OUT_FILE, hex-escaping bytes that are not
// printable, one datagram a line, until it has been quiet for QUIET_MS
// after the first one, or for a minute before it.
//   udp_listener PORT_FILE OUT_FILE QUIET_MS
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "udp_socket.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: udp_listener PORT_FILE OUT_FILE QUIET_MS\n";
        return 2;
    }
    UdpSocket socket;
    std::string error;
    if (!socket.Bind("127.0.0.1", 0, &error)) {
        std::cerr << "udp_listener: " << error << "\n";
        return 1;
    }
    std::ofstream(argv[1]) << socket.Port() << "\n";
    std::ofstream out(argv[2], std::ios::app);
    const int quietMs = std::atoi(argv[3]);
    bool any = false;
    while (socket.WaitReadable(any ? quietMs : 60000)) {
        char buffer[2048];
        const int length = socket.Receive(buffer, sizeof buffer);
        if (length < 0)
            continue;
        any = true;
        std::string line;
        for (int i = 0; i < length; ++i) {
            const unsigned char c = static_cast<unsigned char>(buffer[i]);
            if (c >= 0x20 && c < 0x7F && c != '\\') {
                line.push_back(static_cast<char>(c));
            } else if (c != '\n' || i + 1 != length) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02x", c);
                line += hex;
            }
        }
        out << line << "\n" << std::flush;
    }
    return 0;
}
