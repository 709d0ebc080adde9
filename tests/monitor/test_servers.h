#pragma once
// The real programs the monitoring tests talk to, each started by the test in a temporary
// folder, listening on a free port of 127.0.0.1 only, and stopped on every way out: by the
// destructor, and by the kernel (SIGKILL) should the test program itself die.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace halvane::test {

// A temporary folder, removed with what it holds.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A program run with its standard output and error going to files.
class ChildProcess {
 public:
  ChildProcess(std::vector<std::string> arguments, std::filesystem::path output,
               std::filesystem::path errors);
  ~ChildProcess();  // SIGKILL when still running
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  void Signal(int signal) const;
  // The exit status once it ends within `limit` (128 + signal when a signal ended it); -1 when
  // it is still running then, after which it is killed.
  int Wait(std::chrono::milliseconds limit);
  bool Running();
  const std::filesystem::path& OutputFile() const { return output_; }

 private:
  pid_t pid_ = -1;
  int status_ = -1;
  std::filesystem::path output_;
};

// A port of 127.0.0.1 that nothing listens on just now.
int FreeLoopbackPort();
// Whether something accepts connections on 127.0.0.1:`port` within `limit`.
bool WaitForListener(int port, std::chrono::milliseconds limit);

enum class ServerKind { VictoriaMetrics, Mosquitto };

class TestServer {
 public:
  // Started and listening on `port` (0: a free one), or null after a test failure that says
  // why.
  static std::unique_ptr<TestServer> Start(ServerKind kind, int port = 0);
  ~TestServer();

  int Port() const { return port_; }
  std::string Url() const;  // http://127.0.0.1:port or mqtt://127.0.0.1:port
  // What the server wrote about its work (for Mosquitto, every message it received).
  std::string Log() const;
  // Kills the server at once, as a crash or a cut network would.
  void Kill();
  // Stops the server as its owner would, letting it save what it keeps.
  void Stop();
  // Starts it again on the same port and data; false when it does not come up.
  bool Restart();

 private:
  TestServer(ServerKind kind, int port);
  bool Launch();

  ServerKind kind_;
  int port_;
  TemporaryFolder folder_;
  std::unique_ptr<ChildProcess> process_;
};

// Whether `done` comes true within 10 s, looking every 50 ms.
template <typename Done>
bool Eventually(Done done) {
  for (int tries = 0; tries < 200 && !done(); ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds{50});
  }
  return done();
}

// Bodies of HTTP exchanges with a test server; empty with a failed test on error.
std::string HttpGet(const std::string& url);

}  // namespace halvane::test
