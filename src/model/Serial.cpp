#include "model/Serial.h"

#include <algorithm>
#include <cstring>

#include "model/Label.h"

namespace etiqo {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Adds or subtracts step within the digit run digits[0…n): the run keeps its width and the
// carry or borrow out of it is dropped, so the counter wraps.
void StepDigits(char* digits, std::size_t n, std::uint32_t step, bool up) {
    for (std::size_t i = n; i-- > 0 && step > 0;) {
        int digit = (digits[i] - '0') + (up ? 1 : -1) * static_cast<int>(step % 10);
        step /= 10;
        if (digit > 9) {
            digit -= 10;
            ++step;
        } else if (digit < 0) {
            digit += 10;
            ++step;
        }
        digits[i] = static_cast<char>('0' + digit);
    }
}

}  // namespace

bool AdvanceSerial(Element& element) {
    const std::size_t length = ::strnlen(element.str, sizeof element.str);
    if (length == 0 || !IsDigit(element.str[length - 1])) {
        return false;
    }
    const bool up = element.nSerialMode == kSerialIncrement;
    const bool down = element.nSerialMode == kSerialDecrement;
    if (up || down) {
        std::size_t start = length - 1;
        while (start > 0 && IsDigit(element.str[start - 1])) {
            --start;
        }
        // The stored step is used when positive; step 1 is the classic one-by-one counter.
        const auto step = static_cast<std::uint32_t>(std::max(element.nSerialStep, 1));
        StepDigits(element.str + start, length - start, step, up);
    }
    return element.nSerialMode != kSerialNone;
}

bool HasSerializedElement(const Label& label) {
    return std::any_of(label.m_elements.begin(), label.m_elements.end(),
                       [](const ElementPtr& e) { return e->nSerialMode != kSerialNone; });
}

}  // namespace etiqo
