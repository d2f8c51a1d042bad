// SPDX-License-Identifier: Apache-2.0
#include "delaying_proxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;

struct Chunk {
    Clock::time_point due;
    std::string bytes;
};

// One direction: a reader queues what arrives with the time it is due, a writer sends it then.
void pipeDirection(int from, int to, int halfDelayUs, std::atomic<bool>* answered,
                   std::atomic<long>* roundTrips, bool request) {
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<Chunk> queue;
    bool closed = false;
    std::thread writer([&] {
        for (;;) {
            std::unique_lock lock(mutex);
            ready.wait(lock, [&] { return closed || !queue.empty(); });
            if (queue.empty()) {
                break;
            }
            Chunk chunk = std::move(queue.front());
            queue.pop_front();
            lock.unlock();
            std::this_thread::sleep_until(chunk.due);
            const char* data = chunk.bytes.data();
            std::size_t left = chunk.bytes.size();
            while (left > 0) {
                const ssize_t sent = ::send(to, data, left, MSG_NOSIGNAL);
                if (sent <= 0) {
                    return;
                }
                data += sent;
                left -= static_cast<std::size_t>(sent);
            }
        }
        ::shutdown(to, SHUT_WR);
    });
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::recv(from, buffer, sizeof buffer, 0);
        if (got <= 0) {
            break;
        }
        // A request after an answer begins a new round trip.
        if (request && answered->exchange(false)) {
            ++*roundTrips;
        } else if (!request) {
            answered->store(true);
        }
        std::lock_guard lock(mutex);
        queue.push_back(Chunk{Clock::now() + std::chrono::microseconds(halfDelayUs),
                              std::string(buffer, static_cast<std::size_t>(got))});
        ready.notify_one();
    }
    {
        std::lock_guard lock(mutex);
        closed = true;
        ready.notify_one();
    }
    writer.join();
}

} // namespace

DelayingProxy::DelayingProxy(std::string unixSocket, int roundTripMs)
    : unixSocket_(std::move(unixSocket)), halfDelayUs_(roundTripMs * 500) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener_, 128) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("the proxy cannot listen");
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { acceptLoop(); });
}

DelayingProxy::~DelayingProxy() {
    stopping_ = true;
    ::shutdown(listener_, SHUT_RDWR);
    ::close(listener_);
    acceptor_.join();
    for (std::thread& connection : connections_) {
        connection.join();
    }
}

void DelayingProxy::acceptLoop() {
    while (!stopping_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (::poll(&waiting, 1, 100) <= 0) {
            continue;
        }
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0) {
            continue;
        }
        connections_.emplace_back([this, client] { serve(client); });
    }
}

void DelayingProxy::serve(int client) {
    const int one = 1;
    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, unixSocket_.c_str(), sizeof address.sun_path - 1);
    if (server < 0 ||
        ::connect(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(client);
        return;
    }
    std::atomic<bool> answered{true};
    std::thread upstream(
        [&] { pipeDirection(client, server, halfDelayUs_, &answered, &roundTrips_, true); });
    pipeDirection(server, client, halfDelayUs_, &answered, &roundTrips_, false);
    upstream.join();
    ::close(server);
    ::close(client);
}
