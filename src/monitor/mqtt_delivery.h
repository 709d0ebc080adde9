#pragma once
// One meter's feed to an MQTT broker with libmosquitto: each batch of the spool is one message,
// published with QoS 1 on halvane/<site>/<serial>/<kind> and taken off the spool once the
// broker has acknowledged it. The retained halvane/<site>/<serial>/status says "online",
// "stale" or "offline"; the broker publishes "offline" by itself (the Last Will) when the
// program goes without saying goodbye. mqtts checks the broker's certificate against the
// system's store and fails on a bad one.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <thread>

#include "monitor/server_address.h"
#include "monitor/spool_sender.h"

struct mosquitto;

namespace halvane {

class MqttDelivery : public BatchDelivery {
 public:
  static constexpr std::size_t kMaxBytes = 256 << 10;

  MqttDelivery(const ServerAddress& address, std::string_view site, std::string_view serial);
  ~MqttDelivery() override;
  MqttDelivery(const MqttDelivery&) = delete;
  MqttDelivery& operator=(const MqttDelivery&) = delete;

  DeliveryOutcome Deliver(std::span<const SpoolBatch> batches) override;
  std::size_t MaxBytes() const override { return kMaxBytes; }

  // Publishes the status now and again after every reconnection.
  void SetStatus(std::string_view status);
  // Says "offline", waits at most `wait` for the broker to take it, and disconnects.
  void Close(std::chrono::milliseconds wait);

  // A spool batch of one message: the topic's last part, then the payload.
  static std::string Batch(std::string_view kind, std::string_view payload);
  // The rules of --mqtt-url: mqtt or mqtts on ports 1883 and 8883.
  static const AddressRules& Rules();

 private:
  static void OnConnect(mosquitto* client, void* self, int result);
  static void OnDisconnect(mosquitto* client, void* self, int result);
  static void OnPublish(mosquitto* client, void* self, int message_id);
  int PublishLocked(std::string_view kind, std::string_view payload, bool retain, int& message_id);
  // The network thread: connects, and connects again a second after the connection fails.
  void RunNetwork(std::string host, int port);
  std::string Topic(std::string_view kind) const;

  std::string topic_prefix_;
  mosquitto* client_ = nullptr;
  std::string setup_failure_;  // why the client could not be set up; empty when it could
  std::mutex mutex_;
  std::condition_variable changed_;
  bool connected_ = false;
  std::string last_failure_;
  std::string status_;
  std::set<int> acknowledged_;  // message ids the broker has acknowledged
  int status_message_ = 0;
  std::atomic<bool> closing_ = false;
  std::thread network_;
};

}  // namespace halvane
