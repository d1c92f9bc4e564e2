// A mosquitto of the test's own on 127.0.0.1: its configuration from a
// template in tests/mqtt/ (@FOLDER@ the test's folder) with two ports the system chose free (MQTT
// and WebSocket), started as a child process and stopped by its process
// id. A restart keeps the ports, as a broker that comes back does.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

class TestBroker {
public:
    TestBroker(std::string configTemplate, std::string folder)
        : template_(std::move(configTemplate)), folder_(std::move(folder))
    {
    }
    ~TestBroker() { Stop(); }
    TestBroker(const TestBroker&) = delete;
    TestBroker& operator=(const TestBroker&) = delete;

    // Starts the broker and waits until it accepts connections; false with
    // the cause in *error.
    bool Start(std::string* error)
    {
        if (port_ == 0 && !(freePort(&port_) && freePort(&webSocketPort_))) {
            *error = "no free port on 127.0.0.1";
            return false;
        }
        std::ifstream in(template_);
        std::stringstream text;
        text << in.rdbuf();
        std::string config = text.str();
        if (!in || config.empty()) {
            *error = template_ + ": cannot read";
            return false;
        }
        replace(&config, "@WS_PORT@", std::to_string(webSocketPort_));
        replace(&config, "@PORT@", std::to_string(port_));
        replace(&config, "@FOLDER@", folder_);
        const std::string configPath = folder_ + "/mosquitto.conf";
        const std::string logPath = folder_ + "/mosquitto.log";
        std::ofstream(configPath) << config;
        pid_ = fork();
        if (pid_ == 0) {
            const int log = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
            execlp("mosquitto", "mosquitto", "-c", configPath.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        // Bounds a broker that never comes up; nothing is asserted of speed.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                *error = "mosquitto ended at once (exit " + std::to_string(WEXITSTATUS(status)) + "); see " + logPath;
                return false;
            }
            if (accepts(port_) && accepts(webSocketPort_))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        *error = "mosquitto accepts no connection on port " + std::to_string(port_) + "; see " + logPath;
        Stop();
        return false;
    }

    void Stop()
    {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    int Port() const { return port_; }
    int WebSocketPort() const { return webSocketPort_; }
    std::string Url(const std::string& prefix) const
    {
        return "mqtt://127.0.0.1:" + std::to_string(port_) + "/" + prefix;
    }

private:
    static void replace(std::string* text, const std::string& from, const std::string& to)
    {
        for (size_t at = text->find(from); at != std::string::npos; at = text->find(from, at + to.size()))
            text->replace(at, from.size(), to);
    }

    static sockaddr_in loopback(int port)
    {
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return address;
    }

    // A port the system gives a socket bound to port 0, read back.
    static bool freePort(int* port)
    {
        const int s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = loopback(0);
        socklen_t length = sizeof address;
        const bool ok = s >= 0 && bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0;
        if (s >= 0)
            close(s);
        *port = ntohs(address.sin_port);
        return ok && *port > 0;
    }

    static bool accepts(int port)
    {
        const int s = socket(AF_INET, SOCK_STREAM, 0);
        const sockaddr_in address = loopback(port);
        const bool ok = s >= 0 && connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        if (s >= 0)
            close(s);
        return ok;
    }

    std::string template_;
    std::string folder_;
    int port_ = 0;
    int webSocketPort_ = 0;
    pid_t pid_ = -1;
};
