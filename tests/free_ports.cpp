// Prints N ports on 127.0.0.1 that the system gave sockets bound to port 0,
// one a line, for scripts that start servers on free ports. The sockets
// are all held until every port is read, so the N are distinct.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 1;
    std::vector<int> sockets;
    for (int i = 0; i < count; ++i) {
        const int s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            std::perror("free-ports");
            return 1;
        }
        std::printf("%d\n", ntohs(address.sin_port));
        sockets.push_back(s);
    }
    for (const int s : sockets)
        close(s);
    return 0;
}
