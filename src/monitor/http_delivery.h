#pragma once
// Batches of line protocol POSTed to InfluxDB 1.x (/write?db=NAME) or VictoriaMetrics (/write)
// with libcurl. https checks the server's certificate against the system's store and fails on a
// bad one; credentials go in the Authorization header, never into the URL or a message.

#include <curl/curl.h>

#include <memory>

#include "monitor/server_address.h"
#include "monitor/spool_sender.h"

namespace halvane {

class HttpDelivery : public BatchDelivery {
 public:
  static constexpr std::size_t kMaxBytes = 4 << 20;  // per request, when catching up
  static constexpr long kTimeoutMs = 10'000;

  explicit HttpDelivery(ServerAddress address);

  DeliveryOutcome Deliver(std::span<const SpoolBatch> batches) override;
  std::size_t MaxBytes() const override { return kMaxBytes; }

  // The rules of --influx-url: http or https, /write when no path is given.
  static const AddressRules& Rules();

 private:
  struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
  };
  ServerAddress address_;
  std::unique_ptr<CURL, CurlDeleter> curl_;
  std::string url_;
};

}  // namespace halvane
