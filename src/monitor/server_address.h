#pragma once
// Where a feed goes: the server's URL without credentials, which messages may show, and the
// user name and password apart, which nothing shows.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvane {

struct ServerAddress {
  std::string scheme;  // lower case, as given
  std::string host;
  int port = 0;
  std::string path;      // with its query, for HTTP
  std::string user;      // empty: none
  std::string password;  // empty: none

  bool Secure() const { return scheme == "https" || scheme == "mqtts"; }
  // The URL without credentials: what messages show.
  std::string Shown() const;
};

struct AddressRules {
  std::vector<std::string_view> schemes;  // the first is assumed when the URL has none
  std::vector<int> default_ports;         // by scheme
  std::string_view default_path;          // used when the URL's path is empty or "/"
};

// `url` taken apart by `rules`. The credentials come from the URL (user:password@, or u= and p=
// in the query as InfluxDB takes them) or, when `credentials_file` is not empty, from that file:
// "user:password" on its first line, and only its owner may read it. Nullopt with the reason in
// `error`, which never quotes the URL.
std::optional<ServerAddress> ParseServerAddress(std::string_view url, const AddressRules& rules,
                                                const std::filesystem::path& credentials_file,
                                                std::string& error);

}  // namespace halvane
