#include "tests/monitor/test_servers.h"

#include <arpa/inet.h>
#include <curl/curl.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <thread>

namespace halvane::test {

namespace {

constexpr auto kStartLimit = std::chrono::seconds{15};

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* body) {
  static_cast<std::string*>(body)->append(data, size * count);
  return size * count;
}

}  // namespace

TemporaryFolder::TemporaryFolder() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "halvane-monitor-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot create a temporary folder";
  }
  path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

ChildProcess::ChildProcess(std::vector<std::string> arguments, std::filesystem::path output,
                           std::filesystem::path errors)
    : output_(std::move(output)) {
  // Everything the child needs is made before the fork: a child of a program with threads may
  // only make system calls until it runs the program.
  std::vector<char*> argv;
  for (std::string& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  const std::string errors_path = errors.string();
  const pid_t parent = getpid();
  pid_ = fork();
  if (pid_ == 0) {
    // Dies with the test program, however that ends.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) {
      _exit(127);
    }
    dup2(open(output_.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600), STDOUT_FILENO);
    dup2(open(errors_path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600), STDERR_FILENO);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  if (pid_ < 0) {
    ADD_FAILURE() << "cannot start " << arguments.front();
  }
}

ChildProcess::~ChildProcess() {
  if (Running()) {
    Signal(SIGKILL);
    Wait(std::chrono::seconds{5});
  }
}

void ChildProcess::Signal(int signal) const {
  if (pid_ > 0 && status_ < 0) {
    kill(pid_, signal);
  }
}

bool ChildProcess::Running() {
  if (pid_ <= 0 || status_ >= 0) {
    return false;
  }
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) == pid_) {
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
  }
  return true;
}

int ChildProcess::Wait(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (Running()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      Signal(SIGKILL);
      int ignored = 0;
      waitpid(pid_, &ignored, 0);
      status_ = 128 + SIGKILL;
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds{20});
  }
  return status_;
}

int FreeLoopbackPort() {
  const int probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  bind(probe, reinterpret_cast<sockaddr*>(&address), length);
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  close(probe);
  return ntohs(address.sin_port);
}

bool WaitForListener(int port, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = Loopback(port);
    const bool listening =
        connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(probe);
    if (listening) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds{50});
  }
  return false;
}

std::unique_ptr<TestServer> TestServer::Start(ServerKind kind, int port) {
  std::unique_ptr<TestServer> server(new TestServer(kind, port != 0 ? port : FreeLoopbackPort()));
  if (!server->Launch()) {
    ADD_FAILURE() << "the test server did not come up; see " << server->folder_.Path();
    return nullptr;
  }
  return server;
}

TestServer::TestServer(ServerKind kind, int port) : kind_(kind), port_(port) {}

TestServer::~TestServer() = default;

std::string TestServer::Url() const {
  return (kind_ == ServerKind::Mosquitto ? "mqtt://127.0.0.1:" : "http://127.0.0.1:") +
         std::to_string(port_);
}

bool TestServer::Launch() {
  const std::filesystem::path& folder = folder_.Path();
  const std::string port = std::to_string(port_);
  std::vector<std::string> arguments;
  if (kind_ == ServerKind::VictoriaMetrics) {
    // Queries see the newest points at once, points of any age are kept, and a point sent
    // again is kept once, as the README advises.
    arguments = {"victoria-metrics",
                 "-httpListenAddr=127.0.0.1:" + port,
                 "-storageDataPath=" + (folder / "data").string(),
                 "-search.latencyOffset=0s",
                 "-retentionPeriod=100y",
                 "-dedup.minScrapeInterval=1ms",
                 "-loggerLevel=ERROR"};
  } else {
    const std::filesystem::path config = folder / "mosquitto.conf";
    // Every message is logged, so that a test sees what the broker received; sessions and the
    // messages queued for them outlive a stop (not a kill).
    std::ofstream(config) << "listener " << port << " 127.0.0.1\nallow_anonymous true\n"
                          << "persistence true\npersistence_location " << folder.string()
                          << "/\nlog_type all\n";
    arguments = {"mosquitto", "-c", config.string()};
  }
  process_ =
      std::make_unique<ChildProcess>(arguments, folder / "server.out", folder / "server.err");
  return WaitForListener(port_, kStartLimit) && process_->Running();
}

std::string TestServer::Log() const {
  std::ifstream in(folder_.Path() / "server.err");
  return {std::istreambuf_iterator<char>(in), {}};
}

void TestServer::Kill() {
  process_.reset();
}

void TestServer::Stop() {
  process_->Signal(SIGTERM);
  process_->Wait(kStartLimit);
  process_.reset();
}

bool TestServer::Restart() {
  return Launch();
}

std::string HttpGet(const std::string& url) {
  CURL* curl = curl_easy_init();
  std::string body;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, 10'000L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  const CURLcode result = curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  EXPECT_EQ(result, CURLE_OK) << url;
  return body;
}

}  // namespace halvane::test
