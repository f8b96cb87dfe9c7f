#pragma once
// Symbols of records still to come, encoded on a thread of its own while the current page is
// drawn: encoding a QR code costs as much as drawing the whole page. A guess made from a record
// read ahead; a page whose symbol turns out otherwise (a serial number stepped into its
// content) finds none and encodes its own.

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>

#include "render/ZintSymbol.h"

namespace etiqo {

class SymbolPrefetch {
public:
    SymbolPrefetch();
    ~SymbolPrefetch();
    SymbolPrefetch(const SymbolPrefetch&) = delete;
    SymbolPrefetch& operator=(const SymbolPrefetch&) = delete;

    // Queues the symbol for record `record` (its content is copied).
    void Request(const SymbolRequest& request, long record);
    // The symbol asked for, waiting while it is being encoded; nullopt when it was never asked
    // for. Guesses for records before `record` are dropped.
    std::optional<SymbolImage> Take(const SymbolRequest& request, long record);

private:
    struct Key {
        int symbology = 0;
        std::string content;
        int widthDots = 0;
        bool barcode = true;
        int angle = 0;
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };
    struct Slot {
        long record = 0;
        std::optional<SymbolImage> symbol;  // empty until encoded
    };
    // Requests queued before the encoder is woken: each wake-up is a trip through the kernel.
    static constexpr std::size_t kBatch = 8;
    static Key KeyOf(const SymbolRequest& request);
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Key> m_queue;
    std::unordered_map<Key, Slot, KeyHash> m_slots;
    long m_swept = -1;  // the record whose earlier guesses were last dropped
    bool m_stopping = false;
    std::thread m_thread;  // last: started once everything above is ready
};

}  // namespace etiqo
