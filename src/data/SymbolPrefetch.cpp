#include "data/SymbolPrefetch.h"

#include <functional>

namespace etiqo {

SymbolPrefetch::SymbolPrefetch() : m_thread([this] { Run(); }) {}

SymbolPrefetch::~SymbolPrefetch() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

std::size_t SymbolPrefetch::KeyHash::operator()(const Key& key) const {
    return std::hash<std::string>()(key.content) ^
           std::hash<int>()(key.symbology * 31 + key.widthDots * 7 + key.angle + (key.barcode ? 1 : 0));
}

SymbolPrefetch::Key SymbolPrefetch::KeyOf(const SymbolRequest& request) {
    return {request.symbology, std::string(request.content), request.widthDots, request.barcode,
            request.angle};
}

void SymbolPrefetch::Request(const SymbolRequest& request, long record) {
    Key key = KeyOf(request);
    {
        const std::lock_guard lock(m_mutex);
        const auto [slot, added] = m_slots.try_emplace(key, Slot{record, std::nullopt});
        if (!added) {
            slot->second.record = record;  // a value repeated in the next record: kept for it
            return;
        }
        m_queue.push_back(std::move(key));
        if (m_queue.size() < kBatch) {
            return;  // woken for a batch, or by Take when a symbol is wanted before
        }
    }
    m_changed.notify_all();
}

std::optional<SymbolImage> SymbolPrefetch::Take(const SymbolRequest& request, long record) {
    const Key key = KeyOf(request);
    std::unique_lock lock(m_mutex);
    if (record != m_swept) {  // once a record, not for each of its symbols
        std::erase_if(m_slots,
                      [&](const auto& entry) { return entry.second.record < record && entry.second.symbol; });
        m_swept = record;
    }
    const auto slot = m_slots.find(key);
    if (slot == m_slots.end()) {
        return std::nullopt;
    }
    if (!slot->second.symbol) {
        m_changed.notify_all();  // the encoder may be waiting for a fuller batch
        m_changed.wait(lock, [&] { return slot->second.symbol.has_value(); });
    }
    return slot->second.symbol;  // kept for the record's other copies; images are shared, not copied
}

void SymbolPrefetch::Run() {
    std::unique_lock lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping) {
            return;
        }
        const Key key = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        SymbolRequest request;
        request.symbology = key.symbology;
        request.content = key.content;
        request.widthDots = key.widthDots;
        request.barcode = key.barcode;
        request.angle = key.angle;
        SymbolImage symbol = EncodeSymbol(request);
        lock.lock();
        if (const auto slot = m_slots.find(key); slot != m_slots.end()) {
            slot->second.symbol = std::move(symbol);
        }
        m_changed.notify_all();
    }
}

}  // namespace etiqo
