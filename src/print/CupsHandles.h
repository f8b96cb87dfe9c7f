#pragma once
// Owning handles for the libcups objects the printing code keeps for the length of a call.

#include <cups/cups.h>

#include <memory>
#include <span>

#include "print/PrintSpooler.h"

namespace etiqo::cups {

struct DestDeleter {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
using DestPtr = std::unique_ptr<cups_dest_t, DestDeleter>;

struct DestInfoDeleter {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};
using DestInfoPtr = std::unique_ptr<cups_dinfo_t, DestInfoDeleter>;

struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using IppPtr = std::unique_ptr<ipp_t, IppDeleter>;

// The whole list of destinations, as cupsGetDests2 returns it.
class DestList {
public:
    DestList() { m_count = cupsGetDests2(CUPS_HTTP_DEFAULT, &m_dests); }
    ~DestList() { cupsFreeDests(m_count, m_dests); }
    DestList(const DestList&) = delete;
    DestList& operator=(const DestList&) = delete;

    std::span<cups_dest_t> Dests() { return {m_dests, static_cast<std::size_t>(m_count)}; }
    cups_dest_t* Find(const char* name) { return cupsGetDest(name, nullptr, m_count, m_dests); }
    // Writes every destination's options that differ from the scheduler's into the user's
    // lpoptions file.
    bool Store() { return cupsSetDests2(CUPS_HTTP_DEFAULT, m_count, m_dests) == 0; }

private:
    int m_count = 0;
    cups_dest_t* m_dests = nullptr;
};

// One named destination with the user's and the system's lpoptions merged in.
inline DestPtr NamedDest(const char* name) {
    return DestPtr(cupsGetNamedDest(CUPS_HTTP_DEFAULT, name, nullptr));
}

// A job's options as libcups takes them, freed with the list.
class OptionList {
public:
    explicit OptionList(const JobOptions& options) {
        for (const auto& [name, value] : options) {
            m_count = cupsAddOption(name.c_str(), value.c_str(), m_count, &m_options);
        }
    }
    ~OptionList() { cupsFreeOptions(m_count, m_options); }
    OptionList(const OptionList&) = delete;
    OptionList& operator=(const OptionList&) = delete;

    int Count() const { return m_count; }
    cups_option_t* Options() const { return m_options; }

private:
    int m_count = 0;
    cups_option_t* m_options = nullptr;
};

}  // namespace etiqo::cups
