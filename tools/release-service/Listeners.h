#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <httplib.h>

namespace release_service {

// The service's sockets, all on loopback: HTTPS on 127.0.0.1, 127.0.0.2 and 127.0.0.3 (one port),
// plain HTTP and the control endpoint on 127.0.0.1.
class Listeners {
 public:
  static constexpr std::array<const char*, 3> kSecureHosts = {"127.0.0.1", "127.0.0.2", "127.0.0.3"};
  static constexpr char kPlainHost[] = "127.0.0.1";

  struct Ports {
    int https = 0;
    int http = 0;
    int control = 0;
  };

  Listeners() = default;
  Listeners(const Listeners&) = delete;
  Listeners& operator=(const Listeners&) = delete;
  ~Listeners();

  // Binds every socket (0 = a port the system picks); false with the reason on failure.
  bool Bind(const Ports& wanted, const std::filesystem::path& certificate, const std::filesystem::path& key,
            std::string& error);
  const Ports& ports() const { return ports_; }

  httplib::Server& secure(std::size_t index) { return *secure_[index]; }
  httplib::Server& plain() { return *plain_; }
  httplib::Server& control() { return *control_; }

  // Starts accepting on every socket and returns once all of them do.
  void Start();
  // Stops accepting, lets running answers end and joins the threads.
  void Stop();

 private:
  bool BindSecure(int wanted, const std::filesystem::path& certificate, const std::filesystem::path& key,
                  std::string& error);

  std::vector<std::unique_ptr<httplib::SSLServer>> secure_;
  std::unique_ptr<httplib::Server> plain_;
  std::unique_ptr<httplib::Server> control_;
  // Sockets of a failed attempt to find one free port on all three hosts; never served.
  std::vector<std::unique_ptr<httplib::SSLServer>> abandoned_;
  std::vector<std::thread> threads_;
  Ports ports_;
};

}  // namespace release_service
