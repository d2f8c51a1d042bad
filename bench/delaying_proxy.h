// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

// A TCP proxy on 127.0.0.1 that forwards every connection to a Unix socket (a PostgreSQL server's)
// and delays each direction by half the round trip, as a network between a workstation and a far
// server would. Data keeps flowing while it waits: each chunk is sent when its own delay has
// passed. It counts round trips: a request that follows an answer.
class DelayingProxy {
  public:
    DelayingProxy(std::string unixSocket, int roundTripMs);
    ~DelayingProxy();
    DelayingProxy(const DelayingProxy&) = delete;
    DelayingProxy& operator=(const DelayingProxy&) = delete;

    int port() const { return port_; }
    long roundTrips() const { return roundTrips_.load(); }

  private:
    void acceptLoop();
    void serve(int client);

    std::string unixSocket_;
    int halfDelayUs_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<long> roundTrips_{0};
    std::thread acceptor_;
    std::vector<std::thread> connections_;
};
