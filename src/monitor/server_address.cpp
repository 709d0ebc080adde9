#include "monitor/server_address.h"

#include <curl/curl.h>

#include <algorithm>
#include <charconv>
#include <memory>

#include "monitor/private_files.h"

namespace halvane {

namespace {

struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlDeleter>;

// A part of the URL, decoded; empty when it has none.
std::string Part(CURLU* url, CURLUPart part, unsigned flags = CURLU_URLDECODE) {
  char* text = nullptr;
  if (curl_url_get(url, part, &text, flags) != CURLUE_OK || text == nullptr) {
    return {};
  }
  std::string value = text;
  curl_free(text);
  return value;
}

// Takes InfluxDB's u= and p= out of `query` into the credentials.
std::string QueryWithoutCredentials(std::string_view query, ServerAddress& address) {
  std::string kept;
  while (!query.empty()) {
    const std::size_t end = std::min(query.find('&'), query.size());
    const std::string_view pair = query.substr(0, end);
    query.remove_prefix(std::min(end + 1, query.size()));
    if (pair.starts_with("u=")) {
      address.user = pair.substr(2);
    } else if (pair.starts_with("p=")) {
      address.password = pair.substr(2);
    } else if (!pair.empty()) {
      kept += kept.empty() ? "" : "&";
      kept += pair;
    }
  }
  return kept;
}

bool ReadCredentialsFile(const std::filesystem::path& file, ServerAddress& address,
                         std::string& error) {
  const std::optional<std::string> text = ReadOwnerOnlyFile(file, error);
  if (!text) {
    return false;
  }
  const std::string line = text->substr(0, text->find_first_of("\r\n"));
  const std::size_t colon = line.find(':');
  if (colon == std::string::npos || colon == 0) {
    error = file.string() + " does not hold user:password on its first line";
    return false;
  }
  address.user = line.substr(0, colon);
  address.password = line.substr(colon + 1);
  return true;
}

}  // namespace

std::string ServerAddress::Shown() const {
  std::string shown = scheme + "://" + host + ":" + std::to_string(port);
  return shown + (path.empty() ? "" : path);
}

std::optional<ServerAddress> ParseServerAddress(std::string_view url, const AddressRules& rules,
                                                const std::filesystem::path& credentials_file,
                                                std::string& error) {
  const UrlHandle handle(curl_url());
  const std::string text(url);
  const std::string default_scheme(rules.schemes.front());
  const bool has_scheme = text.find("://") != std::string::npos;
  const std::string full = has_scheme ? text : default_scheme + "://" + text;
  if (!handle || curl_url_set(handle.get(), CURLUPART_URL, full.c_str(),
                              CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK) {
    error = "is not a URL";
    return std::nullopt;
  }
  ServerAddress address;
  address.scheme = Part(handle.get(), CURLUPART_SCHEME, 0);
  const auto scheme = std::ranges::find(rules.schemes, address.scheme);
  if (scheme == rules.schemes.end()) {
    error = "takes a URL starting with " + std::string(rules.schemes.front()) + "://";
    return std::nullopt;
  }
  address.host = Part(handle.get(), CURLUPART_HOST, 0);
  const std::string port = Part(handle.get(), CURLUPART_PORT, 0);
  address.port = rules.default_ports[static_cast<std::size_t>(scheme - rules.schemes.begin())];
  if (!port.empty()) {
    std::from_chars(port.data(), port.data() + port.size(), address.port);
  }
  address.user = Part(handle.get(), CURLUPART_USER);
  address.password = Part(handle.get(), CURLUPART_PASSWORD);
  address.path = Part(handle.get(), CURLUPART_PATH, 0);
  if (address.path.empty() || address.path == "/") {
    address.path = rules.default_path;
  }
  const std::string query =
      QueryWithoutCredentials(Part(handle.get(), CURLUPART_QUERY, 0), address);
  if (!query.empty()) {
    address.path += "?" + query;
  }
  if (!credentials_file.empty() && !ReadCredentialsFile(credentials_file, address, error)) {
    error = "credentials: " + error;
    return std::nullopt;
  }
  return address;
}

}  // namespace halvane
