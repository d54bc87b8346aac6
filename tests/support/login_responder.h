// A device's login service for tests: a thread answering datagrams on
// 127.0.0.1 at a port the system chose, and the machine profile lines that
// route the login's IPX socket of one node there. Each test gets its own
// port, so runs side by side never meet.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace test_support {

inline constexpr char kLoginQueue[] = "Login Copier";
inline constexpr char kLoginDeviceIpx[] = "0000000b-00c0ee445566";

class LoginResponder {
 public:
  // Answers every request with `reply`; an empty reply: a silent device.
  explicit LoginResponder(std::string reply) : reply_(std::move(reply)) {
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~LoginResponder() {
    stop_ = true;
    thread_.join();
    ::close(fd_);
  }
  LoginResponder(const LoginResponder&) = delete;
  LoginResponder& operator=(const LoginResponder&) = delete;

  std::uint16_t port() const { return port_; }
  // Every datagram received, whole (terminating zero included).
  std::vector<std::string> Requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
  }

  // A queue whose device has the IPX address kLoginDeviceIpx (from the
  // controller client's discovery value), the node mapped to 127.0.0.1 and
  // the login socket to this responder's port. Without IPX: no Ipx key.
  std::string MachineLines(bool withIpx = true) const {
    std::string lines =
        "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\" + std::string(kLoginQueue) +
        "]\n\"Port\"=\"IP_LOGIN\"\n\"Attributes\"=dword:00000040\n"
        "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP "
        "Port\\Ports\\IP_LOGIN]\n\"HostName\"=\"login-copier.invalid\"\n"
        "[HKLM\\Software\\RV-4410\\Norvane k-Orbita RV-4410 Client\\LM-JobVue\\PrinterDiscovery]\n"
        "\"IP_LOGIN\"=\"" +
        std::string(kLoginDeviceIpx) + "\"\n";
    if (!withIpx) return lines;
    char socketPort[64];
    std::snprintf(socketPort, sizeof socketPort, "\"1a0b\"=dword:%08x\n", port_);
    return lines + "[HKLM\\SOFTWARE\\SimulatedMachine\\Ipx]\n" +
           "[HKLM\\SOFTWARE\\SimulatedMachine\\Ipx\\Nodes]\n\"" + kLoginDeviceIpx +
           "\"=\"127.0.0.1\"\n[HKLM\\SOFTWARE\\SimulatedMachine\\Ipx\\Sockets]\n" + socketPort;
  }

 private:
  void Serve() {
    while (!stop_) {
      pollfd ready{fd_, POLLIN, 0};
      if (::poll(&ready, 1, 50) != 1) continue;
      char buffer[512];
      sockaddr_in from{};
      socklen_t length = sizeof from;
      const ssize_t got =
          ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
      if (got < 0) continue;
      {
        const std::lock_guard lock(mutex_);
        requests_.emplace_back(buffer, static_cast<std::size_t>(got));
      }
      if (!reply_.empty()) {
        ::sendto(fd_, reply_.data(), reply_.size(), 0, reinterpret_cast<sockaddr*>(&from), length);
      }
    }
  }

  std::string reply_;
  int fd_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace test_support
