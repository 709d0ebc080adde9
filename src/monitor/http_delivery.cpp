#include "monitor/http_delivery.h"

#include <algorithm>

namespace halvane {

namespace {

// The server's answer body, kept short: it only goes into a message.
std::size_t KeepAnswer(char* data, std::size_t size, std::size_t count, void* answer) {
  constexpr std::size_t kKept = 200;
  auto& text = *static_cast<std::string*>(answer);
  const std::size_t room = text.size() < kKept ? kKept - text.size() : 0;
  text.append(data, std::min(size * count, room));
  return size * count;
}

// Answers that mean the server will not take this batch however often it is sent; the others
// (server errors, 401, 403, 404, 408, 429) may pass once the server or its set-up is mended.
bool RefusedForGood(long status) {
  return status == 400 || status == 413 || status == 422;
}

}  // namespace

const AddressRules& HttpDelivery::Rules() {
  static const AddressRules rules{{"http", "https"}, {80, 443}, "/write"};
  return rules;
}

HttpDelivery::HttpDelivery(ServerAddress address)
    : address_(std::move(address)), curl_(curl_easy_init()) {
  url_ =
      address_.scheme + "://" + address_.host + ":" + std::to_string(address_.port) + address_.path;
  CURL* curl = curl_.get();
  curl_easy_setopt(curl, CURLOPT_URL, url_.c_str());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, kTimeoutMs);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, kTimeoutMs / 2);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, KeepAnswer);
  if (!address_.user.empty()) {
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
    curl_easy_setopt(curl, CURLOPT_USERNAME, address_.user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, address_.password.c_str());
  }
}

DeliveryOutcome HttpDelivery::Deliver(std::span<const SpoolBatch> batches) {
  std::string body;
  for (const SpoolBatch& batch : batches) {
    body += batch.content;
  }
  std::string answer;
  CURL* curl = curl_.get();
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
  const CURLcode result = curl_easy_perform(curl);
  if (result != CURLE_OK) {
    return {0, curl_easy_strerror(result), false};
  }
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  if (status >= 200 && status < 300) {
    return {batches.size(), {}, false};
  }
  std::string failure = "HTTP " + std::to_string(status);
  if (!answer.empty()) {
    failure += ": " + answer.substr(0, answer.find('\n'));
  }
  return {0, failure, RefusedForGood(status)};
}

}  // namespace halvane
