// The radio history: one event for every exchange with a radio or a trunking board
// (read, write, board read and write, fleet unit, check sum, test-mode session), with
// the radio's serial number and the image moved. The store behind HistoryStore is a
// database (platform/history_store.h); this header is the interface the rest of the
// program sees, in standard C++.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vrl::history {

// Operation names as stored.
inline constexpr std::string_view kRead = "read";
inline constexpr std::string_view kWrite = "write";
inline constexpr std::string_view kTrunkRead = "trunk-read";
inline constexpr std::string_view kTrunkWrite = "trunk-write";
inline constexpr std::string_view kFleet = "fleet";
inline constexpr std::string_view kCheckSum = "checksum";
inline constexpr std::string_view kTestMode = "test-mode";
bool isOperation(std::string_view name);

// Results as stored.
inline constexpr std::string_view kOk = "ok";
inline constexpr std::string_view kFailed = "failed";
inline constexpr std::string_view kCancelled = "cancelled";

struct Event {
    int64_t id = 0;          // given by the store
    std::string time;        // UTC, ISO 8601 ("2024-01-31T14:25:01Z")
    std::string operation;   // one of the names above
    std::string result;      // ok, failed, cancelled
    std::string message;     // the outcome in words, or the check sum
    std::string serial;      // empty when the radio has no information block
    std::string model;       // model label
    std::string identity;    // the 8 identity bytes in hex
    std::string port;
    std::string file;        // the data file read into or written from
    std::vector<uint8_t> image; // the whole image moved; empty when none
    std::string sha256;      // of `image`; empty when none
    std::string programVersion;
    std::string user;
    std::string host;
};

// Which events a listing returns; empty members do not filter.
struct Filter {
    std::string serial;
    std::string operation;
    std::string since; // a date or time prefix: events at or after it
};

// One radio (serial number) in the history.
struct RadioSummary {
    std::string serial;
    std::string model;     // of its latest event
    std::string lastTime;
    std::string lastOperation;
    int64_t events = 0;
};

class HistoryStore {
  public:
    virtual ~HistoryStore() = default;
    // Stores the event and sets its id. False with `error` set when it is not stored.
    virtual bool record(Event& event, std::string& error) = 0;
    // Newest first, without images.
    virtual std::optional<std::vector<Event>> list(const Filter& filter, std::string& error) = 0;
    // One event with its image; nullopt with `error` empty when there is no such event.
    virtual std::optional<Event> event(int64_t id, std::string& error) = 0;
    // The radios with a serial number, the most recently seen first.
    virtual std::optional<std::vector<RadioSummary>> radios(std::string& error) = 0;
    // For each serial number, its newest event that carries an image (with the image).
    virtual std::optional<std::vector<Event>> latestImages(std::string& error) = 0;
    // Where the store is, fit to show (a password in a URI is hidden).
    virtual std::string displayName() const = 0;
};

// Fills in the time and the fingerprint of the image when they are empty.
void completeEvent(Event& event);

// The current time in UTC as "YYYY-MM-DDTHH:MM:SSZ".
std::string utcNow();
std::string utcTime(std::chrono::system_clock::time_point when);

// The serial-number text of an information block answer, blanks trimmed.
std::string trimSerial(std::string_view text);

// A libpq connection URI ("postgresql://user:pw@host:port/db?host=/run/postgresql").
struct PostgresTarget {
    std::string host; // a name, an address or a socket folder (starts with '/')
    int port = 0;     // 0: the default
    std::string user;
    std::string password;
    std::string database;
    std::vector<std::pair<std::string, std::string>> options; // other URI parameters
};
bool isPostgresUri(std::string_view location);
// nullopt with `error` set on a malformed URI.
std::optional<PostgresTarget> parsePostgresUri(std::string_view uri, std::string& error);
// The location with any password in it replaced by "***".
std::string redactLocation(std::string_view location);

} // namespace vrl::history
