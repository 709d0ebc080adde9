#include "monitor/mqtt_delivery.h"

#include <mosquitto.h>

#include <algorithm>
#include <vector>

namespace halvane {

namespace {

constexpr int kKeepAliveSeconds = 30;
constexpr int kQos = 1;
constexpr auto kAcknowledgeWait = std::chrono::seconds{10};
constexpr auto kConnectWait = std::chrono::seconds{2};
constexpr int kSslVerifyPeer = 1;  // OpenSSL's SSL_VERIFY_PEER
constexpr int kLoopWaitMs = 100;
constexpr int kReconnectWaitMs = 1000;

}  // namespace

const AddressRules& MqttDelivery::Rules() {
  static const AddressRules rules{{"mqtt", "mqtts"}, {1883, 8883}, ""};
  return rules;
}

std::string MqttDelivery::Batch(std::string_view kind, std::string_view payload) {
  std::string batch(kind);
  batch += '\n';
  batch += payload;
  return batch;
}

MqttDelivery::MqttDelivery(const ServerAddress& address, std::string_view site,
                           std::string_view serial)
    : topic_prefix_("halvane/" + std::string(site) + "/" + std::string(serial) + "/") {
  static std::once_flag library;
  std::call_once(library, [] { mosquitto_lib_init(); });
  const std::string client_id = "halvane-" + std::string(site) + "-" + std::string(serial);
  client_ = mosquitto_new(client_id.c_str(), true, this);
  if (client_ == nullptr) {
    setup_failure_ = "cannot create an MQTT client";
    return;
  }
  mosquitto_int_option(client_, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
  if (!address.user.empty()) {
    mosquitto_username_pw_set(client_, address.user.c_str(), address.password.c_str());
  }
  if (address.Secure()) {
    mosquitto_int_option(client_, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
    mosquitto_tls_opts_set(client_, kSslVerifyPeer, nullptr, nullptr);
    if (mosquitto_tls_set(client_, nullptr, "/etc/ssl/certs", nullptr, nullptr, nullptr) !=
        MOSQ_ERR_SUCCESS) {
      setup_failure_ = "cannot set up TLS";
    }
  }
  const std::string status_topic = Topic("status");
  mosquitto_will_set(client_, status_topic.c_str(), 7, "offline", kQos, true);
  mosquitto_connect_callback_set(client_, OnConnect);
  mosquitto_disconnect_callback_set(client_, OnDisconnect);
  mosquitto_publish_callback_set(client_, OnPublish);
  network_ =
      std::thread([this, host = address.host, port = address.port] { RunNetwork(host, port); });
}

MqttDelivery::~MqttDelivery() {
  Close(std::chrono::milliseconds{0});
}

void MqttDelivery::RunNetwork(std::string host, int port) {
  // libmosquitto's own thread gives up when the first connection fails; this one does not.
  bool connected = mosquitto_connect(client_, host.c_str(), port, kKeepAliveSeconds) == 0;
  while (!closing_) {
    if (connected && mosquitto_loop(client_, kLoopWaitMs, 1) == MOSQ_ERR_SUCCESS) {
      continue;
    }
    for (int waited = 0; waited < kReconnectWaitMs && !closing_; waited += kLoopWaitMs) {
      std::this_thread::sleep_for(std::chrono::milliseconds{kLoopWaitMs});
    }
    connected = !closing_ && mosquitto_reconnect(client_) == MOSQ_ERR_SUCCESS;
  }
  if (connected) {
    // Says goodbye, so that the broker drops the Last Will, and lets the loop send it.
    mosquitto_disconnect(client_);
    for (int turn = 0; turn < kReconnectWaitMs / kLoopWaitMs; ++turn) {
      if (mosquitto_loop(client_, kLoopWaitMs, 1) != MOSQ_ERR_SUCCESS) {
        break;
      }
    }
  }
}

std::string MqttDelivery::Topic(std::string_view kind) const {
  return topic_prefix_ + std::string(kind);
}

void MqttDelivery::OnConnect(mosquitto*, void* self, int result) {
  auto& delivery = *static_cast<MqttDelivery*>(self);
  std::lock_guard lock(delivery.mutex_);
  if (result != 0) {
    delivery.last_failure_ = mosquitto_connack_string(result);
    return;
  }
  delivery.connected_ = true;
  if (!delivery.status_.empty()) {
    int ignored = 0;
    delivery.PublishLocked("status", delivery.status_, true, ignored);
  }
  delivery.changed_.notify_all();
}

void MqttDelivery::OnDisconnect(mosquitto*, void* self, int result) {
  auto& delivery = *static_cast<MqttDelivery*>(self);
  std::lock_guard lock(delivery.mutex_);
  delivery.connected_ = false;
  delivery.last_failure_ = mosquitto_strerror(result);
  delivery.changed_.notify_all();
}

void MqttDelivery::OnPublish(mosquitto*, void* self, int message_id) {
  auto& delivery = *static_cast<MqttDelivery*>(self);
  std::lock_guard lock(delivery.mutex_);
  delivery.acknowledged_.insert(message_id);
  delivery.changed_.notify_all();
}

int MqttDelivery::PublishLocked(std::string_view kind, std::string_view payload, bool retain,
                                int& message_id) {
  const std::string topic = Topic(kind);
  return mosquitto_publish(client_, &message_id, topic.c_str(), static_cast<int>(payload.size()),
                           payload.data(), kQos, retain);
}

DeliveryOutcome MqttDelivery::Deliver(std::span<const SpoolBatch> batches) {
  if (!setup_failure_.empty()) {
    return {0, setup_failure_, false};
  }
  std::unique_lock lock(mutex_);
  if (!changed_.wait_for(lock, kConnectWait, [this] { return connected_; })) {
    return {0, last_failure_.empty() ? "no connection to the broker" : last_failure_, false};
  }
  std::vector<int> message_ids;
  for (const SpoolBatch& batch : batches) {
    const std::string_view content = batch.content;
    const std::size_t newline = std::min(content.find('\n'), content.size());
    int message_id = 0;
    if (PublishLocked(content.substr(0, newline), content.substr(newline + 1), false, message_id) !=
        MOSQ_ERR_SUCCESS) {
      break;
    }
    message_ids.push_back(message_id);
  }
  const auto all_taken = [&] {
    return std::ranges::all_of(message_ids, [this](int id) { return acknowledged_.contains(id); });
  };
  changed_.wait_for(lock, kAcknowledgeWait, [&] { return all_taken() || !connected_; });
  DeliveryOutcome outcome;
  while (outcome.taken < message_ids.size() && acknowledged_.contains(message_ids[outcome.taken])) {
    acknowledged_.erase(message_ids[outcome.taken++]);
  }
  if (outcome.taken < batches.size()) {
    outcome.failure = connected_ ? "the broker does not acknowledge" : last_failure_;
  }
  return outcome;
}

void MqttDelivery::SetStatus(std::string_view status) {
  std::lock_guard lock(mutex_);
  status_ = status;
  if (connected_ && client_ != nullptr) {
    PublishLocked("status", status_, true, status_message_);
  }
}

void MqttDelivery::Close(std::chrono::milliseconds wait) {
  if (client_ == nullptr) {
    return;
  }
  SetStatus("offline");
  {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, wait,
                      [this] { return !connected_ || acknowledged_.contains(status_message_); });
  }
  closing_ = true;
  network_.join();
  mosquitto_destroy(client_);
  client_ = nullptr;
}

}  // namespace halvane
