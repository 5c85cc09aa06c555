#include "support/scripted.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int ListenLoopback(int& port)
{
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = 0;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(fd, 8) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
        close(fd);
        return -1;
    }
    port = ntohs(a.sin_port);
    return fd;
}

}  // namespace

ScriptedServer::ScriptedServer(std::vector<ReplyStep> script) : script_(std::move(script))
{
    listenFd_ = ListenLoopback(port_);
    if (listenFd_ >= 0)
        thread_ = std::thread([this] { run(); });
}

ScriptedServer::~ScriptedServer()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
    if (listenFd_ >= 0)
        close(listenFd_);
}

void ScriptedServer::setScript(std::vector<ReplyStep> script)
{
    std::lock_guard<std::mutex> lock(mutex_);
    script_ = std::move(script);
}

std::vector<std::string> ScriptedServer::requests() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

std::vector<ReplyStep> ScriptedServer::Reply(const std::string& statusLine, const std::string& body,
                                             const std::string& extraHeaders)
{
    std::string head = statusLine + "\r\nContent-Type: text/xml; charset=UTF-8\r\nContent-Length: " +
                       std::to_string(body.size()) + "\r\n" + extraHeaders + "\r\n";
    return {{head + body, 0}};
}

bool ScriptedServer::pause(int ms)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return !wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stop_.load(); });
}

void ScriptedServer::run()
{
    while (!stop_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0)
            continue;
        int fd = accept(listenFd_, nullptr, nullptr);
        if (fd < 0)
            continue;
        serve(fd);
        close(fd);
    }
}

void ScriptedServer::serve(int fd)
{
    std::string head;
    char buf[4096];
    while (head.find("\r\n\r\n") == std::string::npos && !stop_) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0)
            continue;
        ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            return;
        head.append(buf, size_t(n));
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(head.substr(0, head.find("\r\n\r\n")));
    }
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    std::vector<ReplyStep> script;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        script = script_;
    }
    for (const auto& step : script) {
        size_t off = 0;
        while (off < step.bytes.size()) {
            ssize_t n = send(fd, step.bytes.data() + off, step.bytes.size() - off, MSG_NOSIGNAL);
            if (n <= 0)
                return;  // the client gave up
            off += size_t(n);
        }
        if (step.pauseMs > 0 && !pause(step.pauseMs))
            return;
    }
}

int UnusedLoopbackPort()
{
    int port = 0;
    int fd = ListenLoopback(port);
    if (fd >= 0)
        close(fd);
    return port;
}
