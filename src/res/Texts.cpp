#include "res/Texts.h"

#include <atomic>
#include <cstddef>

namespace etiqo {
namespace {

struct TextPair {
    const char* zh;
    const char* en;
};

constexpr TextPair kTexts[] = {
#define ETIQO_TEXT(id, zh, en) {zh, en},
#include "res/Texts.def"
#undef ETIQO_TEXT
};
static_assert(std::size(kTexts) == static_cast<std::size_t>(TextId::Count_));

std::atomic<bool> g_chinese{false};

const TextPair& Pair(TextId id) {
    return kTexts[static_cast<std::size_t>(id)];
}

}  // namespace

void SetChineseInterface(bool chinese) {
    g_chinese = chinese;
}
bool IsChineseInterface() {
    return g_chinese;
}

const char* Tr(TextId id) {
    return g_chinese ? Pair(id).zh : Pair(id).en;
}
const char* TrChinese(TextId id) {
    return Pair(id).zh;
}
const char* TrEnglish(TextId id) {
    return Pair(id).en;
}

}  // namespace etiqo
